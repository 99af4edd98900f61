#include "booklet/TMainForm.h"
#include "core/Clock.h"

#include "booklet/AnimalListModel.h"
#include "booklet/AnimalListView.h"
#include "booklet/AppContext.h"
#include "booklet/DatabaseCommands.h"
#include "booklet/NotebookTabBar.h"
#include "booklet/PrinterSetup.h"
#include "booklet/ReminderNotice.h"
#include "booklet/TableCommands.h"
#include "booklet/charts/MeasureChartPicture.h"
#include "booklet/pages/BookletPage.h"
#include "booklet/pages/PhotoBox.h"
#include "booklet/pages/TAnalysisPage.h"
#include "booklet/pages/TCarePage.h"
#include "booklet/pages/TCurvePage.h"
#include "booklet/pages/TCustomPage.h"
#include "booklet/pages/TDocumentPage.h"
#include "booklet/pages/TEventPage.h"
#include "booklet/pages/TGeneralPage.h"
#include "booklet/pages/TVaccinePage.h"
#include "core/AppInfo.h"
#include "core/FileRoutines.h"
#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "core/WindowPlacement.h"
#include "db/AnimalPictureStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"
#include "db/HtmlBookletStore.h"
#include "db/ReminderStore.h"
#include "db/ReportQueries.h"
#include "dialogs/ImagePreview.h"
#include "dialogs/ReferenceLists.h"
#include "dialogs/ReportWindows.h"
#include "dialogs/TAnalysisList.h"
#include "dialogs/TEnterBreeds.h"
#include "dialogs/TEnterProperties.h"
#include "dialogs/THtmlView.h"
#include "dialogs/TMiniCalendar.h"
#include "dialogs/TSendEmail.h"
#include "mail/SecretStore.h"
#include "output/CsvExport.h"
#include "output/HtmlBooklet.h"
#include "report/ReportRunner.h"
#include "scan/SaneScanner.h"
#include "ui/AppIcon.h"
#include "ui/EmptyViewHint.h"
#include "ui/FileDialog.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui/SymbolIcon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSizeGrip>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <tuple>

using namespace tav;

namespace {

// Where the printed reports find their templates, pictures and flags.
ReportRunner::Settings reportSettings(AppContext& context)
{
    ReportRunner::Settings settings;
    settings.reportFolder = context.reportFolder;
    settings.databaseFolder = trailingSeparator(context.databaseFolder());
    settings.currencySymbol = context.currencySymbol;
    Connection* connection = context.connection;
    settings.refreshReminders = [connection](int animalId) {
        ReminderStore(*connection).refreshVaccineReminders(animalId);
    };
    settings.chartRenderer = [connection](int animalId, MeasureKind kind, int mode,
                                          const QSize& size) {
        return renderMeasureChart(*connection, animalId, kind, mode, size);
    };
    return settings;
}

struct PageInfo
{
    const char* caption;
    int red, green, blue;
};

const PageInfo kPages[] = {
    {"Général", 180, 180, 240}, {"Poids & taille", 185, 185, 255}, {"Personnalisé", 190, 190, 255},
    {"Actes", 195, 195, 255},   {"Médicaments", 200, 200, 255},    {"Analyses", 205, 205, 255},
    {"Vaccins", 210, 210, 255}, {"Documents", 215, 215, 255},      {"Evénements", 220, 220, 255}};

QImage drawSilhouette()
{
    // A plain paw print: the picture of an animal that has no photo yet.
    QImage img(150, 150, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 200, 220));
    p.drawEllipse(QPointF(75, 95), 32, 27);
    p.drawEllipse(QPointF(37, 62), 13, 17);
    p.drawEllipse(QPointF(60, 40), 13, 18);
    p.drawEllipse(QPointF(90, 40), 13, 18);
    p.drawEllipse(QPointF(113, 62), 13, 17);
    return img;
}

QString fr(const char* text)
{
    return QString::fromUtf8(text);
}

enum class HtmlCommand { Booklet, Consultations, Medicines, Reminders };

