#include "booklet/IdentityCard.h"

#include "booklet/AnimalList.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/BreedCatalogue.h"
#include "dialogs/DatePicker.h"
#include "dialogs/PickList.h"
#include "dialogs/RememberedValues.h"
#include "dialogs/TEnterBreeds.h"
#include "dialogs/TEnterStr.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace tav {

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// Fields whose button opens the remembered values of a key, and the title
// of that key's editor.
struct KeyedField
{
    const char* suffix; // after "Ed_" and "Btn_"
    const char* title;
};

const KeyedField kKeyedFields[] = {{"Sex", "Sexe"},
                                   {"Color", "Couleur"},
                                   {"Identification_Type", "Type d'identification"},
                                   {"Identification_Location", "Localisation de l'identification"},
                                   {"BirthDay_City", "Lieu de naissance"},
                                   {"Begin_Breeder", "Eleveur"},
                                   {"End_Type", "Type de départ"},
                                   {"Blood", "Groupe sanguin"}};

const char* const kDateFields[] = {"BirthDay_Date", "Begin_Date", "End_Date"};

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

IdentityCard::IdentityCard(TMainForm& form, QWidget* generalPage, QWidget* customPage)
    : QObject(&form), m_form(form), m_generalPage(generalPage), m_customPage(customPage)
{
    setObjectName(QStringLiteral("IdentityCard"));
    buildGeneralPage(generalPage);
    buildCustomPage(customPage);
}

DataModule1& IdentityCard::module() const
{
    return *m_form.context().module1;
}

DataSet& IdentityCard::animal() const
{
    return module().animal();
}

QLineEdit* IdentityCard::edit(const QString& name) const
{
    return m_form.findChild<QLineEdit*>(name);
}

QLineEdit* IdentityCard::boundEdit(QWidget* parent, const QString& name, const QString& column)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(128);
    if (m_form.context().module1 && !column.isEmpty())
        FieldBinding::bind(e, animal(), column);
    e->installEventFilter(this);
    return e;
}

