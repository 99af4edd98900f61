#include "TestDatabase.h"
#include "core/Clock.h"

#include "core/DateRoutines.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dbwidgets/FieldBinding.h"
#include "dialogs/DatePicker.h"
#include "dialogs/TSelectDate.h"
#include "ui/MessageBox.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace tav;

class TestDatePicker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void placement_data();
    void placement();
    void opensUnderTheFieldOrAboveTheScreensBottom();

    void opensOnTheFieldsDate_data();
    void opensOnTheFieldsDate();
    void daysOnlyMoveTheCalendarOkWritesIt();
    void closingWithoutOkChangesNothing_data();
    void closingWithoutOkChangesNothing();
    void clearEmptiesAPlainField();
    void boundDateColumn();
    void recordThatCannotBeEditedOpensNoPicker();
    void fieldDeletedWhileOpen();
    void windowLayout();

private:
    TSelectDate* openOn(const QString& text);
    static QTableView* calendarView(TSelectDate* picker);
    static void click(TSelectDate* picker, const char* buttonName);

    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_edit = nullptr;
};

void TestDatePicker::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestDatePicker::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(300, 60);
    m_edit = new QLineEdit(m_window.get());
    m_edit->setGeometry(10, 10, 100, 21);
    MessageBox::clearShownMessages();
}

void TestDatePicker::cleanup()
{
    if (TSelectDate* picker = openDatePicker())
        picker->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_window.reset();
    m_edit = nullptr;
}

TSelectDate* TestDatePicker::openOn(const QString& text)
{
    m_edit->setText(text);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return nullptr;
    TSelectDate* picker = showDatePicker(m_edit);
    if (picker && !QTest::qWaitForWindowExposed(picker))
        return nullptr;
    return picker;
}

QTableView* TestDatePicker::calendarView(TSelectDate* picker)
{
    return picker->calendar()->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
}

void TestDatePicker::click(TSelectDate* picker, const char* buttonName)
{
    auto* button = picker->findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    QVERIFY2(button, buttonName);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestDatePicker::placement_data()
{
    QTest::addColumn<QPoint>("field");
    QTest::addColumn<int>("screenBottom");
    QTest::addColumn<QPoint>("picker");

    QTest::newRow("under the field") << QPoint(120, 100) << 768 << QPoint(120, 115);
    // 411 + 327 reaches 768 - 30.
    QTest::newRow("reaching the margin") << QPoint(5, 411) << 768 << QPoint(5, 768 - 342);
    QTest::newRow("screen below another, high field") << QPoint(0, 1100) << 2048 << QPoint(0, 1115);
    QTest::newRow("screen below another, low field")
        << QPoint(0, 1900) << 2048 << QPoint(0, 2048 - 342);
}

void TestDatePicker::placement()
{
    QFETCH(QPoint, field);
    QFETCH(int, screenBottom);
    QFETCH(QPoint, picker);
    QCOMPARE(datePickerPosition(field, screenBottom), picker);
}

void TestDatePicker::opensUnderTheFieldOrAboveTheScreensBottom()
{
    const QRect area = m_window->screen()->availableGeometry();
    const int screenBottom = area.y() + area.height();

    m_window->move(area.topLeft() + QPoint(30, 40));
    TSelectDate* picker = openOn(QString());
    QVERIFY(picker);
    const QPoint field = m_edit->mapToGlobal(QPoint(0, 0));
    QCOMPARE(picker->pos(), field + QPoint(0, 15));
    picker->close();

    m_window->move(area.left() + 30, screenBottom - 80);
    QTRY_COMPARE(m_window->pos().y(), screenBottom - 80);
    picker = showDatePicker(m_edit);
    QVERIFY(picker);
    QCOMPARE(picker->pos(), QPoint(m_edit->mapToGlobal(QPoint(0, 0)).x(), screenBottom - 342));
}

void TestDatePicker::opensOnTheFieldsDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QDate>("date"); // invalid: today

    const auto s = [](const char* text) {
        return QString::fromLatin1(text);
    };
    QTest::newRow("29 February of a leap year") << s("29/02/2008") << false << QDate(2008, 2, 29);
    QTest::newRow("29 February of a common year") << s("29/02/2007") << false << QDate();
    QTest::newRow("month 13") << s("15/13/2007") << false << QDate();
    QTest::newRow("1899") << s("31/12/1899") << false << QDate();
    QTest::newRow("2100") << s("01/01/2100") << false << QDate();
    QTest::newRow("first ten characters") << s("14/07/2015 08:30") << false << QDate(2015, 7, 14);
    QTest::newRow("masked date") << s("05/03/2012") << true << QDate(2012, 3, 5);
    QTest::newRow("empty mask") << QString() << true << QDate();
}

