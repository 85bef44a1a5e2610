// Preloaded (LD_PRELOAD) into an installed program by the install tests: prints each top-level
// window as it becomes visible ("shown <class> <title>") and ends the process with status 0
// once a window of the class named in ZF_PROBE_UNTIL is up. The program itself is untouched,
// so what is observed is the installed binary finding its own companions.
#include <QApplication>
#include <QByteArray>
#include <QMetaObject>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

void poll()
{
    static QSet<QWidget*> reported;
    const QByteArray until = qgetenv("ZF_PROBE_UNTIL");
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || reported.contains(w))
            continue;
        reported.insert(w);
        const QByteArray cls = w->metaObject()->className();
        std::printf("shown %s %s\n", cls.constData(), w->windowTitle().toUtf8().constData());
        std::fflush(stdout);
        if (!until.isEmpty() && cls == until)
            std::_Exit(0);
    }
}

void install()
{
    // Runs inside the application's constructor: the timer starts once events flow, which a
    // modal window's own loop also provides.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            auto* timer = new QTimer(QCoreApplication::instance());
            QObject::connect(timer, &QTimer::timeout, &poll);
            timer->start(50);
        },
        Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
