#pragma once

#include "personnel/dictionaries.h"

#include <QDialog>

#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace zf {

class Dialogs;
class TDBGrid;
class TmyDataBase;
struct ProgramOptions;

// The edit window of one dictionary entry: its text and, hidden, the entry's extra value.
class TfEditBibliotekaAll final : public QDialog, public DictionaryEditor
{
    Q_OBJECT
public:
    explicit TfEditBibliotekaAll(Dialogs& dialogs, QWidget* parent = nullptr);

    bool editEntry(const QString& caption, const QString& label, DictionaryEntry& entry) override;

    // "Minimalna obsada" of a unit (0 = none), shown only for units; read-only in restricted mode.
    void setMinimumStaff(bool shown, int value, bool editable);
    int minimumStaff() const;
    bool accepted() const { return m_accepted; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void save();

    Dialogs& m_dialogs;
    bool m_accepted = false;
    QLabel* m_label;
    QLineEdit* m_text;
    QLabel* m_hiddenLabel;
    QLineEdit* m_hidden;
    QLabel* m_minimumLabel;
    QSpinBox* m_minimum;
    QPushButton* m_save;
    QPushButton* m_cancel;
};

// "Biblioteka": both dictionaries, one page each, chosen in the drop-down "Wybierz słownik".
class TfBiblioteka final : public QDialog
{
    Q_OBJECT
public:
    TfBiblioteka(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                 DictionaryEditor& editor, QWidget* parent = nullptr);

    // Shows the window modally on the dictionary at `position` (from 1).
    void ShowDictionaries(int position);
    // The drop-down's position, from 1.
    int position() const;
    TDBGrid* grid(int position) const;

    void AddEntry(bool copy);
    void EditEntry();
    void DeleteEntry();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectDictionary();
    // Around adding or editing a unit: shows its staffing threshold and stores a changed one.
    int prepareMinimumStaff(bool existing);
    void storeMinimumStaff(int before, int previousKey, bool added);

    TmyDataBase& m_db;
    Dictionaries m_logic;
    DictionaryEditor& m_editor;
    QComboBox* m_choice;
    QStackedWidget* m_pages;
    std::vector<TDBGrid*> m_grids;
};

} // namespace zf
