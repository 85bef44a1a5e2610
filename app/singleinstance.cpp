#include "app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace zf {

namespace {

struct flock wholeFileWriteLock()
{
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

} // namespace

SingleInstance::SingleInstance(const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_path = dir + QLatin1Char('/') + QString::fromLatin1(kMarker) + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    if (m_recordLock >= 0)
        ::close(m_recordLock);
    m_recordLock = -1;
    m_lock.reset();
}

bool SingleInstance::acquire()
{
    release();
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a dead holder makes a lock stale, never its age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return false;
    // QLockFile's own record lock belongs to the process and goes with the first descriptor of
    // the file closed anywhere in it; a lock of this descriptor stays until release, so isHeld
    // answers the same in this process as in any other.
    m_recordLock = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_recordLock >= 0) {
        struct flock lock = wholeFileWriteLock();
        // A read-only descriptor takes a read lock; a write lock asked for conflicts all the same.
        lock.l_type = F_RDLCK;
        if (::fcntl(m_recordLock, F_OFD_SETLK, &lock) != 0) {
            ::close(m_recordLock);
            m_recordLock = -1;
        }
    }
    return true;
}

bool SingleInstance::isHeld(const QString& folder)
{
    const SingleInstance probe(folder);
    const int fd = ::open(QFile::encodeName(probe.m_path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false; // no lock file: nobody runs
    // A write lock would conflict with any lock a live holder keeps; the kernel only says
    // whether one is there. A lock file whose holder died carries no lock any more.
    struct flock lock = wholeFileWriteLock();
    const bool asked = ::fcntl(fd, F_OFD_GETLK, &lock) == 0;
    ::close(fd);
    return asked && lock.l_type != F_UNLCK;
}

} // namespace zf
