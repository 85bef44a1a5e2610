#pragma once

#include "util/dialogs.h"

class QWidget;

namespace zf::archive {

// The tool's messages and file choices on screen: QMessageBox, QInputDialog and Qt's own file
// dialog (the same on every desktop). The window sees only the Dialogs interface, so tests
// script the answers.
class ArchiveDialogs final : public Dialogs
{
public:
    explicit ArchiveDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    // "Błąd" shows as a critical message, "Uwaga" as a warning, anything else as information.
    void information(const QString& caption, const QString& text) override;
    bool question(const QString& caption, const QString& text) override;
    bool prompt(const QString& caption, const QString& label, QString& value, bool masked) override;
    QString openFileName(const QString& title, const QString& startPath,
                         const QStringList& filters) override;
    // Asks before overwriting; a name typed without a suffix gets the default one.
    QString saveFileName(const QString& title, const QString& startPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
    QString existingDirectory(const QString& title, const QString& startPath) override;

private:
    QWidget* m_parent;
};

} // namespace zf::archive
