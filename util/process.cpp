#include "util/process.h"

#include <QDir>
#include <QProcess>

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

} // namespace

bool startDetachedProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder)
{
    markDescriptorsCloseOnExec();
    return QProcess::startDetached(program, arguments, workingFolder);
}

} // namespace zf
