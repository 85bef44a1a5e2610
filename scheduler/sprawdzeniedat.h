#pragma once

#include "scheduler/deadlines.h"

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace zf {

class Dialogs;

// The deadline reminder "Sprawdzenie terminów": the reminder lines, read only, with "Ok" and
// "Zapisz wynik" (the lines into a text file).
class TfSprawdzenieDat final : public QDialog, public DeadlineReminder
{
    Q_OBJECT
public:
    explicit TfSprawdzenieDat(Dialogs& dialogs, QWidget* parent = nullptr);

    // DeadlineReminder
    void showReminder(const QStringList& lines) override;

    void setLines(const QStringList& lines);
    QStringList lines() const { return m_lines; }

private:
    Dialogs& m_dialogs;
    QStringList m_lines;
    QPlainTextEdit* m_text;
    QPushButton* m_ok;
    QPushButton* m_saveResult;
};

} // namespace zf
