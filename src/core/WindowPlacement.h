#pragma once

#include <QRect>
#include <QSize>
#include <QString>

namespace tav {

struct Settings;

enum class WindowState { Normal, Minimized, Maximized };

// Where the main window opens: its client rectangle in screen coordinates,
// and whether it is then maximised.
struct WindowPlacement
{
    QRect clientRect;
    bool maximized = false;
};

// Windows whose tag is 1024 are designed for 1024 x 768, the others for
// 800 x 600.
QSize defaultClientSize(int windowTag);

// "wsNormal", "wsMinimized" or "wsMaximized", as stored in the settings.
QString windowStateName(WindowState state);

// The placement from the stored Windows values: the stored rectangle when it
// fits within the work area's right and bottom edges, else the default size
// centred; a negative left or top is re-centred, then clamped to 0.
WindowPlacement restoreWindowPlacement(const Settings& settings, const QRect& workArea,
                                       int windowTag);

// Records the window's normal client rectangle and state. A maximised window
// keeps the rectangle of its last normal placement.
void storeWindowPlacement(Settings& settings, const QRect& normalClientRect, WindowState state);

} // namespace tav
