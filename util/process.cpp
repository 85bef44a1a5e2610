#include "util/process.h"

#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

#include <fcntl.h>
#include <sys/resource.h>

namespace zf {

namespace {

// Marks every descriptor above standard error close-on-exec in this process. The program itself
// never runs exec, so only children are affected; Qt's startDetached runs no hook in the child
// on this Qt, so the parent is the one place to do it.
void markDescriptorsCloseOnExec()
{
    const QStringList open = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    QList<int> fds;
    for (const QString& name : open) {
        bool ok = false;
        const int fd = name.toInt(&ok);
        if (ok && fd > 2)
            fds << fd;
    }
    if (fds.isEmpty()) { // no /proc: try every possible number
        rlimit limit{};
        int last = 1024;
        if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            last = static_cast<int>(limit.rlim_cur < 65536 ? limit.rlim_cur : 65536);
        for (int fd = 3; fd < last; ++fd)
            fds << fd;
    }
    for (const int fd : fds) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC))
            ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
}

// After this long a helper that still runs has started the program that shows the file.
constexpr int kWatchMs = 5000;

} // namespace

bool startDetachedProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder)
{
    markDescriptorsCloseOnExec();
    return QProcess::startDetached(program, arguments, workingFolder);
}

void startWatchedProgram(const QString& program, const QStringList& arguments, QObject* context,
                         std::function<void(bool ok)> done)
{
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        if (done)
            done(false);
        return;
    }
    markDescriptorsCloseOnExec();
    // No parent: the program's end must not kill a viewer the helper is still waiting for.
    auto* process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto report = std::make_shared<std::function<void(bool)>>(std::move(done));
    QPointer<QObject> guard(context);
    auto finish = [report, guard, watched = context != nullptr](bool ok) {
        if (!*report)
            return;
        auto fn = std::move(*report);
        *report = nullptr;
        if (!watched || guard)
            fn(ok);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, finish](int code, QProcess::ExitStatus status) {
                         finish(status == QProcess::NormalExit && code == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, finish](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             finish(false);
                             process->deleteLater();
                         }
                     });
    QTimer::singleShot(kWatchMs, process, [finish] { finish(true); });
    process->start(found, arguments);
}

void openWithDesktop(const QString& pathOrUrl, QObject* context, std::function<void(bool ok)> done)
{
    startWatchedProgram(QStringLiteral("xdg-open"), {pathOrUrl}, context, std::move(done));
}

} // namespace zf
