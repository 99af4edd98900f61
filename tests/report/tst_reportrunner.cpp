#include "ExifJpeg.h"
#include "ReportTestSupport.h"
#include "TestDatabase.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/ReminderStore.h"
#include "db/ReportQueries.h"
#include "report/ReportRunner.h"

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

QString installedReports()
{
    return qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/Reports/");
}

// A copy of the installed report folder that a test may change.
QString copyReports(const QTemporaryDir& dir)
{
    const QString folder = dir.filePath(QStringLiteral("Reports/"));
    QDir().mkpath(folder);
    const QDir source(installedReports());
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), folder + name);
    return folder;
}

QString allText(const PreparedReport& report)
{
    QStringList texts;
    for (int i = 0; i < report.pageCount(); ++i)
        texts += report.pageTexts(i);
    return texts.join(QLatin1Char('\n'));
}

} // namespace

class TestReportRunner : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void historyListsTheAnimalsActsAsTyped();
    void printedListsNameTheirAnimal();
    void emptyHistoryTellsSoAndOpensNothing();
    void historyWithoutStatementShowsTheTemplateAlone();
    void brokenTemplatesAndStatementsFailWithTheirName();
    void bookletDrawsTheAnimalsCurvesInItsStoredModes();
    void bookletPrintsAPhonePhotoUpright();
    void reminderTablesShowWhatIsStillOwedAndDue();
    void reminderFlagsFollowTheVaccineOrItsAbsence();
    void chartReportSetsTheTitleVariable();
    void everyShippedTemplateLaysOutOnA4();

private:
    void addAnimal(int id, const QString& name, int weightMode, int sizeMode);
    void addAct(int animal, int tag, const QString& date, double price, bool secu, bool comp,
                const QString& remark, int org = 1);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModuleReport> m_module;
    QTemporaryDir m_images;
};

void TestReportRunner::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    loadTestFont();
}

void TestReportRunner::init()
{
    m_module.reset();
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModuleReport>(m_db->connection);
    ReportRunner::clearTitleText();
    Connection& c = m_db->connection;
    c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Id, Name) VALUES (1, ?)"),
           {u("Dr O'Brien & <Fils>")});
    c.exec(QStringLiteral("INSERT INTO LST_PHARMACY (Id, Name) VALUES (1, ?)"),
           {u("Pharmacie de l'Étoile")});
    c.exec(QStringLiteral("INSERT INTO LST_DRUG (Id, Title) VALUES (1, ?)"), {u("Vermifuge")});
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title) VALUES (1, 'Rage'), (2, 'CHPPi')"));
    addAnimal(7, u("Médor"), 1, 3);
    addAnimal(8, u("Zoé"), 2, 2);
}

void TestReportRunner::addAnimal(int id, const QString& name, int weightMode, int sizeMode)
{
    m_db->connection.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, ForeName, WeightMode, "
                                         "SizeMode, Pedigree, Sterilized) VALUES (?, ?, '', ?, ?, "
                                         "1, 0)"),
                          {id, name, weightMode, sizeMode});
}

void TestReportRunner::addAct(int animal, int tag, const QString& date, double price, bool secu,
                              bool comp, const QString& remark, int org)
{
    m_db->connection.exec(
        QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Drug, Date_Action, Price, "
                       "Repayment, Repayment_Comp, Remark1) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?)"),
        {animal, tag, org, date, price, secu ? 1 : 0, comp ? 1 : 0, remark});
}

