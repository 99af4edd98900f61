#include "dialogs/TEnterBreeds.h"

#include "db/DbError.h"
#include "dialogs/BreedCatalogue.h"
#include "dialogs/TEnterStr.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterBreeds.h"

#include <QMenu>

namespace {

// Fills a list and its keys, then selects the line of selectId, or the
// first line when none is asked for or the key is no longer listed.
void fill(QListWidget* list, QStringList& lineIds, const QVector<tav::TitledRow>& rows,
          int selectId)
{
    const QSignalBlocker blocker(list);
    list->clear();
    lineIds.clear();
    int selected = rows.isEmpty() ? -1 : 0;
    for (int i = 0; i < rows.size(); ++i) {
        list->addItem(rows.at(i).title);
        lineIds.append(QString::number(rows.at(i).id));
        if (selectId != TEnterSpeciesBreed::NoId && rows.at(i).id == selectId)
            selected = i;
    }
    list->setCurrentRow(selected);
}

int selectedId(const QListWidget* list, const QStringList& lineIds)
{
    const int row = list->currentRow();
    return row >= 0 && row < lineIds.size() ? lineIds.at(row).toInt() : TEnterSpeciesBreed::NoId;
}

QString selectedTitle(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

} // namespace

template <typename Command> void TEnterSpeciesBreed::run(Command command)
{
    try {
        command();
    } catch (const tav::DbError& e) {
        tav::showError(this, e.message());
        try {
            loadSpecies(selectedSpeciesId());
        } catch (const tav::DbError&) {
            // Already reported: the lists stay as they are.
        }
    }
}

TEnterSpeciesBreed::TEnterSpeciesBreed(tav::DataModule1& module, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TEnterSpeciesBreed>()),
      m_catalogue(std::make_unique<tav::BreedStore>(module))
{
    m_ui->setupUi(this);

    connect(m_ui->Btn_Species_Add, &QPushButton::clicked, this, &TEnterSpeciesBreed::addSpecies);
    connect(m_ui->Btn_Species_Delete, &QPushButton::clicked, this,
            &TEnterSpeciesBreed::deleteSpecies);
    connect(m_ui->Btn_Breed_Add, &QPushButton::clicked, this, &TEnterSpeciesBreed::addBreed);
    connect(m_ui->Btn_Breed_Delete, &QPushButton::clicked, this, &TEnterSpeciesBreed::deleteBreed);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->List_Species, &QListWidget::itemDoubleClicked, this,
            &TEnterSpeciesBreed::renameSpecies);
    connect(m_ui->List_Breed, &QListWidget::itemDoubleClicked, this,
            &TEnterSpeciesBreed::renameBreed);
    connect(m_ui->List_Species, &QListWidget::currentRowChanged, this,
            [this]() { run([this]() { loadBreeds(); }); });

    m_speciesMenu = buildMenu(QStringLiteral("Popup_Species"), m_ui->List_Species,
                              &TEnterSpeciesBreed::addSpecies, &TEnterSpeciesBreed::renameSpecies,
                              &TEnterSpeciesBreed::deleteSpecies);
    m_breedMenu =
        buildMenu(QStringLiteral("Popup_Breed"), m_ui->List_Breed, &TEnterSpeciesBreed::addBreed,
                  &TEnterSpeciesBreed::renameBreed, &TEnterSpeciesBreed::deleteBreed);

    tav::prepareWindow(this, false);
    run([this]() { loadSpecies(); });
}

TEnterSpeciesBreed::~TEnterSpeciesBreed() = default;

QMenu* TEnterSpeciesBreed::buildMenu(const QString& name, QListWidget* list,
                                     void (TEnterSpeciesBreed::*add)(),
                                     void (TEnterSpeciesBreed::*rename)(),
                                     void (TEnterSpeciesBreed::*remove)())
{
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    const struct
    {
        const char* suffix;
        QString text;
        void (TEnterSpeciesBreed::*slot)();
    } items[] = {{"_Add", QStringLiteral("&Ajouter"), add},
                 {"_Modify", QStringLiteral("&Modifier"), rename},
                 {"_Delete", QStringLiteral("&Supprimer"), remove}};
    for (const auto& item : items) {
        QAction* action = menu->addAction(item.text);
        action->setObjectName(name + QLatin1String(item.suffix));
        connect(action, &QAction::triggered, this, item.slot);
    }
    connect(list, &QWidget::customContextMenuRequested, menu,
            [menu, list](const QPoint& pos) { menu->popup(list->viewport()->mapToGlobal(pos)); });
    return menu;
}

