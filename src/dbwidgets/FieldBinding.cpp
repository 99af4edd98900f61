#include "dbwidgets/FieldBinding.h"

#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTextEdit>

namespace tav {

namespace {

bool hasRow(const DataSet* ds)
{
    return ds && ds->isOpen() && (ds->isEditing() || !ds->isEmpty());
}

// The digits of a display format without its unit: "#######0.000 Kg"
// is edited as "#######0.000".
QString editFormat(const QString& display)
{
    int end = -1;
    for (int i = 0; i < display.size(); ++i) {
        const QChar c = display.at(i);
        if (c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.') ||
            c == QLatin1Char(','))
            end = i;
        else if (end >= 0)
            break;
    }
    return end < 0 ? QString() : display.left(end + 1);
}

bool isNumber(JetType type)
{
    return type == JetType::Double || type == JetType::Currency || type == JetType::Short ||
           type == JetType::Long;
}

// What may be typed into a number: digits, a minus sign in front, and one
// decimal comma or point for a decimal number; an amount of money takes two
// decimals at most, as it is shown.
QRegularExpression numberPattern(JetType type)
{
    if (type == JetType::Currency)
        return QRegularExpression(QStringLiteral("-?[0-9]*([.,][0-9]{0,2})?"));
    return QRegularExpression(type == JetType::Double ? QStringLiteral("-?[0-9]*([.,][0-9]*)?")
                                                      : QStringLiteral("-?[0-9]*"));
}

// A typed number read back for display; false when it is not one.
bool typedNumber(const QString& text, double* value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok;
}

} // namespace

FieldBinding::FieldBinding(QWidget* widget, DataSet& dataSet, const QString& field)
    : QObject(widget), m_widget(widget), m_dataSet(&dataSet), m_field(field)
{
    setObjectName(QStringLiteral("binding_") + field);
}

FieldBinding* FieldBinding::bind(QWidget* widget, DataSet& dataSet, const QString& field)
{
    if (FieldBinding* old = of(widget))
        delete old;
    auto* b = new FieldBinding(widget, dataSet, field);
    widget->setProperty("dataField", field);
    auto reload = [b]() {
        b->load();
    };
    connect(&dataSet, &DataSet::currentChanged, b, reload);
    connect(&dataSet, &DataSet::reset, b, reload);
    connect(&dataSet, &DataSet::stateChanged, b, reload);
    connect(&dataSet, &DataSet::fieldChanged, b, &FieldBinding::onFieldChanged);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, b, [b]() { b->store(); });
        edit->installEventFilter(b);
        b->m_editing = edit->hasFocus();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        connect(memo, &QPlainTextEdit::textChanged, b, [b]() {
            if (!b->m_loading)
                b->store();
        });
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        connect(rich, &QTextEdit::textChanged, b, [b]() {
            if (!b->m_loading)
                b->store();
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        connect(check, &QCheckBox::toggled, b, [b]() {
            if (!b->m_loading)
                b->store();
        });
    }
    b->load();
    return b;
}

FieldBinding* FieldBinding::of(const QWidget* widget)
{
    return widget ? widget->findChild<FieldBinding*>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void FieldBinding::captionsFromLabels(QWidget* window)
{
    const auto labels = window->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        const FieldBinding* binding = of(label->buddy());
        if (!binding || !binding->m_dataSet)
            continue;
        // "&Objet " reads "Objet"; a label on two lines reads as one.
        const QString text = label->text();
        QString caption;
        for (qsizetype i = 0; i < text.size(); ++i) {
            // A mnemonic mark goes; a doubled one stands for itself.
            if (text.at(i) == QLatin1Char('&') && ++i >= text.size())
                break;
            caption += text.at(i);
        }
        caption = caption.simplified();
        if (!caption.isEmpty())
            binding->m_dataSet->setCaption(binding->m_field, caption);
    }
}

QString FieldBinding::editText(const DataSet& ds, const QString& field)
{
    if (!hasRow(&ds) || !ds.hasField(field))
        return QString();
    const QVariant v = ds.value(field);
    if (!v.isValid() || v.isNull())
        return QString();
    const Field& f = ds.field(ds.fieldIndex(field));
    if ((f.type == JetType::Double || f.type == JetType::Currency) &&
        v.typeId() != QMetaType::QString) {
        const QString format = editFormat(f.def.displayFormat);
        return format.isEmpty() ? formatNumber(v.toDouble(), QString())
                                : formatNumber(v.toDouble(), format);
    }
    return ds.asString(field);
}

QString FieldBinding::displayText(const DataSet& ds, const QString& field)
{
    if (!hasRow(&ds) || !ds.hasField(field))
        return QString();
    const Field& f = ds.field(ds.fieldIndex(field));
    if (!isNumber(f.type) || f.def.displayFormat.isEmpty())
        return editText(ds, field);
    const QVariant v = ds.value(field);
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() != QMetaType::QString)
        return formatNumber(v.toDouble(), f.def.displayFormat);
    // Typed and not yet written: shown formatted when it reads as a number.
    double typed = 0;
    if (v.toString().trimmed().isEmpty() || !typedNumber(v.toString(), &typed))
        return v.toString();
    return formatNumber(typed, f.def.displayFormat);
}