void IdentityCard::buildGeneralPage(QWidget* page)
{
    // Fields on the left, the long texts in the middle, the photo's place
    // on the right.
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);

    // A field with its caption above it and, when it has one, its button.
    auto field = [this, page](const QString& caption, const QString& name, const QString& column,
                              bool withButton, QWidget* holder = nullptr) {
        QWidget* parent = holder ? holder : page;
        auto* box = new QWidget(parent);
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(1);
        auto* label = new QLabel(caption, box);
        v->addWidget(label);
        auto* row = new QHBoxLayout;
        row->setSpacing(1);
        QLineEdit* e = boundEdit(box, name, column);
        label->setBuddy(e);
        row->addWidget(e, 1);
        if (withButton) {
            auto* b = new QToolButton(box);
            b->setObjectName(QStringLiteral("Btn_") + name.mid(3));
            b->setText(QStringLiteral("…"));
            b->setFocusPolicy(Qt::NoFocus);
            connect(b, &QToolButton::clicked, this,
                    [this, b]() { Btn_Misc01Click(b->objectName()); });
            row->addWidget(b);
        }
        v->addLayout(row);
        return box;
    };
    auto memo = [this, page](const QString& caption, const QString& name, const QString& column) {
        auto* box = new QWidget(page);
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(1);
        v->addWidget(new QLabel(caption, box));
        auto* m = new QPlainTextEdit(box);
        m->setObjectName(name);
        m->setTabChangesFocus(true);
        if (m_form.context().module1)
            FieldBinding::bind(m, animal(), column);
        v->addWidget(m, 1);
        return box;
    };

    grid->addWidget(field(s("Nom"), s("Ed_Name"), s("Name"), false), 0, 0, 1, 2);
    QWidget* species = field(s("Espèce"), s("Ed_Species"), QString(), true);
    QWidget* breed = field(s("Race"), s("Ed_Breed"), QString(), true);
    grid->addWidget(species, 1, 0);
    grid->addWidget(breed, 1, 1);
    grid->addWidget(field(s("Sexe"), s("Ed_Sex"), s("Sex"), true), 2, 0);
    grid->addWidget(field(s("Couleur"), s("Ed_Color"), s("Color"), true), 2, 1);
    auto* checks = new QWidget(page);
    auto* checkRow = new QHBoxLayout(checks);
    checkRow->setContentsMargins(0, 0, 0, 0);
    for (const auto& [name, caption, column] :
         {std::tuple{"Chk_Pedigree", "Pédigré", "Pedigree"},
          std::tuple{"Chk_Sterilized", "Stérilisé", "Sterilized"}}) {
        auto* c = new QCheckBox(s(caption), checks);
        c->setObjectName(s(name));
        if (m_form.context().module1)
            FieldBinding::bind(c, animal(), s(column));
        checkRow->addWidget(c);
    }
    QWidget* blood = field(s("Groupe sanguin"), s("Ed_Blood"), s("Blood"), true);
    auto* badge = new QLabel(blood);
    badge->setObjectName(QStringLiteral("Lab_BloodBadge"));
    badge->setAlignment(Qt::AlignCenter);
    badge->setMinimumWidth(70);
    badge->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(160, 20, 30); color: white; font-weight: bold; "
                       "border-radius: 6px; padding: 2px 6px; }"));
    blood->layout()->addWidget(badge);
    checkRow->addWidget(blood, 1);
    grid->addWidget(checks, 3, 0, 1, 2);

    auto group = [page](const QString& title, const QString& name) {
        auto* g = new QGroupBox(title, page);
        g->setObjectName(name);
        auto* l = new QGridLayout(g);
        l->setContentsMargins(6, 4, 6, 4);
        l->setVerticalSpacing(2);
        return g;
    };
    QGroupBox* ident = group(s(" Identification "), s("Grp_Identification"));
    auto* identLayout = static_cast<QGridLayout*>(ident->layout());
    identLayout->addWidget(field(s("N° d'identification"), s("Ed_Identification_No"),
                                 s("Identification_No"), false, ident),
                           0, 0, 1, 2);
    identLayout->addWidget(
        field(s("Type"), s("Ed_Identification_Type"), s("Identification_Type"), true, ident), 1, 0);
    identLayout->addWidget(field(s("Emplacement"), s("Ed_Identification_Location"),
                                 s("Identification_Location"), true, ident),
                           1, 1);
    grid->addWidget(ident, 4, 0, 1, 2);

    // Birth, arrival and departure: a date, a place or a kind, a weight and
    // a size each.
    struct Period
    {
        const char* title;
        const char* group;
        const char* prefix;
        const char* secondCaption;
        const char* secondSuffix;
    };
    const Period periods[] = {
        {" Naissance ", "Grp_BirthDay", "BirthDay", "Lieu de naissance", "City"},
        {" Arrivé ", "Grp_Begin", "Begin", "Eleveur", "Breeder"},
        {" Départ ", "Grp_End", "End", "Type", "Type"}};
    int row = 5;
    for (const Period& p : periods) {
        QGroupBox* g = group(s(p.title), s(p.group));
        auto* l = static_cast<QGridLayout*>(g->layout());
        const QString prefix = s(p.prefix);
        QWidget* date = field(s("Date"), QStringLiteral("Ed_") + prefix + QStringLiteral("_Date"),
                              prefix + QStringLiteral("_Date"), true, g);
        // Day and month may stay blank, the year needs its four digits (in a
        // Qt mask 9 is an optional digit and 0 a required one).
        date->findChild<QLineEdit*>()->setInputMask(QStringLiteral("00/00/9999;_"));
        l->addWidget(date, 0, 0);
        const QString second = prefix + QLatin1Char('_') + s(p.secondSuffix);
        l->addWidget(field(s(p.secondCaption), QStringLiteral("Ed_") + second, second, true, g), 0,
                     1);
        QWidget* weight =
            field(s("Poids (kg)"), QStringLiteral("Ed_") + prefix + QStringLiteral("_Weight"),
                  prefix + QStringLiteral("_Weight"), false, g);
        QWidget* size =
            field(s("Taille (cm)"), QStringLiteral("Ed_") + prefix + QStringLiteral("_Size"),
                  prefix + QStringLiteral("_Size"), false, g);
        l->addWidget(weight, 0, 2);
        l->addWidget(size, 0, 3);
        grid->addWidget(g, row++, 0, 1, 2);
    }
    grid->setRowStretch(row, 1);
    columns->addLayout(grid, 3);
    auto* memos = new QVBoxLayout;
    memos->setSpacing(4);
    memos->addWidget(memo(s("Description"), s("Ed_Description"), s("Description")), 1);
    memos->addWidget(memo(s("Comportement"), s("Ed_Comportment"), s("Comportment")), 1);
    memos->addWidget(memo(s("Antécédants"), s("Ed_Previous"), s("Previous")), 1);
    memos->addWidget(memo(s("Assurance"), s("Ed_Insurance"), s("Insurance")), 1);
    columns->addLayout(memos, 2);
    // The photo of the animal takes this place.
    auto* photo = new QWidget(page);
    photo->setObjectName(QStringLiteral("Pan_Photo"));
    photo->setFixedWidth(150);
    columns->addWidget(photo, 0, Qt::AlignTop);
    for (const char* name : {"Ed_Species", "Ed_Breed", "Ed_Blood"})
        edit(s(name))->setReadOnly(true);
    connect(edit(s("Ed_Species")), &QLineEdit::textChanged, this, &IdentityCard::Ed_SpeciesChange);
    connect(edit(s("Ed_Breed")), &QLineEdit::textChanged, this, &IdentityCard::Ed_BreedChange);
    connect(edit(s("Ed_Blood")), &QLineEdit::textChanged, this, &IdentityCard::Ed_BloodChange);
    // The badge follows the field from the start, even when the first
    // animal's blood group is empty and the text never changes.
    Ed_BloodChange();
}

