#include "FilledBooklet.h"
#include "TestText.h"

#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;
using tav::test::FilledBooklet;
using Facts = FilledBooklet::Facts;

namespace {

// The target band shaded on the weight curve of the page: its bottom and
// top, or nothing when no band shows.
std::optional<std::pair<double, double>> shadedBand(QChartView* view)
{
    if (!view)
        return std::nullopt;
    for (QAbstractSeries* s : view->chart()->series()) {
        auto* area = qobject_cast<QAreaSeries*>(s);
        if (!area || !area->isVisible() || !area->lowerSeries() ||
            area->upperSeries()->count() == 0)
            continue;
        return std::make_pair(area->lowerSeries()->at(0).y(), area->upperSeries()->at(0).y());
    }
    return std::nullopt;
}

// Unpacks a cabinet into a new folder with cabextract.
bool cabextract(const QString& cabinet, const QString& folder)
{
    QProcess cab;
    cab.start(QStringLiteral("cabextract"), {u("-q"), u("-d"), folder, cabinet});
    return cab.waitForFinished(30000) && cab.exitStatus() == QProcess::NormalExit &&
           cab.exitCode() == 0;
}

// What a database program finds in a booklet file: its animals with their
// band, and how many rows each kind of entry left.
const char* const kReadBooklet =
    "import json, sqlite3, sys\n"
    "db = sqlite3.connect('file:' + sys.argv[1] + '?mode=ro', uri=True)\n"
    "out = {'animals': [list(r) for r in db.execute(\n"
    "    'SELECT Name, Target_Weight_Min, Target_Weight_Max FROM ANIMAL')]}\n"
    "for t in ('ACTION', 'VACCINE', 'WEIGHT', 'SIZE', 'ANALYSIS', 'EVENT', 'DOCUMENTFILE',\n"
    "          'DOCUMENTIMG', 'LST_DOCTOR'):\n"
    "    out[t] = db.execute('SELECT COUNT(*) FROM [%s]' % t).fetchone()[0]\n"
    "print(json.dumps(out))\n";

} // namespace

// A backup from the maintenance menu, read by cabextract and a database
// reader, then a restore that brings the booklet back as it was saved.
class TestBackupJourney : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void aBackupHoldsTheWholeBookletAndARestoreBringsItBack();

private:
    QString cardTooltip() const
    {
        return m_booklet->component<QLineEdit>("Ed_BirthDay_Weight")->toolTip();
    }
    QChartView* weightChart() const
    {
        m_booklet->showPage(u("Poids & taille"));
        return m_booklet->component<QChartView>("Chart_Weight");
    }
    int eventRows() const
    {
        m_booklet->showPage(u("Evénements"));
        return m_booklet->component<QTableView>("Grid_Event")->model()->rowCount();
    }

    std::unique_ptr<FilledBooklet> m_booklet;
    QTemporaryDir m_out;
};

void TestBackupJourney::initTestCase()
{
    m_booklet = std::make_unique<FilledBooklet>();
    m_booklet->startAndFill();
}

void TestBackupJourney::cleanupTestCase()
{
    m_booklet.reset();
}

void TestBackupJourney::aBackupHoldsTheWholeBookletAndARestoreBringsItBack()
{
    const QString band = u("Poids cible : de 28,000 kg à 30,000 kg");
    QVERIFY(m_booklet->enterTargetWeight(u("28"), u("30")));
    QCOMPARE(cardTooltip(), band);
    QCOMPARE(shadedBand(weightChart()), std::make_optional(std::make_pair(28.0, 30.0)));

    const QString archive = m_out.filePath(u("carnet.bkp"));
    FileDialog::setNextFileName(archive);
    MessageBox::clearShownMessages();
    m_booklet->action("Item_Sauvegarde")->trigger();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Sauvegarde effectuée."));

    // cabextract finds the database and every picture and file of the
    // booklet, and they read back.
    const QString extracted = m_out.filePath(u("extrait"));
    QVERIFY(cabextract(archive, extracted));
    QStringList names = QDir(extracted).entryList(QDir::Files);
    names.sort();
    QCOMPARE(names, strings({"Doc1.jpg", "File1.f", "TAVIRUNE.MDB"}));
    // The attached file is kept packed under its own name.
    const QString unpacked = m_out.filePath(u("fichier"));
    QVERIFY(cabextract(QDir(extracted).filePath(u("File1.f")), unpacked));
    QCOMPARE(QDir(unpacked).entryList(QDir::Files), QStringList{u(Facts::documentFile)});
    QCOMPARE(readBytes(QDir(unpacked).filePath(u(Facts::documentFile))),
             FilledBooklet::documentBytes());
    QCOMPARE(QImage(QDir(extracted).filePath(u("Doc1.jpg"))).size(), QSize(200, 100));
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {u("-c"), u(kReadBooklet), QDir(extracted).filePath(u("TAVIRUNE.MDB"))});
    QVERIFY(reader.waitForFinished(30000));
    const QJsonObject saved = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    QCOMPARE(saved.value(u("animals")).toVariant(),
             QVariant(QVariantList{QVariantList{u(Facts::animal), 28.0, 30.0}}));
    for (const auto& [table, rows] : {std::pair{"ACTION", 2},
                                      {"VACCINE", 1},
                                      {"WEIGHT", 2},
                                      {"SIZE", 2},
                                      {"ANALYSIS", 2},
                                      {"EVENT", 1},
                                      {"DOCUMENTFILE", 1},
                                      {"DOCUMENTIMG", 1},
                                      {"LST_DOCTOR", 1}})
        QVERIFY2(saved.value(u(table)).toInt() == rows, table);

    // Later the band is changed and the event deleted...
    QVERIFY(m_booklet->enterTargetWeight(u("35"), QString()));
    QCOMPARE(cardTooltip(), u("Poids cible : au moins 35,000 kg"));
    QCOMPARE(eventRows(), 1);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    m_booklet->component<QAbstractButton>("Btn_Event_Delete")->click();
    QCOMPARE(eventRows(), 0);

    // ...and the backup restored: both come back.
    FileDialog::setNextFileName(archive);
    MessageBox::clearShownMessages();
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    m_booklet->action("Item_Restauration")->trigger();
    QVERIFY(!MessageBox::shownMessages().isEmpty());
    QVERIFY2(MessageBox::shownMessages().last().text.startsWith(u("Sauvegarde restaurée.")),
             qPrintable(MessageBox::shownMessages().last().text));
    QCOMPARE(m_booklet->component<QLineEdit>("Ed_Name")->text(), u(Facts::animal));
    QCOMPARE(cardTooltip(), band);
    QCOMPARE(shadedBand(weightChart()), std::make_optional(std::make_pair(28.0, 30.0)));
    QCOMPARE(eventRows(), 1);
}

QTEST_MAIN(TestBackupJourney)
#include "tst_backupjourney.moc"