void TestDatePicker::opensOnTheFieldsDate()
{
    QFETCH(QString, text);
    QFETCH(bool, masked);
    QFETCH(QDate, date);

    if (masked)
        m_edit->setInputMask(QStringLiteral("99/99/9999;_"));
    const tav::Clock::Fixed clock(QDateTime(QDate(2027, 3, 14), QTime(23, 59, 59)));
    TSelectDate* picker = openOn(text);
    QVERIFY(picker);
    const QDate shown = picker->calendar()->selectedDate();
    if (date.isValid())
        QCOMPARE(shown, date);
    else
        QCOMPARE(shown, QDate(2027, 3, 14));
    QCOMPARE(picker->calendar()->yearShown(), shown.year());
    QCOMPARE(picker->calendar()->monthShown(), shown.month());
    QCOMPARE(picker->dateText(), formatDateText(shown));
    // Opening alone writes nothing.
    QCOMPARE(m_edit->text(), masked && text.isEmpty() ? QStringLiteral("//") : text);
}

void TestDatePicker::daysOnlyMoveTheCalendarOkWritesIt()
{
    TSelectDate* picker = openOn(QStringLiteral("03/06/2019 (pesée)"));
    QVERIFY(picker);
    QSignalSpy finished(picker, &TSelectDate::finished);
    QTableView* view = calendarView(picker);
    QVERIFY(view);

    // The 15th appears once in the six weeks shown.
    QModelIndex fifteenth;
    for (int row = 1; row < view->model()->rowCount() && !fifteenth.isValid(); ++row)
        for (int column = 1; column < view->model()->columnCount(); ++column) {
            const QModelIndex index = view->model()->index(row, column);
            if (index.data().toInt() == 15) {
                fifteenth = index;
                break;
            }
        }
    QVERIFY(fifteenth.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(fifteenth).center());
    QCOMPARE(picker->calendar()->selectedDate(), QDate(2019, 6, 15));
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Enter);
    QTest::keyClick(view, Qt::Key_Right);
    QVERIFY(picker->isVisible());
    QCOMPARE(m_edit->text(), QStringLiteral("03/06/2019 (pesée)"));
    QVERIFY(finished.isEmpty());

    click(picker, "Btn_Ok");
    QCOMPARE(m_edit->text(), QStringLiteral("16/06/2019"));
    QCOMPARE(m_edit->selectedText(), m_edit->text());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).value<TSelectDate::Result>(), TSelectDate::Result::Ok);
    QPointer<TSelectDate> gone(picker);
    QTRY_VERIFY(gone.isNull());
    QCOMPARE(openDatePicker(), nullptr);
}

void TestDatePicker::closingWithoutOkChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Annuler") << QStringLiteral("cancel");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("click elsewhere") << QStringLiteral("click");
    QTest::newRow("another picker") << QStringLiteral("next");
}

void TestDatePicker::closingWithoutOkChangesNothing()
{
    QFETCH(QString, how);
    m_window->resize(600, 400);
    auto* other = new QLineEdit(m_window.get());
    other->setGeometry(150, 10, 100, 21);
    other->setText(QStringLiteral("11/11/2011"));

    TSelectDate* picker = openOn(QStringLiteral("29/02/2008"));
    QVERIFY(picker);
    QPointer<TSelectDate> first(picker);
    QSignalSpy finished(picker, &TSelectDate::finished);
    QTest::keyClick(calendarView(picker), Qt::Key_Down);

    auto expected = TSelectDate::Result::None;
    if (how == QLatin1String("cancel")) {
        click(picker, "Btn_Cancel");
        expected = TSelectDate::Result::Cancel;
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(calendarView(picker), Qt::Key_Escape);
    } else if (how == QLatin1String("click")) {
        // Through the window system, where pop-ups watch for clicks outside.
        const QPoint outside(m_window->width() - 5, m_window->height() - 5);
        QVERIFY(!picker->geometry().contains(m_window->mapToGlobal(outside)));
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, outside);
    } else {
        QVERIFY(showDatePicker(other));
        QCOMPARE(openDatePicker()->targetEdit(), other);
    }

    QTRY_VERIFY(first.isNull());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).value<TSelectDate::Result>(), expected);
    QCOMPARE(m_edit->text(), QStringLiteral("29/02/2008"));
    QCOMPARE(other->text(), QStringLiteral("11/11/2011"));
}