// Writes one page of the "Html" menu for the animal and shows it in the
// viewer. A failure is shown and no viewer opens.
void runHtmlCommand(QWidget* parent, tav::AppContext& context, int animalId, HtmlCommand command,
                    const QImage& silhouette, QPrinter* printer)
{
    using tav::HtmlBookletStore;
    QString error;
    const QString folder = tav::prepareHtmlFolders(context.dataFolder, &error);
    if (folder.isEmpty()) {
        showError(parent, error);
        return;
    }
    tav::HtmlOutputOptions options;
    options.databaseFolder = context.databaseFolder();
    options.currencySymbol = tav::moneySymbol(
        context.currencySymbol.isEmpty() ? QLocale().currencySymbol(QLocale::CurrencySymbol)
                                         : context.currencySymbol);
    options.silhouette = silhouette;
    tav::Connection* connection = context.connection;
    options.chart = [connection](int animalId, tav::MeasureKind kind, int mode, QSize size) {
        return tav::renderMeasureChart(*connection, animalId, kind, mode, size);
    };
    options.makerName = appinfo::makerName();
    options.webSite =
        lookupText(QStringLiteral("Common"), QStringLiteral("WebSite"), appinfo::webSite());
    tav::HtmlResult result;
    QString title = QStringLiteral(" Tableaux");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        HtmlBookletStore store(*context.connection);
        tav::TablesPageData tables;
        switch (command) {
        case HtmlCommand::Booklet:
            title = QStringLiteral(" Fiche de santé");
            result = tav::writeBookletPage(store.booklet(animalId), folder, options);
            break;
        case HtmlCommand::Consultations:
            tables.consultTitle = QStringLiteral("HISTORIQUE DES ACTES");
            tables.consultations = store.consultations(animalId, HtmlBookletStore::Acts::All);
            result = tav::writeTablesPage(tables, folder, options);
            break;
        case HtmlCommand::Medicines:
            tables.medicineTitle = QStringLiteral("HISTORIQUE DES MEDICAMENTS");
            tables.medicines = store.medicines(animalId, HtmlBookletStore::Acts::All);
            result = tav::writeTablesPage(tables, folder, options);
            break;
        case HtmlCommand::Reminders:
            ReminderStore(*context.connection).refreshVaccineReminders(animalId);
            tables.consultTitle = QStringLiteral("ACTES NON REMBOURSEES");
            tables.medicineTitle = QStringLiteral("MEDICAMENTS NON REMBOURSES");
            tables.reminderTitle = QStringLiteral("RAPPELS DE VACCINATION");
            tables.consultations =
                store.consultations(animalId, HtmlBookletStore::Acts::NotReimbursed);
            tables.medicines = store.medicines(animalId, HtmlBookletStore::Acts::NotReimbursed);
            tables.reminders = store.dueReminders(animalId);
            result = tav::writeTablesPage(tables, folder, options);
            break;
        }
    } catch (const DbError& e) {
        result.ok = false;
        result.error = e.message();
    }
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        showError(parent, result.error);
        return;
    }
    THtmlView view(result.pagePath, title, parent);
    view.setSaveFolder(context.dataFolder);
    view.setPrinter(printer);
    view.exec();
}

} // namespace

TMainForm::TMainForm(AppContext& context, QWidget* parent) : QMainWindow(parent), m_context(context)
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
    delete m_silhouette;
}

void TMainForm::FormCreate()
{
    m_silhouette = new QImage(drawSilhouette());
    // Asked only when the preferences open their list: SANE looks for
    // scanners then, not at start.
    m_scanSources = []() {
        QStringList labels;
        for (const scan::Device& device : scan::listDevices().devices)
            labels << device.label();
        return labels;
    };
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(appinfo::productName());
    applyApplicationIdentity();
    m_context.settings.load(m_context.settingsPath);
    buildLayout();
    buildMenus();
    prepareWindow(this, true);
    // The grip applies a size only above 640 x 480; the system frame keeps
    // the same limit.
    setMinimumSize(641, 481);
    const QString title =
        QLatin1Char(' ') + appinfo::productName() + QLatin1Char(' ') + appinfo::programVersion();
    if (auto* t = findChild<QLabel*>(QStringLiteral("Title")))
        t->setText(title);
    setWindowTitle(title.trimmed());
    m_moveDirection = 0;
    applyMoneyFormat();
    m_weightChartMode = m_sizeChartMode = m_analysisChartMode = 2;
    buildControlRules();
    connectDataModule();
    if (m_context.connection) {
        m_listModel->setPictureSource([connection = m_context.connection](int id) {
            return AnimalPictureStore(*connection).thumbnail(id);
        });
    }
    m_listModel->setSilhouette(*m_silhouette);
    openAnimal();
    m_customPage->LoadCustomLabels();
    if (!m_context.settings.showCalendar) {
        if (QWidget* w = control(QStringLiteral("MiniCalendar")))
            w->hide();
        if (m_clock)
            m_clock->hide();
    }
    m_context.settings.firstLaunch = false;
    m_tempImagePath = m_context.databaseFolder() + QStringLiteral("Images/Temp.jpg");
    if (auto* status = findChild<QLabel*>(QStringLiteral("Lab_Status")))
        status->setText(status->text().replace(QStringLiteral("2008"),
                                               QString::number(tav::Clock::today().year())));
}

