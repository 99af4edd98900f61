#include "dialogs/TEnterAnalysisValue.h"

#include "db/DataSet.h"
#include "dialogs/DatePicker.h"
#include "ui_TEnterAnalysisValue.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

TEnterAnalysisValue::TEnterAnalysisValue(tav::DataSet& values, int decimals, const QString& unit,
                                         QWidget* parent)
    : AnalysisEntry(values, parent)
{
    setObjectName(QStringLiteral("TEnterAnalysisValue"));
    Ui::TEnterAnalysisValue form;
    form.setupUi(this);
    // The column holds 128 characters: a longer remark is refused when
    // stored rather than cut.
    const int remarkSize = [&values]() {
        const int i = values.fieldIndex(QStringLiteral("Remark1"));
        return i >= 0 && values.field(i).size > 0 ? values.field(i).size : 128;
    }();
    setUpFields({{"Ed_Date", "Date_Analysis"}},
                {{"Ed_Value", "Value_Analysis", "Valeur"},
                 {"Ed_Min", "Value_Min", "Valeur minimale"},
                 {"Ed_Max", "Value_Max", "Valeur maximale"}},
                {"Memo_Remark1", "Remark1", remarkSize}, "Ed_Value");
    applyNumberFormat(decimals, unit);
    form.Ed_Date->installEventFilter(this);
    connect(form.Btn_Date, &QToolButton::clicked, this, &TEnterAnalysisValue::Btn_DateClick);
}

void TEnterAnalysisValue::Btn_DateClick()
{
    tav::showDatePicker(line("Ed_Date"), &row());
}

bool TEnterAnalysisValue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == line("Ed_Date") && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Btn_DateClick();
            return true;
        }
    }
    return AnalysisEntry::eventFilter(watched, event);
}
