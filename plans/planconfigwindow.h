#pragma once

#include "plans/planconfig.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace zf {

class Dialogs;
class TDBGrid;
class TDaysSpinEdit;
class TfBatchEdit;
class TfEditHolidayDays;
class TfSelectDir;
class TmyDataBase;
struct ProgramOptions;

// What the plans page reads after the configuration window closed: whether anything was changed
// and the text of the folder field.
struct PlanConfigResult
{
    bool changed = false;
    QString planDir;
};

// "Konfiguracja planu urlopowego": the active employees outside the plan on the left, the plan's
// employees with their entitlements on the right, the plan folder at the bottom. Created once and
// reused; each Execute refills it from the database.
class TfPlanConfig : public QDialog
{
    Q_OBJECT
public:
    // The options decide whether removing an employee asks first ("pytajPrzedKasowaniem").
    TfPlanConfig(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                 QWidget* parent = nullptr);
    ~TfPlanConfig() override;

    // Shows the window modally for the plan of `year` with its stored folder; the unit filter is
    // 0 when the plans page opens it (the units list must be open).
    PlanConfigResult Execute(int year, const QString& planDir, int unitFilter);

    // The plan-employee grid, for the storage of its column widths.
    TDBGrid* calendarGrid() const { return m_grid; }
    PlanConfig& logic() { return m_logic; }
    TfEditHolidayDays& editWindow() const { return *m_edit; }
    TfBatchEdit& batchWindow() const { return *m_batch; }
    TfSelectDir& folderChooser() const { return *m_selectDir; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildLeftList();
    void fillUnits();
    void addSelected();
    void removeCurrent();
    void editCurrent();
    void batchChange();
    void chooseFolder();
    void showAll();
    void unitChosen(int index);
    void focusMoved(QWidget* from, QWidget* to);

    TmyDataBase& m_db;
    PlanConfig m_logic;
    PlanConfigResult m_result;

    QLabel* m_header;
    QListWidget* m_left;
    QComboBox* m_units;
    TDaysSpinEdit* m_holidaySize;
    TDBGrid* m_grid;
    QWidget* m_folderPanel;
    QLineEdit* m_planDir;
    QPushButton* m_folderButton;
    TfEditHolidayDays* m_edit;
    TfBatchEdit* m_batch;
    TfSelectDir* m_selectDir;
};

} // namespace zf
