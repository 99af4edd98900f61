#include "ui/FramedWindow.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace tav;

namespace {

// A dialog built like the designed windows: a title bar holding the title
// and the frame images, content below it.
struct DesignedDialog
{
    std::unique_ptr<QDialog> dialog;
    QWidget* titleBar = nullptr;
    QLabel* title = nullptr;
    QLabel* mini = nullptr;
    QLabel* maxi = nullptr;
    QLabel* exit = nullptr;

    explicit DesignedDialog(QWidget* parent = nullptr, bool withGrip = false)
        : dialog(std::make_unique<QDialog>(parent))
    {
        dialog->resize(300, 200);
        titleBar = new QWidget(dialog.get());
        titleBar->setObjectName(QStringLiteral("TitleBar"));
        titleBar->setGeometry(0, 0, 300, 18);
        title = new QLabel(QStringLiteral("  Saisie d''un praticien"), titleBar);
        title->setObjectName(QStringLiteral("Title"));
        mini = new QLabel(titleBar);
        mini->setObjectName(QStringLiteral("SysMiniBtn"));
        mini->hide();
        maxi = new QLabel(titleBar);
        maxi->setObjectName(QStringLiteral("SysMaxiBtn"));
        exit = new QLabel(titleBar);
        exit->setObjectName(QStringLiteral("SysExitBtn"));
        if (withGrip) {
            auto* grip = new QLabel(dialog.get());
            grip->setObjectName(QStringLiteral("RezisePad"));
            grip->setGeometry(284, 184, 16, 16);
        }
    }
};

void sendMouse(QWidget* widget, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(widget->mapFromGlobal(global)), QPointF(global), button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestFramedWindow : public QObject
{
    Q_OBJECT

private slots:
    void captionComesFromTheTitle_data();
    void captionComesFromTheTitle();

    void dialogGetsTheSystemFrame();
    void gripMakesTheWindowResizable();
    void screenCentredDialogOpensOverItsOwner();
    void placementIsLeftAloneOtherwise();
    void untaggedOrSplashWindowsKeepTheirLook();

    void workAreaToggle_data();
    void workAreaToggle();
    void toggleSetsTheHintBothWays();

    void gripSizeLimits_data();
    void gripSizeLimits();
    void draggingTheGripResizesTheWindow();
};

void TestFramedWindow::captionComesFromTheTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");

    QTest::newRow("design title") << QStringLiteral("  Saisie d''un praticien")
                                  << QStringLiteral("Saisie d'un praticien");
    QTest::newRow("tab kept") << QStringLiteral(" \tA") << QStringLiteral("\tA");
    QTest::newRow("trailing spaces kept") << QStringLiteral(" A ") << QStringLiteral("A ");
    QTest::newRow("four quotes") << QStringLiteral("''''") << QStringLiteral("''");
    QTest::newRow("three quotes") << QStringLiteral("'''") << QStringLiteral("''");
    QTest::newRow("empty") << QStringLiteral("   ") << QString();
}

void TestFramedWindow::captionComesFromTheTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QCOMPARE(windowCaption(title), caption);
}

void TestFramedWindow::dialogGetsTheSystemFrame()
{
    DesignedDialog designed;
    QDialog* dialog = designed.dialog.get();
    prepareWindow(dialog, false);

    QCOMPARE(dialog->windowTitle(), QStringLiteral("Saisie d'un praticien"));
    QVERIFY(designed.titleBar->isHidden());
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(!(flags & Qt::FramelessWindowHint));
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowMaximizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(dialog->testAttribute(Qt::WA_AlwaysShowToolTips));

    // The client keeps its designed size, and without a grip it is fixed.
    QCOMPARE(dialog->size(), QSize(300, 200));
    QCOMPARE(dialog->minimumSize(), QSize(300, 200));
    QCOMPARE(dialog->maximumSize(), QSize(300, 200));

    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->size(), QSize(300, 200));
    QVERIFY(designed.titleBar->isHidden());
}

void TestFramedWindow::gripMakesTheWindowResizable()
{
    DesignedDialog designed(nullptr, true);
    designed.maxi->hide();
    designed.exit->hide();
    prepareWindow(designed.dialog.get(), false);

    const Qt::WindowFlags flags = designed.dialog->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QCOMPARE(designed.dialog->size(), QSize(300, 200));
    QVERIFY(designed.dialog->maximumWidth() > 300);
}

