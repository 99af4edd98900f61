#include "booklet/TMainForm.h"

#include "booklet/AnimalListModel.h"
#include "booklet/AnimalSilhouette.h"
#include "booklet/AppContext.h"
#include "booklet/DatabaseCommands.h"
#include "booklet/NotebookTabBar.h"
#include "booklet/ReminderNotice.h"
#include "booklet/TableCommands.h"
#include "booklet/commands/HelpCommands.h"
#include "booklet/commands/HtmlCommands.h"
#include "booklet/commands/ListCommands.h"
#include "booklet/commands/PageExportCommand.h"
#include "booklet/commands/PrintCommands.h"
#include "booklet/commands/SettingsCommands.h"
#include "booklet/pages/BookletPage.h"
#include "booklet/pages/ExportablePage.h"
#include "booklet/pages/PageTable.h"
#include "core/AppInfo.h"
#include "core/Clock.h"
#include "core/WindowPlacement.h"
#include "db/AnimalPictureStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "dialogs/ImagePreview.h"
#include "dialogs/TSendEmail.h"
#include "report/ReportRunner.h"
#include "ui/AppIcon.h"
#include "ui/EmptyViewHint.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui/SymbolIcon.h"
#include "ui_TMainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include <tuple>

using namespace tav;

TMainForm::TMainForm(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_ui(std::make_unique<Ui::TMainForm>())
{
    setObjectName(QStringLiteral("MainForm"));
    setProperty("tag", 0);
    FormCreate();
}

TMainForm::~TMainForm()
{
    // The data module outlives the window: nothing of it reaches the
    // widgets being destroyed.
    if (m_context.module1)
        disconnect(m_context.module1, nullptr, this, nullptr);
}

void TMainForm::FormCreate()
{
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(appinfo::productName());
    applyApplicationIdentity();
    m_context.settings.load(m_context.settingsPath);
    applyMoneyFormat();
    setUpLayout();
    connectMenus();
    prepareWindow(this, true);
    // The grip applies a size only above 640 x 480; the system frame keeps
    // the same limit.
    setMinimumSize(641, 481);
    const QString title =
        QLatin1Char(' ') + appinfo::productName() + QLatin1Char(' ') + appinfo::programVersion();
    m_ui->Title->setText(title);
    setWindowTitle(title.trimmed());
    m_moveDirection = 0;
    buildControlRules();
    connectDataModule();
    if (m_context.connection) {
        m_listModel->setPictureSource([connection = m_context.connection](int id) {
            return AnimalPictureStore(*connection).thumbnail(id);
        });
    }
    m_listModel->setSilhouette(animalSilhouette());
    openAnimal();
    for (BookletPage* page : std::as_const(m_pages))
        page->startPage();
    if (!m_context.settings.showCalendar) {
        m_ui->MiniCalendar->hide();
        m_ui->DigitalTime->hide();
    }
    m_context.settings.firstLaunch = false;
    m_ui->Lab_Status->setText(QStringLiteral("© ") + QString::number(Clock::today().year()) +
                              QLatin1Char(' ') + appinfo::makerName() + QStringLiteral(" — ") +
                              appinfo::productName());
}

void TMainForm::setUpLayout()
{
    m_ui->setupUi(this);
    // The form cannot hold the tooltip's CR LF.
    m_ui->MiniCalendar->setToolTip(QStringLiteral("Calendrier\r\nperpétuel"));
    m_ui->MiniCalendar->setLanguage(3);
    for (QToolButton* b : {m_ui->Btn_Table, m_ui->Btn_Imprimer, m_ui->Btn_Html}) {
        QFont small = b->font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        b->setFont(small);
    }
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("Clock"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &TMainForm::ClockTimer);
    // Pressing and dragging the notice moves the window, as a title bar does.
    m_ui->Lab_Status->installEventFilter(this);
    setUpAnimalPanel();
    setUpNotebook();
}

void TMainForm::setUpAnimalPanel()
{
    QListView* grid = m_ui->Grid_AnimalList;
    m_listModel = new AnimalListModel(grid);
    grid->setModel(m_listModel);
    grid->setItemDelegate(new AnimalListDelegate(grid));
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, grid](const QModelIndex& current) {
                if (!m_building && current.isValid()) {
                    grid->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
                    Grid_AnimalListClick();
                }
            });
    // A new, empty booklet says how to begin.
    new EmptyViewHint(
        grid, QString::fromUtf8("Cliquez sur + pour ouvrir le carnet de votre premier animal"));
    for (const auto& [button, slot] :
         {std::pair{m_ui->Btn_Main_Filter, &TMainForm::Btn_Main_FilterClick},
          std::pair{m_ui->Btn_Main_Prior, &TMainForm::Btn_Main_PriorClick},
          std::pair{m_ui->Btn_Main_Next, &TMainForm::Btn_Main_NextClick},
          std::pair{m_ui->Btn_Main_Add, &TMainForm::Btn_Main_AddClick},
          std::pair{m_ui->Btn_Main_Delete, &TMainForm::Btn_Main_DeleteClick},
          std::pair{m_ui->Btn_Main_Record, &TMainForm::Btn_Main_RecordClick}})
        connect(button, &QToolButton::clicked, this, slot);
    // Symbols missing from many fonts are drawn by the program.
    tav::setSymbol(m_ui->Btn_Main_Filter, QStringLiteral("lines"));
    tav::setSymbol(m_ui->Btn_Main_Record, QStringLiteral("check"));

    m_filterMenu = new QMenu(this);
    m_filterMenu->setObjectName(QStringLiteral("Popup_Filter"));
    QAction* bySpecies = m_ui->Popup_Filter_Species;
    QAction* byBreed = m_ui->Popup_Filter_Breed;
    QAction* departed = m_ui->Popup_Filter_End;
    m_filterMenu->addActions({bySpecies, byBreed});
    m_filterMenu->addSeparator();
    m_filterMenu->addAction(departed);
    connect(m_filterMenu, &QMenu::aboutToShow, this, [this, bySpecies, byBreed, departed]() {
        // The grouping in use: a stored value other than 1 or 2 groups by
        // species.
        const int sort = normalizedAnimalSort(m_context.settings.animalSort);
        bySpecies->setChecked(sort == 1);
        byBreed->setChecked(sort == 2);
        departed->setChecked(m_context.settings.animalEnd);
    });
    connect(bySpecies, &QAction::triggered, this, [this]() { setAnimalSort(1); });
    connect(byBreed, &QAction::triggered, this, [this]() { setAnimalSort(2); });
    connect(departed, &QAction::triggered, this, &TMainForm::toggleAnimalEnd);
}