void TestReportRunner::historyListsTheAnimalsActsAsTyped()
{
    addAct(7, 1, QStringLiteral("2026-02-01"), 12.5, false, false,
           u("Boiterie \"avant\"\r\ngauche"));
    addAct(7, 1, QStringLiteral("2026-01-10"), 40, true, false, u("Vaccin' ; DROP TABLE ACTION"));
    addAct(7, 2, QStringLiteral("2026-01-11"), 99, false, false, u("un achat"));
    addAct(8, 1, QStringLiteral("2026-01-12"), 77, false, false, u("Zoé chez le vétérinaire"));
    ReportRunner runner(*m_module, {installedReports(), m_images.path() + u("/"), u("€"), {}, {}});
    const ReportOutcome outcome = runner.consultHistory(7);
    QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
    QCOMPARE(outcome.report.title, QStringLiteral("Historique des actes"));
    QCOMPARE(ReportRunner::titleText(), QStringLiteral("HISTORIQUE DES ACTES"));
    const QString text = allText(outcome.report);
    QVERIFY2(text.contains(QStringLiteral("HISTORIQUE DES ACTES")), qPrintable(text));
    // In date order, the remark's line break kept, the quotes printed.
    const int first = text.indexOf(QStringLiteral("10/01/2026"));
    const int second = text.indexOf(QStringLiteral("01/02/2026"));
    QVERIFY(first >= 0 && second > first);
    QVERIFY(text.contains(u("Boiterie \"avant\"\ngauche")));
    QVERIFY(squeezed(text).contains(u("Vaccin' ; DROP TABLE ACTION")));
    QVERIFY(squeezed(text).contains(u("Dr O'Brien & <Fils>")));
    QVERIFY(text.contains(u("12,50 €")));
    QVERIFY(text.contains(u("52,50 €")));
    QVERIFY(!text.contains(u("un achat")));
    QVERIFY(!text.contains(u("Zoé")));
    // The data sets are given back once the pages exist.
    QVERIFY(!m_module->dataSet(QStringLiteral("ReportQuery")).isOpen());

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("actes.pdf"));
    QVERIFY(outcome.report.writePdf(pdf).ok);
    const QString read = squeezed(pdfPages(pdf).join(QLatin1Char('\n')));
    QVERIFY2(read.contains(u("HISTORIQUE DES ACTES")), qPrintable(read));
    // The name wraps in its column; both lines are there as typed.
    QVERIFY2(read.contains(u("Dr O'Brien &")) && read.contains(u("<Fils>")), qPrintable(read));
    QVERIFY2(read.contains(u("12,50 €")), qPrintable(read));

    const ReportOutcome drugs = runner.pharmacyHistory(7);
    QVERIFY2(drugs.status == ReportOutcome::Status::Ready, qPrintable(drugs.message));
    QCOMPARE(ReportRunner::titleText(), QStringLiteral("HISTORIQUE DES MEDICAMENTS"));
    const QString drugText = allText(drugs.report);
    QVERIFY(drugText.contains(u("Pharmacie de l'Étoile")));
    QVERIFY(drugText.contains(u("99,00 €")));
}

void TestReportRunner::emptyHistoryTellsSoAndOpensNothing()
{
    addAct(8, 1, QStringLiteral("2026-01-12"), 77, false, false, u("autre animal"));
    ReportRunner runner(*m_module, {installedReports(), QString(), QString(), {}, {}});
    const ReportOutcome outcome = runner.consultHistory(7);
    QVERIFY(outcome.status == ReportOutcome::Status::Empty);
    QCOMPARE(outcome.message, u("Il n'y a pas d'enregistrements dans cette liste."));
    QVERIFY(!m_module->dataSet(QStringLiteral("ReportQuery")).isOpen());
    // The title is set even though nothing printed.
    QCOMPARE(ReportRunner::titleText(), QStringLiteral("HISTORIQUE DES ACTES"));
}

void TestReportRunner::historyWithoutStatementShowsTheTemplateAlone()
{
    QTemporaryDir dir;
    const QString folder = copyReports(dir);
    QVERIFY(QFile::remove(folder + QStringLiteral("ConsultList.rpt")));
    ReportRunner runner(*m_module, {folder, QString(), QString(), {}, {}});
    const ReportOutcome outcome = runner.consultHistory(7);
    QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
    QCOMPARE(outcome.report.pageCount(), 1);
    QVERIFY(outcome.report.pageTexts(0).contains(QStringLiteral("HISTORIQUE DES ACTES")));
}

