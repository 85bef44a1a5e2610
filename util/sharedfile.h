#pragma once

#include <QByteArray>
#include <QSet>

// Replacing a file that several people reach in a shared folder without changing who may read
// it and without leaving anything behind. The new bytes go to a temporary beside the file
// ("<name>.<random>") that gets the old file's owner, group and mode and then replaces it; where
// the owner or group cannot be given (another user's file) or the folder cannot be written, the
// file is written in place instead, after its old content was copied beside it (removed once the
// new content is on the disk). Nothing here follows a symbolic link at the file's name.
namespace zf::sharedfile {

// An open file descriptor, closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    // Closes now, so that a failure to close (a full disk on a share) is seen.
    bool close();

private:
    int m_fd;
};

// The file's bytes from its start; false on a read error or when it holds more than `limit`.
bool ReadAtMost(int fd, qint64 limit, QByteArray& bytes);

enum class Written
{
    Done,
    Failed,    // the old file stays as it was
    NotSynced, // the new bytes stand at the name, but the disk did not confirm them
};

// A temporary older than this is left over from a save that was killed.
inline constexpr qint64 kStaleSeconds = 60 * 60;

// The whole replacement: the temporary or the write in place, then the folder synced. Clears
// the file's own temporaries older than kStaleSeconds first.
Written Replace(const QByteArray& name, const QByteArray& bytes);

// One replacement in two steps, for a batch that syncs once for many files.
class Replacement
{
public:
    explicit Replacement(QByteArray name) : m_name(std::move(name)) {}
    // Removes a temporary never put in place.
    ~Replacement();
    Replacement(Replacement&& other) noexcept;
    Replacement& operator=(Replacement&&) = delete;
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // Writes the temporary (synced when `sync`), or keeps the bytes for a write in place when
    // that is the only way to keep the owner. False, with nothing left behind, on failure or
    // when a symbolic link stands at the name.
    bool Prepare(const QByteArray& bytes, bool sync);
    // Puts the new content at the name (a write in place is synced here). Failed leaves the old
    // file; NotSynced only from a write in place.
    Written Commit();
    // Forgets the new content; the old file stays.
    void Discard();

    const QByteArray& name() const { return m_name; }

private:
    QByteArray m_name;
    QByteArray m_temporary;
    QByteArray m_inPlace; // the bytes, when the file is written in place
    bool m_writeInPlace = false;
};

// The folder of a path as given ("." for a bare name).
QByteArray FolderOf(const QByteArray& name);
// fsync of a folder, so that names put in it are on the disk. False only when the disk refused;
// a file system that cannot sync folders is no failure.
bool SyncFolder(const QByteArray& folder);
// syncfs of the file system holding the folder; the same rule.
bool SyncFileSystem(const QByteArray& folder);
// Removes, in one pass over the folder, the temporaries of the named files (file names without
// the folder) whose last change is older than kStaleSeconds.
void RemoveStaleTemporaries(const QByteArray& folder, const QSet<QByteArray>& fileNames);

} // namespace zf::sharedfile
