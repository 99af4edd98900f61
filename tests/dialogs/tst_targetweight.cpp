#include "TestDatabase.h"
#include "TestText.h"

#include "core/WeightBand.h"
#include "db/TargetWeightStore.h"
#include "dialogs/TEnterTargetWeight.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tav;

class TestTargetWeight : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void storesTheBandTypedInTheCardsFormat_data();
    void storesTheBandTypedInTheCardsFormat();
    void refusesWhatIsNotAWeightAndStoresNothing_data();
    void refusesWhatIsNotAWeightAndStoresNothing();
    void showsTheStoredBandAndClearsIt();
    void flagsWeighingsOutsideTheBand();

private:
    // Types both values and presses OK; true when the window accepted.
    bool enter(const QString& min, const QString& max);
    QString stored();

    std::unique_ptr<TestDatabase> m_db;
    qint64 m_animal = -1;
};

void TestTargetWeight::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestTargetWeight::init()
{
    MessageBox::clearShownMessages();
    m_db = std::make_unique<TestDatabase>();
    m_db->connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"));
    m_animal = m_db->connection.lastInsertId();
}

bool TestTargetWeight::enter(const QString& min, const QString& max)
{
    TEnterTargetWeight window(m_db->connection, m_animal);
    window.show();
    auto* edMin = window.findChild<QLineEdit*>(QStringLiteral("Ed_Min"));
    auto* edMax = window.findChild<QLineEdit*>(QStringLiteral("Ed_Max"));
    edMin->clear();
    edMax->clear();
    for (const auto& [field, text] : {std::pair{edMin, min}, std::pair{edMax, max}}) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Btn_Ok")), Qt::LeftButton);
    return window.result() == QDialog::Accepted;
}

QString TestTargetWeight::stored()
{
    return m_db->connection
        .scalar(QStringLiteral("SELECT COALESCE(typeof(Target_Weight_Min) || ':' || "
                               "Target_Weight_Min, 'null') || ' ' || "
                               "COALESCE(typeof(Target_Weight_Max) || ':' || "
                               "Target_Weight_Max, 'null') FROM ANIMAL WHERE Id=?"),
                {m_animal})
        .toString();
}

void TestTargetWeight::storesTheBandTypedInTheCardsFormat_data()
{
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("stored");
    QTest::newRow("comma") << "28,5"
                           << "32"
                           << "real:28.5 real:32.0";
    QTest::newRow("point") << "28.25"
                           << "32.125"
                           << "real:28.25 real:32.125";
    QTest::newRow("only a minimum") << "4"
                                    << ""
                                    << "real:4.0 null";
    QTest::newRow("only a maximum") << ""
                                    << " 7,5 "
                                    << "null real:7.5";
    QTest::newRow("one weight") << "30"
                                << "30"
                                << "real:30.0 real:30.0";
    QTest::newRow("zeros past the third decimal") << "28,50000"
                                                  << ""
                                                  << "real:28.5 null";
}

void TestTargetWeight::storesTheBandTypedInTheCardsFormat()
{
    QFETCH(QString, min);
    QFETCH(QString, max);
    QVERIFY(enter(min, max));
    QFETCH(QString, stored);
    QCOMPARE(this->stored(), stored);
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestTargetWeight::refusesWhatIsNotAWeightAndStoresNothing_data()
{
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters") << "vingt"
                             << "32"
                             << u("La valeur « vingt » de « Poids minimum » n'est pas un nombre.");
    QTest::newRow("unit typed") << "28"
                                << "32 kg"
                                << u("La valeur « 32 kg » de « Poids maximum » n'est pas un "
                                     "nombre.");
    QTest::newRow("negative") << "-2"
                              << ""
                              << u("La valeur « -2 » de « Poids minimum » ne peut pas être "
                                   "négative.");
    QTest::newRow("minimum above maximum")
        << "32"
        << "28,5"
        << u("Le « Poids minimum » (32,000 kg) est supérieur au « Poids maximum » (28,500 kg).");
    QTest::newRow("four decimals") << ""
                                   << "28,1234"
                                   << u("La valeur « 28,1234 » de « Poids maximum » a plus de 3 "
                                        "décimales.");
}

void TestTargetWeight::refusesWhatIsNotAWeightAndStoresNothing()
{
    QFETCH(QString, min);
    QFETCH(QString, max);
    QFETCH(QString, message);
    writeTargetWeight(m_db->connection, m_animal, WeightBand{10.0, 12.0});
    QVERIFY(!enter(min, max));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text, message);
    // The band stored before is untouched.
    QCOMPARE(stored(), QStringLiteral("real:10.0 real:12.0"));
}

void TestTargetWeight::showsTheStoredBandAndClearsIt()
{
    writeTargetWeight(m_db->connection, m_animal, WeightBand{28.5, std::nullopt});
    {
        TEnterTargetWeight window(m_db->connection, m_animal);
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Ed_Min"))->text(),
                 QStringLiteral("28,500"));
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Ed_Max"))->text(), QString());
    }
    QCOMPARE(readTargetWeight(m_db->connection, m_animal).text(),
             u("Poids cible : au moins 28,500 kg"));
    // Both fields emptied: the animal has no band any more.
    QVERIFY(enter(QString(), QString()));
    QCOMPARE(stored(), QStringLiteral("null null"));
    QCOMPARE(readTargetWeight(m_db->connection, m_animal).text(), QString());
}

void TestTargetWeight::flagsWeighingsOutsideTheBand()
{
    using F = WeightBand::Flag;
    const WeightBand band{28.0, 32.0};
    QCOMPARE(band.flag(27.999), F::Below);
    QCOMPARE(band.flag(28.0), F::Inside);
    QCOMPARE(band.flag(32.0), F::Inside);
    QCOMPARE(band.flag(32.001), F::Above);
    // An open end flags nothing on its side.
    QCOMPARE((WeightBand{std::nullopt, 32.0}).flag(0.5), F::Inside);
    QCOMPARE((WeightBand{28.0, std::nullopt}).flag(90.0), F::Inside);
    QCOMPARE(WeightBand().flag(-1.0), F::Inside);
    QCOMPARE(band.text(), u("Poids cible : de 28,000 kg à 32,000 kg"));
}

QTEST_MAIN(TestTargetWeight)
#include "tst_targetweight.moc"