void IdentityCard::buildCustomPage(QWidget* page)
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    for (int i = 1; i <= 10; ++i) {
        const QString nn = twoDigits(i);
        auto* label = new QLabel(page);
        label->setObjectName(QStringLiteral("Lab_Misc") + nn);
        label->setToolTip(QStringLiteral("Double-cliquez\r\npour modifier"));
        label->installEventFilter(this);
        auto* row = new QHBoxLayout;
        row->setSpacing(1);
        QLineEdit* e = boundEdit(page, QStringLiteral("Ed_Misc") + nn, QStringLiteral("Misc") + nn);
        auto* b = new QToolButton(page);
        b->setObjectName(QStringLiteral("Btn_Misc") + nn);
        b->setText(QStringLiteral("…"));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, b]() { Btn_Misc01Click(b->objectName()); });
        row->addWidget(e, 1);
        row->addWidget(b);
        // Odd numbers on the left, even ones on the right.
        const int column = (i - 1) % 2;
        const int line = (i - 1) / 2 * 2;
        grid->addWidget(label, line, column);
        grid->addLayout(row, line + 1, column);
    }
    // The two memos span the page below the fields and share its height.
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 10);
    outer->setSpacing(2);
    outer->addLayout(grid);
    for (int i = 11; i <= 12; ++i) {
        auto* label = new QLabel(page);
        label->setObjectName(QStringLiteral("Lab_Misc") + twoDigits(i));
        label->setToolTip(QStringLiteral("Double-cliquez\r\npour modifier"));
        label->installEventFilter(this);
        auto* m = new QPlainTextEdit(page);
        m->setObjectName(QStringLiteral("Memo_Divers") + twoDigits(i));
        m->setTabChangesFocus(true);
        if (m_form.context().module1)
            FieldBinding::bind(m, animal(), QStringLiteral("Misc") + twoDigits(i));
        auto* block = new QVBoxLayout;
        block->setContentsMargins(8, 6, 8, 0);
        block->setSpacing(1);
        block->addWidget(label);
        block->addWidget(m, 1);
        outer->addLayout(block, 1);
    }
}

bool IdentityCard::eventFilter(QObject* watched, QEvent* event)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    const QString name = w->objectName();
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* label = qobject_cast<QLabel*>(w);
            label && name.startsWith(QLatin1String("Lab_Misc"))) {
            Lab_Misc01DblClick(label);
            return true;
        }
        // Only fields with a list or a picker react; a double-click in a
        // plain text field selects a word, as everywhere else.
        if (qobject_cast<QLineEdit*>(w) && name.startsWith(QLatin1String("Ed_")) &&
            m_form.findChild<QToolButton*>(QStringLiteral("Btn_") + name.mid(3))) {
            Ed_Misc01DblClick(name);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(w)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter opens the field's list, as its button does.
            const QString button = QStringLiteral("Btn_") + name.mid(3);
            if (m_form.findChild<QToolButton*>(button)) {
                Btn_Misc01Click(button);
                return true;
            }
        }
    }
    return false;
}

