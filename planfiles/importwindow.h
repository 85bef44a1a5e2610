#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace zf {

class Dialogs;
class EmployeeChooser;
class TmyDataBase;
struct ProgramOptions;

// "Wczytaj plany z plików": reads the filled-in leave-plan files of the chosen
// employees back into the database, one transaction per employee; "&Zaznacz zmienione" selects
// the employees whose files changed. Created once; every showing starts afresh. The plans
// page's "Wczytaj wypełnione" opens it and advances the plan's status when it reports success.
class TfImportPlan : public QDialog
{
    Q_OBJECT
public:
    TfImportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                 QWidget* parent = nullptr);
    ~TfImportPlan() override;

    // Opens the window modally for the plan year with the unit filter (0 or below = none);
    // true when at least one employee's plan was stored (the caller then sets status 4).
    bool Execute(int year, int unitFilter);

    int year() const { return m_year; }
    bool success() const { return m_success; }

    // Preparation: the employee list for the year and unit filter, every item selected, the
    // success flag cleared.
    void Prepare();
    // "&Zaznacz zmienione".
    void SelectChanged();
    // "&Wczytaj".
    void Import();

    // How long a run lasts before its progress window appears (tests set 0).
    int progressDelayMs = 500;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    int m_year = 0;
    int m_unit = -1;
    bool m_success = false;

    QLabel* m_yearLabel = nullptr;
    EmployeeChooser* m_chooser = nullptr;
    QPushButton* m_selectChanged = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zf