void TMainForm::setUpNotebook()
{
    // The booklet's design width: the nine tabs always fit in it.
    m_ui->TabNoteBook->setFitWidth(m_ui->Pan_Booklet->minimumWidth());
    m_ui->TabNoteBook->setShape(QTabBar::RoundedSouth);
    for (const PageRow& row : bookletPages())
        addPage(row.make(m_context, m_pages.size(), m_ui->AANotebook1), row.tabColour);
    connect(m_ui->TabNoteBook, &QTabBar::currentChanged, this, &TMainForm::TabNoteBookTabChange);
}

void TMainForm::addPage(BookletPage* page, const QColor& tabColour)
{
    m_pages.append(page);
    m_ui->AANotebook1->addWidget(page);
    // "&" in a tab's text marks a shortcut letter: doubled, it shows.
    const int tab = m_ui->TabNoteBook->addTab(
        QString(page->caption()).replace(QLatin1Char('&'), QLatin1String("&&")));
    m_ui->TabNoteBook->setTabData(tab, tabColour);
    connect(page, &BookletPage::controlsChanged, this, &TMainForm::updateControls);
    connect(page, &BookletPage::animalRowChanged, this, &TMainForm::refreshAnimalInList);
    connect(page, &BookletPage::titlesChanged, this, &TMainForm::titlesChanged);
    connect(page, &BookletPage::factsChanged, this, [this, page]() {
        for (BookletPage* other : std::as_const(m_pages)) {
            if (other != page)
                other->refreshFacts();
        }
    });
    // The preview has its own print command.
    connect(page, &BookletPage::previewRequested, this, [this](const DocumentPreview& preview) {
        showImagePreview(this, preview.files, preview.current, preview.title, preview.titles);
    });
    // The entries go as the page made them: the type and size it shows.
    connect(page, &BookletPage::emailRequested, this,
            [this](const QVector<DocumentAttachment>& attachments) {
                QStringList entries;
                QList<QPixmap> icons;
                for (const DocumentAttachment& a : attachments) {
                    entries << a.entry();
                    icons << QPixmap::fromImage(a.icon);
                }
                sendEntriesByEmail(this, m_context.settings, entries, icons);
            });
}