void TestReportRunner::brokenTemplatesAndStatementsFailWithTheirName()
{
    addAct(7, 1, QStringLiteral("2026-02-01"), 12.5, false, false, u("acte"));
    addAct(7, 2, QStringLiteral("2026-02-01"), 2.5, false, false, u("achat"));
    QTemporaryDir dir;
    const QString folder = copyReports(dir);
    ReportRunner runner(*m_module, {folder, QString(), QString(), {}, {}});

    QVERIFY(QFile::remove(folder + QStringLiteral("ConsultList.frf")));
    ReportOutcome outcome = runner.consultHistory(7);
    QVERIFY(outcome.status == ReportOutcome::Status::Failed);
    QCOMPARE(outcome.message, u("Le modèle de rapport « ConsultList.frf » est introuvable."));
    QVERIFY(!m_module->dataSet(QStringLiteral("ReportQuery")).isOpen());

    QFile frf(folder + QStringLiteral("PharmacyList.frf"));
    QVERIFY(frf.open(QIODevice::Append));
    frf.write("[Data frDBDataSet]\nHeight=5\nText=0,0,20,5 | | [Prix_Inconnu]\n");
    frf.close();
    outcome = runner.pharmacyHistory(7);
    QVERIFY(outcome.status == ReportOutcome::Status::Failed);
    QVERIFY2(outcome.message.contains(u("« PharmacyList.frf » nomme un champ inconnu : "
                                        "« Prix_Inconnu »")),
             qPrintable(outcome.message));

    // A statement without the WHERE line it needs.
    QFile rpt(folder + QStringLiteral("Fich.rpt"));
    QVERIFY(rpt.open(QIODevice::WriteOnly));
    rpt.write("ligne non lue\nSELECT Id FROM ANIMAL\n");
    rpt.close();
    outcome = runner.booklet(7);
    QVERIFY(outcome.status == ReportOutcome::Status::Failed);
    QVERIFY2(outcome.message.contains(u("« Fich.rpt »")), qPrintable(outcome.message));
}