void TestFramedWindow::screenCentredDialogOpensOverItsOwner()
{
    QWidget owner;
    owner.setGeometry(100, 120, 600, 401);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const QRect ownerFrame = owner.frameGeometry();

    DesignedDialog designed(&owner);
    designed.dialog->setProperty("position", QStringLiteral("screenCenter"));
    prepareWindow(designed.dialog.get(), false);
    designed.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(designed.dialog.get()));

    const QRect frame = designed.dialog->frameGeometry();
    QCOMPARE(frame.x(), ownerFrame.x() + (ownerFrame.width() - frame.width()) / 2);
    QCOMPARE(frame.y(), ownerFrame.y() + (ownerFrame.height() - frame.height()) / 2);
}

void TestFramedWindow::placementIsLeftAloneOtherwise()
{
    QWidget owner;
    owner.setGeometry(100, 120, 600, 400);

    // The main window keeps its own placement even when designed centred.
    DesignedDialog main(&owner);
    main.dialog->move(10, 20);
    main.dialog->setProperty("position", QStringLiteral("screenCenter"));
    prepareWindow(main.dialog.get(), true);
    QCOMPARE(main.dialog->pos(), QPoint(10, 20));

    DesignedDialog placed(&owner);
    placed.dialog->move(10, 20);
    prepareWindow(placed.dialog.get(), false);
    QCOMPARE(placed.dialog->pos(), QPoint(10, 20));

    // Without an owner there is nothing to centre on.
    DesignedDialog orphan;
    orphan.dialog->move(10, 20);
    orphan.dialog->setProperty("position", QStringLiteral("screenCenter"));
    prepareWindow(orphan.dialog.get(), false);
    QCOMPARE(orphan.dialog->pos(), QPoint(10, 20));
}

void TestFramedWindow::untaggedOrSplashWindowsKeepTheirLook()
{
    DesignedDialog transfer;
    transfer.dialog->setProperty("tag", -1);
    prepareWindow(transfer.dialog.get(), false);
    QVERIFY(transfer.dialog->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!transfer.titleBar->isHidden());
    QVERIFY(transfer.dialog->windowTitle().isEmpty());

    DesignedDialog other;
    other.dialog->setProperty("tag", 2);
    prepareWindow(other.dialog.get(), false);
    QVERIFY(!(other.dialog->windowFlags() & Qt::FramelessWindowHint));
    QVERIFY(other.titleBar->isHidden());

    QWidget splash(nullptr, Qt::Window | Qt::FramelessWindowHint);
    splash.setObjectName(QStringLiteral("Splash"));
    auto* titleBar = new QWidget(&splash);
    titleBar->setObjectName(QStringLiteral("TitleBar"));
    prepareWindow(&splash, false);
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!titleBar->isHidden());
}

void TestFramedWindow::workAreaToggle_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("client");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QRect>("result");
    QTest::addColumn<bool>("covering");

    const QRect area(0, 0, 1280, 994);
    QTest::newRow("normal window covers") << area << QRect(50, 60, 800, 600) << 0 << area << true;
    QTest::newRow("one pixel short covers") << area << QRect(0, 0, 1280, 993) << 0 << area << true;
    QTest::newRow("covering restores 800 x 600")
        << area << area << 0 << QRect(240, 197, 800, 600) << false;
    QTest::newRow("tag 1024 restores 1024 x 768")
        << area << area << 1024 << QRect(128, 113, 1024, 768) << false;
    QTest::newRow("odd work area") << QRect(0, 0, 1365, 767) << QRect(0, 0, 1365, 767) << 0
                                   << QRect(282, 83, 800, 600) << false;
    QTest::newRow("work area after a task bar")
        << QRect(60, 0, 1220, 1024) << QRect(60, 0, 1220, 1024) << 0 << QRect(270, 212, 800, 600)
        << false;
    QTest::newRow("larger than the area starts at 0")
        << QRect(0, 0, 800, 570) << QRect(0, 0, 800, 570) << 1024 << QRect(0, 0, 1024, 768)
        << false;
    QTest::newRow("negative origin after a task bar set to 0")
        << QRect(40, 30, 800, 570) << QRect(40, 30, 800, 570) << 1024 << QRect(0, 0, 1024, 768)
        << false;
    // A screen left of the primary one: its negative coordinates are on
    // screen, and 0 would throw the window onto the neighbour.
    QTest::newRow("screen left of the primary")
        << QRect(-1280, 0, 1280, 994) << QRect(-1280, 0, 1280, 994) << 0
        << QRect(-1040, 197, 800, 600) << false;
    QTest::newRow("small screen left of the primary")
        << QRect(-800, 0, 800, 570) << QRect(-800, 0, 800, 570) << 1024 << QRect(-800, 0, 1024, 768)
        << false;
}

