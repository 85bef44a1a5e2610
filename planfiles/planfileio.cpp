// The plan file's bytes on disk. Employees may write in the plan folder, so nothing here follows
// a symbolic link standing at a plan file's name: the office would otherwise read or replace
// whatever file outside the folder the link points to.
#include "planfiles/planfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <memory>

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

namespace {

// The bytes in a new temporary beside `name`, closed, with the old file's mode; false (nothing
// left behind) on failure or when a symbolic link stands at the name.
bool writeTemporary(const QByteArray& name, const QByteArray& bytes, bool sync,
                    QByteArray& temporary)
{
    struct stat old
    {
    };
    const bool exists = ::lstat(name.constData(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode))
        return false;
    // Until it gets the old file's mode, a replacement is readable by nobody else.
    Descriptor file(createTemporary(name, exists ? 0600 : 0666, temporary));
    if (file.get() < 0)
        return false;
    if (exists && S_ISREG(old.st_mode)) {
        // A share that keeps no modes is no reason to fail.
        [[maybe_unused]] const int kept = ::fchmod(file.get(), old.st_mode & 07777);
    }
    bool ok = writeAll(file.get(), bytes);
    // Like QSaveFile: a file system that cannot sync is no reason to fail.
    if (ok && sync) {
        [[maybe_unused]] const int synced = ::fdatasync(file.get());
    }
    ok = file.close() && ok;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

QByteArray folderOf(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash);
}

} // namespace

bool WritePlanFileBytes(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    QByteArray temporary;
    if (!writeTemporary(name, bytes, true, temporary))
        return false;
    // rename() replaces the name itself: a link put there meanwhile is replaced, never the file
    // it points to. The old file stays whole when anything before failed.
    if (::rename(temporary.constData(), name.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}

PlanFileBatch::~PlanFileBatch()
{
    discard();
}

bool PlanFileBatch::add(const QString& path, const QByteArray& bytes)
{
    Entry e;
    e.name = QFile::encodeName(path);
    if (!writeTemporary(e.name, bytes, false, e.temporary))
        return false;
    m_entries.push_back(std::move(e));
    return true;
}

void PlanFileBatch::discard()
{
    for (const Entry& e : m_entries)
        ::unlink(e.temporary.constData());
    m_entries.clear();
}

int PlanFileBatch::commit()
{
    std::vector<QByteArray> folders;
    for (const Entry& e : m_entries) {
        QByteArray folder = folderOf(e.name);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    std::vector<std::unique_ptr<Descriptor>> opened;
    for (const QByteArray& folder : folders)
        opened.push_back(std::make_unique<Descriptor>(
            ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    // Every temporary on the disk before any name is replaced: one sync of each file system
    // instead of one per file. A file system that cannot sync is no reason to fail.
    for (const auto& folder : opened) {
        if (folder->get() >= 0) {
            [[maybe_unused]] const int synced = ::syncfs(folder->get());
        }
    }
    int done = 0;
    for (const Entry& e : m_entries) {
        if (::rename(e.temporary.constData(), e.name.constData()) != 0)
            break;
        ++done;
    }
    for (std::size_t i = static_cast<std::size_t>(done); i < m_entries.size(); ++i)
        ::unlink(m_entries[i].temporary.constData());
    m_entries.clear();
    // The new names themselves on the disk.
    for (const auto& folder : opened) {
        if (folder->get() >= 0) {
            [[maybe_unused]] const int synced = ::fsync(folder->get());
        }
    }
    return done;
}

} // namespace zf
