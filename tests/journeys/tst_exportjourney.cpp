#include "FilledBooklet.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "dialogs/TTableList.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;
using tav::test::FilledBooklet;
using tav::test::ModalAnswer;
using Facts = FilledBooklet::Facts;

namespace {

// Runs a Python program on a file; what it prints, as JSON.
QJsonDocument python(const char* program, const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), u(program), file});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(p.readAllStandardOutput());
}

// The rows of a CSV file as a spreadsheet reads it.
const char* const kReadCsv = "import csv, json, sys\n"
                             "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                             "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n";

// The events of a calendar file, its folded lines joined again as a
// calendar program does (RFC 5545, 3.1).
const char* const kReadIcs =
    "import json, sys\n"
    "raw = open(sys.argv[1], 'rb').read().decode('utf-8')\n"
    "assert '\\n' not in raw.replace('\\r\\n', '')\n"
    "lines = raw.replace('\\r\\n ', '').split('\\r\\n')\n"
    "events, current = [], None\n"
    "for line in lines:\n"
    "    if line == 'BEGIN:VEVENT': current = {}\n"
    "    elif line == 'END:VEVENT': events.append(current); current = None\n"
    "    elif current is not None and ':' in line:\n"
    "        name, value = line.split(':', 1)\n"
    "        current[name] = value.replace('\\\\,', ',').replace('\\\\;', ';')\n"
    "print(json.dumps({'begin': lines[0], 'events': events}))\n";

} // namespace

// From the "Outils" and "Tableaux" menus to the files a spreadsheet and a
// calendar program read.
class TestExportJourney : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachGridPageExportsItsRows_data();
    void eachGridPageExportsItsRows();
    void remindersExportAsACalendar();
    void tablesMenuListsWhatIsDueAndUnpaid();

private:
    std::unique_ptr<FilledBooklet> m_booklet;
    QTemporaryDir m_out;
};

void TestExportJourney::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    m_booklet = std::make_unique<FilledBooklet>();
    m_booklet->startAndFill();
}

void TestExportJourney::cleanupTestCase()
{
    m_booklet.reset();
}

void TestExportJourney::eachGridPageExportsItsRows_data()
{
    // The last row exported, cell by cell, as the entry windows stored it.
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("lastRow");
    QTest::newRow("actes") << u("Actes") << u("Actes - Médor.csv") << 1
                           << QStringList{u(Facts::consultDate),
                                          u("14:30"),
                                          u("45"),
                                          u(Facts::vet),
                                          u(Facts::illness) + u(" (Modérée)"),
                                          QString(),
                                          u(Facts::consultRemark),
                                          QString(),
                                          QString(),
                                          u("0"),
                                          u("45")};
    QTest::newRow("médicaments") << u("Médicaments") << u("Médicaments - Médor.csv") << 1
                                 << QStringList{u("05/03/2026"), QString(), u("12,5")};
    QTest::newRow("analyses") << u("Analyses") << u("Analyses - Médor.csv") << 2
                              << QStringList{u("18/10/2026"), u("61")};
    QTest::newRow("vaccins") << u("Vaccins") << u("Vaccins - Médor.csv") << 1
                             << QStringList{u(Facts::vaccineDate), u(Facts::reminderDate),
                                            u(Facts::vaccine) + u(" (Chien, Chat)"), QString(),
                                            QString()};
    QTest::newRow("événements") << u("Evénements") << u("Evénements - Médor.csv") << 1
                                << QStringList{u(Facts::eventDate), u("08:15"), u(Facts::event)};
}

