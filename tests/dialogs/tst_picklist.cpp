#include "TestDatabase.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/PickList.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QtTest>

#include <memory>

using namespace tav;

namespace {

const QString kChosen = QStringLiteral("chosenIndex");

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QPoint centreOfLine(TStrList* list, int row)
{
    return list->list()->visualItemRect(list->list()->item(row)).center();
}

} // namespace

class TestPickList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensUnderTheFieldAsWideAsIt();
    void opensAboveTheFieldNearTheScreensBottom();
    void heightFollowsTheLines_data();
    void heightFollowsTheLines();
    void longLinesWidenTheListWithinTheScreen();
    void highlightsTheLastExactMatch_data();
    void highlightsTheLastExactMatch();
    void sortingIgnoresCaseAndKeepsDuplicates();
    void colours();

    void enterWritesTheLineAndItsIndex();
    void mouseReleaseChoosesTheLineUnderIt();
    void releaseWithoutPressChoosesNothing();
    void enterWithoutHighlightLeavesTheField();
    void arrowKeysHighlightTheOnlyLine_data();
    void arrowKeysHighlightTheOnlyLine();
    void escapeChangesNothing();
    void onlyTheLatestListStaysOpen();
    void closingWithoutAChoiceSaysSo_data();
    void closingWithoutAChoiceSaysSo();

    void rememberedValuesFeedABoundField();
    void emptyLineOfAnEmptyKeyEmptiesTheField();
    void unknownKeyOpensNothingAndEditsNothing();
    void recordThatCannotBeEditedOpensNothing();

private:
    void placeEdit(QPoint globalTopLeft);

    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_edit = nullptr;
};

void TestPickList::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestPickList::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_window = std::make_unique<QWidget>();
    m_window->resize(300, 80);
    m_edit = new QLineEdit(m_window.get());
    m_edit->setGeometry(20, 10, 160, 22);
    m_edit->setProperty("chosenIndex", -1);
    m_window->move(100, 100);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPickList::cleanup()
{
    if (TStrList* open = TStrList::openList())
        open->close();
    m_window.reset();
    flushDeletes();
}

void TestPickList::placeEdit(QPoint globalTopLeft)
{
    m_window->move(m_window->pos() + globalTopLeft - m_edit->mapToGlobal(QPoint(0, 0)));
    QTRY_COMPARE(m_edit->mapToGlobal(QPoint(0, 0)), globalTopLeft);
}

void TestPickList::opensUnderTheFieldAsWideAsIt()
{
    TStrList* list = showPickList(m_edit, false, QStringLiteral("un\rdeux\rtrois"));
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QCOMPARE(TStrList::openList(), list);
    const QPoint field = m_edit->mapToGlobal(QPoint(0, 0));
    QCOMPARE(list->geometry(), QRect(field.x(), field.y() + m_edit->height(), m_edit->width(),
                                     3 * list->lineHeight() + 3));
    QCOMPARE(list->lines(),
             QStringList({QStringLiteral("un"), QStringLiteral("deux"), QStringLiteral("trois")}));
    QVERIFY(list->list()->hasFocus());
}

void TestPickList::opensAboveTheFieldNearTheScreensBottom()
{
    const QRect area = m_edit->screen()->availableGeometry();
    placeEdit(QPoint(area.left() + 50, area.bottom() - 40));
    TStrList* list = showPickList(m_edit, false, QStringLiteral("a\rb\rc\rd\re"));
    QVERIFY(list);
    const QPoint field = m_edit->mapToGlobal(QPoint(0, 0));
    const int height = 5 * list->lineHeight() + 3;
    // The shrunk list ends one point above the field.
    QCOMPARE(list->geometry(), QRect(field.x(), field.y() - height - 1, m_edit->width(), height));
    QVERIFY(list->geometry().bottom() < field.y());

    // With room enough below, the same list opens under the field.
    list->close();
    placeEdit(QPoint(area.left() + 50, area.bottom() - 22 - height - 5));
    list = showPickList(m_edit, false, QStringLiteral("a\rb\rc\rd\re"));
    QCOMPARE(list->y(), m_edit->mapToGlobal(QPoint(0, 0)).y() + m_edit->height());
}

void TestPickList::heightFollowsTheLines_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("fit");
    QTest::addColumn<int>("heightInLines");
    QTest::newRow("no line: one line tall") << 0 << true << 1;
    QTest::newRow("one line") << 1 << true << 1;
    QTest::newRow("three lines") << 3 << true << 3;
    QTest::newRow("seven lines") << 7 << true << 7;
    QTest::newRow("eight lines") << 8 << true << 8;
    QTest::newRow("more than eight") << 20 << true << 8;
    QTest::newRow("fixed height, few lines") << 3 << false << 8;
    QTest::newRow("fixed height, no line") << 0 << false << 8;
}

