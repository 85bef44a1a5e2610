#pragma once

#include <QString>

namespace zf {

class Dialogs;
class OptionsStore;
class TmyDataBase;
struct ProgramOptions;

// What the options window shows and hands back: the tick boxes, the texts of the two number
// fields, and the two system parameters.
struct OptionsForm
{
    bool pokazujPoradeDnia = false;
    bool pytajPrzedKasowaniem = false;
    bool pytajPrzedZamknieciem = false;
    bool sprawdzajNotatki = false;
    bool sprawdzajTerminy = false;
    bool sprawdzZakresUrlopu = false;
    bool sprawdzHaslo = false;
    bool sprawdzajKodeksPracy = false;
    QString dataWsteczna;
    QString dataWstecznaMin;
    bool disallowEdit = false;   // "DISALLOWEDIT", the approved-plan lock
    bool allowEmplLogin = false; // "ALLOWEMPLLOGIN"
};

// The program options, the two system parameters of employees' logins and the passwords of
// the users "admin" and "pracownik". Database errors are rolled back and reported with the
// fixed code of their place; they never stop the saving of the INI options.
class OptionsLogic
{
public:
    static constexpr int kCodeLoad = 23;
    static constexpr int kCodeSave = 101525;
    static constexpr int kCodeAdminPassword = 71803;
    static constexpr int kCodeEmployeePassword = 82041;
    static constexpr int kMinPasswordLength = 3;

    enum class PasswordResult
    {
        Changed,
        Mismatch,     // "Nowe hasło" and "Powtórz hasło" differ
        TooShort,     // fewer than three characters after trimming
        WrongCurrent, // the administrator's current password is wrong
        NoUser,       // the row of "pracownik" is missing
        DatabaseError,
    };

    OptionsLogic(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options, OptionsStore& store);

    // The window's content when it is shown: options and the lock from memory,
    // "ALLOWEMPLLOGIN" from the database.
    OptionsForm Load();
    // "&Zapisz": the system parameters, then the options in memory and in "zefirant.ini".
    void Save(const OptionsForm& form);

    PasswordResult ChangeAdminPassword(const QString& current, const QString& newPassword,
                                       const QString& repeated);
    PasswordResult ChangeEmployeePassword(const QString& newPassword, const QString& repeated);

private:
    PasswordResult checkNewPassword(const QString& newPassword, const QString& repeated);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    ProgramOptions& m_options;
    OptionsStore& m_store;
};

} // namespace zf
