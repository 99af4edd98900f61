#include "dialogs/TCareEntry.h"

#include "db/CalcFields.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "db/ReferenceLookup.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/DatePicker.h"
#include "dialogs/PickList.h"
#include "dialogs/ReferenceLists.h"
#include "dialogs/RememberedValues.h"
#include "dialogs/TStrList.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterConsult.h"
#include "ui_TEnterDrugPharmacy.h"
#include "ui_TEnterVaccineExe.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace tav;

namespace {

const QString kGravityKey = QStringLiteral("Action_Gravity");

// The reference pick lists stand a little below the top of their field
// and also cover its button.
constexpr int kListOffset = 16;
constexpr int kActListExtraWidth = 15;
constexpr int kVaccinationListExtraWidth = 25;

// What the two act windows bind, when their form has the field.
const std::initializer_list<std::pair<const char*, const char*>> kActFields = {
    {"Ed_Date", "Date_Action"},
    {"Ed_Time", "Time_Action"},
    {"Ed_Payment", "Price"},
    {"Ed_Gravity", "Gravity"},
    {"Memo_Remark1", "Remark1"},
    {"Memo_Remark2", "Remark2"},
    {"Ed_Date_Repayment", "Date_Repayment"},
    {"Ed_Price_Repayment", "Price_Repayment"}};

// Blue behind the unreimbursed amount, in white bold figures.
const QColor kAmountBackground(0, 0, 160);

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TCareEntry::TCareEntry(DataSet& row, const Reference& first, const Reference& second,
                       int requiredReference, int listExtraWidth, QWidget* parent)
    : QDialog(parent), m_row(row), m_references{first, second}, m_required(requiredReference),
      m_listExtraWidth(listExtraWidth)
{}

QLineEdit* TCareEntry::line(const char* name) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void TCareEntry::setUpFields(std::initializer_list<std::pair<const char*, const char*>> bound,
                             std::initializer_list<const char*> dates)
{
    for (const auto& [name, column] : bound) {
        if (auto* widget = findChild<QWidget*>(QString::fromLatin1(name)))
            FieldBinding::bind(widget, m_row, QString::fromLatin1(column));
    }
    if (auto* gravity = line("Ed_Gravity"))
        gravity->setMaxLength(128);
    // A refused value is named as the window shows it ("Objet"), the two
    // fields of the reimbursement band by what they are part of.
    FieldBinding::captionsFromLabels(this);
    if (findChild<QLabel*>(QStringLiteral("Pan_Repayment"))) {
        m_row.setCaption(QStringLiteral("Date_Repayment"), QStringLiteral("Date remboursement"));
        m_row.setCaption(QStringLiteral("Price_Repayment"), QString::fromUtf8("Montant remboursé"));
    }

    m_ok = findChild<QPushButton*>(QStringLiteral("Btn_Ok"));
    connect(m_ok, &QPushButton::clicked, this, &TCareEntry::Btn_OkClick);
    connect(findChild<QPushButton*>(QStringLiteral("Btn_Cancel")), &QPushButton::clicked, this,
            &TCareEntry::reject);

    for (int r = 0; r < 2; ++r) {
        const Reference& ref = m_references[r];
        QLineEdit* edit = line(ref.edit);
        edit->installEventFilter(this);
        connect(findChild<QToolButton*>(QString::fromLatin1(ref.button)), &QToolButton::clicked,
                this, [this, r]() { openReferenceList(r); });
        // The stored key shows as its row's text; a key whose row is gone
        // shows nothing and must be chosen again.
        const qint64 id = m_row.value(QString::fromLatin1(ref.column)).toLongLong();
        if (id != -1) {
            try {
                edit->setText(referenceText(m_row.connection(), ref.kind, id));
            } catch (const DbError& e) {
                showError(this, e.message());
            }
        }
    }
    connect(line(m_references[m_required].edit), &QLineEdit::textChanged, this,
            &TCareEntry::applyOkRule);

    for (const char* name : dates) {
        QLineEdit* date = line(name);
        m_dates.append(date);
        date->installEventFilter(this);
        const QString button =
            QString::fromLatin1(name).replace(QStringLiteral("Ed_"), QStringLiteral("Btn_"));
        connect(findChild<QToolButton*>(button), &QToolButton::clicked, this,
                [this, date]() { openDatePicker(date); });
    }

    // The acts show live what is left to pay.
    m_noRepayment = findChild<QLabel*>(QStringLiteral("Lab_NoRepayment"));
    if (m_noRepayment) {
        QFont bold = m_noRepayment->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.4);
        m_noRepayment->setFont(bold);
        QPalette palette = m_noRepayment->palette();
        palette.setColor(QPalette::Window, kAmountBackground);
        palette.setColor(QPalette::WindowText, Qt::white);
        m_noRepayment->setPalette(palette);
        // Every amount typed may change what is left to pay.
        for (const char* amount : {"Ed_Payment", "Ed_Price_Repayment"})
            connect(line(amount), &QLineEdit::textChanged, this, &TCareEntry::showNoRepayment);
        connect(&m_row, &DataSet::fieldChanged, this, &TCareEntry::showNoRepayment);
    }
    if (auto* band = findChild<QLabel*>(QStringLiteral("Pan_Repayment"))) {
        QPalette grey = band->palette();
        grey.setColor(QPalette::Window, QColor(192, 192, 192));
        band->setPalette(grey);
    }

