#pragma once

#include "planfiles/planfileswindow.h"

class QPushButton;

namespace zf {

// "Wczytaj plany z plików": reads the filled-in leave-plan files of the chosen
// employees back into the database, one transaction per employee; "&Zaznacz zmienione" selects
// the employees whose files changed. Created once; every showing starts afresh. The plans
// page's "Wczytaj wypełnione" opens it and advances the plan's status when it reports success:
// when at least one employee's plan was stored.
class TfImportPlan : public TPlanFilesWindow
{
    Q_OBJECT
public:
    TfImportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                 QWidget* parent = nullptr);
    ~TfImportPlan() override;

    // "&Zaznacz zmienione".
    void SelectChanged();
    // "&Wczytaj".
    void Import();
    // "&Dodaj pliki…": returned files picked anywhere, checked and copied into the plan
    // folder, then "&Zaznacz zmienione".
    void AddFiles();

private:
    QPushButton* m_selectChanged = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_addFiles = nullptr;
};

} // namespace zf