void TestReportRunner::bookletDrawsTheAnimalsCurvesInItsStoredModes()
{
    Clock::Fixed clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
    addAct(7, 1, QStringLiteral("2026-02-01"), 12.5, false, false, u("Contrôle"));
    addAct(7, 2, QStringLiteral("2026-02-02"), 8.2, false, false, u("Comprimés"));
    m_db->connection.exec(QStringLiteral(
        "INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Id_Org, Date_Vaccine, Repeat_Date) VALUES "
        "(7, 1, 1, '2025-03-01', '2026-03-01')"));
    m_db->connection.exec(QStringLiteral(
        "INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (7, '2026-01-05', 12.4)"));
    m_db->connection.exec(
        QStringLiteral(
            "INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES (7, '2026-01-06', ?)"),
        {u("Fugue & retour <vite>")});
    QVector<QList<int>> calls;
    ReportRunner::Settings settings{installedReports(), m_images.path() + u("/"), u("€"), {}, {}};
    settings.chartRenderer = [&calls](int animal, MeasureKind kind, CurveMode mode,
                                      const QSize& size) {
        calls.append({animal, int(kind), storedCurveMode(mode), size.width(), size.height()});
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::blue);
        return image;
    };
    ReportRunner::setTitleText(u("Historique des médicaments"));
    ReportRunner runner(*m_module, settings);
    ReportOutcome outcome = runner.booklet(7);
    QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
    QCOMPARE(calls, (QVector<QList<int>>{{7, 1, 1, 1600, 420}, {7, 2, 3, 1600, 420}}));
    QCOMPARE(outcome.report.title, u("Carnet de santé"));
    // The booklet leaves the title of the last list report as it was.
    QCOMPARE(ReportRunner::titleText(), QStringLiteral("HISTORIQUE DES MEDICAMENTS"));
    QCOMPARE(outcome.report.pictures.size(), 2); // the curves; no photo file
    const QString text = allText(outcome.report);
    for (const char* expected :
         {"Carnet de santé", "Médor", "Contrôle", "12,50 €", "Comprimés", "8,20 €", "Rage",
          "01/03/2026", "12,400 kg", "Fugue & retour <vite>", "imprimé le 14/03/2026", "Oui"})
        QVERIFY2(text.contains(u(expected)), expected);

    // A photo adds its picture; a file that is not a picture is left out.
    QDir().mkpath(m_images.filePath(QStringLiteral("Images")));
    QImage photo(2000, 1500, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QVERIFY(photo.save(m_images.filePath(QStringLiteral("Images/Animal7.jpg")), "JPEG"));
    outcome = runner.booklet(7);
    QCOMPARE(outcome.report.pictures.size(), 3);
    // The photo comes first in the booklet; it is kept no finer than its box needs.
    QVERIFY(outcome.report.pictures.first().width() <= 1200);
    QFile broken(m_images.filePath(QStringLiteral("Images/Animal8.jpg")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("pas une image");
    broken.close();
    outcome = runner.booklet(8);
    QVERIFY(outcome.status == ReportOutcome::Status::Ready);
    QCOMPARE(outcome.report.pictures.size(), 2);
}

void TestReportRunner::bookletPrintsAPhonePhotoUpright()
{
    // Stored as the phone wrote it: 160 x 80 pixels, to be turned upright.
    QDir().mkpath(m_images.filePath(QStringLiteral("Images")));
    QImage sideways(160, 80, QImage::Format_RGB32);
    sideways.fill(Qt::red);
    QFile photo(m_images.filePath(QStringLiteral("Images/Animal7.jpg")));
    QVERIFY(photo.open(QIODevice::WriteOnly));
    photo.write(test::jpegWithOrientation(sideways, 6));
    photo.close();
    ReportRunner::Settings settings{installedReports(), m_images.path() + u("/"), u("€"), {}, {}};
    ReportRunner runner(*m_module, settings);
    const ReportOutcome outcome = runner.booklet(7);
    QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
    QCOMPARE(outcome.report.pictures.size(), 1);
    QCOMPARE(outcome.report.pictures.first().size(), QSize(80, 160));
}

void TestReportRunner::reminderTablesShowWhatIsStillOwedAndDue()
{
    addAct(7, 1, QStringLiteral("2026-01-01"), 10, true, true, u("tout remboursé"));
    addAct(7, 1, QStringLiteral("2026-01-02"), 20, true, false, u("attend la mutuelle"));
    addAct(7, 2, QStringLiteral("2026-01-03"), 30, false, false, u("rien remboursé"));
    addAct(8, 1, QStringLiteral("2026-01-04"), 40, false, false, u("autre animal"));
    Connection& c = m_db->connection;
    c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) "
                          "VALUES (7, 1, '2024-03-01', '2025-03-01'), (7, 1, '2025-03-01', "
                          "'2026-03-01'), (7, 2, '2025-05-01', '2026-05-01')"));
    QList<int> refreshed;
    ReportRunner::Settings settings{installedReports(), QString(), u("€"), {}, {}};
    settings.refreshReminders = [&](int animal) {
        refreshed.append(animal);
        ReminderStore(c).refreshVaccineReminders(animal);
    };
    ReportRunner runner(*m_module, settings);
    const ReportOutcome outcome = runner.reminderTables(7);
    QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
    QCOMPARE(refreshed, QList<int>{7});
    QCOMPARE(outcome.report.title, QStringLiteral("Tableaux de rappel"));
    const QString text = allText(outcome.report);
    QVERIFY(!text.contains(u("tout remboursé")));
    QVERIFY(text.contains(u("attend la mutuelle")));
    QVERIFY(text.contains(u("Vermifuge")));
    QVERIFY(text.contains(u("30,00 €")));
    QVERIFY(!text.contains(u("autre animal")));
    QVERIFY(text.contains(QStringLiteral("01/03/2026")));
    QVERIFY(!text.contains(QStringLiteral("01/03/2024"))); // renewed since
    QVERIFY(text.contains(QStringLiteral("01/05/2026")));
    QVERIFY(text.contains(QStringLiteral("CHPPi")));
}