void TMainForm::connectMenus()
{
    // The actions belong to their menus, where the menus' users look them up.
    for (QMenu* menu : m_ui->MenuBar->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            if (action->parent() == this)
                action->setParent(menu);
        }
    }
    for (QAction* action : m_filterMenu->actions())
        action->setParent(m_filterMenu);
    const bool hasDatabase = m_context.module1 != nullptr;
    // Items whose windows cannot open stay visible but disabled.
    for (QAction* a :
         {m_ui->Popup_File_Import, m_ui->Item_Pathologies, m_ui->Item_Vaccins,
          m_ui->Item_Medicaments, m_ui->Item_Praticiens, m_ui->Item_Pharmacie, m_ui->Item_Analyses,
          m_ui->Item_Especes, m_ui->Item_Html_Carnet, m_ui->Item_Html_Actes,
          m_ui->Item_Html_Medicaments, m_ui->Item_Html_Rappels, m_ui->Item_Sauvegarde,
          m_ui->Item_Restauration, m_ui->Item_Historique, m_ui->Item_Compacter})
        a->setEnabled(hasDatabase);
    const bool hasTables = m_context.module1 && m_context.module2;
    for (QAction* a : {m_ui->Item_Table_Actes, m_ui->Item_Table_Medicaments,
                       m_ui->Item_Table_Rappels, m_ui->Item_Table_Ics})
        a->setEnabled(hasTables);
    for (QAction* a : {m_ui->Item_Print_Carnet, m_ui->Item_Print_Actes,
                       m_ui->Item_Print_Medicaments, m_ui->Item_Print_Rappels})
        a->setEnabled(m_context.moduleReport != nullptr);

    m_settingsCommands = new SettingsCommands(m_context, this);
    connect(m_ui->Item_Imprimante, &QAction::triggered, m_settingsCommands,
            &SettingsCommands::choosePrinter);
    connect(m_ui->Item_Proprietes, &QAction::triggered, m_settingsCommands,
            &SettingsCommands::editPreferences);
    connect(m_settingsCommands, &SettingsCommands::settingsChanged, this,
            &TMainForm::updateControls);
    connect(m_ui->Item_Quitter, &QAction::triggered, this, &QWidget::close);

    auto* lists = new ListCommands(m_context, this);
    for (const auto& [item, kind] : {std::pair{m_ui->Item_Pathologies, ReferenceKind::Illness},
                                     std::pair{m_ui->Item_Vaccins, ReferenceKind::Vaccine},
                                     std::pair{m_ui->Item_Medicaments, ReferenceKind::Drug},
                                     std::pair{m_ui->Item_Praticiens, ReferenceKind::Doctor},
                                     std::pair{m_ui->Item_Pharmacie, ReferenceKind::Pharmacy}})
        connect(item, &QAction::triggered, lists,
                [lists, kind = kind]() { lists->editReferences(kind); });
    connect(m_ui->Item_Analyses, &QAction::triggered, lists, &ListCommands::editAnalyses);
    connect(m_ui->Item_Especes, &QAction::triggered, lists, &ListCommands::editSpecies);
    // The pages show the titles of the reference rows.
    connect(lists, &ListCommands::listsEdited, this, &TMainForm::RefreshCurrentPage);
    connect(lists, &ListCommands::titlesEdited, this, &TMainForm::titlesChanged);

    auto* tables = new TableCommands(*this, *m_ui->Menu_Tableaux);
    connect(m_ui->Item_Table_Actes, &QAction::triggered, tables,
            &TableCommands::Popup_Table_ConsultClick);
    connect(m_ui->Item_Table_Medicaments, &QAction::triggered, tables,
            &TableCommands::Popup_Table_PharmacyClick);
    connect(m_ui->Item_Table_Rappels, &QAction::triggered, tables,
            &TableCommands::Popup_Table_VaccineClick);
    connect(m_ui->Item_Table_Ics, &QAction::triggered, tables, &TableCommands::exportReminders);
    connect(m_ui->Btn_Table, &QToolButton::clicked, tables,
            [this, tables]() { tables->Btn_TableClick(m_ui->Btn_Table); });

    auto* print = new PrintCommands(m_context, this);
    for (const auto& [item, report] :
         {std::pair<QAction*, PrintCommands::Report>{m_ui->Item_Print_Carnet,
                                                     &ReportRunner::booklet},
          std::pair<QAction*, PrintCommands::Report>{m_ui->Item_Print_Actes,
                                                     &ReportRunner::consultHistory},
          std::pair<QAction*, PrintCommands::Report>{m_ui->Item_Print_Medicaments,
                                                     &ReportRunner::pharmacyHistory},
          std::pair<QAction*, PrintCommands::Report>{m_ui->Item_Print_Rappels,
                                                     &ReportRunner::reminderTables}})
        connect(item, &QAction::triggered, print,
                [print, report = report]() { print->print(report); });

    auto* html = new HtmlCommands(m_context, this, *m_settingsCommands);
    for (const auto& [item, page] :
         {std::pair{m_ui->Item_Html_Carnet, HtmlCommands::Page::Booklet},
          std::pair{m_ui->Item_Html_Actes, HtmlCommands::Page::Consultations},
          std::pair{m_ui->Item_Html_Medicaments, HtmlCommands::Page::Medicines},
          std::pair{m_ui->Item_Html_Rappels, HtmlCommands::Page::Reminders}})
        connect(item, &QAction::triggered, html, [html, page = page]() { html->show(page); });
    // The command bar's buttons open the same menus as the menu bar.
    m_ui->Btn_Imprimer->setMenu(m_ui->Menu_Impression);
    m_ui->Btn_Html->setMenu(m_ui->Menu_Html);

    auto* exporter = new PageExportCommand(this, m_context.dataFolder);
    connect(m_ui->Item_ExportCsv, &QAction::triggered, exporter, [this, exporter]() {
        if (auto* page = dynamic_cast<ExportablePage*>(m_ui->AANotebook1->currentWidget()))
            exporter->exportPage(*page);
    });
    // Only a page with a grid has something to export.
    connect(m_ui->Menu_Outils, &QMenu::aboutToShow, this, [this]() {
        m_ui->Item_ExportCsv->setEnabled(
            dynamic_cast<ExportablePage*>(m_ui->AANotebook1->currentWidget()) != nullptr &&
            !animalEmpty());
    });
    // The maintenance commands work whether or not an animal exists.
    auto* database = new DatabaseCommands(*this);
    connect(m_ui->Popup_File_Import, &QAction::triggered, database,
            [database]() { database->importJet(); });
    connect(m_ui->Item_Sauvegarde, &QAction::triggered, database, &DatabaseCommands::backup);
    connect(m_ui->Item_Restauration, &QAction::triggered, database, &DatabaseCommands::restore);
    connect(m_ui->Item_Historique, &QAction::triggered, database, &DatabaseCommands::history);
    connect(m_ui->Item_Compacter, &QAction::triggered, database, &DatabaseCommands::compact);

    auto* help = new HelpCommands(m_context, this);
    connect(m_ui->Item_Documentation, &QAction::triggered, help, &HelpCommands::openHelp);
    connect(m_ui->Item_SiteWeb, &QAction::triggered, help, &HelpCommands::openWebSite);
    connect(m_ui->Item_APropos, &QAction::triggered, help, &HelpCommands::showAbout);
}