void TestDatePicker::clearEmptiesAPlainField()
{
    TSelectDate* picker = openOn(QStringLiteral("12/03/2010"));
    QVERIFY(picker);
    click(picker, "Btn_Clear");
    QVERIFY(m_edit->text().isEmpty());
    QVERIFY(!picker->isVisible());
}

void TestDatePicker::boundDateColumn()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    db.connection.exec(QStringLiteral(
        "INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (1, '2020-05-04', 3.5)"));
    DataSet& weight = module.dataSet(QStringLiteral("Weight"));
    weight.replaceWhereLine(QStringLiteral("WHERE ID_REF=1"));
    weight.open();
    FieldBinding::bind(m_edit, weight, QStringLiteral("Date_Weight"));
    QCOMPARE(m_edit->text(), QStringLiteral("04/05/2020"));
    QVERIFY(!weight.isEditing());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const auto stored = [&db]() {
        return db.connection.scalar(QStringLiteral("SELECT Date_Weight FROM WEIGHT"));
    };

    // The row is put in edit state before the picker opens, and "Effacer la
    // date" empties the column, not just the field.
    TSelectDate* picker = showDatePicker(m_edit, &weight);
    QVERIFY(picker);
    QVERIFY(weight.isEditing());
    QCOMPARE(picker->calendar()->selectedDate(), QDate(2020, 5, 4));
    click(picker, "Btn_Clear");
    QVERIFY(weight.isNull(QStringLiteral("Date_Weight")));
    QVERIFY(m_edit->text().isEmpty());
    weight.post();
    QVERIFY(stored().isNull());

    // " &Ok" stores the date with the row, even with no record given.
    picker = showDatePicker(m_edit);
    QVERIFY(picker);
    picker->calendar()->setSelectedDate(QDate(2021, 1, 2));
    click(picker, "Btn_Ok");
    QVERIFY(weight.isEditing());
    QCOMPARE(weight.asDate(QStringLiteral("Date_Weight")), QDate(2021, 1, 2));
    QCOMPARE(m_edit->text(), QStringLiteral("02/01/2021"));
    weight.post();
    QCOMPARE(stored().toString(), QStringLiteral("2021-01-02"));

    delete FieldBinding::of(m_edit);
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestDatePicker::recordThatCannotBeEditedOpensNoPicker()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    DataSet& weight = module.dataSet(QStringLiteral("Weight")); // closed: no row
    m_edit->setText(QStringLiteral("04/05/2020"));

    QCOMPARE(showDatePicker(m_edit, &weight), nullptr);
    QCOMPARE(openDatePicker(), nullptr);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).kind, MessageBox::Kind::Error);
    QCOMPARE(m_edit->text(), QStringLiteral("04/05/2020"));
}

void TestDatePicker::fieldDeletedWhileOpen()
{
    TSelectDate* picker = openOn(QStringLiteral("29/02/2008"));
    QVERIFY(picker);
    QPointer<TSelectDate> guard(picker);
    delete m_edit;
    m_edit = nullptr;
    QCOMPARE(picker->targetEdit(), nullptr);
    click(picker, "Btn_Ok");
    QTRY_VERIFY(guard.isNull());
}

void TestDatePicker::windowLayout()
{
    TSelectDate* picker = openOn(QStringLiteral("29/02/2008"));
    QVERIFY(picker);
    QCalendarWidget* calendar = picker->calendar();
    QCOMPARE(picker->width(), calendar->width());
    QCOMPARE(picker->height(), calendar->height() + 20);
    auto* clear = picker->findChild<QToolButton*>(QStringLiteral("Btn_Clear"));
    auto* ok = picker->findChild<QPushButton*>(QStringLiteral("Btn_Ok"));
    QVERIFY(clear && ok);
    QVERIFY(clear->geometry().right() < ok->geometry().left());
    QVERIFY(clear->mapTo(picker, QPoint(0, 0)).y() >= calendar->height());

    // The border is the picker's colour a shade darker, never below 1.
    QCOMPARE(picker->borderColour(), QColor(220, 220, 207));
    picker->setColour(QColor(20, 40, 100));
    QCOMPARE(picker->borderColour(), QColor(1, 5, 65));
    const QImage image = picker->grab().toImage();
    QCOMPARE(QColor(image.pixel(0, image.height() / 2)), QColor(1, 5, 65));
    QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() - 1)), QColor(1, 5, 65));
}

QTEST_MAIN(TestDatePicker)
#include "tst_datepicker.moc"
