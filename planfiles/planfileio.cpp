// The plan file's bytes on disk. Employees may write in the plan folder, so nothing here follows
// a symbolic link standing at a plan file's name: the office would otherwise read or replace
// whatever file outside the folder the link points to.
#include "planfiles/planfile.h"
#include "util/sharedfile.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf {

using sharedfile::Descriptor;

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
    return sharedfile::ReadAtMost(fd, kMaxPlanFileSize, bytes);
}

PlanFileWrite WritePlanFile(const QString& path, const QByteArray& bytes)
{
    switch (sharedfile::Replace(QFile::encodeName(path), bytes)) {
    case sharedfile::Written::Done:
        return PlanFileWrite::Done;
    case sharedfile::Written::NotSynced:
        return PlanFileWrite::NotSynced;
    case sharedfile::Written::Failed:
        break;
    }
    return PlanFileWrite::Failed;
}

bool WritePlanFileBytes(const QString& path, const QByteArray& bytes)
{
    return WritePlanFile(path, bytes) == PlanFileWrite::Done;
}

PlanFileBatch::~PlanFileBatch()
{
    discard();
}

bool PlanFileBatch::add(const QString& path, const QByteArray& bytes)
{
    sharedfile::Replacement r(QFile::encodeName(path));
    if (!r.Prepare(bytes, false))
        return false;
    m_entries.push_back(std::move(r));
    return true;
}

void PlanFileBatch::discard()
{
    m_entries.clear();
}

int PlanFileBatch::commit()
{
    m_synced = true;
    // The files of each folder, for one pass that clears their old temporaries.
    std::map<QByteArray, QSet<QByteArray>> folders;
    for (const sharedfile::Replacement& r : m_entries) {
        const qsizetype slash = r.name().lastIndexOf('/');
        folders[sharedfile::FolderOf(r.name())].insert(r.name().mid(slash + 1));
    }
    // Every temporary on the disk before any name is replaced: one sync of each file system
    // instead of one per file. A disk that refuses stops the run before anything is replaced.
    for (const auto& folder : folders) {
        if (!sharedfile::SyncFileSystem(folder.first)) {
            m_synced = false;
            discard();
            return 0;
        }
    }
    int done = 0;
    for (sharedfile::Replacement& r : m_entries) {
        const sharedfile::Written w = r.Commit();
        if (w == sharedfile::Written::Failed)
            break;
        ++done;
        if (w == sharedfile::Written::NotSynced) {
            m_synced = false;
            break;
        }
    }
    m_entries.clear();
    // The new names themselves on the disk.
    for (const auto& folder : folders) {
        if (!sharedfile::SyncFolder(folder.first))
            m_synced = false;
        sharedfile::RemoveStaleTemporaries(folder.first, folder.second);
    }
    return done;
}

} // namespace zf
