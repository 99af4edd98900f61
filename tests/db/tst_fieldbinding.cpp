#include "TestDatabase.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dbwidgets/FieldBinding.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace tav;

class TestFieldBinding : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void numbersShowTheirUnitExceptWhileEdited();
    void numbersRefuseLettersAsTheyAreTyped();
    void amountsTakeTwoDecimalsAtMost();

private:
    void focus(QWidget* w);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_size = nullptr;
    QLineEdit* m_name = nullptr;
};

void TestFieldBinding::init()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    m_db = std::make_unique<TestDatabase>();
    m_db->connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name, BirthDay_Weight, "
                                         "BirthDay_Size) VALUES ('Rex', 3.5, 22.5)"));
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
    m_module->animal().open();
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_name = new QLineEdit(m_window.get());
    m_weight = new QLineEdit(m_window.get());
    m_size = new QLineEdit(m_window.get());
    m_weight->setObjectName(QStringLiteral("Ed_BirthDay_Weight"));
    m_size->setObjectName(QStringLiteral("Ed_BirthDay_Size"));
    m_name->setObjectName(QStringLiteral("Ed_Name"));
    layout->addWidget(m_name);
    layout->addWidget(m_weight);
    layout->addWidget(m_size);
    FieldBinding::bind(m_name, m_module->animal(), QStringLiteral("Name"));
    FieldBinding::bind(m_weight, m_module->animal(), QStringLiteral("BirthDay_Weight"));
    FieldBinding::bind(m_size, m_module->animal(), QStringLiteral("BirthDay_Size"));
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    focus(m_name);
}

void TestFieldBinding::cleanup()
{
    m_window.reset();
    m_module.reset();
    m_db.reset();
}

void TestFieldBinding::focus(QWidget* w)
{
    w->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w->hasFocus());
}

void TestFieldBinding::numbersShowTheirUnitExceptWhileEdited()
{
    QCOMPARE(m_weight->text(), QStringLiteral("3,500 Kg"));
    QCOMPARE(m_size->text(), QStringLiteral("22,50 cm"));
    focus(m_weight);
    QCOMPARE(m_weight->text(), QStringLiteral("3,500"));
    m_weight->selectAll();
    QTest::keyClicks(m_weight, QStringLiteral("4,25"));
    QCOMPARE(m_module->animal().state(), DataSet::State::Edit);
    focus(m_size);
    // Typed, not yet written: already shown with its unit.
    QCOMPARE(m_weight->text(), QStringLiteral("4,250 Kg"));
    QCOMPARE(m_size->text(), QStringLiteral("22,50"));
    m_module->animal().post();
    QCOMPARE(
        m_db->connection.scalar(QStringLiteral("SELECT BirthDay_Weight FROM ANIMAL")).toDouble(),
        4.25);
    QCOMPARE(m_weight->text(), QStringLiteral("4,250 Kg"));
    QCOMPARE(m_size->text(), QStringLiteral("22,50"));
    focus(m_name);
    QCOMPARE(m_size->text(), QStringLiteral("22,50 cm"));
    // Texts are not numbers: no unit, no filter.
    QCOMPARE(m_name->text(), QStringLiteral("Rex"));
    QCOMPARE(m_name->validator(), nullptr);
}

void TestFieldBinding::numbersRefuseLettersAsTheyAreTyped()
{
    focus(m_weight);
    m_weight->selectAll();
    QTest::keyClicks(m_weight, QStringLiteral("a1b2,c5,7kg"));
    QCOMPARE(m_weight->text(), QStringLiteral("12,57"));
    m_weight->selectAll();
    QTest::keyClicks(m_weight, QStringLiteral("-0.5x"));
    QCOMPARE(m_weight->text(), QStringLiteral("-0.5"));
    QCOMPARE(m_module->animal().value(QStringLiteral("BirthDay_Weight")).toString(),
             QStringLiteral("-0.5"));
    focus(m_name);
    QCOMPARE(m_weight->text(), QStringLiteral("-0,500 Kg"));
}

void TestFieldBinding::amountsTakeTwoDecimalsAtMost()
{
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    auto* price = new QLineEdit(m_window.get());
    m_window->layout()->addWidget(price);
    FieldBinding::bind(price, action, QStringLiteral("Price"));
    price->show();
    focus(price);
    QTest::keyClicks(price, QStringLiteral("12,3456a"));
    QCOMPARE(price->text(), QStringLiteral("12,34"));
    QCOMPARE(action.value(QStringLiteral("Price")).toString(), QStringLiteral("12,34"));
    action.cancel();
}

QTEST_MAIN(TestFieldBinding)
#include "tst_fieldbinding.moc"