void TMainForm::setScanSourceLister(std::function<QStringList()> lister)
{
    m_settingsCommands->setScanSourceLister(std::move(lister));
}

void TMainForm::connectDataModule()
{
    DataModule1* module = m_context.module1;
    if (!module)
        return;
    // The highlighted row is the current animal's, whatever moved it.
    connect(&animal(), &DataSet::currentChanged, this, &TMainForm::followCurrentAnimal);
    connect(module, &DataModule1::speciesBreedChanged, this, &TMainForm::refreshSpeciesBreed);
    connect(module, &DataModule1::controlsChanged, this, &TMainForm::updateControls);
    connect(module, &DataModule1::animalWritten, this, &TMainForm::animalWritten);
}

void TMainForm::applyMoneyFormat()
{
    const QString symbol = m_context.currencySymbol.isEmpty()
                               ? QLocale().currencySymbol(QLocale::CurrencySymbol)
                               : m_context.currencySymbol;
    m_moneyFormat = tav::moneyFormat(symbol);
}

void TMainForm::openAnimal()
{
    if (!m_context.module1)
        return;
    try {
        animal().open();
        m_listFromAnimals = true;
    } catch (const DbError& e) {
        MessageBox::warning(
            this, e.message() + QStringLiteral("\r\r") +
                      QStringLiteral("INSTABILITE DETECTEE !!\r\rL'exécutable de ce logiciel ne "
                                     "semble pas être compatible. Installer une mise à jour peut "
                                     "résoudre ce problème.\rTéléchargez et installez "
                                     "gratuitement la mise à jour depuis le site ") +
                      appinfo::webSite() + QStringLiteral(" (rubrique « MISES A JOUR »)."));
    }
}