void TestPickList::heightFollowsTheLines()
{
    QFETCH(int, lines);
    QFETCH(bool, fit);
    QFETCH(int, heightInLines);
    auto* list = new TStrList(m_edit);
    QStringList texts;
    for (int i = 0; i < lines; ++i)
        texts.append(QString::number(i));
    list->setLines(texts);
    list->setFitToItems(fit);
    list->setTargetEdit(m_edit);
    list->setGeometry(150, 150, 120, 10);
    list->popup();
    QCOMPARE(list->height(), heightInLines * list->lineHeight() + 3);
    QCOMPARE(list->pos(), QPoint(150, 150));
    // Every line shown fits without a scroll bar.
    if (lines > 0 && lines <= TStrList::VisibleLines)
        QVERIFY(list->list()->visualItemRect(list->list()->item(lines - 1)).bottom() <
                list->list()->viewport()->height());
}

void TestPickList::longLinesWidenTheListWithinTheScreen()
{
    const QString vaccine = QStringLiteral("CHPPi L4 R (maladie de Carré, hépatite, parvovirose, "
                                           "parainfluenza, leptospirose, rage)");
    TStrList* list = showPickList(m_edit, false, QStringLiteral("Rage\r") + vaccine);
    const QFontMetrics metrics(list->list()->font());
    QVERIFY(list->width() > m_edit->width());
    QVERIFY(list->list()->viewport()->width() >= metrics.horizontalAdvance(vaccine));
    QVERIFY(m_edit->screen()->availableGeometry().contains(list->geometry()));
    list->close();

    // A short list stays as wide as its field.
    list = showPickList(m_edit, false, QStringLiteral("un\rdeux"));
    QCOMPARE(list->width(), m_edit->width());
}

void TestPickList::highlightsTheLastExactMatch_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<int>("highlighted");
    QTest::newRow("last of two matches") << "a\rb\rc\rb\rd"
                                         << "b" << 3;
    QTest::newRow("no match: first line") << "a\rb\rc"
                                          << "z" << 0;
    QTest::newRow("case differs: first line") << "a\rb\rc"
                                              << "B" << 0;
    QTest::newRow("empty field matches an empty line") << "x\r\ry"
                                                       << "" << 1;
    QTest::newRow("single matching line: none") << "b"
                                                << "b" << -1;
    QTest::newRow("no line") << ""
                             << "b" << -1;
}

void TestPickList::highlightsTheLastExactMatch()
{
    QFETCH(QString, lines);
    QFETCH(QString, fieldText);
    QFETCH(int, highlighted);
    m_edit->setText(fieldText);
    TStrList* list = showPickList(m_edit, false, lines);
    QVERIFY(list);
    QCOMPARE(list->currentText(), fieldText);
    QCOMPARE(list->highlightedIndex(), highlighted);
}

void TestPickList::sortingIgnoresCaseAndKeepsDuplicates()
{
    TStrList* list = showPickList(m_edit, true, QStringLiteral("b\rA\ra\rC\rÉcole\rd"));
    QVERIFY(list);
    QCOMPARE(list->lines(),
             QStringList({QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("b"),
                          QStringLiteral("C"), QStringLiteral("d"), QStringLiteral("École")}));
}

void TestPickList::colours()
{
    TStrList* list = showPickList(m_edit, false, QStringLiteral("a"));
    QVERIFY(list);
    QCOMPARE(list->listColour(), QColor(255, 255, 242));
    QCOMPARE(list->list()->palette().color(QPalette::Base), QColor(255, 255, 242));
    QCOMPARE(list->borderColour(), QColor(220, 220, 207));
    list->setListColour(QColor(20, 40, 255));
    QCOMPARE(list->borderColour(), QColor(1, 5, 220));
}

