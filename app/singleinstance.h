#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace zf {

// Keeps a second copy of the program from starting on this computer: a lock file in the runtime
// folder, named after the marker. A lock left by a copy that died does not block.
class SingleInstance
{
public:
    static constexpr const char* kMarker = "ApplicationShuZefirant";

    // `folder` empty: the user's runtime folder.
    explicit SingleInstance(const QString& folder = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the only copy; the lock is held until the object is destroyed.
    bool acquire();
    QString lockPath() const { return m_path; }

    // True while a running copy of the program holds the lock. Only asks the kernel about the
    // lock file's record locks: it never takes the lock, so it cannot make a start fail.
    static bool isHeld(const QString& folder = QString());

private:
    void release();

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    int m_recordLock = -1; // descriptor that holds the open-file-description lock
};

} // namespace zf