void TMainForm::connectDataModule()
{
    DataModule1* module = m_context.module1;
    if (!module)
        return;
    // The highlighted row is the current animal's, whatever moved it.
    connect(&animal(), &DataSet::currentChanged, this, &TMainForm::followCurrentAnimal);
    connect(module, &DataModule1::currentAnimalChanged, this,
            [this]() { m_currentAnalysisId = -1; });
    connect(module, &DataModule1::speciesBreedChanged, this, &TMainForm::refreshSpeciesBreed);
    connect(module, &DataModule1::controlsChanged, this, &TMainForm::updateControls);
    connect(module, &DataModule1::animalWritten, this, &TMainForm::animalWritten);
    connect(module, &DataModule1::consultPinChanged, this, &TMainForm::setConsultPinEnabled);
    connect(module, &DataModule1::pharmacyPinChanged, this, &TMainForm::setPharmacyPinEnabled);
}

void TMainForm::applyMoneyFormat()
{
    const QString symbol = m_context.currencySymbol.isEmpty()
                               ? QLocale().currencySymbol(QLocale::CurrencySymbol)
                               : m_context.currencySymbol;
    m_moneyFormat = tav::moneyFormat(symbol);
    if (m_context.module1) {
        for (const char* ds : {"Action", "ConsultQuery", "PharmacyQuery"}) {
            DataSet& d = m_context.module1->dataSet(QString::fromLatin1(ds));
            for (const char* f :
                 {"Price", "Price_Repayment", "Price_Repayment_Comp", "NoRepayment"})
                d.setDisplayFormat(QString::fromLatin1(f), m_moneyFormat);
        }
    }
    if (m_context.module2) {
        for (const char* ds : {"ConsultRepaymentQuery", "PharmacyRepaymentQuery"}) {
            DataSet& d = m_context.module2->dataSet(QString::fromLatin1(ds));
            for (const char* f : {"Price", "Price_Repayment"})
                d.setDisplayFormat(QString::fromLatin1(f), m_moneyFormat);
        }
    }
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

void TMainForm::buildLayout()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Pan_Main"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The drawn title bar: hidden on this platform, whose frame shows the
    // caption, but present for the windows that read its label.
    auto* titleBar = new QWidget(central);
    titleBar->setObjectName(QStringLiteral("TitleBar"));
    titleBar->setFixedHeight(18);
    auto* titleLayout = new QHBoxLayout(titleBar);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(titleBar);
    title->setObjectName(QStringLiteral("Title"));
    titleLayout->addWidget(title, 1);
    for (const auto& [name, hint] :
         {std::pair{"SysMiniBtn", "Minimiser"}, std::pair{"SysMaxiBtn", "Agrandir"},
          std::pair{"SysExitBtn", "Quitter"}}) {
        auto* b = new QLabel(titleBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        titleLayout->addWidget(b);
    }
    outer->addWidget(titleBar);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(buildCommandBar());
    body->addWidget(buildAnimalPanel());
    auto* separator = new QWidget(central);
    separator->setObjectName(QStringLiteral("Pan_Separator"));
    separator->setFixedWidth(3);
    body->addWidget(separator);
    body->addWidget(buildNotebook(), 1);
    outer->addLayout(body, 1);

    auto* status = new QWidget(central);
    status->setObjectName(QStringLiteral("Pan_Status"));
    status->setFixedHeight(15);
    auto* statusLayout = new QHBoxLayout(status);
    statusLayout->setContentsMargins(4, 0, 0, 0);
    auto* notice = new QLabel(fr("© 2008 ") + appinfo::makerName() + QStringLiteral(" — ") +
                                  appinfo::productName(),
                              status);
    notice->setObjectName(QStringLiteral("Lab_Status"));
    // Pressing and dragging the notice moves the window, as a title bar does.
    notice->installEventFilter(this);
    statusLayout->addWidget(notice, 1);
    auto* grip = new QSizeGrip(status);
    grip->setObjectName(QStringLiteral("Image1"));
    statusLayout->addWidget(grip);
    outer->addWidget(status);
    setCentralWidget(central);
}

QWidget* TMainForm::buildCommandBar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Pan_Command"));
    bar->setFixedWidth(50);
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_commandTop = new QWidget(bar);
    m_commandTop->setObjectName(QStringLiteral("Pan_CommandTop"));
    auto* top = new QVBoxLayout(m_commandTop);
    top->setContentsMargins(2, 2, 2, 2);
    auto* calendar = new TMiniCalendar(m_commandTop);
    calendar->setObjectName(QStringLiteral("MiniCalendar"));
    calendar->setToolTip(QStringLiteral("Calendrier\r\nperpétuel"));
    calendar->setLanguage(3);
    calendar->setEnabled(false);
    top->addWidget(calendar, 0, Qt::AlignHCenter);
    m_clock = new QLabel(m_commandTop);
    m_clock->setObjectName(QStringLiteral("DigitalTime"));
    m_clock->setAlignment(Qt::AlignCenter);
    top->addWidget(m_clock);
    top->addStretch();
    layout->addWidget(m_commandTop);
    for (const auto& [name, caption] :
         {std::pair{"Btn_Table", "Tableaux"}, std::pair{"Btn_Imprimer", "Imprimer"},
          std::pair{"Btn_Html", "Html"}}) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromLatin1(caption));
        b->setFixedSize(50, 65);
        QFont small = b->font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        b->setFont(small);
        b->setPopupMode(QToolButton::InstantPopup);
        layout->addWidget(b);
    }
    layout->addStretch();
    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("Clock"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &TMainForm::ClockTimer);
    return bar;
}

