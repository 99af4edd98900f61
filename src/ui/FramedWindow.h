#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace tav {

// Colours of the drawn title bar. Windows here use the system's frame, but
// the colours stay available to whatever draws in the title-bar style.
namespace titlebar {
inline constexpr QColor textColour{255, 255, 255};
inline constexpr QColor activeFrom{51, 152, 255};
inline constexpr QColor activeTo{0, 80, 210};
inline constexpr QColor inactiveFrom{160, 190, 250};
inline constexpr QColor inactiveTo{104, 137, 206};
} // namespace titlebar

// Smallest sizes the corner grip refuses: a width or height applies only
// when it is greater than these.
inline constexpr QSize gripLimit{400, 200};
inline constexpr QSize mainWindowGripLimit{640, 480};

// Run by every window at creation, once its children exist.
//
// Tooltips show even while the window is inactive. A window other than the
// main one whose dynamic property "position" is "screenCenter" opens centred
// on its owner instead. A window whose dynamic property "tag" is -1 has no
// frame at all; the window named "Splash" keeps its own look. Every other
// window gets the system's frame: fixed unless it holds a "RezisePad" grip,
// minimise and maximise buttons when "SysMiniBtn" and "SysMaxiBtn" are
// visible, a close button when "SysExitBtn" or "Exit" is, and the caption of
// its "Title" label; the drawn "TitleBar" is hidden. The client area keeps
// its size, the system frame lying outside it.
void prepareWindow(QWidget* window, bool isMainWindow);

// The system caption of a window from its title label: leading spaces
// removed, every doubled apostrophe made single.
QString windowCaption(const QString& titleText);

// The client rectangle after the maximise image of the main window or the
// picture preview: a window exactly covering the work area goes back to its
// design size (1024 x 768 for tag 1024, else 800 x 600) centred in it;
// any other window is made to cover it. *nowCovering tells which happened.
QRect workAreaToggle(const QRect& workArea, const QRect& windowClient, int tag,
                     bool* nowCovering = nullptr);

// The window size while its corner grip is dragged from pressPos, the window
// being pressSize then; each dimension changes only past its minimum.
QSize resizeGripSize(QPoint pressPos, QSize pressSize, QPoint cursor, QSize current,
                     int minWidthExclusive = gripLimit.width(),
                     int minHeightExclusive = gripLimit.height());

// Applies workAreaToggle() to the window on its screen's work area and sets
// the hint of its "SysMaxiBtn": "Réduire" while covering, else "Agrandir".
void toggleWorkArea(QWidget* window, int tag);

} // namespace tav
