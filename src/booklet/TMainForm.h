#pragma once

#include "booklet/AnimalList.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QPrinter;
class QStackedWidget;
class QTabBar;
class QTimer;
class QToolButton;

namespace tav {
struct AppContext;
class AnimalListModel;
class DataSet;
class BookletPage;
class TCustomPage;
class TGeneralPage;
} // namespace tav

// The main window: the grouped animal list and the notebook of the current
// animal's booklet. The current animal is the current row of the Animal
// data set; the window follows the record rules through the signals of the
// data module.
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
    // Animal key of the selected row of the list, below 1 for a header.
    int selectedAnimalKey() const;
    void setCurrentAnalysisId(int id) { m_currentAnalysisId = id; }
    void setConsultPinEnabled(bool enabled);
    void setPharmacyPinEnabled(bool enabled);

    int currentAnalysisId() const { return m_currentAnalysisId; }
    tav::TGeneralPage* generalPage() const { return m_generalPage; }
    tav::TCustomPage* customPage() const { return m_customPage; }
    // The page of each tab, in the order of the tabs.
    const QVector<tav::BookletPage*>& pages() const { return m_pages; }
    tav::AppContext& context() const { return m_context; }
    QMenu* filterMenu() const { return m_filterMenu; }
    // The money format of the grids, with the currency symbol.
    QString moneyFormat() const { return m_moneyFormat; }

    // A page adds the rules of its own controls: enabled when the predicate
    // holds and an animal is current.
    using ControlRule = std::function<bool()>;
    void addControlRule(const QString& objectName, ControlRule rule);

    // Lists the scanners that the preferences offer as source.
    void setScanSourceLister(std::function<QStringList()> lister)
    {
        m_scanSources = std::move(lister);
    }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormResize();
    void buildLayout();
    void buildMenus();
    QWidget* buildCommandBar();
    QWidget* buildAnimalPanel();
    QWidget* buildNotebook();
    void addPage(tav::BookletPage* page, const QColor& tabColour);
    void buildControlRules();
    void applyMoneyFormat();
    void openAnimal();
    void Grid_AnimalListClick();
    void makeAnimalCurrent(int key);
    void followCurrentAnimal();
    void connectDataModule();
    void ClockTimer();
    void choosePrinter();
    void openHelp();
    void openWebSite();
    void showAbout();
    // Writes the grid of the page shown as a spreadsheet file.
    void exportPageAsCsv();
    void editPreferences();
    bool animalEmpty() const;
    tav::DataSet& animal() const;
    QWidget* control(const QString& name) const;
    void showCommandError(const QString& message);

    tav::AppContext& m_context;
    tav::AnimalListModel* m_listModel = nullptr;
    QListView* m_grid = nullptr;
    QStackedWidget* m_notebook = nullptr;
    QTabBar* m_tabs = nullptr;
    QMenu* m_filterMenu = nullptr;
    QAction* m_sortSpecies = nullptr;
    QAction* m_sortBreed = nullptr;
    QAction* m_showDeparted = nullptr;
    QLabel* m_clock = nullptr;
    QTimer* m_clockTimer = nullptr;
    QWidget* m_commandTop = nullptr;
    QWidget* m_leftFiller = nullptr;
    QWidget* m_rightFiller = nullptr;
    QWidget* m_listButtons = nullptr;
    QImage* m_silhouette = nullptr;
    QString m_moneyFormat;
    int m_moveDirection = 0;
    int m_currentAnalysisId = -1;
    std::function<QStringList()> m_scanSources;
    int m_weightChartMode = 2;
    int m_sizeChartMode = 2;
    int m_analysisChartMode = 2;
    int m_clockTicks = 0;
    bool m_building = false;
    // The animals' data set was just opened: the next list is made from it.
    bool m_listFromAnimals = false;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragOrigin;
    bool m_shown = false;
    QVector<tav::BookletPage*> m_pages;
    tav::TGeneralPage* m_generalPage = nullptr;
    tav::TCustomPage* m_customPage = nullptr;
    QString m_tempImagePath;
    std::unique_ptr<QPrinter> m_printer;
    QVector<QPair<QString, ControlRule>> m_controlRules;
    mutable QHash<QString, QPointer<QWidget>> m_controls;
};
