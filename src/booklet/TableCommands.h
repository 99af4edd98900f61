#pragma once

#include <QObject>
#include <QPoint>

class QMenu;
class QWidget;
class TMainForm;

namespace tav {

// The commands of the "Tableaux" menu: the current animal's unreimbursed
// acts and medicines, its due vaccination reminders, and the reminders of
// every animal written as a calendar file that calendar programs import.
class TableCommands : public QObject
{
    Q_OBJECT
public:
    TableCommands(TMainForm& form, QMenu& menu);

    // The command bar's button drops the menu beside the bar, level with
    // the button's top.
    void Btn_TableClick(QWidget* button);
    static QPoint popupPosition(const QPoint& buttonTopLeftOnScreen);

    void Popup_Table_ConsultClick();
    void Popup_Table_PharmacyClick();
    void Popup_Table_VaccineClick();
    // Writes the due reminders of every animal as a calendar file.
    void exportReminders();

private:
    // The current animal's key, or -1 when there is none.
    qint64 currentAnimal() const;

    TMainForm& m_form;
    QMenu& m_menu;
};

} // namespace tav