QListWidget* TEnterSpeciesBreed::speciesList() const
{
    return m_ui->List_Species;
}

QListWidget* TEnterSpeciesBreed::breedList() const
{
    return m_ui->List_Breed;
}

int TEnterSpeciesBreed::selectedSpeciesId() const
{
    return selectedId(m_ui->List_Species, m_speciesLineIds);
}

int TEnterSpeciesBreed::selectedBreedId() const
{
    return selectedId(m_ui->List_Breed, m_breedLineIds);
}

void TEnterSpeciesBreed::loadSpecies(int selectId)
{
    fill(m_ui->List_Species, m_speciesLineIds, m_catalogue->species(), selectId);
    m_ui->Lab_Species->setText(QStringLiteral("Espèces (%1)").arg(m_speciesLineIds.size()));
    loadBreeds();
}

void TEnterSpeciesBreed::loadBreeds(int selectId)
{
    const int speciesId = selectedSpeciesId();
    const QVector<tav::TitledRow> rows =
        speciesId == NoId ? QVector<tav::TitledRow>() : m_catalogue->breeds(speciesId);
    fill(m_ui->List_Breed, m_breedLineIds, rows, selectId);
    m_ui->Lab_Breed->setText(QStringLiteral("Races (%1)").arg(m_breedLineIds.size()));
}

void TEnterSpeciesBreed::addSpecies()
{
    QString title;
    if (!tav::enterString(this, QStringLiteral("Espèce"), title) || title.isEmpty())
        return;
    run([&]() {
        const int id = m_catalogue->addSpecies(title);
        m_changed = true;
        loadSpecies(id);
    });
}

void TEnterSpeciesBreed::renameSpecies()
{
    const int id = selectedSpeciesId();
    if (id == NoId)
        return;
    const QString old = selectedTitle(m_ui->List_Species);
    QString title = old;
    if (!tav::enterString(this, QStringLiteral("Espèce"), title) || title == old)
        return;
    run([&]() {
        m_catalogue->renameSpecies(id, title);
        m_changed = true;
        loadSpecies(id);
    });
}

void TEnterSpeciesBreed::deleteSpecies()
{
    const int id = selectedSpeciesId();
    if (id == NoId)
        return;
    if (!tav::MessageBox::question(
            this, QStringLiteral(
                      "Confirmez-vous la suppression de cette espèce et de toutes ces races ?")))
        return;
    run([&]() {
        m_catalogue->deleteSpecies(id);
        m_changed = true;
        loadSpecies();
    });
}

void TEnterSpeciesBreed::addBreed()
{
    const int speciesId = selectedSpeciesId();
    if (speciesId == NoId)
        return;
    QString title;
    if (!tav::enterString(this, QStringLiteral("Race"), title) || title.isEmpty())
        return;
    run([&]() {
        const int id = m_catalogue->addBreed(speciesId, title);
        m_changed = true;
        loadBreeds(id);
    });
}

void TEnterSpeciesBreed::renameBreed()
{
    const int id = selectedBreedId();
    if (id == NoId)
        return;
    const QString old = selectedTitle(m_ui->List_Breed);
    QString title = old;
    if (!tav::enterString(this, QStringLiteral("Race"), title) || title == old)
        return;
    run([&]() {
        m_catalogue->renameBreed(id, title);
        m_changed = true;
        loadBreeds(id);
    });
}

void TEnterSpeciesBreed::deleteBreed()
{
    const int id = selectedBreedId();
    if (id == NoId)
        return;
    if (!tav::MessageBox::question(this,
                                   QStringLiteral("Confirmez-vous la suppression de cette race ?")))
        return;
    run([&]() {
        m_catalogue->deleteBreed(id);
        m_changed = true;
        loadBreeds();
    });
}

namespace tav {

bool editSpeciesAndBreeds(QWidget* parent, DataModule1& module)
{
    TEnterSpeciesBreed window(module, parent);
    window.exec();
    return window.changed();
}

} // namespace tav