void TestFramedWindow::workAreaToggle()
{
    QFETCH(QRect, area);
    QFETCH(QRect, client);
    QFETCH(int, tag);
    QFETCH(QRect, result);
    QFETCH(bool, covering);

    bool nowCovering = !covering;
    QCOMPARE(tav::workAreaToggle(area, client, tag, &nowCovering), result);
    QCOMPARE(nowCovering, covering);
    // Toggling twice from a covering window comes back to it.
    if (!covering)
        QCOMPARE(tav::workAreaToggle(area, result, tag), area);
}

void TestFramedWindow::toggleSetsTheHintBothWays()
{
    QWidget window;
    auto* maxi = new QLabel(&window);
    maxi->setObjectName(QStringLiteral("SysMaxiBtn"));
    window.setGeometry(20, 30, 500, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    toggleWorkArea(&window, 0);
    QCOMPARE(maxi->toolTip(), QString::fromUtf8("Réduire"));
    QCOMPARE(window.frameGeometry(), window.screen()->availableGeometry());

    toggleWorkArea(&window, 0);
    QCOMPARE(maxi->toolTip(), QStringLiteral("Agrandir"));
    QCOMPARE(window.size(), QSize(800, 600));
}

void TestFramedWindow::gripSizeLimits_data()
{
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QSize>("limit");
    QTest::addColumn<QSize>("result");

    // Pressed at (1000, 800) on a 600 x 400 window now 500 x 300.
    const QSize dialog = gripLimit;
    QTest::newRow("400 refused") << QPoint(800, 800) << dialog << QSize(500, 400);
    QTest::newRow("401 accepted") << QPoint(801, 800) << dialog << QSize(401, 400);
    QTest::newRow("200 high refused") << QPoint(1000, 600) << dialog << QSize(600, 300);
    QTest::newRow("201 high accepted") << QPoint(1000, 601) << dialog << QSize(600, 201);
    QTest::newRow("both refused") << QPoint(0, 0) << dialog << QSize(500, 300);
    QTest::newRow("growing") << QPoint(1100, 850) << dialog << QSize(700, 450);
    QTest::newRow("main window 640 refused")
        << QPoint(1040, 880) << mainWindowGripLimit << QSize(500, 300);
    QTest::newRow("main window 641 x 481")
        << QPoint(1041, 881) << mainWindowGripLimit << QSize(641, 481);
}

void TestFramedWindow::gripSizeLimits()
{
    QFETCH(QPoint, cursor);
    QFETCH(QSize, limit);
    QFETCH(QSize, result);
    QCOMPARE(resizeGripSize(QPoint(1000, 800), QSize(600, 400), cursor, QSize(500, 300),
                            limit.width(), limit.height()),
             result);
}

void TestFramedWindow::draggingTheGripResizesTheWindow()
{
    DesignedDialog designed(nullptr, true);
    QDialog* dialog = designed.dialog.get();
    dialog->resize(600, 400);
    prepareWindow(dialog, false);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    auto* grip = dialog->findChild<QWidget*>(QStringLiteral("RezisePad"));

    const QPoint press = grip->mapToGlobal(QPoint(4, 4));
    // The design lets any button drag.
    sendMouse(grip, QEvent::MouseButtonPress, press, Qt::RightButton, Qt::RightButton);
    sendMouse(grip, QEvent::MouseMove, press + QPoint(-150, 30), Qt::NoButton, Qt::RightButton);
    QCOMPARE(dialog->size(), QSize(450, 430));
    // Past the limit the width stays where it was; the height still follows.
    sendMouse(grip, QEvent::MouseMove, press + QPoint(-200, 10), Qt::NoButton, Qt::RightButton);
    QCOMPARE(dialog->size(), QSize(450, 410));
    sendMouse(grip, QEvent::MouseButtonRelease, press + QPoint(-200, 10), Qt::RightButton,
              Qt::NoButton);
    sendMouse(grip, QEvent::MouseMove, press + QPoint(100, 100), Qt::NoButton, Qt::NoButton);
    QCOMPARE(dialog->size(), QSize(450, 410));
}

QTEST_MAIN(TestFramedWindow)
#include "TestFramedWindow.moc"
