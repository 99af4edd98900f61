#pragma once

// Answers a modal window from a test. The answer runs once the window of
// the expected class is the active modal widget; whatever the answer does,
// including a failed QVERIFY that returns early, the window is closed
// afterwards, so that a failing check fails the test instead of leaving it
// waiting for a window nobody closes. The test then checks seen().

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace tav::test {

class ModalAnswer
{
public:
    bool seen() const { return m_state->seen; }
    // The class name of the modal window met instead of the expected one.
    QByteArray other() const { return m_state->other; }

    template <typename W> static ModalAnswer when(std::function<void(W*)> answer, int waitMs = 5000)
    {
        ModalAnswer result;
        // The wait ends with the test's ModalAnswer: a window that never
        // came must not be answered in the next test.
        std::weak_ptr<State> weakState = result.m_state;
        auto* timer = new QTimer(qApp);
        timer->setInterval(5);
        auto waited = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, qApp, [timer, weakState, answer, waited, waitMs] {
            const std::shared_ptr<State> state = weakState.lock();
            if (!state) {
                timer->stop();
                timer->deleteLater();
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            *waited += timer->interval();
            if (!modal && *waited < waitMs)
                return;
            timer->stop();
            timer->deleteLater();
            if (!modal)
                return;
            QPointer<QWidget> guard(modal);
            if (auto* window = qobject_cast<W*>(modal)) {
                state->seen = true;
                answer(window);
            } else {
                state->other = modal->metaObject()->className();
            }
            closeIfOpen(guard);
        });
        timer->start();
        return result;
    }

private:
    struct State
    {
        bool seen = false;
        QByteArray other;
    };

    static void closeIfOpen(const QPointer<QWidget>& modal)
    {
        if (!modal || !modal->isVisible())
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal.data()))
            dialog->reject();
        else
            modal->close();
    }

    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace tav::test