QWidget* TMainForm::buildAnimalPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Pan_AnimalList"));
    panel->setFixedWidth(188);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_grid = new AnimalListView(panel);
    m_grid->setObjectName(QStringLiteral("Grid_AnimalList"));
    m_listModel = new AnimalListModel(m_grid);
    m_grid->setModel(m_listModel);
    m_grid->setItemDelegate(new AnimalListDelegate(m_grid));
    m_grid->setUniformItemSizes(true);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_building && current.isValid()) {
                    m_grid->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
                    Grid_AnimalListClick();
                }
            });
    layout->addWidget(m_grid, 1);
    // A new, empty booklet says how to begin.
    new EmptyViewHint(
        m_grid, QString::fromUtf8("Cliquez sur + pour ouvrir le carnet de votre premier animal"));

    m_listButtons = new QWidget(panel);
    m_listButtons->setObjectName(QStringLiteral("Pan_ListButtons"));
    auto* row = new QHBoxLayout(m_listButtons);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(1);
    m_leftFiller = new QWidget(m_listButtons);
    m_rightFiller = new QWidget(m_listButtons);
    row->addWidget(m_leftFiller, 1);
    struct ButtonInfo
    {
        const char* name;
        const char* text;
        const char* hint;
        void (TMainForm::*slot)();
    };
    const ButtonInfo buttons[] = {
        {"Btn_Main_Filter", "☰", "Trier et filtrer la liste", &TMainForm::Btn_Main_FilterClick},
        {"Btn_Main_Prior", "▲", "Animal précédent", &TMainForm::Btn_Main_PriorClick},
        {"Btn_Main_Next", "▼", "Animal suivant", &TMainForm::Btn_Main_NextClick},
        {"Btn_Main_Add", "+", "Nouveau carnet de santé", &TMainForm::Btn_Main_AddClick},
        {"Btn_Main_Delete", "−", "Supprimer ce carnet de santé", &TMainForm::Btn_Main_DeleteClick},
        {"Btn_Main_Record", "✓", "Enregistrer", &TMainForm::Btn_Main_RecordClick}};
    for (const ButtonInfo& info : buttons) {
        auto* b = new QToolButton(m_listButtons);
        b->setObjectName(QString::fromLatin1(info.name));
        b->setText(QString::fromUtf8(info.text));
        b->setToolTip(QString::fromUtf8(info.hint));
        b->setFixedSize(28, 24);
        connect(b, &QToolButton::clicked, this, info.slot);
        row->addWidget(b);
    }
    // Symbols missing from many fonts are drawn by the program.
    tav::setSymbol(findChild<QToolButton*>(QStringLiteral("Btn_Main_Filter")),
                   QStringLiteral("lines"));
    tav::setSymbol(findChild<QToolButton*>(QStringLiteral("Btn_Main_Record")),
                   QStringLiteral("check"));
    row->addWidget(m_rightFiller, 1);
    layout->addWidget(m_listButtons);

    m_filterMenu = new QMenu(this);
    m_filterMenu->setObjectName(QStringLiteral("Popup_Filter"));
    m_sortSpecies = m_filterMenu->addAction(fr("Trier par &espèces"));
    m_sortSpecies->setObjectName(QStringLiteral("Popup_Filter_Species"));
    m_sortBreed = m_filterMenu->addAction(fr("Trier par &race"));
    m_sortBreed->setObjectName(QStringLiteral("Popup_Filter_Breed"));
    m_filterMenu->addSeparator();
    m_showDeparted = m_filterMenu->addAction(fr("&Afficher les départs"));
    m_showDeparted->setObjectName(QStringLiteral("Popup_Filter_End"));
    for (QAction* a : {m_sortSpecies, m_sortBreed, m_showDeparted})
        a->setCheckable(true);
    connect(m_filterMenu, &QMenu::aboutToShow, this, [this]() {
        // The grouping in use: a stored value other than 1 or 2 groups by
        // species.
        const int sort = normalizedAnimalSort(m_context.settings.animalSort);
        m_sortSpecies->setChecked(sort == 1);
        m_sortBreed->setChecked(sort == 2);
        m_showDeparted->setChecked(m_context.settings.animalEnd);
    });
    connect(m_sortSpecies, &QAction::triggered, this, [this]() { setAnimalSort(1); });
    connect(m_sortBreed, &QAction::triggered, this, [this]() { setAnimalSort(2); });
    connect(m_showDeparted, &QAction::triggered, this, &TMainForm::toggleAnimalEnd);
    return panel;
}

