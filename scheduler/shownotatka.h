#pragma once

#include "scheduler/notes.h"

#include <QDialog>

#include <functional>

class QLabel;
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
    void showNote(const QString& text, const QString& date,
                  const std::function<void()>& deleteNote) override;

    void setDeleteVisible(bool visible);
    QString text() const;
    QString dateText() const;

private:
    std::function<void()> m_delete;
    QLabel* m_date;
    QPlainTextEdit* m_text;
    QPushButton* m_ok;
    QPushButton* m_remove;
};

} // namespace zf
