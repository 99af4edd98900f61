#include "JetBooklet.h"
#include "TestText.h"
#include "migration/JetReader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using namespace tav::test;

namespace {

// This program's value in the tagged form of the dump script.
QString tagged(const QVariant& v, JetColumnType type)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("null");
    switch (type) {
    case JetColumnType::Bool:
        return v.toBool() ? QStringLiteral("Y:1") : QStringLiteral("Y:0");
    case JetColumnType::Byte:
    case JetColumnType::Int:
    case JetColumnType::Long:
        return QStringLiteral("I:") + QString::number(v.toLongLong());
    case JetColumnType::Money: {
        const qint64 units = v.toLongLong();
        const qint64 whole = units / 10000;
        const qint64 part = qAbs(units % 10000);
        return QStringLiteral("M:") + (units < 0 && whole == 0 ? QStringLiteral("-") : QString()) +
               QString::number(whole) + QLatin1Char('.') +
               QStringLiteral("%1").arg(part, 4, 10, QLatin1Char('0'));
    }
    case JetColumnType::DateTime:
        return QStringLiteral("D:") + v.toDate().toString(Qt::ISODate);
    case JetColumnType::Text:
    case JetColumnType::Memo:
        return QStringLiteral("S:") + v.toString();
    case JetColumnType::Ole:
    case JetColumnType::Binary:
        return QStringLiteral("B:") +
               QString::fromLatin1(
                   QCryptographicHash::hash(v.toByteArray(), QCryptographicHash::Sha1).toHex());
    default:
        return QStringLiteral("F:") + QString::number(v.toDouble(), 'g', 17);
    }
}

QString theirs(const QJsonValue& v)
{
    if (v.isNull())
        return QStringLiteral("null");
    QString s = v.toString();
    // Numbers are compared as numbers: the two languages print them apart.
    if (s.startsWith(QLatin1String("F:")))
        return QStringLiteral("F:") + QString::number(s.mid(2).toDouble(), 'g', 17);
    return s;
}

} // namespace

class TestJetCrossCheck : public QObject
{
    Q_OBJECT

private slots:
    // Every file the test writer makes, and the engine's own samples, read
    // the same by this program and by an independent reader.
    void anIndependentReaderReadsTheSame()
    {
        const QString npm = QStringLiteral(TAVIRUNE_NPM_DIR);
        if (!QFileInfo::exists(npm + QStringLiteral("/node_modules/mdb-reader/package.json")))
            QSKIP(qPrintable(QStringLiteral("mdb-reader is not installed in %1 "
                                            "(npm install --prefix %1 mdb-reader@3)")
                                 .arg(npm)));
        QTemporaryDir dir;
        QStringList files{writeSampleBooklet(dir.filePath(QStringLiteral("windows")))};
        const QString samples =
            qEnvironmentVariable("TAVIRUNE_JET_FIXTURES", QStringLiteral(TAVIRUNE_JET_FIXTURES));
        for (const QString& name :
             QDir(samples).entryList({QStringLiteral("*V2000.mdb"), QStringLiteral("*V2003.mdb")}))
            files << samples + QLatin1Char('/') + name;
        int compared = 0;
        for (const QString& file : std::as_const(files)) {
            QProcess node;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
            node.setProcessEnvironment(env);
            node.start(QStringLiteral("node"), {npm + QStringLiteral("/jet_dump.mjs"), file});
            QVERIFY(node.waitForFinished(120000));
            QVERIFY2(node.exitCode() == 0, node.readAllStandardError().constData());
            const QJsonObject dump = QJsonDocument::fromJson(node.readAllStandardOutput()).object();
            JetReader reader;
            QString error;
            QVERIFY2(reader.open(file, &error), qPrintable(error));
            QCOMPARE(QStringList(dump.keys()).size(), reader.tableNames().size());
            for (const QString& table : reader.tableNames()) {
                const QJsonArray rows = dump.value(table).toArray();
                JetTableInfo info;
                int index = 0;
                const bool ok = reader.readTable(
                    table, &info,
                    [&](const QVariantList& values) {
                        const QJsonObject row = rows.at(index++).toObject();
                        for (int c = 0; c < info.columns.size(); ++c) {
                            const JetColumnInfo& col = info.columns.at(c);
                            if (col.type == JetColumnType::Guid ||
                                col.type == JetColumnType::Numeric)
                                continue;
                            const QString mine = tagged(values.value(c), col.type);
                            const QString other = theirs(row.value(col.name));
                            if (mine != other) {
                                qWarning("%s %s row %d %s: %s / %s", qPrintable(file),
                                         qPrintable(table), index, qPrintable(col.name),
                                         qPrintable(mine.left(80)), qPrintable(other.left(80)));
                                return false;
                            }
                            ++compared;
                        }
                        return true;
                    },
                    &error);
                QVERIFY2(ok,
                         qPrintable(file + QLatin1Char(' ') + table + QLatin1Char(' ') + error));
                QCOMPARE(index, rows.size());
            }
        }
        QVERIFY2(compared > 200, qPrintable(QString::number(compared)));
    }
};

QTEST_GUILESS_MAIN(TestJetCrossCheck)
#include "tst_jetcrosscheck.moc"
