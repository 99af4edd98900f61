#include "booklet/pages/TGeneralPage.h"

#include "booklet/AnimalList.h"
#include "booklet/AnimalSilhouette.h"
#include "booklet/AppContext.h"
#include "booklet/pages/PhotoBox.h"
#include "core/FrenchText.h"
#include "db/CardStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/TargetWeightStore.h"
#include "dialogs/BreedCatalogue.h"
#include "dialogs/DatePicker.h"
#include "dialogs/PickList.h"
#include "dialogs/TEnterBreeds.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"
#include "ui_TGeneralPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace tav {

namespace {

// Fields whose button opens the remembered values of the key of the same
// name, and the title of that key's editor.
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

const KeyedField* keyedField(const QString& suffix)
{
    for (const KeyedField& k : kKeyedFields) {
        if (suffix == QLatin1String(k.suffix))
            return &k;
    }
    return nullptr;
}

bool isDateField(const QString& suffix)
{
    for (const char* date : kDateFields) {
        if (suffix == QLatin1String(date))
            return true;
    }
    return false;
}

} // namespace

TGeneralPage::TGeneralPage(AppContext& context, int index, QWidget* parent)
    : CardPage(context, index, fr("Général"), parent), m_ui(std::make_unique<Ui::TGeneralPage>())
{
    m_ui->setupUi(this);
    // Every field named after its column, except the two titles shown for
    // keys.
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        const QString column = e->objectName().mid(3);
        if (column != QLatin1String("Species") && column != QLatin1String("Breed"))
            bind(e, column);
    }
    for (QPlainTextEdit* m : findChildren<QPlainTextEdit*>())
        bind(m, m->objectName().mid(3));
    for (QCheckBox* c : findChildren<QCheckBox*>())
        bind(c, c->objectName().mid(4));
    wireFields();
    fitFieldsToTheirTexts();
    connect(m_ui->Ed_Species, &QLineEdit::textChanged, this, &TGeneralPage::Ed_SpeciesChange);
    connect(m_ui->Ed_Breed, &QLineEdit::textChanged, this, &TGeneralPage::Ed_BreedChange);
    connect(m_ui->Ed_Blood, &QLineEdit::textChanged, this, &TGeneralPage::Ed_BloodChange);
    auto* photoLayout = new QVBoxLayout(m_ui->Pan_Photo);
    photoLayout->setContentsMargins(0, 0, 0, 0);
    m_photoBox = new PhotoBox(context, m_ui->Pan_Photo);
    photoLayout->addWidget(m_photoBox);
    m_photoBox->setSilhouette(animalSilhouette());
    // The list shows the photo's thumbnail too.
    connect(m_photoBox, &PhotoBox::photoChanged, this, &BookletPage::animalRowChanged);
    // The badge follows the field from the start, even when the first
    // animal's blood group is empty and the text never changes.
    Ed_BloodChange();
}

TGeneralPage::~TGeneralPage() = default;

int TGeneralPage::fieldWidthFor(const QLineEdit* e, const QStringList& samples)
{
    const QFontMetrics fm = e->fontMetrics();
    int text = 0;
    for (const QString& sample : samples)
        text = std::max(text, fm.horizontalAdvance(sample));
    const QMargins margins = e->textMargins();
    QStyleOptionFrame option;
    option.initFrom(e);
    option.lineWidth =
        e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e) : 0;
    // QLineEdit keeps two pixels free on each side of its text.
    const QSize contents(text + 2 * 2 + margins.left() + margins.right() + 1, fm.height());
    return e->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, e).width();
}

void TGeneralPage::fitFieldsToTheirTexts()
{
    // A date is read whole or not at all: its field is as wide as a full
    // date (or the blank mask) in the field's own font.
    for (const char* name : kDateFields) {
        QLineEdit* e = edit(QStringLiteral("Ed_") + fr(name));
        e->setFixedWidth(
            fieldWidthFor(e, {QStringLiteral("00/00/0000"), QStringLiteral("__/__/____"),
                              QStringLiteral("28/08/2088")}));
    }
    // Weights and sizes of a pet: wide enough for their shown format and no
    // wider, so that the place and breeder fields get the rest.
    for (const char* period : {"BirthDay", "Begin", "End"}) {
        QLineEdit* weight = edit(QStringLiteral("Ed_") + fr(period) + QStringLiteral("_Weight"));
        weight->setFixedWidth(fieldWidthFor(weight, {QStringLiteral("999,999 Kg")}));
        QLineEdit* size = edit(QStringLiteral("Ed_") + fr(period) + QStringLiteral("_Size"));
        size->setFixedWidth(fieldWidthFor(size, {QStringLiteral("999,99 cm")}));
    }
}

void TGeneralPage::Btn_Misc01Click(const QString& buttonName)
{
    if (!hasAnimal())
        return;
    const QString suffix = buttonName.mid(4); // after "Btn_"
    if (keyedField(suffix))
        openRememberedValues(QStringLiteral("Ed_") + suffix, suffix);
    else if (isDateField(suffix))
        showDatePicker(edit(QStringLiteral("Ed_") + suffix), &animal());
    else if (suffix == QLatin1String("Species"))
        openSpeciesList();
    else if (suffix == QLatin1String("Breed"))
        openBreedList();
}

void TGeneralPage::Ed_Misc01DblClick(const QString& fieldName)
{
    if (!hasModule())
        return;
    const QString suffix = fieldName.mid(3);
    if (suffix == QLatin1String("Species") || suffix == QLatin1String("Breed")) {
        if (editSpeciesAndBreeds(window(), module()))
            emit titlesChanged();
    } else if (isDateField(suffix)) {
        if (hasAnimal())
            showDatePicker(edit(fieldName), &animal());
    } else if (const KeyedField* k = keyedField(suffix)) {
        editRememberedValues(fr(k->title), suffix);
    }
}