bool FieldBinding::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_widget &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        m_editing = event->type() == QEvent::FocusIn;
        load();
    }
    return QObject::eventFilter(watched, event);
}

void FieldBinding::load()
{
    if (!m_widget || !m_dataSet || m_storing)
        return;
    m_loading = true;
    const bool row = hasRow(m_dataSet) && m_dataSet->hasField(m_field);
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget)) {
        if (row && !edit->validator()) {
            const JetType type = m_dataSet->field(m_dataSet->fieldIndex(m_field)).type;
            if (isNumber(type))
                edit->setValidator(new QRegularExpressionValidator(numberPattern(type), edit));
        }
        // Numbers show their unit ("3,500 Kg") except while being typed.
        const QString text =
            m_editing ? editText(*m_dataSet, m_field) : displayText(*m_dataSet, m_field);
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(m_widget)) {
        const QString text = row ? m_dataSet->asString(m_field) : QString();
        if (memo->toPlainText() != text)
            memo->setPlainText(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(m_widget)) {
        const QString text = row ? m_dataSet->asString(m_field) : QString();
        if (rich->toPlainText() != text)
            rich->setPlainText(text);
    } else if (auto* check = qobject_cast<QCheckBox*>(m_widget)) {
        check->setChecked(row && m_dataSet->asBool(m_field));
    }
    m_loading = false;
}

void FieldBinding::store()
{
    if (!m_widget || !hasRow(m_dataSet))
        return;
    QVariant value;
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget)) {
        value = edit->text();
        if (!edit->inputMask().isEmpty()) {
            // A masked date keeps its slashes and shows its blanks as
            // spaces; a mask with nothing typed is an empty value.
            QString shown = edit->displayText();
            shown.replace(QLatin1Char('_'), QLatin1Char(' '));
            bool typed = false;
            for (const QChar c : std::as_const(shown))
                typed = typed || c.isDigit();
            value = typed ? shown : QString();
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(m_widget))
        value = memo->toPlainText();
    else if (auto* rich = qobject_cast<QTextEdit*>(m_widget))
        value = rich->toPlainText();
    else if (auto* check = qobject_cast<QCheckBox*>(m_widget))
        value = check->isChecked();
    m_storing = true;
    try {
        m_dataSet->setValue(m_field, value);
    } catch (const DbError& e) {
        m_storing = false;
        showError(m_widget, e.message());
        return;
    }
    m_storing = false;
}

void FieldBinding::clearValue()
{
    if (!hasRow(m_dataSet))
        return;
    try {
        m_dataSet->setValue(m_field, QVariant());
    } catch (const DbError& e) {
        showError(m_widget, e.message());
    }
    load();
}

void FieldBinding::onFieldChanged(const QString& field)
{
    if (!m_storing && field.compare(m_field, Qt::CaseInsensitive) == 0)
        load();
}

} // namespace tav
