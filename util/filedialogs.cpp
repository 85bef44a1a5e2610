#include "util/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace zf {

namespace {

QString& rememberedFolder()
{
    static QString folder;
    return folder;
}

QString chooseFile(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString askOpenFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters)
{
    QFileDialog dialog(parent, title, startPath, filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("dlgOtworz"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chooseFile(dialog);
}

QStringList askOpenFileNames(QWidget* parent, const QString& title, const QString& startPath,
                             const QStringList& filters)
{
    QFileDialog dialog(parent, title, startPath, filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("dlgOtworz"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString askSaveFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, proposedSavePath(startPath),
                       filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("dlgZapisz"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = defaultSuffix;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    const QString chosen = chooseFile(dialog);
    if (!chosen.isEmpty())
        rememberSaveFolder(chosen);
    return chosen;
}

QString askExistingDirectory(QWidget* parent, const QString& title, const QString& startPath)
{
    QFileDialog dialog(parent, title, startPath.isEmpty() ? lastSaveFolder() : startPath);
    dialog.setObjectName(QStringLiteral("dlgKatalog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const QString chosen = chooseFile(dialog);
    if (!chosen.isEmpty())
        rememberSaveFolder(chosen, true);
    return chosen;
}

QString lastSaveFolder()
{
    const QString& last = rememberedFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString proposedSavePath(const QString& startPath)
{
    // A bare name would open the dialog in the program's working folder.
    if (startPath.isEmpty())
        return lastSaveFolder();
    if (!QFileInfo(startPath).isRelative() || startPath.contains(QLatin1Char('/')))
        return startPath;
    return QDir(lastSaveFolder()).filePath(startPath);
}

void rememberSaveFolder(const QString& savedFileOrFolder, bool isFolder)
{
    if (savedFileOrFolder.isEmpty()) {
        rememberedFolder().clear();
        return;
    }
    const QFileInfo info(savedFileOrFolder);
    rememberedFolder() = isFolder ? info.absoluteFilePath() : info.absolutePath();
}

} // namespace zf
