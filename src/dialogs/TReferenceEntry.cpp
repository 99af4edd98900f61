#include "dialogs/TReferenceEntry.h"

#include "db/DataSet.h"
#include "db/DbError.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/PickList.h"
#include "dialogs/ReferenceLists.h"
#include "dialogs/RememberedValues.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterDoctor.h"
#include "ui_TEnterPharmacy.h"
#include "ui_TEnterTitled.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace tav;

namespace {

const QString kSpecialtyKey = QStringLiteral("Doctor_Category");

// The form of a member is laid out by its own Designer class; the window
// keeps the member's class name as its object name.
template <typename Form> void setUpForm(QDialog* window, const char* className)
{
    window->setObjectName(QString::fromLatin1(className));
    Form form;
    form.setupUi(window);
}

} // namespace

TReferenceEntry::TReferenceEntry(ReferenceKind kind, DataSet& dataSet, QWidget* parent)
    : QDialog(parent), m_definition(referenceListDefinition(kind)), m_dataSet(dataSet)
{}

void TReferenceEntry::bindFields(std::initializer_list<std::pair<const char*, const char*>> fields)
{
    if (auto* title = findChild<QLabel*>(QStringLiteral("Title")))
        title->setText(QString::fromUtf8(m_definition.entryTitle));
    for (const auto& [name, column] : fields) {
        auto* widget = findChild<QWidget*>(QString::fromLatin1(name));
        if (!widget)
            continue;
        const QString field = QString::fromLatin1(column);
        FieldBinding::bind(widget, m_dataSet, field);
        // A line cannot take more than its column holds.
        const int index = m_dataSet.fieldIndex(field);
        if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && index >= 0)
            if (const int size = m_dataSet.field(index).size; size > 0)
                edit->setMaxLength(size);
    }
    m_ok = findChild<QPushButton*>(QStringLiteral("Btn_Ok"));
    connect(m_ok, &QPushButton::clicked, this, &TReferenceEntry::Btn_OkClick);
    connect(findChild<QPushButton*>(QStringLiteral("Btn_Cancel")), &QPushButton::clicked, this,
            &TReferenceEntry::reject);
    if (auto* required = findChild<QLineEdit*>(QString::fromLatin1(m_definition.requiredEdit)))
        connect(required, &QLineEdit::textChanged, this, &TReferenceEntry::applyOkRule);
    applyOkRule();
    prepareWindow(this, false);
}

void TReferenceEntry::applyOkRule()
{
    const auto* required = findChild<QLineEdit*>(QString::fromLatin1(m_definition.requiredEdit));
    // A name made of blanks names nothing.
    m_ok->setEnabled(required && !required->text().trimmed().isEmpty());
}

void TReferenceEntry::Btn_OkClick()
{
    if (!m_ok->isEnabled())
        return;
    try {
        if (m_dataSet.isEditing())
            m_dataSet.post();
    } catch (const DbError& e) {
        // The row stays in its state with everything typed, to be mended.
        showError(this, e.message());
        return;
    }
    accept();
}

void TReferenceEntry::reject()
{
    if (m_dataSet.isEditing())
        m_dataSet.cancel();
    QDialog::reject();
}

TEnterDoctor::TEnterDoctor(DataSet& dataSet, DataSet& comboItems, QWidget* parent)
    : TReferenceEntry(ReferenceKind::Doctor, dataSet, parent), m_comboItems(comboItems)
{
    setUpForm<Ui::TEnterDoctor>(this, "TEnterDoctor");
    bindFields({{"Ed_Name", "Name"},
                {"DBEdit2", "Address"},
                {"DBEdit3", "CP"},
                {"DBEdit5", "City"},
                {"DBEdit6", "Phone"},
                {"DBEdit7", "Fax"},
                {"DBEdit8", "Email"},
                {"DBMemo1", "Note"},
                {"Ed_Specialite", "Category"}});
    connect(findChild<QToolButton*>(QStringLiteral("Btn_Specialite")), &QToolButton::clicked, this,
            &TEnterDoctor::Btn_SpecialiteClick);
    findChild<QLineEdit*>(QStringLiteral("Ed_Specialite"))->installEventFilter(this);
}

void TEnterDoctor::Btn_SpecialiteClick()
{
    showPickList(findChild<QLineEdit*>(QStringLiteral("Ed_Specialite")), true, QString(),
                 &dataSet(), &m_comboItems, kSpecialtyKey);
}

bool TEnterDoctor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->objectName() == QLatin1String("Ed_Specialite")) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Btn_SpecialiteClick();
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            editRememberedValues(this, QString::fromUtf8("Spécialités"), kSpecialtyKey,
                                 m_comboItems);
            return true;
        }
    }
    return TReferenceEntry::eventFilter(watched, event);
}

TEnterPharmacy::TEnterPharmacy(DataSet& dataSet, QWidget* parent)
    : TReferenceEntry(ReferenceKind::Pharmacy, dataSet, parent)
{
    setUpForm<Ui::TEnterPharmacy>(this, "TEnterPharmacy");
    bindFields({{"Ed_Name", "Name"},
                {"DBEdit2", "Address"},
                {"DBEdit3", "CP"},
                {"DBEdit5", "City"},
                {"DBEdit6", "Phone"},
                {"DBEdit7", "Fax"},
                {"DBEdit8", "Email"},
                {"DBMemo1", "Note"}});
}

void TReferenceEntry::setUpTitledForm(const char* className)
{
    // Medicines, vaccines and pathologies: a title and its description.
    setUpForm<Ui::TEnterTitled>(this, className);
    bindFields({{"Ed_Title", "Title"}, {"DBMemo1", "Description"}});
}

TEnterDrug::TEnterDrug(DataSet& dataSet, QWidget* parent)
    : TReferenceEntry(ReferenceKind::Drug, dataSet, parent)
{
    setUpTitledForm("TEnterDrug");
}

TEnterVaccine::TEnterVaccine(DataSet& dataSet, QWidget* parent)
    : TReferenceEntry(ReferenceKind::Vaccine, dataSet, parent)
{
    setUpTitledForm("TEnterVaccine");
}

TEnterIllness::TEnterIllness(DataSet& dataSet, QWidget* parent)
    : TReferenceEntry(ReferenceKind::Illness, dataSet, parent)
{
    setUpTitledForm("TEnterIllness");
}
