#pragma once

#include "plans/planconfig.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace zf {

class Dialogs;
class TDBGrid;
class TDaysSpinEdit;
class TmyDataBase;

// "Edytuj wymiar urlopu" for many: one figure set to the same number for the employees chosen
// in the grid. Each "Zastosuj zmiany" is committed on its own; the window stays open.
class TfBatchEdit : public QDialog
{
    Q_OBJECT
public:
    TfBatchEdit(TmyDataBase& db, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfBatchEdit() override;

    // Shows the window modally for the plan of `year`; the caller has reopened the batch list.
    // True when at least one change was committed while it was open.
    bool Execute(int year);
    // "Zastosuj zmiany"; true when a change was committed.
    bool ApplyChanges();
    // The IDEMPLOYEE of the selected rows in the order of the grid's selection.
    QStringList selectedEmployees() const;

    TDBGrid* employeesGrid() const { return m_grid; }
    BatchEdit& logic() { return m_logic; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TmyDataBase& m_db;
    BatchEdit m_logic;
    int m_year = 0;
    bool m_applied = false;
    TDBGrid* m_grid;
    QComboBox* m_series;
    TDaysSpinEdit* m_days;
    QPushButton* m_apply;
    QPushButton* m_close;
};

} // namespace zf
