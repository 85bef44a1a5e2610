#pragma once

#include <QString>
#include <QStringList>

namespace zf {

// Starts a program without waiting for it. The child gets none of this process's descriptors
// above standard error: the embedded engine keeps the database and its lock files open, and a
// tool that inherited them could never open that database itself, even after we have closed.
bool startDetachedProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder = QString());

} // namespace zf