DataSet& TMainForm::animal() const
{
    return m_context.module1->animal();
}

bool TMainForm::animalEmpty() const
{
    return !m_context.module1 || !animal().isOpen() || animal().isEmpty();
}

QWidget* TMainForm::control(const QString& name) const
{
    // Commands are enabled after every keystroke in a bound field: remember
    // where each component is rather than searching the window each time.
    const QPointer<QWidget> known = m_controls.value(name);
    if (known)
        return known;
    QWidget* found = findChild<QWidget*>(name);
    if (found)
        m_controls.insert(name, found);
    return found;
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::FormShow()
{
    QRect workArea(0, 0, 1024, 768);
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        workArea = screen->availableGeometry();
    const WindowPlacement placement = restoreWindowPlacement(m_context.settings, workArea, 0);
    setGeometry(placement.clientRect);
    if (placement.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    buildAnimalList(-1);
    FormResize();
    updateControls();
    m_clockTimer->start();
    // Once the window is on screen, so that the notice opens over it.
    if (m_context.connection)
        QTimer::singleShot(0, this, [this]() {
            tav::ReminderNotice::showIfDue(this, *m_context.connection, m_context.settings);
        });
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    // The calendar and the clock sit above the command bar's buttons, which
    // stay at the bar's middle.
    const int barHeight = m_ui->Pan_Command->height();
    m_ui->Pan_CommandTop->setFixedHeight(std::max(0, (barHeight - 195) / 2));
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_context.module1 && animal().isEditing()) {
        try {
            animal().post();
        } catch (const DbError& e) {
            // Closing would lose what was typed, but refusing to close
            // would trap the user when the row can never be written (a
            // read-only disk): the user chooses.
            if (!MessageBox::question(this, e.message() + QStringLiteral("\r\rAbandonner les "
                                                                         "modifications et "
                                                                         "quitter ?"))) {
                event->ignore();
                return;
            }
            try {
                animal().cancel();
            } catch (const DbError&) {
                // The row is abandoned with the window anyway.
            }
        }
    }
    m_clockTimer->stop();
    if (m_context.module1) {
        disconnect(m_context.module1, nullptr, this, nullptr);
        for (BookletPage* page : std::as_const(m_pages))
            page->finishPage();
        animal().close();
    }
    const WindowState state = isMaximized()   ? WindowState::Maximized
                              : isMinimized() ? WindowState::Minimized
                                              : WindowState::Normal;
    storeWindowPlacement(m_context.settings,
                         normalGeometry().isValid() ? normalGeometry() : geometry(), state);
    m_context.settings.save(m_context.settingsPath);
    QMainWindow::closeEvent(event);
}

void TMainForm::ClockTimer()
{
    QString text = QTime::currentTime().toString(QStringLiteral("hh:mm:ss")).left(5);
    if (m_clockTicks++ % 2 == 0)
        text.replace(QLatin1Char(':'), QLatin1Char(' '));
    m_ui->DigitalTime->setText(text);
}
