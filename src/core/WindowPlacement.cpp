#include "core/WindowPlacement.h"

#include "core/Settings.h"

namespace tav {

namespace {

// Centring divides from the work area's far edge, fraction dropped.
int centred(qint64 farEdge, int extent)
{
    return static_cast<int>((farEdge - extent) / 2);
}

} // namespace

QSize defaultClientSize(int windowTag)
{
    return windowTag == 1024 ? QSize(1024, 768) : QSize(800, 600);
}

QString windowStateName(WindowState state)
{
    switch (state) {
    case WindowState::Minimized:
        return QStringLiteral("wsMinimized");
    case WindowState::Maximized:
        return QStringLiteral("wsMaximized");
    case WindowState::Normal:
        break;
    }
    return QStringLiteral("wsNormal");
}

WindowPlacement restoreWindowPlacement(const Settings& settings, const QRect& workArea,
                                       int windowTag)
{
    // Edges past the last pixel, as the work area of the original design.
    const qint64 right = qint64(workArea.x()) + workArea.width();
    const qint64 bottom = qint64(workArea.y()) + workArea.height();

    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // 64-bit sums: the values come from a file the user may have edited.
    // A negative height is as unusable as a negative width.
    if (settings.winWidth >= 0 && settings.winHeight >= 0 &&
        qint64(settings.winLeft) + settings.winWidth <= right &&
        qint64(settings.winTop) + settings.winHeight <= bottom) {
        left = settings.winLeft;
        top = settings.winTop;
        width = settings.winWidth;
        height = settings.winHeight;
    } else {
        const QSize size = defaultClientSize(windowTag);
        width = size.width();
        height = size.height();
        left = centred(right, width);
        top = centred(bottom, height);
    }
    if (left < 0)
        left = qMax(0, centred(right, width));
    if (top < 0)
        top = qMax(0, centred(bottom, height));

    WindowPlacement placement;
    placement.clientRect = QRect(left, top, width, height);
    placement.maximized = settings.winState == QLatin1String("wsMaximized");
    return placement;
}

void storeWindowPlacement(Settings& settings, const QRect& normalClientRect, WindowState state)
{
    if (state != WindowState::Maximized) {
        settings.winLeft = normalClientRect.x();
        settings.winTop = normalClientRect.y();
        settings.winHeight = normalClientRect.height();
        settings.winWidth = normalClientRect.width();
    }
    settings.winState = windowStateName(state);
}

} // namespace tav
