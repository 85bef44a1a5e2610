#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace zf {

// Starts a program without waiting for it. The child gets none of this process's descriptors
// above standard error: the embedded engine keeps the database and its lock files open, and a
// tool that inherited them could never open that database itself, even after we have closed.
bool startDetachedProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder = QString());

// Starts a program and tells `done` whether it succeeded: false when it could not be started or
// ended with a non-zero exit status. Desktop helpers (xdg-open, xdg-email) report a missing
// handler only through their status. One that still runs after a few seconds has handed the
// file to a program that stays open, which counts as success. `done` is not called once
// `context` is gone. The descriptors are treated as by startDetachedProgram.
void startWatchedProgram(const QString& program, const QStringList& arguments, QObject* context,
                         std::function<void(bool ok)> done);

// Opens a file, folder or address with the desktop's default application (xdg-open).
void openWithDesktop(const QString& pathOrUrl, QObject* context, std::function<void(bool ok)> done);

} // namespace zf
