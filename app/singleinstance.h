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
    // True when this is the only copy; the lock is held until the object is destroyed.
    bool acquire();
    QString lockPath() const { return m_path; }

    // True while a running copy of the program holds the lock; asks without taking it.
    static bool isHeld(const QString& folder = QString());

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace zf