void TestReportRunner::reminderFlagsFollowTheVaccineOrItsAbsence()
{
    Connection& c = m_db->connection;
    // Two shots without a vaccine: the later renews the earlier; one with a
    // vaccine on the same day renews nothing of theirs. The other animal's
    // flag is never touched.
    c.exec(QStringLiteral(
        "INSERT INTO VACCINE (Id, Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date, Repeat_Exe) "
        "VALUES "
        "(1, 7, NULL, '2025-01-01', '2026-01-01', 0), (2, 7, NULL, '2025-06-01', '2026-06-01', 0), "
        "(3, 7, 1, '2025-01-01', '2026-01-01', 0), (4, 7, 1, '2025-01-01', NULL, 0), "
        "(5, 8, 1, '2025-01-01', '2026-01-01', 1), (6, 8, 1, '2026-01-01', NULL, 1)"));
    ReminderStore(c).refreshVaccineReminders(7);
    QVector<QPair<int, int>> flags;
    c.forEachRow(QStringLiteral("SELECT Id, Repeat_Exe FROM VACCINE ORDER BY Id"),
                 [&](const QVariantList& row) {
                     flags.append({row.at(0).toInt(), row.at(1).toInt()});
                 });
    QCOMPARE(flags, (QVector<QPair<int, int>>{{1, 0}, {2, 1}, {3, 0}, {4, 0}, {5, 1}, {6, 1}}));
}

void TestReportRunner::chartReportSetsTheTitleVariable()
{
    ReportRunner runner(*m_module, {installedReports(), QString(), QString(), {}, {}});
    QImage chart(1600, 1200, QImage::Format_RGB32);
    chart.fill(Qt::green);
    const ReportOutcome outcome = runner.chart(chart, u("Évolution du poids\nen kg"), u("Médor"));
    QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
    QCOMPARE(outcome.report.title, u("Évolution du poids (Médor)"));
    // Only lower-case accents are removed before the text is upper-cased.
    QCOMPARE(ReportRunner::titleText(), u("ÉVOLUTION DU POIDS (MEDOR)"));
    QCOMPARE(outcome.report.pictures.size(), 1);
    QVERIFY(outcome.report.pageTexts(0).contains(u("ÉVOLUTION DU POIDS (MEDOR)")));
}

void TestReportRunner::everyShippedTemplateLaysOutOnA4()
{
    for (const char* name : {"Fich", "ConsultList", "PharmacyList", "TableList", "Stat"}) {
        ReportTemplate t;
        QString error;
        QVERIFY2(t.load(installedReports() + QLatin1String(name) + QStringLiteral(".frf"), &error),
                 qPrintable(error));
        QCOMPARE(t.pageSize, QPageSize::A4);
        // Every object stays within the 180 mm between the margins.
        for (const ReportBand& band : t.bands) {
            for (const ReportObject& object : band.objects)
                QVERIFY2(
                    object.rect.right() <= 180.0 + 1e-9 && object.rect.left() >= 0,
                    qPrintable(
                        QStringLiteral("%1 ligne %2").arg(QLatin1String(name)).arg(object.line)));
        }
    }
}

void TestReportRunner::printedListsNameTheirAnimal()
{
    // Two animals' printed histories (Médor's and Zoé's) must not be taken
    // for one another.
    addAct(7, 1, QStringLiteral("2026-02-01"), 12.5, false, false, u("Boiterie"));
    addAct(7, 2, QStringLiteral("2026-01-11"), 99, false, false, u("un achat"));
    addAct(8, 1, QStringLiteral("2026-01-12"), 77, false, false, u("Contrôle"));
    ReportRunner runner(*m_module, {installedReports(), m_images.path() + u("/"), u("€"), {}, {}});
    const auto namesMedorAlone = [](const ReportOutcome& outcome) {
        QVERIFY2(outcome.status == ReportOutcome::Status::Ready, qPrintable(outcome.message));
        const QString text = allText(outcome.report);
        QVERIFY2(text.contains(u("Médor")), qPrintable(text));
        QVERIFY2(!text.contains(u("Zoé")), qPrintable(text));
    };
    namesMedorAlone(runner.consultHistory(7));
    namesMedorAlone(runner.pharmacyHistory(7));
    namesMedorAlone(runner.reminderTables(7));
    const ReportOutcome other = runner.consultHistory(8);
    QVERIFY(allText(other.report).contains(u("Zoé")));
    QVERIFY(!allText(other.report).contains(u("Médor")));
}

QTEST_MAIN(TestReportRunner)
#include "tst_reportrunner.moc"
