#pragma once

#include "app/options.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace zf {

class Dialogs;
class OptionsStore;
class TfMailOptionsPage;
class TmyDataBase;
struct ProgramOptions;

// "Opcje programu": the program options, the two system parameters of employees' logins and
// the passwords of "admin" and "pracownik". Esc closes it like "&Anuluj".
class TfOpcjeProgramu : public QDialog
{
    Q_OBJECT
public:
    TfOpcjeProgramu(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options, OptionsStore& store,
                    QWidget* parent = nullptr);

    // Refills the window, shows it modally; true when "&Zapisz" saved the options.
    bool ShowOptions();
    bool saved() const { return m_saved; }

private:
    void refill();
    OptionsForm form() const;
    void onSave();
    void onAdminPassword();
    void onEmployeePassword();
    // After a refused new password its field is selected for correcting.
    void focusIfRefused(OptionsLogic::PasswordResult result, QLineEdit* field);

    OptionsLogic m_logic;
    bool m_saved = false;

    QTabWidget* m_pages;
    QWidget* m_optionsPage;
    QCheckBox* m_pokazujPoradeDnia;
    QCheckBox* m_pytajPrzedKasowaniem;
    QCheckBox* m_pytajPrzedZamknieciem;
    QCheckBox* m_sprawdzajNotatki;
    QCheckBox* m_sprawdzajTerminy;
    QCheckBox* m_sprawdzZakresUrlopu;
    QCheckBox* m_sprawdzHaslo;
    QCheckBox* m_sprawdzajKodeksPracy;
    QLineEdit* m_dataWsteczna;
    QLineEdit* m_dataWstecznaMin;
    QCheckBox* m_disallowEdit;
    QCheckBox* m_allowEmplLogin;
    QLineEdit* m_adminCurrent;
    QLineEdit* m_adminNew;
    QLineEdit* m_adminRepeat;
    QLineEdit* m_employeeNew;
    QLineEdit* m_employeeRepeat;
    TfMailOptionsPage* m_mailPage;
};

} // namespace zf
