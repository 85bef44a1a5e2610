#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace zf::test {

// Runs `act` on the next modal window of type W as soon as it is shown (checked every 10 ms for
// up to `timeoutMs`), so a test can answer a window that blocks in exec(). Returns at once.
template <class W>
void whenModal(std::function<void(W*)> act, int timeoutMs = 5000)
{
    auto* timer = new QTimer(qApp);
    const QDeadlineTimer deadline(timeoutMs);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, deadline] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace zf::test