void IdentityCard::Btn_Misc01Click(const QString& buttonName)
{
    if (!m_form.context().module1 || !animal().isOpen() || animal().isEmpty())
        return;
    const QString suffix = buttonName.mid(4); // after "Btn_"
    if (buttonName.startsWith(QLatin1String("Btn_Misc"))) {
        const QString nn = buttonName.mid(8, 2);
        showPickList(edit(QStringLiteral("Ed_Misc") + nn), true, QString(), &animal(),
                     &module().dataSet(QStringLiteral("ComboItems")), QStringLiteral("Misc") + nn);
        return;
    }
    for (const KeyedField& k : kKeyedFields) {
        if (suffix == QLatin1String(k.suffix)) {
            showPickList(edit(QStringLiteral("Ed_") + suffix), true, QString(), &animal(),
                         &module().dataSet(QStringLiteral("ComboItems")), suffix);
            return;
        }
    }
    for (const char* date : kDateFields) {
        if (suffix == QLatin1String(date)) {
            showDatePicker(edit(QStringLiteral("Ed_") + suffix), &animal());
            return;
        }
    }
    if (suffix == QLatin1String("Species"))
        openSpeciesList();
    else if (suffix == QLatin1String("Breed"))
        openBreedList();
}

void IdentityCard::openSpeciesList()
{
    m_speciesPicking = true;
    m_breedPicking = false;
    try {
        const PickLines lines = speciesPickLines(module());
        m_speciesIds = lines.ids;
        TStrList* list =
            showPickList(edit(QStringLiteral("Ed_Species")), false, lines.lines, &animal());
        if (!list) {
            m_speciesPicking = false;
        } else {
            // Choosing the title already shown changes no text, but still counts.
            connect(list, &TStrList::lineChosen, this, &IdentityCard::Ed_SpeciesChange);
            connect(list, &TStrList::dismissed, this, [this]() { m_speciesPicking = false; });
        }
    } catch (const DbError& e) {
        m_speciesPicking = false;
        showError(&m_form, e.message());
    }
}

void IdentityCard::openBreedList()
{
    m_speciesPicking = false;
    m_breedPicking = true;
    try {
        // The species is looked up by its title as a bound value, so that a
        // title with an apostrophe finds its breeds too.
        const PickLines lines =
            breedPickLines(module(), edit(QStringLiteral("Ed_Species"))->text());
        m_breedIds = lines.ids;
        TStrList* list =
            showPickList(edit(QStringLiteral("Ed_Breed")), false, lines.lines, &animal());
        if (!list) {
            m_breedPicking = false;
        } else {
            connect(list, &TStrList::lineChosen, this, &IdentityCard::Ed_BreedChange);
            connect(list, &TStrList::dismissed, this, [this]() { m_breedPicking = false; });
        }
    } catch (const DbError& e) {
        m_breedPicking = false;
        showError(&m_form, e.message());
    }
}

void IdentityCard::Ed_SpeciesChange()
{
    if (!m_speciesPicking)
        return;
    QLineEdit* species = edit(QStringLiteral("Ed_Species"));
    const int index = species->property("chosenIndex").toInt();
    try {
        animal().setValue(QStringLiteral("Id_Species"),
                          m_speciesIds.value(index, QStringLiteral("-1")).toInt());
        // A new species always empties the breed.
        QLineEdit* breed = edit(QStringLiteral("Ed_Breed"));
        breed->setProperty("chosenIndex", 0);
        breed->clear();
        animal().setValue(QStringLiteral("Id_Breed"), -1);
    } catch (const DbError& e) {
        showError(&m_form, e.message());
    }
    m_speciesPicking = false;
}

void IdentityCard::Ed_BreedChange()
{
    if (!m_breedPicking)
        return;
    QLineEdit* breed = edit(QStringLiteral("Ed_Breed"));
    QLineEdit* species = edit(QStringLiteral("Ed_Species"));
    const int breedId =
        m_breedIds.value(breed->property("chosenIndex").toInt(), QStringLiteral("-1")).toInt();
    try {
        animal().setValue(QStringLiteral("Id_Breed"), breedId);
        if (species->property("chosenIndex").toInt() == 0) {
            // No species picked in this visit of the card: the breed gives it.
            const QVariant speciesId = m_form.context().connection->scalar(
                QStringLiteral(
                    "SELECT ANIMAL_BREED.Id_Species FROM ANIMAL_BREED WHERE ANIMAL_BREED.Id=?"),
                {breedId});
            const QVariant title =
                speciesId.isValid() && !speciesId.isNull()
                    ? m_form.context().connection->scalar(
                          QStringLiteral("SELECT Title FROM ANIMAL_SPECIES WHERE Id=?"),
                          {speciesId})
                    : QVariant();
            if (title.isValid()) {
                species->setProperty("chosenIndex", 0);
                species->setText(title.toString());
                animal().setValue(QStringLiteral("Id_Species"), speciesId.toInt());
            }
        }
    } catch (const DbError& e) {
        showError(&m_form, e.message());
    }
    m_breedPicking = false;
}

