#include "archiwizacja/archivedialogs.h"

#include "util/filedialogs.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace zf::archive {

void ArchiveDialogs::information(const QString& caption, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    if (caption == kCaptionError)
        icon = QMessageBox::Critical;
    else if (caption == kCaptionWarning)
        icon = QMessageBox::Warning;
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, m_parent);
    box.setObjectName(QStringLiteral("mbInformacja"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool ArchiveDialogs::question(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, m_parent);
    box.setObjectName(QStringLiteral("mbPytanie"));
    QPushButton* yes = box.addButton(QStringLiteral("&Tak"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nie"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool ArchiveDialogs::prompt(const QString& caption, const QString& label, QString& value,
                            bool masked)
{
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("dlgPytanie"));
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextValue(value);
    dialog.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(QStringLiteral("&OK"));
    dialog.setCancelButtonText(QStringLiteral("&Anuluj"));
    dialog.resize(560, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString ArchiveDialogs::openFileName(const QString& title, const QString& startPath,
                                     const QStringList& filters)
{
    return askOpenFileName(m_parent, title, startPath, filters);
}

QString ArchiveDialogs::saveFileName(const QString& title, const QString& startPath,
                                     const QStringList& filters, const QString& defaultSuffix)
{
    return askSaveFileName(m_parent, title, startPath, filters, defaultSuffix);
}

QString ArchiveDialogs::existingDirectory(const QString& title, const QString& startPath)
{
    return askExistingDirectory(m_parent, title, startPath);
}

} // namespace zf::archive
