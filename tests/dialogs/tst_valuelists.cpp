#include "TestText.h"

#include "TestDatabase.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/RememberedValues.h"
#include "dialogs/TComboList.h"
#include "dialogs/TEnterStr.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace tav;

namespace {

// Runs answer on the modal window of type W once it is shown. The window is
// always closed, so that a failing check cannot leave the test waiting.
template <typename W> void whenModal(std::function<void(W*)> answer, bool* seen)
{
    *seen = false;
    QTimer::singleShot(0, [answer, seen]() {
        QWidget* modal = QApplication::activeModalWidget();
        auto* window = qobject_cast<W*>(modal);
        if (window) {
            *seen = true;
            answer(window);
        }
        if (modal && modal->isVisible())
            modal->close();
    });
}

QString stored(TestDatabase& db, const char* column)
{
    return db.connection
        .scalar(QStringLiteral("SELECT ") + QLatin1String(column) +
                QStringLiteral(" FROM COMBOITEMS"))
        .toString();
}

} // namespace

class TestValueLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void linesOfAMemo_data();
    void linesOfAMemo();
    void sortingIgnoresCaseAndDropsCaseDuplicates();

    void editorShowsSortedValuesAndStoresWhatIsTyped();
    void cancellingStoresNothing();
    void editingWithoutARowCreatesIt();
    void keysMustBeMemoColumns();

    void enterStrRefusesAnEmptyText();
    void enterStringReturnsTheTypedText();
    void enterStringCancelledKeepsTheText();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    DataSet& combo() { return m_module->dataSet(QStringLiteral("ComboItems")); }
};

void TestValueLists::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestValueLists::init()
{
    MessageBox::clearShownMessages();
    m_module.reset();
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
}

void TestValueLists::linesOfAMemo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("CR LF, final break") << u("a\r\nb\r\n") << strings({"a", "b"});
    QTest::newRow("CR alone") << u("0\r1\r2\r3") << strings({"0", "1", "2", "3"});
    QTest::newRow("inner empty line kept") << u("a\n\nb") << strings({"a", "", "b"});
    QTest::newRow("one empty line") << u("\r\n") << strings({""});
    QTest::newRow("leading empty line") << u("\rx") << strings({"", "x"});
}

void TestValueLists::linesOfAMemo()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitLines(text), lines);
}

void TestValueLists::sortingIgnoresCaseAndDropsCaseDuplicates()
{
    QCOMPARE(sortedUniqueIgnoringCase(strings({"b", "A", "a", "c"})), strings({"A", "b", "c"}));
    // Accents make different values; the first value typed survives.
    QCOMPARE(sortedUniqueIgnoringCase(strings({"été", "Ete", "ETE", "eté", "zèbre"})),
             strings({"Ete", "eté", "été", "zèbre"}));
    QCOMPARE(sortedIgnoringCase(strings({"b", "B", "a", "A"})), strings({"a", "A", "b", "B"}));
}

void TestValueLists::editorShowsSortedValuesAndStoresWhatIsTyped()
{
    m_db->connection.exec(QStringLiteral("INSERT INTO COMBOITEMS (Color, Sex) VALUES (?, ?)"),
                          {QStringLiteral("b\r\nA\r\na\r\nc"), QStringLiteral("mâle")});
    QString shown, title, caption;
    bool seen = false;
    whenModal<TComboList>(
        [&](TComboList* w) {
            shown = w->memo()->toPlainText();
            title = w->title();
            caption = w->windowTitle();
            QCOMPARE(w->memo()->palette().color(QPalette::Base), QColor(255, 255, 242));
            w->memo()->setPlainText(QStringLiteral("zinc\nRouge\nrouge\n Bleu"));
            w->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
        },
        &seen);
    QVERIFY(
        editRememberedValues(nullptr, QStringLiteral("Couleur"), QStringLiteral("Color"), combo()));
    QVERIFY(seen);
    QCOMPARE(shown, QStringLiteral("A\nb\nc"));
    QCOMPARE(title, QStringLiteral(" Couleur"));
    QCOMPARE(caption, QStringLiteral("Couleur"));
    // Stored as typed: no sorting, no dropping, lines ending in CR LF.
    QCOMPARE(stored(*m_db, "Color"), QStringLiteral("zinc\r\nRouge\r\nrouge\r\n Bleu"));
    QCOMPARE(stored(*m_db, "Sex"), QStringLiteral("mâle"));
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM COMBOITEMS")).toInt(), 1);
    QVERIFY(!combo().isOpen());
    // The pick list reads the values back as typed.
    QCOMPARE(rememberedValues(combo(), QStringLiteral("Color")),
             strings({"zinc", "Rouge", "rouge", " Bleu"}));
}