void IdentityCard::Ed_BloodChange()
{
    if (auto* badge = m_form.findChild<QLabel*>(QStringLiteral("Lab_BloodBadge"))) {
        QLineEdit* blood = edit(QStringLiteral("Ed_Blood"));
        if (!blood->hasFocus())
            blood->setCursorPosition(0);
        const QString text = upperWithoutAccents(blood->text());
        badge->setText(text);
        badge->setVisible(!text.isEmpty());
    }
}

void IdentityCard::Ed_Misc01DblClick(const QString& fieldName)
{
    if (!m_form.context().module1)
        return;
    if (fieldName == QLatin1String("Ed_Species") || fieldName == QLatin1String("Ed_Breed")) {
        if (editSpeciesAndBreeds(&m_form, module())) {
            const int id = animal().isEmpty() ? -1 : animal().asInt(QStringLiteral("Id"));
            m_form.buildAnimalList(id);
            refreshSpeciesBreed();
        }
        return;
    }
    for (const char* date : kDateFields) {
        if (fieldName.mid(3) == QLatin1String(date)) {
            showDatePicker(edit(fieldName), &animal());
            return;
        }
    }
    QString title;
    QString key;
    if (fieldName.startsWith(QLatin1String("Ed_Misc"))) {
        const QString nn = fieldName.mid(7, 2);
        key = QStringLiteral("Misc") + nn;
        if (auto* label = m_form.findChild<QLabel*>(QStringLiteral("Lab_Misc") + nn))
            title = label->text();
    } else {
        for (const KeyedField& k : kKeyedFields) {
            if (fieldName.mid(3) == QLatin1String(k.suffix)) {
                key = s(k.suffix);
                title = s(k.title);
            }
        }
    }
    if (!key.isEmpty())
        editRememberedValues(&m_form, title, key, module().dataSet(QStringLiteral("ComboItems")));
}

void IdentityCard::Lab_Misc01DblClick(QLabel* label)
{
    if (!m_form.context().module1)
        return;
    QString text = label->text();
    if (!enterString(&m_form, QStringLiteral("Modifiez le libellé"), text))
        return;
    const QString column = label->objectName().right(6);
    DataSet& labels = module().dataSet(QStringLiteral("CustomLabel"));
    try {
        labels.close();
        labels.open();
        if (labels.isEmpty())
            labels.append();
        labels.setValue(column, text);
        labels.post();
        labels.close();
        label->setText(text);
    } catch (const DbError& e) {
        labels.close();
        showError(&m_form, e.message());
    }
}

void IdentityCard::LoadCustomLabels()
{
    if (!m_form.context().module1)
        return;
    DataSet& labels = module().dataSet(QStringLiteral("CustomLabel"));
    try {
        labels.close();
        labels.open();
        if (labels.isEmpty()) {
            labels.append();
            labels.setValue(QStringLiteral("Id_File"), 0);
            labels.post();
        }
        for (int i = 1; i <= 12; ++i) {
            const QString nn = twoDigits(i);
            if (auto* label = m_form.findChild<QLabel*>(QStringLiteral("Lab_Misc") + nn))
                label->setText(labels.asString(QStringLiteral("Misc") + nn));
        }
        labels.close();
    } catch (const DbError& e) {
        labels.close();
        showError(&m_form, e.message());
    }
}

void IdentityCard::refreshSpeciesBreed()
{
    if (!m_form.context().module1 || !animal().isOpen() || animal().isEmpty())
        return;
    auto showTitle = [this](const QString& editName, const char* table, const QString& idField,
                            bool picking) {
        QLineEdit* e = edit(editName);
        if (!e || picking)
            return;
        QString text;
        const QVariant id = animal().value(idField);
        if (!id.isNull() && id.toInt() >= 0) {
            try {
                const QVariant title = m_form.context().connection->scalar(
                    QStringLiteral("SELECT Title FROM ") + QString::fromLatin1(table) +
                        QStringLiteral(" WHERE Id=?"),
                    {id.toInt()});
                if (title.isValid())
                    text = title.toString();
            } catch (const DbError& err) {
                showError(&m_form, err.message());
            }
        }
        e->setProperty("chosenIndex", 0);
        e->setText(text);
        // A title longer than the field shows its beginning.
        e->setCursorPosition(0);
    };
    showTitle(QStringLiteral("Ed_Species"), "ANIMAL_SPECIES", QStringLiteral("Id_Species"),
              m_speciesPicking);
    showTitle(QStringLiteral("Ed_Breed"), "ANIMAL_BREED", QStringLiteral("Id_Breed"),
              m_breedPicking);
}

} // namespace tav
