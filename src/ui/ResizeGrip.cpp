#include "ui/ResizeGrip.h"

#include "ui/FramedWindow.h"

#include <QMouseEvent>
#include <QWidget>

namespace tav {

ResizeGrip::ResizeGrip(QWidget* grip, QWidget* window, QSize limit)
    : QObject(grip), m_window(window), m_limit(limit)
{
    grip->setCursor(Qt::SizeFDiagCursor);
    grip->installEventFilter(this);
}

bool ResizeGrip::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (m_window) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_pressPos = mouse->globalPosition().toPoint();
            m_pressSize = m_window->size();
            m_dragging = true;
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (m_dragging && m_window) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_window->resize(resizeGripSize(m_pressPos, m_pressSize,
                                            mouse->globalPosition().toPoint(), m_window->size(),
                                            m_limit.width(), m_limit.height()));
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_dragging) {
            m_dragging = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tav
