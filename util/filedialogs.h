#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zf {

// The file choices of the program's windows: Qt's own dialogs (so the default suffix is added
// before the overwrite question), with object names tests can find. Empty when cancelled.
QString askOpenFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters);
QString askSaveFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters, const QString& defaultSuffix);
QString askExistingDirectory(QWidget* parent, const QString& title, const QString& startPath);

} // namespace zf
