#include "util/sharedfile.h"

#include <QRandomGenerator>

#include <cerrno>
#include <ctime>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf::sharedfile {

Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Descriptor::close()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd >= 0 && ::close(fd) == 0;
}

bool ReadAtMost(int fd, qint64 limit, QByteArray& bytes)
{
    // One byte more than allowed tells a file that grew since it was looked at.
    QByteArray buffer(static_cast<qsizetype>(limit + 1), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::pread(fd, buffer.data() + done,
                                  static_cast<size_t>(buffer.size() - done), done);
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

namespace {

// Files written in place are read whole first; anything larger is no file of ours.
constexpr qint64 kMaxInPlaceSize = 16 * 1024 * 1024;

bool writeAll(int fd, const QByteArray& bytes, off_t at)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done,
                                   static_cast<size_t>(bytes.size() - done), at + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}


// A file system that cannot sync (some shares) is no reason to fail; a disk that refuses is.
bool synced(int rc)
{
    return rc == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP;
}

bool syncData(int fd)
{
    int rc = 0;
    do
        rc = ::fdatasync(fd);
    while (rc != 0 && errno == EINTR);
    return synced(rc);
}

// A new file "<name>.<random>" that nobody else can have opened or linked; -1 on failure.
int createTemporary(const QByteArray& name, mode_t mode, QByteArray& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = name + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(temporary.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The owner, group and mode of `old` on the new file. False when the owner or group cannot be
// given (only root gives a file away; a user gives only a group he belongs to).
bool keepOwnerAndMode(int fd, const struct stat& old)
{
    struct stat now
    {
    };
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // After fchown, which clears set-id bits. A share that keeps no modes is no reason to fail.
    [[maybe_unused]] const int kept = ::fchmod(fd, old.st_mode & 07777);
    return true;
}

bool isStamped(const QByteArray& suffix)
{
    // QByteArray::number(quint64, 36): at most 13 digits and small letters.
    if (suffix.isEmpty() || suffix.size() > 13)
        return false;
    for (const char c : suffix)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

// The old content copied beside the file, on the disk, before the file is written in place;
// an empty path when the folder takes no new file (the write goes on without the copy).
bool copyBeside(const QByteArray& name, const QByteArray& content, const struct stat& old,
                QByteArray& copy)
{
    copy.clear();
    Descriptor file(createTemporary(name, 0600, copy));
    if (file.get() < 0) {
        copy.clear();
        return errno == EACCES || errno == EROFS || errno == EPERM;
    }
    [[maybe_unused]] const bool owner = keepOwnerAndMode(file.get(), old);
    bool ok = writeAll(file.get(), content, 0) && syncData(file.get());
    ok = file.close() && ok && SyncFolder(FolderOf(name));
    if (!ok) {
        ::unlink(copy.constData());
        copy.clear();
    }
    return ok;
}

Written writeInPlace(const QByteArray& name, const QByteArray& bytes)
{
    // O_NONBLOCK: a FIFO put at the name must not make the save wait; fstat then refuses it.
    Descriptor file(::open(name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return Written::Failed;
    struct stat info
    {
    };
    // A file with other names (hard links) would change under them all.
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
        info.st_size > kMaxInPlaceSize)
        return Written::Failed;
    QByteArray old;
    if (!ReadAtMost(file.get(), info.st_size, old))
        return Written::Failed;
    QByteArray copy;
    if (!copyBeside(name, old, info, copy))
        return Written::Failed;
    const auto dropCopy = [&] {
        if (!copy.isEmpty()) {
            ::unlink(copy.constData());
            [[maybe_unused]] const bool gone = SyncFolder(FolderOf(name));
        }
    };
    if (!writeAll(file.get(), bytes, 0) || ::ftruncate(file.get(), bytes.size()) != 0) {
        // Put the old content back; the copy stays when even that fails.
        if (writeAll(file.get(), old, 0) && ::ftruncate(file.get(), old.size()) == 0)
            dropCopy();
        return Written::Failed;
    }
    // Until the new content is on the disk the copy is what a crash would leave to read.
    if (!syncData(file.get()) || !file.close())
        return Written::NotSynced;
    dropCopy();
    return Written::Done;
}

} // namespace

QByteArray FolderOf(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash);
}

bool SyncFolder(const QByteArray& folder)
{
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return true; // a folder that cannot be opened for reading is one we could not sync
    int rc = 0;
    do
        rc = ::fsync(dir.get());
    while (rc != 0 && errno == EINTR);
    return synced(rc);
}

bool SyncFileSystem(const QByteArray& folder)
{
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.get() < 0 || synced(::syncfs(dir.get()));
}

void RemoveStaleTemporaries(const QByteArray& folder, const QSet<QByteArray>& fileNames)
{
    if (fileNames.isEmpty())
        return;
    const Descriptor dirFd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() < 0)
        return;
    const int dupFd = ::dup(dirFd.get());
    if (dupFd < 0)
        return;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(dupFd), ::closedir);
    if (!dir) {
        ::close(dupFd);
        return;
    }
    const time_t oldest = ::time(nullptr) - kStaleSeconds;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray entryName(entry->d_name);
        const qsizetype dot = entryName.lastIndexOf('.');
        if (dot <= 0)
            continue;
        const QByteArray owner = entryName.left(dot);
        const QByteArray suffix = entryName.mid(dot + 1);
        // "x.zfpn.zfpn" is another file of the same kind, never a temporary of "x.zfpn".
        if (!isStamped(suffix) || !fileNames.contains(owner) ||
            owner.mid(owner.lastIndexOf('.') + 1) == suffix)
            continue;
        struct stat info
        {
        };
        if (::fstatat(dirFd.get(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_mtime < oldest)
            ::unlinkat(dirFd.get(), entry->d_name, 0);
    }
}

Replacement::~Replacement()
{
    Discard();
}

Replacement::Replacement(Replacement&& other) noexcept
    : m_name(std::move(other.m_name)), m_temporary(std::move(other.m_temporary)),
      m_inPlace(std::move(other.m_inPlace)), m_writeInPlace(other.m_writeInPlace)
{
    other.m_temporary.clear();
    other.m_writeInPlace = false;
}

void Replacement::Discard()
{
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    m_inPlace.clear();
    m_writeInPlace = false;
}

bool Replacement::Prepare(const QByteArray& bytes, bool sync)
{
    Discard();
    struct stat old
    {
    };
    const bool exists = ::lstat(m_name.constData(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode))
        return false;
    const bool regular = exists && S_ISREG(old.st_mode);
    // Until it has the old file's owner and mode, a replacement is readable by nobody else.
    Descriptor file(createTemporary(m_name, exists ? 0600 : 0666, m_temporary));
    if (file.get() < 0) {
        m_temporary.clear();
        // A writable file in a folder closed to us is written in place.
        if (regular && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            m_inPlace = bytes;
            m_writeInPlace = true;
            return true;
        }
        return false;
    }
    if (regular && !keepOwnerAndMode(file.get(), old)) {
        file.close();
        Discard();
        m_inPlace = bytes;
        m_writeInPlace = true;
        return true;
    }
    bool ok = writeAll(file.get(), bytes, 0) && (!sync || syncData(file.get()));
    ok = file.close() && ok;
    if (!ok)
        Discard();
    return ok;
}

Written Replacement::Commit()
{
    if (m_writeInPlace) {
        const Written w = writeInPlace(m_name, m_inPlace);
        m_inPlace.clear();
        m_writeInPlace = false;
        return w;
    }
    if (m_temporary.isEmpty())
        return Written::Failed;
    // rename() replaces the name itself: a link put there meanwhile is replaced, never the file
    // it points to.
    if (::rename(m_temporary.constData(), m_name.constData()) == 0) {
        m_temporary.clear();
        return Written::Done;
    }
    // A sticky folder (like /tmp) lets nobody but the owner replace a file: written in place.
    const int error = errno;
    QByteArray bytes;
    bool retry = error == EPERM || error == EACCES;
    if (retry) {
        const Descriptor temporary(
            ::open(m_temporary.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        struct stat info
        {
        };
        retry = temporary.get() >= 0 && ::fstat(temporary.get(), &info) == 0 &&
                ReadAtMost(temporary.get(), info.st_size, bytes);
    }
    Discard();
    return retry ? writeInPlace(m_name, bytes) : Written::Failed;
}

Written Replace(const QByteArray& name, const QByteArray& bytes)
{
    const QByteArray folder = FolderOf(name);
    const qsizetype slash = name.lastIndexOf('/');
    RemoveStaleTemporaries(folder, {name.mid(slash + 1)});
    Replacement replacement(name);
    if (!replacement.Prepare(bytes, true))
        return Written::Failed;
    const Written w = replacement.Commit();
    if (w != Written::Done)
        return w;
    return SyncFolder(folder) ? Written::Done : Written::NotSynced;
}

} // namespace zf::sharedfile
