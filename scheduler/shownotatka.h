#pragma once

#include "scheduler/notes.h"

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace zf {

// The note reminder "Notatka": one due note, read only, with "    &OK        " and
// "  Usuń      " (hidden for restricted logins).
class TfShowNotatka final : public QDialog, public NoteReminder
{
    Q_OBJECT
public:
    explicit TfShowNotatka(QWidget* parent = nullptr);

    // NoteReminder
    void showNote(const QString& text, const std::function<void()>& deleteNote) override;

    void setDeleteVisible(bool visible);
    QString text() const;

private:
    std::function<void()> m_delete;
    QPlainTextEdit* m_text;
    QPushButton* m_ok;
    QPushButton* m_remove;
};

} // namespace zf
