#pragma once

#include "planfiles/planfileswindow.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace zf {

// "Wygeneruj plan do edycji": writes the leave-plan files of the chosen employees of
// one plan into the plan's folder. Created once; every showing starts afresh. The plans page's
// "Wygeneruj do edycji" opens it and advances the plan's status when it reports success.
class TfExportPlan : public TPlanFilesWindow
{
    Q_OBJECT
public:
    TfExportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                 QWidget* parent = nullptr);
    ~TfExportPlan() override;

    // Preparation: the employee list for the year and unit filter, every item selected, the
    // comment emptied, both options at their defaults, the success flag cleared.
    void Prepare() override;
    // "&Wygeneruj".
    void Generate();
    // "Wyślij &e-mailem": the files written as by "&Wygeneruj", then sent to the employees.
    void GenerateAndSend();

private:
    QCheckBox* m_includeDays = nullptr;
    QCheckBox* m_checkRange = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_sendMail = nullptr;
};

} // namespace zf