void TGeneralPage::openSpeciesList()
{
    m_speciesPicking = true;
    m_breedPicking = false;
    try {
        const PickLines lines = speciesPickLines(module());
        m_speciesIds = lines.ids;
        TStrList* list = showPickList(m_ui->Ed_Species, false, lines.lines, &animal());
        if (!list) {
            m_speciesPicking = false;
        } else {
            // Choosing the title already shown changes no text, but still counts.
            connect(list, &TStrList::lineChosen, this, &TGeneralPage::Ed_SpeciesChange);
            connect(list, &TStrList::dismissed, this, [this]() { m_speciesPicking = false; });
        }
    } catch (const DbError& e) {
        m_speciesPicking = false;
        showError(window(), e.message());
    }
}

void TGeneralPage::openBreedList()
{
    m_speciesPicking = false;
    m_breedPicking = true;
    try {
        // The species is looked up by its title as a bound value, so that a
        // title with an apostrophe finds its breeds too.
        const PickLines lines = breedPickLines(module(), m_ui->Ed_Species->text());
        m_breedIds = lines.ids;
        TStrList* list = showPickList(m_ui->Ed_Breed, false, lines.lines, &animal());
        if (!list) {
            m_breedPicking = false;
        } else {
            connect(list, &TStrList::lineChosen, this, &TGeneralPage::Ed_BreedChange);
            connect(list, &TStrList::dismissed, this, [this]() { m_breedPicking = false; });
        }
    } catch (const DbError& e) {
        m_breedPicking = false;
        showError(window(), e.message());
    }
}

void TGeneralPage::Ed_SpeciesChange()
{
    if (!m_speciesPicking)
        return;
    const int index = m_ui->Ed_Species->property("chosenIndex").toInt();
    try {
        animal().setValue(QStringLiteral("Id_Species"),
                          m_speciesIds.value(index, QStringLiteral("-1")).toInt());
        // A new species always empties the breed.
        m_ui->Ed_Breed->setProperty("chosenIndex", 0);
        m_ui->Ed_Breed->clear();
        animal().setValue(QStringLiteral("Id_Breed"), -1);
    } catch (const DbError& e) {
        showError(window(), e.message());
    }
    m_speciesPicking = false;
}

void TGeneralPage::Ed_BreedChange()
{
    if (!m_breedPicking)
        return;
    const int breedId =
        m_breedIds.value(m_ui->Ed_Breed->property("chosenIndex").toInt(), QStringLiteral("-1"))
            .toInt();
    try {
        animal().setValue(QStringLiteral("Id_Breed"), breedId);
        if (m_ui->Ed_Species->property("chosenIndex").toInt() == 0) {
            // No species picked in this visit of the card: the breed gives it.
            const CardStore::Species species =
                CardStore(*m_context.connection).speciesOfBreed(breedId);
            if (species.id >= 0) {
                m_ui->Ed_Species->setProperty("chosenIndex", 0);
                m_ui->Ed_Species->setText(species.title);
                m_ui->Ed_Species->setCursorPosition(0);
                animal().setValue(QStringLiteral("Id_Species"), species.id);
            }
        }
    } catch (const DbError& e) {
        showError(window(), e.message());
    }
    m_breedPicking = false;
}

void TGeneralPage::Ed_BloodChange()
{
    QLineEdit* blood = m_ui->Ed_Blood;
    if (!blood->hasFocus())
        blood->setCursorPosition(0);
    const QString text = upperWithoutAccents(blood->text());
    m_ui->Lab_BloodBadge->setText(text);
    m_ui->Lab_BloodBadge->setVisible(!text.isEmpty());
}

void TGeneralPage::beginNewAnimal()
{
    m_ui->Ed_Name->setFocus();
}

void TGeneralPage::refreshFacts()
{
    refreshSpeciesBreed();
    refreshTargetWeight();
}

void TGeneralPage::refreshTargetWeight()
{
    WeightBand band;
    if (hasAnimal() && m_context.connection) {
        try {
            band = readTargetWeight(*m_context.connection,
                                    animal().value(QStringLiteral("Id")).toLongLong());
        } catch (const DbError&) {
            // A tooltip is no place for an error: the field shows none.
        }
    }
    const QString tip = band.text();
    for (QLineEdit* weight :
         {m_ui->Ed_BirthDay_Weight, m_ui->Ed_Begin_Weight, m_ui->Ed_End_Weight}) {
        // Most animals have no band: the tip stays as it is.
        if (weight->toolTip() != tip)
            weight->setToolTip(tip);
    }
}

void TGeneralPage::refreshSpeciesBreed()
{
    if (!hasAnimal())
        return;
    const CardStore store(*m_context.connection);
    auto show = [this](QLineEdit* e, const QString& idField, bool picking,
                       QString (CardStore::*title)(int) const, const CardStore& from) {
        if (picking)
            return;
        QString text;
        const QVariant id = animal().value(idField);
        if (!id.isNull()) {
            try {
                text = (from.*title)(id.toInt());
            } catch (const DbError& err) {
                showError(window(), err.message());
            }
        }
        e->setProperty("chosenIndex", 0);
        // Unchanged, the field is left alone rather than painted again.
        if (e->text() != text)
            e->setText(text);
        // A title longer than the field shows its beginning.
        if (e->cursorPosition() != 0)
            e->setCursorPosition(0);
    };
    show(m_ui->Ed_Species, QStringLiteral("Id_Species"), m_speciesPicking, &CardStore::speciesTitle,
         store);
    show(m_ui->Ed_Breed, QStringLiteral("Id_Breed"), m_breedPicking, &CardStore::breedTitle, store);
}

} // namespace tav
