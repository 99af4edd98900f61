#include "dialogs/AnalysisEntry.h"

#include "db/AnalysisStore.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/PickList.h"
#include "dialogs/RememberedValues.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace tav;

namespace {

const QString kUnitKey = QStringLiteral("Analysis_Unit");

bool isEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

AnalysisEntry::AnalysisEntry(DataSet& row, QWidget* parent) : QDialog(parent), m_row(row) {}

QLineEdit* AnalysisEntry::line(const char* name) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void AnalysisEntry::setUpFields(std::initializer_list<std::pair<const char*, const char*>> plain,
                                std::initializer_list<Number> numbers, const Remark& remark,
                                const char* requiredEdit)
{
    m_numbers = numbers;
    m_remark = remark;
    m_required = requiredEdit;
    for (const auto& [name, column] : plain) {
        auto* widget = findChild<QWidget*>(QString::fromLatin1(name));
        FieldBinding::bind(widget, m_row, QString::fromLatin1(column));
        // A line cannot take more than its column holds.
        const int index = m_row.fieldIndex(QString::fromLatin1(column));
        if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && index >= 0)
            if (const int size = m_row.field(index).size; size > 0)
                edit->setMaxLength(size);
    }
    for (const Number& n : std::as_const(m_numbers))
        FieldBinding::bind(line(n.edit), m_row, QString::fromLatin1(n.column));
    FieldBinding::bind(findChild<QWidget*>(QString::fromLatin1(remark.memo)), m_row,
                       QString::fromLatin1(remark.column));

    m_ok = findChild<QPushButton*>(QStringLiteral("Btn_Ok"));
    connect(m_ok, &QPushButton::clicked, this, &AnalysisEntry::Btn_OkClick);
    connect(findChild<QPushButton*>(QStringLiteral("Btn_Cancel")), &QPushButton::clicked, this,
            &AnalysisEntry::reject);
    connect(line(requiredEdit), &QLineEdit::textChanged, this, &AnalysisEntry::applyOkRule);
    applyOkRule();
    prepareWindow(this, false);
}

void AnalysisEntry::setUpUnitAndDecimals(DataSet& comboItems)
{
    m_comboItems = &comboItems;
    QLineEdit* unit = line("Ed_Unit");
    QLineEdit* decimals = line("Ed_Decimal");
    FieldBinding::bind(unit, m_row, QStringLiteral("Unit"));
    unit->setMaxLength(50);
    FieldBinding::bind(decimals, m_row, QStringLiteral("Decimal"));
    unit->installEventFilter(this);
    decimals->installEventFilter(this);
    connect(findChild<QToolButton*>(QStringLiteral("Btn_Unit")), &QToolButton::clicked, this,
            &AnalysisEntry::openUnitList);
    connect(findChild<QToolButton*>(QStringLiteral("Btn_Decimal")), &QToolButton::clicked, this,
            &AnalysisEntry::openDecimalList);
    // The numbers follow the unit and the decimals as they are chosen.
    connect(unit, &QLineEdit::textChanged, this, &AnalysisEntry::applyRowFormat);
    connect(decimals, &QLineEdit::textChanged, this, &AnalysisEntry::applyRowFormat);
    applyRowFormat();
}

void AnalysisEntry::openUnitList()
{
    if (m_comboItems)
        showPickList(line("Ed_Unit"), true, QString(), &m_row, m_comboItems, kUnitKey);
}

void AnalysisEntry::openDecimalList()
{
    showPickList(line("Ed_Decimal"), false, QStringLiteral("0\r1\r2\r3"), &m_row);
}

void AnalysisEntry::applyRowFormat()
{
    // The fields, not the row: a line chosen from a pick list shows in its
    // field before it reaches the row.
    const QLineEdit* decimals = line("Ed_Decimal");
    const QLineEdit* unit = line("Ed_Unit");
    applyNumberFormat(decimals
                          ? decimals->text().trimmed().toInt()
                          : m_row.value(QStringLiteral("Decimal")).toString().trimmed().toInt(),
                      unit ? unit->text() : m_row.value(QStringLiteral("Unit")).toString());
}

void AnalysisEntry::applyNumberFormat(int decimals, const QString& unit)
{
    m_decimals = decimals;
    m_unit = unit;
    const QString format = analysisDisplayFormat(decimals, unit);
    for (const Number& n : std::as_const(m_numbers)) {
        m_row.setDisplayFormat(QString::fromLatin1(n.column), format);
        if (FieldBinding* binding = FieldBinding::of(line(n.edit)))
            binding->load();
    }
}

void AnalysisEntry::applyOkRule()
{
    const QLineEdit* required = line(m_required);
    // A value or title made of blanks is none.
    m_ok->setEnabled(required && !required->text().trimmed().isEmpty());
}

bool AnalysisEntry::eventFilter(QObject* watched, QEvent* event)
{
    const QString name = watched->objectName();
    if (name == QLatin1String("Ed_Unit")) {
        if (isEnter(event)) {
            openUnitList();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick && m_comboItems) {
            editRememberedValues(this, QStringLiteral("Unités"), kUnitKey, *m_comboItems);
            return true;
        }
    } else if (name == QLatin1String("Ed_Decimal") && isEnter(event)) {
        openDecimalList();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AnalysisEntry::checkTyped() const
{
    for (const Number& n : std::as_const(m_numbers))
        checkAnalysisNumber(m_row.value(QString::fromLatin1(n.column)), m_decimals,
                            QString::fromUtf8(n.caption));
    const auto* memo = findChild<QPlainTextEdit*>(QString::fromLatin1(m_remark.memo));
    if (memo)
        checkRemarkLength(
            memo->toPlainText(), m_remark.maxLength,
            findChild<QWidget*>(QStringLiteral("Lab_") + QString::fromLatin1(m_remark.memo))
                ->property("text")
                .toString());
}

void AnalysisEntry::storeRow()
{
    if (m_row.isEditing())
        m_row.post();
}

void AnalysisEntry::Btn_OkClick()
{
    if (!m_ok->isEnabled())
        return;
    try {
        checkTyped();
        storeRow();
    } catch (const DbError& e) {
        // The row keeps its state and everything typed, to be mended.
        showError(this, e.message());
        return;
    }
    accept();
}

void AnalysisEntry::reject()
{
    if (m_row.isEditing())
        m_row.cancel();
    QDialog::reject();
}
