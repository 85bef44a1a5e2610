#pragma once

#include "personnel/importemployees.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTableView;

namespace zf {

class Dialogs;
class TmyDataBase;

// The employee import window: loads a CSV sheet, assigns its columns to the employee's fields,
// verifies and imports it, and saves the annotated sheet. Created once; it keeps the loaded
// sheet between showings. The configuration is remembered in "zefirant.ini" in the program
// folder.
class TfImportPracownik : public QDialog
{
    Q_OBJECT
public:
    TfImportPracownik(TmyDataBase& db, Dialogs& dialogs, const QString& programFolder,
                      const QString& dataFolder, QWidget* parent = nullptr);

    // Shows the window modally; the new employees are in the database when it returns.
    void ShowEmployeeImport();

    EmployeeImport& logic() { return m_logic; }

    // Closing asks whether to remember the configuration.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadSheet();
    void VerifySheet();
    void ImportSheet();
    void SaveSheet();
    void settingsEdited();

    void fieldsToLogic();
    void logicToFields();
    void updateButtons();
    void layoutGrid();
    // Esc closes the window only from the grid, the skip-first box and a closed field list.
    bool escapeCloses() const;

    EmployeeImport m_logic;

    std::array<QComboBox*, EmployeeImport::FieldCount> m_cb{};
    QComboBox* m_separator = nullptr;
    QComboBox* m_symbolZW = nullptr;
    QCheckBox* m_pominPierwszy = nullptr;
    QCheckBox* m_nieCzysc = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_verify = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QTableView* m_csv = nullptr;
};

} // namespace zf
