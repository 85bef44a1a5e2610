#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zf {

class Dialogs;
class EmployeeChooser;
class TmyDataBase;
struct ProgramOptions;

// "Wygeneruj plan do edycji": writes the leave-plan files of the chosen employees of
// one plan into the plan's folder. Created once; every showing starts afresh. The plans page's
// "Wygeneruj do edycji" opens it and advances the plan's status when it reports success.
class TfExportPlan : public QDialog
{
    Q_OBJECT
public:
    TfExportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                 QWidget* parent = nullptr);
    ~TfExportPlan() override;

    // Opens the window modally for the plan year with the unit filter (0 or below = none);
    // true when the export reported success (the caller then sets status 3).
    bool Execute(int year, int unitFilter);

    int year() const { return m_year; }
    bool success() const { return m_success; }

    // Preparation: the employee list for the year and unit filter, every item selected, the
    // comment emptied, both options at their defaults, the success flag cleared.
    void Prepare();
    // "&Wygeneruj".
    void Generate();

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
    QCheckBox* m_includeDays = nullptr;
    QCheckBox* m_checkRange = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zf
