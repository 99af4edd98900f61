#pragma once

#include "booklet/AnimalList.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QMenu;
class QTimer;

namespace Ui {
class TMainForm;
}

namespace tav {
struct AppContext;
class AnimalListModel;
class DataSet;
class BookletPage;
class SettingsCommands;
class TCustomPage;
class TGeneralPage;
} // namespace tav

// The main window: the grouped animal list and the notebook of the current
// animal's booklet. The current animal is the current row of the Animal
// data set; the window follows the record rules through the signals of the
// data module. Its menus and layout are in its form; the commands of the
// menus are in command classes, and the pages are known only through
// their protocol.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(tav::AppContext& context, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The list and its selection.
    void buildAnimalList(int wantedId);
    // One animal added, written or deleted: its row alone changes.
    void refreshAnimalInList(int animalId);
    // The list rows in the "key%&a%..." form, in display order.
    QStringList animalRows() const;
    int selectedRow() const;
    void selectRow(int row);
    int moveDirection() const { return m_moveDirection; }

    // Commands of the buttons under the list.
    void Btn_Main_AddClick();
    void Btn_Main_DeleteClick();
    void Btn_Main_RecordClick();
    void Btn_Main_NextClick();
    void Btn_Main_PriorClick();
    void Btn_Main_FilterClick();
    void setAnimalSort(int sort);
    void toggleAnimalEnd();

    void TabNoteBookTabChange(int newTab);
    void RefreshCurrentPage();

    // Record-rule hooks.
    void refreshSpeciesBreed();
    void updateControls();
    void animalWritten(int animalId);
    // Titles of species and breeds were edited: the list and the pages
    // show them again.
    void titlesChanged();
    // Animal key of the selected row of the list, below 1 for a header.
    int selectedAnimalKey() const;

    // The page of each tab, in the order of the tabs.
    const QVector<tav::BookletPage*>& pages() const { return m_pages; }
    // The first page of that class.
    template <typename Page> Page* page() const
    {
        for (tav::BookletPage* p : m_pages) {
            if (auto* found = qobject_cast<Page*>(p))
                return found;
        }
        return nullptr;
    }
    // Shortcuts to the pages callers most often look for.
    tav::TGeneralPage* generalPage() const;
    tav::TCustomPage* customPage() const;
    // The analysis shown on the analyses page, -1 when none.
    int currentAnalysisId() const;
    tav::AppContext& context() const { return m_context; }
    QMenu* filterMenu() const { return m_filterMenu; }
    // The money format of the grids, with the currency symbol.
    QString moneyFormat() const { return m_moneyFormat; }

    // Lists the scanners that the preferences offer as source.
    void setScanSourceLister(std::function<QStringList()> lister);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormResize();
    void setUpLayout();
    void setUpAnimalPanel();
    void setUpNotebook();
    void connectMenus();
    void addPage(tav::BookletPage* page, const QColor& tabColour);
    // The window's own commands: enabled when the predicate holds and an
    // animal is current.
    using ControlRule = std::function<bool()>;
    void addControlRule(const QString& objectName, ControlRule rule);
    void buildControlRules();
    void applyMoneyFormat();
    void openAnimal();
    void Grid_AnimalListClick();
    void makeAnimalCurrent(int key);
    void followCurrentAnimal();
    void connectDataModule();
    void ClockTimer();
    bool animalEmpty() const;
    tav::DataSet& animal() const;
    QWidget* control(const QString& name) const;

    tav::AppContext& m_context;
    std::unique_ptr<Ui::TMainForm> m_ui;
    tav::AnimalListModel* m_listModel = nullptr;
    QMenu* m_filterMenu = nullptr;
    QTimer* m_clockTimer = nullptr;
    tav::SettingsCommands* m_settingsCommands = nullptr;
    QString m_moneyFormat;
    int m_moveDirection = 0;
    int m_clockTicks = 0;
    bool m_building = false;
    // The animals' data set was just opened: the next list is made from it.
    bool m_listFromAnimals = false;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragOrigin;
    bool m_shown = false;
    QVector<tav::BookletPage*> m_pages;
    QVector<QPair<QString, ControlRule>> m_controlRules;
    mutable QHash<QString, QPointer<QWidget>> m_controls;
};
