#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace zf {

class Dialogs;
class EmployeeChooser;
class TmyDataBase;
struct ProgramOptions;

// What the windows that write the plan files and read them back share: the plan year and unit
// filter the plans page hands in, the success flag it reads back, the heading with the year, the
// employee chooser, and a fresh preparation on every showing. Created once and reused.
class TPlanFilesWindow : public QDialog
{
    Q_OBJECT
public:
    ~TPlanFilesWindow() override;

    // Opens the window modally for the plan year with the unit filter (0 or below = none); true
    // when the run reported success and the plan's status is to advance.
    bool Execute(int year, int unitFilter);

    int year() const { return m_year; }
    bool success() const { return m_success; }

    // On every showing and unit choice: the employee list for the year and unit filter, every
    // item selected, the success flag cleared. Windows add their own defaults.
    virtual void Prepare();

    // How long a run lasts before its progress window appears (tests set 0).
    int progressDelayMs = 500;

protected:
    TPlanFilesWindow(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                     const QString& title, const QString& heading, const QString& chooserQuestion,
                     QWidget* parent);
    void showEvent(QShowEvent* event) override;

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    int m_year = 0;
    int m_unit = -1;
    bool m_success = false;

    QLabel* m_yearLabel;
    EmployeeChooser* m_chooser;
    QPushButton* m_cancel;
    // Holds the heading, the year and the chooser; a window adds its controls and buttons.
    QVBoxLayout* m_layout;
};

} // namespace zf