QWidget* TMainForm::buildNotebook()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Pan_Booklet"));
    // The booklet's design width: the nine tabs always fit in it.
    constexpr int bookletWidth = 558;
    panel->setMinimumWidth(bookletWidth);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_notebook = new QStackedWidget(panel);
    m_notebook->setObjectName(QStringLiteral("AANotebook1"));
    auto* tabs = new NotebookTabBar(panel);
    tabs->setFitWidth(bookletWidth);
    m_tabs = tabs;
    m_tabs->setObjectName(QStringLiteral("TabNoteBook"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    for (const PageInfo& info : kPages) {
        const int index = m_pages.size();
        const QColor colour(info.red, info.green, info.blue);
        if (index == 0) {
            m_generalPage = new TGeneralPage(m_context, index, m_notebook);
            m_generalPage->photoBox()->setSilhouette(*m_silhouette);
            connect(m_generalPage, &TGeneralPage::photoChanged, this,
                    &TMainForm::refreshAnimalInList);
            addPage(m_generalPage, colour);
        } else if (index == 1) {
            auto* page = new TCurvePage(m_context, index, m_notebook);
            connect(page, &TCurvePage::controlsChanged, this, &TMainForm::updateControls);
            connect(page, &TCurvePage::targetWeightChanged, this, [this]() {
                if (m_generalPage)
                    m_generalPage->refreshTargetWeight();
            });
            addPage(page, colour);
            for (const char* name :
                 {"Btn_Chart_Weight_Edit", "Btn_Chart_Weight_Print", "Btn_Chart_Weight_Save",
                  "Btn_Chart_Weight_Type", "Btn_Chart_Size_Edit", "Btn_Chart_Size_Print",
                  "Btn_Chart_Size_Save", "Btn_Chart_Size_Type"})
                addControlRule(QString::fromLatin1(name), []() { return true; });
        } else if (index == 2) {
            m_customPage = new TCustomPage(m_context, index, m_notebook);
            addPage(m_customPage, colour);
        } else if (index == 3 || index == 4) {
            auto* page =
                index == 3 ? static_cast<TCarePage*>(new TConsultPage(m_context, index, m_notebook))
                           : new TPharmacyPage(m_context, index, m_notebook);
            connect(page, &TCarePage::controlsChanged, this, &TMainForm::updateControls);
            addPage(page, colour);
        } else if (index == 5) {
            auto* page = new TAnalysisPage(m_context, index, m_notebook);
            page->shareState(&m_currentAnalysisId, &m_analysisChartMode);
            connect(page, &TAnalysisPage::controlsChanged, this, &TMainForm::updateControls);
            addPage(page, colour);
        } else if (index == 6) {
            auto* page = new TVaccinePage(m_context, index, m_notebook);
            connect(page, &TVaccinePage::controlsChanged, this, &TMainForm::updateControls);
            addPage(page, colour);
        } else if (index == 8) {
            auto* page = new TEventPage(m_context, index, m_notebook);
            connect(page, &TEventPage::controlsChanged, this, &TMainForm::updateControls);
            addPage(page, colour);
            addControlRule(QStringLiteral("Btn_Event_Add"), []() { return true; });
            for (const char* name : {"Btn_Event_Edit", "Btn_Event_Delete"}) {
                addControlRule(QString::fromLatin1(name), [this]() {
                    if (!m_context.module1)
                        return false;
                    const DataSet& event = m_context.module1->dataSet(QStringLiteral("Event"));
                    return event.isOpen() && !event.isEmpty();
                });
            }
        } else if (index == 7) {
            auto* page = new TDocumentPage(m_context, index, m_notebook);
            connect(page, &TDocumentPage::controlsChanged, this, &TMainForm::updateControls);
            // The preview has its own print command: a print asked from the
            // page opens it on the picture to print.
            page->setPreviewHook([this](const DocumentPreview& preview) {
                showImagePreview(this, preview.files, preview.current, preview.title,
                                 preview.titles);
            });
            // The page's entries go as they are: the type and size it shows.
            page->setEmailHook([this](const QVector<DocumentAttachment>& attachments) {
                QStringList entries;
                QList<QPixmap> icons;
                for (const DocumentAttachment& a : attachments) {
                    entries << a.entry();
                    icons << QPixmap::fromImage(a.icon);
                }
                sendEntriesByEmail(this, m_context.settings, entries, icons);
            });
            addPage(page, colour);
        }
    }
    connect(m_generalPage, &TGeneralPage::speciesAndBreedsEdited, this, [this]() {
        buildAnimalList(animalEmpty() ? -1 : animal().asInt(QStringLiteral("Id")));
        refreshSpeciesBreed();
    });
    connect(m_tabs, &QTabBar::currentChanged, this, &TMainForm::TabNoteBookTabChange);
    layout->addWidget(m_notebook, 1);
    layout->addWidget(m_tabs);
    return panel;
}

void TMainForm::addPage(BookletPage* page, const QColor& tabColour)
{
    m_pages.append(page);
    m_notebook->addWidget(page);
    // "&" in a tab's text marks a shortcut letter: doubled, it shows.
    const int tab =
        m_tabs->addTab(QString(page->caption()).replace(QLatin1Char('&'), QLatin1String("&&")));
    m_tabs->setTabData(tab, tabColour);
}

void TMainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto addMenu = [bar](const char* name, const char* title) {
        QMenu* m = bar->addMenu(QString::fromUtf8(title));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto addItem = [](QMenu* m, const char* name, const char* text, bool enabled) {
        QAction* a = m->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        // Items whose windows do not exist yet stay visible but disabled.
        a->setEnabled(enabled);
        return a;
    };
    QMenu* file = addMenu("Menu_Fichier", "&Fichier");
    connect(addItem(file, "Item_Imprimante", "&Imprimante", true), &QAction::triggered, this,
            &TMainForm::choosePrinter);
    connect(addItem(file, "Item_Proprietes", "&Propriétés", true), &QAction::triggered, this,
            &TMainForm::editPreferences);
    QAction* importBooklet = addItem(file, "Popup_File_Import", "I&mporter un carnet (.MDB)…",
                                     m_context.module1 != nullptr);
    file->addSeparator();
    QAction* quit = addItem(file, "Item_Quitter", "&Quitter", true);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* lists = addMenu("Menu_Listes", "&Listes");
    for (const auto& [name, caption, kind] :
         {std::tuple{"Item_Pathologies", "Pa&thologies", tav::ReferenceKind::Illness},
          std::tuple{"Item_Vaccins", "&Vaccins", tav::ReferenceKind::Vaccine},
          std::tuple{"Item_Medicaments", "&Médicaments", tav::ReferenceKind::Drug},
          std::tuple{"Item_Praticiens", "P&raticiens", tav::ReferenceKind::Doctor},
          std::tuple{"Item_Pharmacie", "&Pharmacie", tav::ReferenceKind::Pharmacy}}) {
        QAction* item = addItem(lists, name, caption, m_context.module1 != nullptr);
        connect(item, &QAction::triggered, this, [this, kind = kind]() {
            // The pages show the titles of the reference rows.
            if (tav::editReferenceList(this, *m_context.module1, kind))
                RefreshCurrentPage();
        });
    }
    QAction* analyses = addItem(lists, "Item_Analyses", "&Analyses", m_context.module1 != nullptr);
    connect(analyses, &QAction::triggered, this, [this]() {
        // The Analyses page shows the catalogue's titles.
        tav::editAnalysisList(this, *m_context.module1);
        RefreshCurrentPage();
    });
    QAction* species =
        addItem(lists, "Item_Especes", "&Espèces && races", m_context.module1 != nullptr);
    connect(species, &QAction::triggered, this, [this]() {
        if (!tav::editSpeciesAndBreeds(this, *m_context.module1))
            return;
        // Titles may have changed: the headers and the card show them.
        buildAnimalList(animalEmpty() ? -1 : animal().asInt(QStringLiteral("Id")));
        refreshSpeciesBreed();
    });

    QMenu* tables = addMenu("Menu_Tableaux", "&Tableaux");
    const bool hasTables = m_context.module1 && m_context.module2;
    auto* tableCommands = new tav::TableCommands(*this, *tables);
    connect(addItem(tables, "Item_Table_Actes", "&Actes non remboursés", hasTables),
            &QAction::triggered, tableCommands, &tav::TableCommands::Popup_Table_ConsultClick);
    connect(addItem(tables, "Item_Table_Medicaments", "&Médicaments non remboursés", hasTables),
            &QAction::triggered, tableCommands, &tav::TableCommands::Popup_Table_PharmacyClick);
    tables->addSeparator();
    connect(addItem(tables, "Item_Table_Rappels", "&Rappels de vaccination", hasTables),
            &QAction::triggered, tableCommands, &tav::TableCommands::Popup_Table_VaccineClick);
    tables->addSeparator();
    connect(addItem(tables, "Item_Table_Ics", "Exporter les rappels (.ics)…", hasTables),
            &QAction::triggered, tableCommands, &tav::TableCommands::exportReminders);

    QMenu* print = addMenu("Menu_Impression", "&Impression");
    // Each report reads the current animal's rows as stored and shows its
    // pages in the preview window.
    using ReportCommand = tav::ReportOutcome (tav::ReportRunner::*)(int);
    for (const auto& [name, text, command] :
         {std::tuple<const char*, const char*, ReportCommand>{
              "Item_Print_Carnet", "&Carnet de santé", &tav::ReportRunner::booklet},
          std::tuple<const char*, const char*, ReportCommand>{
              "Item_Print_Actes", "Historique des  &actes", &tav::ReportRunner::consultHistory},
          std::tuple<const char*, const char*, ReportCommand>{"Item_Print_Medicaments",
                                                              "Historique des &médicaments",
                                                              &tav::ReportRunner::pharmacyHistory},
          std::tuple<const char*, const char*, ReportCommand>{
              "Item_Print_Rappels", "&Tableaux de rappel", &tav::ReportRunner::reminderTables}}) {
        QAction* item = addItem(print, name, text, m_context.moduleReport != nullptr);
        connect(item, &QAction::triggered, this, [this, command = command]() {
            if (animalEmpty())
                return;
            const int id = animal().asInt(QStringLiteral("Id"));
            tav::ReportRunner runner(*m_context.moduleReport, reportSettings(m_context));
            tav::runReport(this, [&runner, command, id]() { return (runner.*command)(id); });
        });
    }

    QMenu* html = addMenu("Menu_Html", "  &Html  ");
    for (const auto& [name, caption, command] :
         {std::tuple{"Item_Html_Carnet", "&Carnet de santé", HtmlCommand::Booklet},
          std::tuple{"Item_Html_Actes", "Historique des &actes", HtmlCommand::Consultations},
          std::tuple{"Item_Html_Medicaments", "Historique des &médicaments",
                     HtmlCommand::Medicines},
          std::tuple{"Item_Html_Rappels", "&Tableaux de rappel", HtmlCommand::Reminders}}) {
        QAction* item = addItem(html, name, caption, m_context.module1 != nullptr);
        connect(item, &QAction::triggered, this, [this, command = command]() {
            if (animalEmpty())
                return;
            // What is being typed on the card belongs in the page.
            if (animal().isEditing()) {
                try {
                    animal().post();
                } catch (const DbError& e) {
                    showError(this, e.message());
                    return;
                }
            }
            runHtmlCommand(this, m_context, animal().asInt(QStringLiteral("Id")), command,
                           m_silhouette ? *m_silhouette : QImage(), m_printer.get());
        });
    }

    QMenu* tools = addMenu("Menu_Outils", "&Outils");
    QAction* exportCsv = addItem(tools, "Item_ExportCsv", "Exporter la page en CSV…", true);
    connect(exportCsv, &QAction::triggered, this, &TMainForm::exportPageAsCsv);
    // Only a page with a grid has something to export.
    connect(tools, &QMenu::aboutToShow, this, [this, exportCsv]() {
        exportCsv->setEnabled(dynamic_cast<tav::ExportablePage*>(m_notebook->currentWidget()) !=
                                  nullptr &&
                              !animalEmpty());
    });
    QMenu* database = tools->addMenu(QStringLiteral("&Base de données"));
    database->setObjectName(QStringLiteral("Menu_BaseDeDonnees"));
    // The maintenance commands work whether or not an animal exists.
    const bool hasDatabase = m_context.module1 != nullptr;
    auto* commands = new tav::DatabaseCommands(*this);
    connect(importBooklet, &QAction::triggered, commands, [commands]() { commands->importJet(); });
    connect(addItem(database, "Item_Sauvegarde", "&Sauvegarde", hasDatabase), &QAction::triggered,
            commands, &tav::DatabaseCommands::backup);
    connect(addItem(database, "Item_Restauration", "&Restauration", hasDatabase),
            &QAction::triggered, commands, &tav::DatabaseCommands::restore);
    connect(addItem(database, "Item_Historique", "&Historique", hasDatabase), &QAction::triggered,
            commands, &tav::DatabaseCommands::history);
    database->addSeparator();
    connect(addItem(database, "Item_Compacter", "&Compacter/Réparer", hasDatabase),
            &QAction::triggered, commands, &tav::DatabaseCommands::compact);

    QMenu* help = addMenu("Menu_Aide", "&Aide");
    connect(addItem(help, "Item_Documentation", "&Documentation", true), &QAction::triggered, this,
            &TMainForm::openHelp);
    connect(addItem(help, "Item_SiteWeb", "&Site web", true), &QAction::triggered, this,
            &TMainForm::openWebSite);
    connect(addItem(help, "Item_APropos", "&À propos de Tavirune", true), &QAction::triggered, this,
            &TMainForm::showAbout);

    // The command bar's buttons open the same menus as the menu bar.
    for (const auto& [button, menu] :
         {std::pair{"Btn_Imprimer", print}, std::pair{"Btn_Html", html}}) {
        if (auto* b = findChild<QToolButton*>(QString::fromLatin1(button)))
            b->setMenu(menu);
    }
    if (auto* b = findChild<QToolButton*>(QStringLiteral("Btn_Table")))
        connect(b, &QToolButton::clicked, tableCommands,
                [tableCommands, b]() { tableCommands->Btn_TableClick(b); });
}

void TMainForm::choosePrinter()
{
    // Made on first use: asking the print system for its printers takes
    // time that the start-up need not pay.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    PrinterSetup::exec(this, *m_printer);
}

void TMainForm::openHelp()
{
    if (!QFileInfo::exists(m_context.helpFile)) {
        MessageBox::information(this,
                                lookupText(QStringLiteral("CommonLib"), QStringLiteral("String1"),
                                           QStringLiteral("Le fichier d'aide est introuvable !")));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_context.helpFile));
}