void TestValueLists::cancellingStoresNothing()
{
    m_db->connection.exec(QStringLiteral("INSERT INTO COMBOITEMS (Blood) VALUES ('A\r\nB')"));
    for (const char* button : {"Btn_Cancel", ""}) {
        bool seen = false;
        whenModal<TComboList>(
            [&](TComboList* w) {
                w->memo()->setPlainText(QStringLiteral("changé"));
                if (*button)
                    w->findChild<QPushButton*>(QLatin1String(button))->click();
                // Otherwise the window is closed as by its close image.
            },
            &seen);
        QVERIFY(!editRememberedValues(nullptr, QStringLiteral("Groupe sanguin"),
                                      QStringLiteral("Blood"), combo()));
        QVERIFY(seen);
        QCOMPARE(stored(*m_db, "Blood"), QStringLiteral("A\r\nB"));
    }
}

void TestValueLists::editingWithoutARowCreatesIt()
{
    QCOMPARE(rememberedValues(combo(), QStringLiteral("Misc04")), QStringList());
    bool seen = false;
    whenModal<TComboList>(
        [](TComboList* w) {
            QCOMPARE(w->memo()->toPlainText(), QString());
            w->memo()->setPlainText(QStringLiteral("un\ndeux"));
            w->accept();
        },
        &seen);
    QVERIFY(
        editRememberedValues(nullptr, QStringLiteral("Divers"), QStringLiteral("Misc04"), combo()));
    QVERIFY(seen);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM COMBOITEMS")).toInt(), 1);
    QCOMPARE(stored(*m_db, "Misc04"), QStringLiteral("un\r\ndeux"));
}

void TestValueLists::keysMustBeMemoColumns()
{
    for (const QString& key : {QStringLiteral("Id_File"), QStringLiteral("Unknown"),
                               QStringLiteral("Color=1; DELETE FROM COMBOITEMS; --"), QString()}) {
        MessageBox::clearShownMessages();
        bool seen = false;
        whenModal<TComboList>([](TComboList*) {}, &seen);
        QVERIFY(!editRememberedValues(nullptr, QStringLiteral("X"), key, combo()));
        QCoreApplication::processEvents();
        QVERIFY2(!seen, qPrintable(key));
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY_THROWS_EXCEPTION(DbError, storeRememberedValues(combo(), key, QStringLiteral("x")));
        QVERIFY(!combo().isOpen());
    }
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM COMBOITEMS")).toInt(), 0);
}

void TestValueLists::enterStrRefusesAnEmptyText()
{
    TEnterStr window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Saisie d'une chaine de caractère"));
    QCOMPARE(window.label(), QStringLiteral("****"));
    QCOMPARE(window.okButton()->text(), QStringLiteral(" &Ok"));
    QCOMPARE(window.cancelButton()->text(), QStringLiteral(" &Annuler"));
    QVERIFY(!window.okButton()->isEnabled());
    window.setText(QStringLiteral("Chat"));
    QVERIFY(window.okButton()->isEnabled());
    window.edit()->clear();
    QVERIFY(!window.okButton()->isEnabled());
    window.accept();
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QTest::keyClicks(window.edit(), QStringLiteral("x"));
    QVERIFY(window.okButton()->isEnabled());
}

void TestValueLists::enterStringReturnsTheTypedText()
{
    QString label;
    bool seen = false;
    whenModal<TEnterStr>(
        [&](TEnterStr* w) {
            label = w->label();
            QCOMPARE(w->text(), QStringLiteral("Ancien"));
            w->edit()->clear();
            QTest::keyClicks(w->edit(), QStringLiteral("Chien d'eau"));
            QTest::keyClick(w->edit(), Qt::Key_Return);
        },
        &seen);
    QString text = QStringLiteral("Ancien");
    QVERIFY(enterString(nullptr, QStringLiteral("Espèce"), text));
    QVERIFY(seen);
    QCOMPARE(label, QStringLiteral("Espèce"));
    QCOMPARE(text, QStringLiteral("Chien d'eau"));
}

void TestValueLists::enterStringCancelledKeepsTheText()
{
    for (const char* how : {"Btn_Cancel", "empty then Enter", "Escape"}) {
        bool seen = false;
        whenModal<TEnterStr>(
            [&](TEnterStr* w) {
                w->edit()->setText(QStringLiteral("Autre"));
                const QString way = QLatin1String(how);
                if (way == QLatin1String("Btn_Cancel")) {
                    w->cancelButton()->click();
                } else if (way == QLatin1String("Escape")) {
                    QTest::keyClick(w->edit(), Qt::Key_Escape);
                } else {
                    w->edit()->clear();
                    QTest::keyClick(w->edit(), Qt::Key_Return);
                    QVERIFY(w->isVisible());
                }
            },
            &seen);
        QString text = QStringLiteral("Initial");
        QVERIFY2(!enterString(nullptr, QStringLiteral("Race"), text), how);
        QVERIFY(seen);
        QCOMPARE(text, QStringLiteral("Initial"));
    }
}

QTEST_MAIN(TestValueLists)
#include "tst_valuelists.moc"
