#include "booklet/TableCommands.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "core/Clock.h"
#include "core/FileRoutines.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/ReminderStore.h"
#include "dialogs/TConsultRepaymentList.h"
#include "dialogs/TPharmacyRepaymentList.h"
#include "dialogs/TRepeatVaccineList.h"
#include "output/ICalendar.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>

namespace tav {

namespace {

// Opens a table window modally; it is released when it closes.
template <typename Window> void showTable(TMainForm& form, DataModule2& module, qint64 animal)
{
    try {
        Window window(module, animal, &form);
        window.exec();
    } catch (const DbError& e) {
        showError(&form, e.message());
    }
}

} // namespace

TableCommands::TableCommands(TMainForm& form, QMenu& menu)
    : QObject(&form), m_form(form), m_menu(menu)
{
    // The tables' amounts show with the currency symbol.
    if (DataModule2* module = form.context().module2) {
        for (const char* ds : {"ConsultRepaymentQuery", "PharmacyRepaymentQuery"}) {
            DataSet& d = module->dataSet(QString::fromLatin1(ds));
            for (const char* f : {"Price", "Price_Repayment"})
                d.setDisplayFormat(QString::fromLatin1(f), form.moneyFormat());
        }
    }
}

QPoint TableCommands::popupPosition(const QPoint& buttonTopLeftOnScreen)
{
    return buttonTopLeftOnScreen + QPoint(50, 0);
}

void TableCommands::Btn_TableClick(QWidget* button)
{
    m_menu.popup(popupPosition(button->mapToGlobal(QPoint(0, 0))));
}

qint64 TableCommands::currentAnimal() const
{
    const AppContext& c = m_form.context();
    if (!c.module1 || !c.module2)
        return -1;
    const DataSet& animal = c.module1->animal();
    if (!animal.isOpen() || animal.isEmpty() || animal.state() == DataSet::State::Insert)
        return -1;
    return animal.asInt(QStringLiteral("Id"));
}

void TableCommands::Popup_Table_ConsultClick()
{
    const qint64 animal = currentAnimal();
    if (animal >= 0)
        showTable<TConsultRepaymentList>(m_form, *m_form.context().module2, animal);
}

void TableCommands::Popup_Table_PharmacyClick()
{
    const qint64 animal = currentAnimal();
    if (animal >= 0)
        showTable<TPharmacyRepaymentList>(m_form, *m_form.context().module2, animal);
}

void TableCommands::Popup_Table_VaccineClick()
{
    const qint64 animal = currentAnimal();
    if (animal < 0)
        return;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ReminderStore(*m_form.context().connection).refreshVaccineReminders(animal);
        QApplication::restoreOverrideCursor();
    } catch (const DbError& e) {
        QApplication::restoreOverrideCursor();
        // A list read from flags that could not be brought up to date
        // would be wrong: nothing is shown.
        showError(&m_form, e.message());
        return;
    }
    showTable<TRepeatVaccineList>(m_form, *m_form.context().module2, animal);
}

void TableCommands::exportReminders()
{
    Connection* connection = m_form.context().connection;
    if (!connection)
        return;
    QVector<DueReminder> due;
    try {
        due = ReminderStore(*connection).dueRemindersOfAllAnimals();
    } catch (const DbError& e) {
        showError(&m_form, e.message());
        return;
    }
    if (due.isEmpty()) {
        MessageBox::information(&m_form,
                                QString::fromUtf8("Aucun rappel de vaccination n'est à faire."));
        return;
    }
    QString path = FileDialog::getSaveFileName(
        &m_form, QString::fromUtf8("Exporter les rappels"),
        dataSubFolder(m_form.context().dataFolder, QStringLiteral("Export")) +
            QStringLiteral("Rappels de vaccination.ics"),
        QString::fromUtf8("Calendrier (iCalendar)|*.ics"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".ics");
    if (const Result written = writeCalendarFile(path, reminderEvents(due), Clock::now()); !written)
        showError(&m_form, written.error);
}

} // namespace tav
