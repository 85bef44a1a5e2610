#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zf {

// The file choices of the program's windows: Qt's own dialogs (so the default suffix is added
// before the overwrite question), with object names tests can find. Empty when cancelled.
QString askOpenFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters);
QStringList askOpenFileNames(QWidget* parent, const QString& title, const QString& startPath,
                             const QStringList& filters);
QString askSaveFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters, const QString& defaultSuffix);
QString askExistingDirectory(QWidget* parent, const QString& title, const QString& startPath);

// Where save dialogs open: the folder the user last saved into in this run, else the Documents
// folder (the home folder when there is none), never the folder the program was started from.
// The save and folder dialogs above use it for a start path without a folder; a window with a
// dialog of its own may call it too.
QString lastSaveFolder();
// A proposed file name placed in lastSaveFolder(); a path with a folder of its own is kept.
QString proposedSavePath(const QString& startPath);
// Remembers the folder of a file just saved (or a folder just chosen) for the next dialog; an
// empty path forgets it.
void rememberSaveFolder(const QString& savedFileOrFolder, bool isFolder = false);

} // namespace zf
