#include "app/singleinstance.h"

#include <QDir>
#include <QStandardPaths>

namespace zf {

SingleInstance::SingleInstance(const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_path = dir + QLatin1Char('/') + QString::fromLatin1(kMarker) + QStringLiteral(".lock");
}

bool SingleInstance::acquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a dead holder makes a lock stale, never its age.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

bool SingleInstance::isHeld(const QString& folder)
{
    SingleInstance probe(folder);
    // Taking the lock for a moment is the one question QLockFile answers truthfully about a
    // live holder; released at once, it never keeps the program from starting.
    return !probe.acquire();
}

} // namespace zf