    // A greyed OK says why, naming the field to fill by its caption.
    if (auto* buttons = findChild<QHBoxLayout*>(QStringLiteral("Lay_Buttons"))) {
        QString caption;
        QLineEdit* required = line(m_references[m_required].edit);
        for (const QLabel* label : findChildren<QLabel*>()) {
            if (label->buddy() == required)
                caption = label->text().remove(QLatin1Char('&')).trimmed();
        }
        m_okReason = new QLabel(QString::fromUtf8("Choisissez le champ « %1 »").arg(caption), this);
        m_okReason->setObjectName(QStringLiteral("Lab_OkReason"));
        m_okReason->setWordWrap(true);
        QPalette red = m_okReason->palette();
        red.setColor(QPalette::WindowText, QColor(160, 0, 0));
        m_okReason->setPalette(red);
        buttons->insertWidget(0, m_okReason, 1);
    }

    applyOkRule();
    showNoRepayment();
    prepareWindow(this, false);
}

void TCareEntry::applyOkRule()
{
    const bool ready = !line(m_references[m_required].edit)->text().isEmpty();
    m_ok->setEnabled(ready);
    if (m_okReason)
        m_okReason->setVisible(!ready);
}

QString TCareEntry::noRepaymentText() const
{
    // An amount being typed is held as its text until the row is stored:
    // read it as the stored row will have it, an empty text being no amount.
    const auto amount = [this](const char* field) -> QVariant {
        const QVariant v = m_row.value(QString::fromLatin1(field));
        if (v.typeId() != QMetaType::QString)
            return v;
        QString typed = v.toString().trimmed();
        typed.replace(QLatin1Char(','), QLatin1Char('.'));
        bool number = false;
        const double value = typed.toDouble(&number);
        return number ? QVariant(value) : QVariant();
    };
    const double left =
        noRepayment(amount("Price"), amount("Price_Repayment"), amount("Price_Repayment_Comp"));
    // The money format of the grids, so that the window and the column
    // "Non remboursé" show the same figure.
    const int price = m_row.fieldIndex(QStringLiteral("Price"));
    QString format = price >= 0 ? m_row.field(price).def.displayFormat : QString();
    if (format.isEmpty())
        format = moneyFormat(QLocale().currencySymbol(QLocale::CurrencySymbol));
    return formatNumber(left, format) + QLatin1Char(' ');
}

void TCareEntry::showNoRepayment()
{
    if (m_noRepayment)
        m_noRepayment->setText(noRepaymentText());
}

