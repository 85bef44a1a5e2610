#pragma once

#include "scheduler/notes.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zf {

class Dialogs;
class TDateField;
struct ProgramOptions;

// The notes window "Notatki": one of the 30 slots at a time, with its number, date and text,
// "&<<" and "&>>" to move between them (1 back to 30, 30 on to 1) and "  Wyczyść   ". Moving
// and every way of closing store the shown slot.
class TfNotatki final : public QDialog, public NotesWindow
{
    Q_OBJECT
public:
    TfNotatki(Dialogs& dialogs, const ProgramOptions& options, QWidget* parent = nullptr);

    // NotesWindow
    void editNotes(NoteSlots& notes, int slot) override;

    int currentSlot() const { return m_book.current(); }
    const NotesBook& book() const { return m_book; }

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSlot();
    void storeSlot();
    void previous();
    void next();
    void clearSlot();

    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    NotesBook m_book;

    QLineEdit* m_number;
    TDateField* m_date;
    QPlainTextEdit* m_text;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_clear;
    QPushButton* m_ok;
};

} // namespace zf
