#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

class QWidget;

namespace tav {

// Makes a picture in a window's corner resize the window while dragged,
// within the limits of resizeGripSize(). It lives as a child of the grip.
class ResizeGrip : public QObject
{
    Q_OBJECT

public:
    ResizeGrip(QWidget* grip, QWidget* window, QSize limit);

    bool dragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    QSize m_limit;
    QPoint m_pressPos;
    QSize m_pressSize;
    bool m_dragging = false;
};

} // namespace tav
