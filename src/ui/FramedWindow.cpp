#include "ui/FramedWindow.h"

#include "core/TextLookup.h"
#include "core/TextRoutines.h"
#include "core/WindowPlacement.h"
#include "ui/ResizeGrip.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace tav {

namespace {

QWidget* child(QWidget* window, const QString& name)
{
    return window->findChild<QWidget*>(name);
}

// A child shown with the window unless it (or a panel holding it) is hidden.
bool childShown(QWidget* window, const QString& name)
{
    const QWidget* widget = child(window, name);
    return widget && widget->isVisibleTo(window);
}

// Centred on the owner's outer rectangle, halves with the fraction dropped.
void centreOnOwner(QWidget* window)
{
    QWidget* parent = window->parentWidget();
    if (!parent)
        return;
    const QWidget* owner = parent->window();
    const QRect ownerFrame = owner->frameGeometry();
    QSize size = window->frameGeometry().size();
    // Before its first showing a window does not know its frame yet; the
    // owner wears the same system frame, so its margins stand in.
    if (!window->isVisible())
        size += ownerFrame.size() - owner->geometry().size();
    window->move(ownerFrame.x() + (ownerFrame.width() - size.width()) / 2,
                 ownerFrame.y() + (ownerFrame.height() - size.height()) / 2);
}

Qt::WindowFlags windowTypeOf(const QWidget* window)
{
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    return (type & Qt::Window) ? type : Qt::WindowFlags(Qt::Window);
}

void giveStandardFrame(QWidget* window, bool isMainWindow)
{
    // Read before the title bar holding these buttons is hidden. The main
    // window always resizes, by its status-bar grip or the system frame.
    const bool resizable = isMainWindow || child(window, QStringLiteral("RezisePad")) != nullptr;
    const bool minimise = childShown(window, QStringLiteral("SysMiniBtn"));
    const bool maximise = childShown(window, QStringLiteral("SysMaxiBtn"));
    const bool close = childShown(window, QStringLiteral("SysExitBtn")) ||
                       childShown(window, QStringLiteral("Exit"));

    Qt::WindowFlags flags = windowTypeOf(window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (minimise)
        flags |= Qt::WindowMinimizeButtonHint;
    if (maximise)
        flags |= Qt::WindowMaximizeButtonHint;
    if (close)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    flags |= window->windowFlags() & Qt::WindowStaysOnTopHint;

    if (const auto* title = window->findChild<QLabel*>(QStringLiteral("Title")))
        window->setWindowTitle(windowCaption(title->text()));
    if (QWidget* titleBar = child(window, QStringLiteral("TitleBar")))
        titleBar->hide();

    const QRect geometry = window->geometry();
    const bool sized = window->testAttribute(Qt::WA_Resized);
    window->setWindowFlags(flags);
    if (sized)
        window->setGeometry(geometry);
    else
        window->adjustSize();
    if (!resizable)
        window->setFixedSize(window->size());
}

} // namespace

void prepareWindow(QWidget* window, bool isMainWindow)
{
    if (!window)
        return;

    window->setAttribute(Qt::WA_AlwaysShowToolTips);

    const QVariant tag = window->property("tag");
    if (tag.isValid() && tag.toInt() == -1)
        window->setWindowFlags(windowTypeOf(window) | Qt::FramelessWindowHint |
                               (window->windowFlags() & Qt::WindowStaysOnTopHint));
    else if (window->objectName() != QLatin1String("Splash"))
        giveStandardFrame(window, isMainWindow);

    // One handler per grip, however often the window is prepared.
    QWidget* grip = child(window, QStringLiteral("RezisePad"));
    if (grip && !grip->findChild<ResizeGrip*>(QString(), Qt::FindDirectChildrenOnly))
        new ResizeGrip(grip, window, isMainWindow ? mainWindowGripLimit : gripLimit);

    if (!isMainWindow && window->property("position").toString() == QLatin1String("screenCenter"))
        centreOnOwner(window);
}

QString windowCaption(const QString& titleText)
{
    QString caption = trimLeft(titleText);
    caption.replace(QLatin1String("''"), QLatin1String("'"));
    return caption;
}

QRect workAreaToggle(const QRect& workArea, const QRect& windowClient, int tag, bool* nowCovering)
{
    const bool covering =
        windowClient.topLeft() == workArea.topLeft() && windowClient.size() == workArea.size();
    if (nowCovering)
        *nowCovering = !covering;
    if (!covering)
        return workArea;

    const QSize size = defaultClientSize(tag);
    // Centred with each half's fraction dropped; a negative left or top
    // becomes 0 so the caption stays reachable. On a screen left of or above
    // the primary one negative coordinates are on screen, and the limit is
    // that screen's own edge instead.
    const int left = workArea.x() + workArea.width() / 2 - size.width() / 2;
    const int top = workArea.y() + workArea.height() / 2 - size.height() / 2;
    return {QPoint(qMax(left, qMin(workArea.x(), 0)), qMax(top, qMin(workArea.y(), 0))), size};
}

QSize resizeGripSize(QPoint pressPos, QSize pressSize, QPoint cursor, QSize current,
                     int minWidthExclusive, int minHeightExclusive)
{
    const int width = cursor.x() + pressSize.width() - pressPos.x();
    const int height = cursor.y() + pressSize.height() - pressPos.y();
    return {width > minWidthExclusive ? width : current.width(),
            height > minHeightExclusive ? height : current.height()};
}

void toggleWorkArea(QWidget* window, int tag)
{
    if (!window)
        return;
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;

    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        window->showNormal();

    // The system frame lies outside the client area: cover the work area
    // with the whole window, not just its client.
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect area = screen->availableGeometry().marginsRemoved(margins);

    bool covering = false;
    window->setGeometry(workAreaToggle(area, client, tag, &covering));

    if (QWidget* button = child(window, QStringLiteral("SysMaxiBtn")))
        button->setToolTip(covering ? texts::minimizeWindows() : texts::maximizeWindows());
}

} // namespace tav