void TestExportJourney::eachGridPageExportsItsRows()
{
    QFETCH(QString, page);
    QFETCH(QString, fileName);
    QFETCH(int, rows);
    QFETCH(QStringList, lastRow);
    QVERIFY(m_booklet->showPage(page));
    auto* tools = m_booklet->mainWindow()->findChild<QMenu*>(QStringLiteral("Menu_Outils"));
    QVERIFY(tools);
    emit tools->aboutToShow();
    QAction* item = m_booklet->action("Item_ExportCsv");
    QVERIFY(item && item->isEnabled());
    const QString path = m_out.filePath(page + u(".csv"));
    FileDialog::clearRequests();
    FileDialog::setNextFileName(path);
    item->trigger();
    QCOMPARE(FileDialog::requests().size(), 1);
    QCOMPARE(FileDialog::requests().last().dir.section(QLatin1Char('/'), -1), fileName);
    QVERIFY(MessageBox::shownMessages().isEmpty());

    const QJsonArray table = python(kReadCsv, path).array();
    QCOMPARE(table.size(), rows + 1);
    QStringList cells;
    for (const QJsonValue& cell : table.last().toArray())
        cells << cell.toString();
    QCOMPARE(cells.mid(0, lastRow.size()), lastRow);
}

void TestExportJourney::remindersExportAsACalendar()
{
    QAction* item = m_booklet->action("Item_Table_Ics");
    QVERIFY(item && item->isEnabled());
    FileDialog::clearRequests();
    FileDialog::setNextFileName(m_out.filePath(u("rappels")));
    item->trigger();
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(FileDialog::requests().size(), 1);

    const QJsonObject calendar = python(kReadIcs, m_out.filePath(u("rappels.ics"))).object();
    QCOMPARE(calendar.value(u("begin")).toString(), u("BEGIN:VCALENDAR"));
    const QJsonArray events = calendar.value(u("events")).toArray();
    QCOMPARE(events.size(), 1);
    const QJsonObject event = events.at(0).toObject();
    QCOMPARE(event.value(u("SUMMARY")).toString(),
             u("Rappel de vaccin : %1 — %2").arg(u(Facts::animal), u(Facts::vaccine)));
    QCOMPARE(event.value(u("DTSTART;VALUE=DATE")).toString(),
             QDate::fromString(u(Facts::reminderDate), u("dd/MM/yyyy")).toString(u("yyyyMMdd")));
    QVERIFY(!event.value(u("UID")).toString().isEmpty());
}

void TestExportJourney::tablesMenuListsWhatIsDueAndUnpaid()
{
    // Every row of each table window the "Tableaux" menu opens.
    const auto rowsOf = [this](const char* item) {
        QStringList rows;
        const auto answer = ModalAnswer::when<TTableList>([&rows](TTableList* w) {
            const QAbstractItemModel* model = w->grid()->model();
            for (int r = 0; r < model->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < model->columnCount(); ++c)
                    cells << model->index(r, c).data().toString();
                rows << cells.join(QLatin1Char('|'));
            }
        });
        QAction* action = m_booklet->action(item);
        if (action && action->isEnabled())
            action->trigger();
        return answer.seen() ? rows : QStringList{u("(no window)")};
    };
    const QStringList due = rowsOf("Item_Table_Rappels");
    QCOMPARE(due.size(), 1);
    QVERIFY2(due[0].startsWith(u(Facts::reminderDate)), qPrintable(due[0]));
    QVERIFY2(due[0].contains(u(Facts::vaccine)), qPrintable(due[0]));
    QVERIFY2(due[0].contains(u(Facts::vaccineDate)), qPrintable(due[0]));

    const QStringList acts = rowsOf("Item_Table_Actes");
    QCOMPARE(acts.size(), 1);
    QVERIFY2(acts[0].startsWith(u(Facts::consultDate)), qPrintable(acts[0]));
    QVERIFY2(acts[0].contains(u(Facts::consultRemark)), qPrintable(acts[0]));

    const QStringList medicines = rowsOf("Item_Table_Medicaments");
    QCOMPARE(medicines.size(), 1);
    QVERIFY2(medicines[0].startsWith(u("05/03/2026")), qPrintable(medicines[0]));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

QTEST_MAIN(TestExportJourney)
#include "tst_exportjourney.moc"