void TMainForm::editPreferences()
{
    // The e-mail commands are enabled by the sending settings: their rules
    // are evaluated again once the settings have changed.
    if (tav::editProperties(this, m_context.settings, m_context.settingsPath,
                            tav::mail::secretStore(), m_scanSources))
        updateControls();
}

void TMainForm::exportPageAsCsv()
{
    auto* page = dynamic_cast<tav::ExportablePage*>(m_notebook->currentWidget());
    if (!page)
        return;
    const QString path = FileDialog::getSaveFileName(
        this, QString::fromUtf8("Exporter la page en CSV"),
        tav::dataSubFolder(m_context.dataFolder, QStringLiteral("Export")) + page->exportFileName(),
        QString::fromUtf8("Fichier CSV (tableur)|*.csv"));
    if (path.isEmpty())
        return;
    QString error;
    if (!tav::writeCsvFile(path, page->exportTable(), &error))
        showError(this, error);
}

void TMainForm::openWebSite()
{
    QDesktopServices::openUrl(
        QUrl(lookupText(QStringLiteral("Common"), QStringLiteral("WebSite"), appinfo::webSite())));
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
    if (m_commandTop) {
        const int barHeight = m_commandTop->parentWidget()->height();
        m_commandTop->setFixedHeight(std::max(0, (barHeight - 195) / 2));
    }
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
        for (const char* ds : {"Animal", "Weight", "Size"})
            m_context.module1->dataSet(QString::fromLatin1(ds)).close();
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
    m_clock->setText(text);
}

void TMainForm::showCommandError(const QString& message)
{
    showError(this, message);
}
