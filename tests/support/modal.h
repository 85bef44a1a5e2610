#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace zf::test {

// Runs `act` on the next modal window of type W as soon as it is shown (checked every 10 ms for
// up to `timeoutMs`), so a test can answer a window that blocks in exec(). Returns at once.
template <class W> void whenModal(std::function<void(W*)> act, int timeoutMs = 5000)
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

// As whenModal; a window `act` leaves open (after a failed check) is closed, so no test hangs.
template <class W> void onModal(std::function<void(W*)> act)
{
    whenModal<W>([act](W* w) {
        act(w);
        if (w->isVisible())
            w->reject();
    });
}

// A control of `w` by its objectName; a missing one is reported and null returned.
template <class T> T* child(QWidget* w, const char* name)
{
    auto* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qWarning("missing control %s", name);
    return c;
}

// Clicks the button of that objectName; a missing button fails the running test.
inline void click(QWidget* w, const char* name)
{
    auto* b = child<QAbstractButton>(w, name);
    QVERIFY2(b, name);
    b->click();
}

} // namespace zf::test
