#include "util/filedialogs.h"

#include <QFileDialog>

namespace zf {

namespace {

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

QString askSaveFileName(QWidget* parent, const QString& title, const QString& startPath,
                        const QStringList& filters, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, startPath, filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("dlgZapisz"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = defaultSuffix;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    return chooseFile(dialog);
}

QString askExistingDirectory(QWidget* parent, const QString& title, const QString& startPath)
{
    QFileDialog dialog(parent, title, startPath);
    dialog.setObjectName(QStringLiteral("dlgKatalog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chooseFile(dialog);
}

} // namespace zf
