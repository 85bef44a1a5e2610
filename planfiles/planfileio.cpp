// The plan file's bytes on disk. Employees may write in the plan folder, so nothing here follows
// a symbolic link standing at a plan file's name: the office would otherwise read or replace
// whatever file outside the folder the link points to.
#include "planfiles/planfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf {

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    // Closes now, so that a failure to close (a full disk on a share) is seen.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Up to `limit` + 1 bytes: one more than allowed tells a file that grew since it was looked at.
bool readAtMost(int fd, qint64 limit, QByteArray& bytes)
{
    QByteArray buffer(static_cast<qsizetype>(limit + 1), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < buffer.size()) {
        const ssize_t n =
            ::read(fd, buffer.data() + done, static_cast<size_t>(buffer.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += n;
    }
    if (done > limit)
        return false;
    buffer.truncate(done);
    bytes = buffer;
    return true;
}

// A new file beside `name` that nobody else can have opened or linked; -1 on failure.
int createTemporary(const QByteArray& name, mode_t mode, QByteArray& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = name + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd =
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool ReadPlanFileBytes(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    // O_NONBLOCK: opening a FIFO must not wait for a writer; fstat then refuses it.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const Descriptor file(fd);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxPlanFileSize)
        return false;
    return readAtMost(fd, kMaxPlanFileSize, bytes);
}

bool WritePlanFileBytes(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat old
    {
    };
    const bool exists = ::lstat(name.constData(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode))
        return false;
    // Until it gets the old file's mode, a replacement is readable by nobody else.
    QByteArray temporary;
    Descriptor file(createTemporary(name, exists ? 0600 : 0666, temporary));
    if (file.get() < 0)
        return false;
    if (exists && S_ISREG(old.st_mode)) {
        // A share that keeps no modes is no reason to fail.
        [[maybe_unused]] const int kept = ::fchmod(file.get(), old.st_mode & 07777);
    }
    bool ok = writeAll(file.get(), bytes);
    // Like QSaveFile: a file system that cannot sync is no reason to fail.
    if (ok) {
        [[maybe_unused]] const int synced = ::fdatasync(file.get());
    }
    ok = file.close() && ok;
    // rename() replaces the name itself: a link put there meanwhile is replaced, never the file
    // it points to. The old file stays whole when anything before failed.
    ok = ok && ::rename(temporary.constData(), name.constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

} // namespace zf