void TCareEntry::openReferenceList(int reference)
{
    const Reference& ref = m_references[reference];
    QVector<ReferenceLine> rows;
    try {
        rows = referenceLines(m_row.connection(), ref.kind);
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    m_ids[reference].clear();
    QStringList lines;
    for (const ReferenceLine& row : std::as_const(rows)) {
        lines << row.text;
        m_ids[reference] << QString::number(row.id);
    }
    // An empty table would give an empty box and a window that cannot be
    // completed: the list offers to add the first row instead.
    const bool offerAdding = lines.isEmpty() && m_module;
    if (offerAdding)
        lines << addReferenceLine(ref.kind);
    QLineEdit* edit = line(ref.edit);
    auto* list = new TStrList(edit);
    list->setListColour(paleYellow);
    list->setSorted(false);
    list->setLines(lines);
    const QPoint topLeft = edit->mapToGlobal(QPoint(0, 0));
    list->setGeometry(topLeft.x(), topLeft.y() + kListOffset, edit->width() + m_listExtraWidth,
                      list->height());
    if (offerAdding) {
        QFont italic = list->list()->font();
        italic.setItalic(true);
        list->list()->item(0)->setFont(italic);
        // The edit window opens once the list has gone.
        connect(list, &TStrList::lineChosen, this, [this, reference]() {
            QMetaObject::invokeMethod(
                this, [this, reference]() { addReference(reference); }, Qt::QueuedConnection);
        });
    } else {
        list->setTargetEdit(edit);
        connect(list, &TStrList::lineChosen, this,
                [this, reference](int index) { m_chosen[reference] = index; });
    }
    edit->setFocus();
    list->popup();
}

void TCareEntry::addReference(int reference)
{
    const Reference& ref = m_references[reference];
    const std::optional<qint64> id = addReferenceRow(this, *m_module, ref.kind);
    if (!id)
        return;
    QString text;
    try {
        text = referenceText(m_row.connection(), ref.kind, *id);
    } catch (const DbError& e) {
        showError(this, e.message());
        return;
    }
    // As if the new row had been chosen in a list of one line.
    m_ids[reference] = QStringList{QString::number(*id)};
    m_chosen[reference] = 0;
    QLineEdit* edit = line(ref.edit);
    edit->setProperty("chosenIndex", 0);
    edit->setText(text);
    edit->setFocus();
}

void TCareEntry::openDatePicker(QLineEdit* edit)
{
    showDatePicker(edit, &m_row);
}

bool TCareEntry::eventFilter(QObject* watched, QEvent* event)
{
    if (isEnter(event)) {
        for (int r = 0; r < 2; ++r) {
            if (watched == line(m_references[r].edit)) {
                openReferenceList(r);
                return true;
            }
        }
        for (QLineEdit* date : std::as_const(m_dates)) {
            if (watched == date) {
                openDatePicker(date);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TCareEntry::Btn_OkClick()
{
    if (!m_ok->isEnabled())
        return;
    try {
        if (!m_row.isEditing())
            m_row.edit();
        for (int r = 0; r < 2; ++r) {
            const int chosen = m_chosen[r];
            if (chosen >= 0 && chosen < m_ids[r].size())
                m_row.setValue(QString::fromLatin1(m_references[r].column),
                               m_ids[r].at(chosen).toLongLong());
        }
        m_row.post();
    } catch (const DbError& e) {
        // The row keeps its state and everything typed, to be mended.
        showError(this, e.message());
        return;
    }
    accept();
}

void TCareEntry::reject()
{
    if (m_row.isEditing())
        m_row.cancel();
    QDialog::reject();
}

TEnterConsult::TEnterConsult(DataSet& action, DataSet& comboItems, QWidget* parent)
    : TCareEntry(action, {ReferenceKind::Doctor, "Ed_Doctor", "Btn_Doctor", "Id_Org"},
                 {ReferenceKind::Illness, "Ed_Illness", "Btn_Illness", "Id_Illness"}, Doctor,
                 kActListExtraWidth, parent),
      m_comboItems(comboItems)
{
    Ui::TEnterConsult form;
    form.setupUi(this);
    setUpFields(kActFields, {"Ed_Date", "Ed_Date_Repayment"});
    connect(form.Btn_Gravity, &QToolButton::clicked, this, &TEnterConsult::Btn_GravityClick);
    form.Ed_Gravity->installEventFilter(this);
}

void TEnterConsult::Btn_GravityClick()
{
    showPickList(findChild<QLineEdit*>(QStringLiteral("Ed_Gravity")), true, QString(), &row(),
                 &m_comboItems, kGravityKey);
}

bool TEnterConsult::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->objectName() == QLatin1String("Ed_Gravity")) {
        if (isEnter(event)) {
            Btn_GravityClick();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            editRememberedValues(this, QString::fromUtf8("Gravité"), kGravityKey, m_comboItems);
            return true;
        }
    }
    return TCareEntry::eventFilter(watched, event);
}

TEnterDrugPharmacy::TEnterDrugPharmacy(DataSet& action, QWidget* parent)
    : TCareEntry(action, {ReferenceKind::Pharmacy, "Ed_Pharmacy", "Btn_Pharmacy", "Id_Org"},
                 {ReferenceKind::Drug, "Ed_Drug", "Btn_Drug", "Id_Drug"}, Drug, kActListExtraWidth,
                 parent)
{
    Ui::TEnterDrugPharmacy form;
    form.setupUi(this);
    setUpFields(kActFields, {"Ed_Date", "Ed_Date_Repayment"});
}

TEnterVaccineExe::TEnterVaccineExe(DataSet& vaccine, QWidget* parent)
    : TCareEntry(vaccine, {ReferenceKind::Doctor, "Ed_Doctor", "Btn_Doctor", "Id_Org"},
                 {ReferenceKind::Vaccine, "Ed_Vaccine", "Btn_Vaccine", "Id_Vaccine"}, Vaccine,
                 kVaccinationListExtraWidth, parent)
{
    Ui::TEnterVaccineExe form;
    form.setupUi(this);
    setUpFields({{"Ed_Date", "Date_Vaccine"},
                 {"Ed_Date_Repeat", "Repeat_Date"},
                 {"Memo_Remark1", "Remark1"}},
                {"Ed_Date", "Ed_Date_Repeat"});
}