void TestPickList::enterWritesTheLineAndItsIndex()
{
    m_edit->setText(QStringLiteral("deux"));
    TStrList* list = showPickList(m_edit, false, QStringLiteral("un\rdeux\rtrois"));
    QPointer<TStrList> guard(list);
    int indexWhenTextChanged = -2;
    connect(m_edit, &QLineEdit::textChanged, this,
            [&]() { indexWhenTextChanged = m_edit->property("chosenIndex").toInt(); });
    QSignalSpy chosen(list, &TStrList::lineChosen);

    QTest::keyClick(list->list(), Qt::Key_Down);
    QTest::keyClick(list->list(), Qt::Key_Return);

    QCOMPARE(m_edit->text(), QStringLiteral("trois"));
    QCOMPARE(m_edit->property("chosenIndex").toInt(), 2);
    // The index is in place when the field's change rule runs.
    QCOMPARE(indexWhenTextChanged, 2);
    QCOMPARE(m_edit->selectedText(), QStringLiteral("trois"));
    QCOMPARE(chosen.count(), 1);
    QVERIFY(!list->isVisible());
    flushDeletes();
    QVERIFY(guard.isNull());
    QVERIFY(!TStrList::openList());
}

void TestPickList::mouseReleaseChoosesTheLineUnderIt()
{
    TStrList* list = showPickList(m_edit, false, QStringLiteral("un\rdeux\rtrois"));
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, {}, centreOfLine(list, 1));
    QCOMPARE(m_edit->text(), QStringLiteral("deux"));
    QCOMPARE(m_edit->property("chosenIndex").toInt(), 1);
    QVERIFY(!list->isVisible());
}

void TestPickList::releaseWithoutPressChoosesNothing()
{
    // The release of the click that opened the list lands on it.
    TStrList* list = showPickList(m_edit, false, QStringLiteral("un\rdeux"));
    QTest::mouseRelease(list->list()->viewport(), Qt::LeftButton, {}, centreOfLine(list, 1));
    QVERIFY(list->isVisible());
    QCOMPARE(m_edit->text(), QString());
    QCOMPARE(m_edit->property("chosenIndex").toInt(), -1);
}

void TestPickList::enterWithoutHighlightLeavesTheField()
{
    m_edit->setText(QStringLiteral("avant"));
    TStrList* list = showPickList(m_edit, false, QStringLiteral("seule"));
    QCOMPARE(list->highlightedIndex(), -1);
    QTest::keyClick(list->list(), Qt::Key_Enter);
    QVERIFY(!list->isVisible());
    QCOMPARE(m_edit->text(), QStringLiteral("avant"));
    QCOMPARE(m_edit->property("chosenIndex").toInt(), -1);
}

void TestPickList::arrowKeysHighlightTheOnlyLine_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Up") << int(Qt::Key_Up);
}

void TestPickList::arrowKeysHighlightTheOnlyLine()
{
    // The usual case of a first booklet: one vet in the list.
    QFETCH(int, key);
    m_edit->setText(QStringLiteral("avant"));
    TStrList* list = showPickList(m_edit, false, QStringLiteral("Dr Martin"));
    QCOMPARE(list->highlightedIndex(), -1);
    QTest::keyClick(list->list(), Qt::Key(key));
    QCOMPARE(list->highlightedIndex(), 0);
    // A second press stays on it.
    QTest::keyClick(list->list(), Qt::Key(key));
    QCOMPARE(list->highlightedIndex(), 0);
    QTest::keyClick(list->list(), Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QCOMPARE(m_edit->text(), QStringLiteral("Dr Martin"));
    QCOMPARE(m_edit->property("chosenIndex").toInt(), 0);
}

void TestPickList::escapeChangesNothing()
{
    m_edit->setText(QStringLiteral("un"));
    TStrList* list = showPickList(m_edit, false, QStringLiteral("un\rdeux\rtrois"));
    QPointer<TStrList> guard(list);
    QTest::keyClick(list->list(), Qt::Key_Down);
    QTest::keyClick(list->list(), Qt::Key_Escape);
    QVERIFY(!list->isVisible());
    QCOMPARE(m_edit->text(), QStringLiteral("un"));
    QCOMPARE(m_edit->property("chosenIndex").toInt(), -1);
    flushDeletes();
    QVERIFY(guard.isNull());
}

void TestPickList::onlyTheLatestListStaysOpen()
{
    QPointer<TStrList> first = showPickList(m_edit, false, QStringLiteral("a\rb"));
    QPointer<TStrList> second = showPickList(m_edit, false, QStringLiteral("c\rd"));
    QVERIFY(second && second->isVisible());
    QVERIFY(!first || !first->isVisible());
    QCOMPARE(TStrList::openList(), second.data());
    flushDeletes();
    QVERIFY(first.isNull());
}

void TestPickList::closingWithoutAChoiceSaysSo_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("Enter on a line") << QStringLiteral("enter") << true;
    QTest::newRow("Escape") << QStringLiteral("escape") << false;
    QTest::newRow("closed from outside") << QStringLiteral("close") << false;
    QTest::newRow("Enter with nothing highlighted") << QStringLiteral("enter-single") << false;
    QTest::newRow("another list opened") << QStringLiteral("replaced") << false;
}

