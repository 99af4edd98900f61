#include "dialogs/DatePicker.h"

#include "core/DateRoutines.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TSelectDate.h"
#include "ui/MessageBox.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>

namespace tav {

namespace {

// Below the top of the field, with a margin kept above the task bar.
constexpr int offsetUnderField = 15;
constexpr int bottomMargin = 30;

QPointer<TSelectDate>& latestPicker()
{
    static QPointer<TSelectDate> picker;
    return picker;
}

} // namespace

QPoint datePickerPosition(QPoint targetTopLeft, int screenBottom)
{
    // Under the field unless the reserved height would reach the bottom
    // margin; then as low as that height allows.
    const int top = targetTopLeft.y();
    if (top + datePickerReservedHeight + offsetUnderField < screenBottom - bottomMargin)
        return {targetTopLeft.x(), top + offsetUnderField};
    return {targetTopLeft.x(), screenBottom - datePickerReservedHeight - bottomMargin};
}

QDate datePickerDate(const QString& dateText, const QDate& today)
{
    return isValidDateText(dateText) ? parseDateText(dateText) : today;
}

TSelectDate* showDatePicker(QLineEdit* target, DataSet* record)
{
    if (record && !record->isEditing()) {
        try {
            record->edit();
        } catch (const DbError& e) {
            showError(target, e.message());
            return nullptr;
        }
    }

    if (TSelectDate* previous = openDatePicker())
        previous->close();

    auto* picker = new TSelectDate(target ? target->window() : nullptr);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    latestPicker() = picker;

    if (target) {
        const QScreen* screen = target->screen();
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const QPoint topLeft = target->mapToGlobal(QPoint(0, 0));
        picker->move(screen ? datePickerPosition(topLeft, screen->availableGeometry().bottom() + 1)
                            : topLeft + QPoint(0, offsetUnderField));
        picker->setDateText(target->text().left(10));
        picker->setTargetEdit(target);
        target->setFocus(Qt::OtherFocusReason);
        target->selectAll();
    }
    picker->show();
    return picker;
}

TSelectDate* openDatePicker()
{
    TSelectDate* picker = latestPicker();
    return picker && picker->isVisible() ? picker : nullptr;
}

} // namespace tav