void TestPickList::closingWithoutAChoiceSaysSo()
{
    QFETCH(QString, how);
    QFETCH(bool, chosen);
    TStrList* list =
        showPickList(m_edit, false,
                     how == QLatin1String("enter-single") ? QStringLiteral("seule")
                                                          : QStringLiteral("un\rdeux"));
    QSignalSpy chosenSpy(list, &TStrList::lineChosen);
    QSignalSpy dismissedSpy(list, &TStrList::dismissed);
    if (how.startsWith(QLatin1String("enter")))
        QTest::keyClick(list->list(), Qt::Key_Return);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(list->list(), Qt::Key_Escape);
    else if (how == QLatin1String("close"))
        list->close();
    else
        showPickList(m_edit, false, QStringLiteral("autre"));
    QCOMPARE(chosenSpy.count(), chosen ? 1 : 0);
    // Exactly one of the two, so that an opener waiting for a choice is
    // always released.
    QCOMPARE(dismissedSpy.count() > 0, !chosen);
    flushDeletes();
}

void TestPickList::rememberedValuesFeedABoundField()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    db.connection.exec(QStringLiteral("INSERT INTO COMBOITEMS (Sex) VALUES (?)"),
                       {QStringLiteral("mâle\r\nFemelle\r\nhermaphrodite\r\n")});
    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name, Sex) VALUES ('Rex', 'inconnu')"));
    DataSet& animal = module.animal();
    animal.open();
    FieldBinding::bind(m_edit, animal, QStringLiteral("Sex"));
    QCOMPARE(m_edit->text(), QStringLiteral("inconnu"));

    TStrList* list =
        showPickList(m_edit, true, QString(), &animal,
                     &module.dataSet(QStringLiteral("ComboItems")), QStringLiteral("Sex"));
    QVERIFY(list);
    QCOMPARE(animal.state(), DataSet::State::Edit);
    QCOMPARE(list->lines(), QStringList({QString(), QStringLiteral("Femelle"),
                                         QStringLiteral("hermaphrodite"), QStringLiteral("mâle")}));
    QVERIFY(!module.dataSet(QStringLiteral("ComboItems")).isOpen());

    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, {}, centreOfLine(list, 3));
    QCOMPARE(m_edit->text(), QStringLiteral("mâle"));
    QCOMPARE(animal.asString(QStringLiteral("Sex")), QStringLiteral("mâle"));
    animal.post();
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT Sex FROM ANIMAL")).toString(),
             QStringLiteral("mâle"));
}

void TestPickList::emptyLineOfAnEmptyKeyEmptiesTheField()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    // No COMBOITEMS row at all.
    m_edit->setText(QStringLiteral("noir"));
    TStrList* list =
        showPickList(m_edit, true, QString(), nullptr,
                     &module.dataSet(QStringLiteral("ComboItems")), QStringLiteral("Color"));
    QVERIFY(list);
    QCOMPARE(list->lines(), QStringList({QString()}));
    QCOMPARE(list->height(), list->lineHeight() + 3);
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, {}, centreOfLine(list, 0));
    QCOMPARE(m_edit->text(), QString());
    QCOMPARE(m_edit->property("chosenIndex").toInt(), 0);
}

void TestPickList::unknownKeyOpensNothingAndEditsNothing()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex')"));
    DataSet& animal = module.animal();
    animal.open();
    DataSet& combo = module.dataSet(QStringLiteral("ComboItems"));
    for (const QString& key : {QStringLiteral("Nope"), QStringLiteral("Id"),
                               QStringLiteral("Sex FROM COMBOITEMS; DROP TABLE ANIMAL; --")}) {
        MessageBox::clearShownMessages();
        QVERIFY(!showPickList(m_edit, true, QString(), &animal, &combo, key));
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages().constFirst().text.contains(key));
        QCOMPARE(animal.state(), DataSet::State::Browse);
        QVERIFY(!TStrList::openList());
    }
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL")).toInt(), 1);
}

void TestPickList::recordThatCannotBeEditedOpensNothing()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    DataSet& animal = module.animal();
    animal.open(); // no animal
    QVERIFY(!showPickList(m_edit, false, QStringLiteral("a\rb"), &animal));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(!TStrList::openList());
}

QTEST_MAIN(TestPickList)
#include "tst_picklist.moc"
