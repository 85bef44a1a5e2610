#include "app/options.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "util/dialogs.h"

namespace zf {

namespace {

QString updateParam(bool on, const char* id)
{
    return QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=") +
           (on ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral(" WHERE ID = \"") +
           QLatin1String(id) + QLatin1Char('"');
}

// A field that does not hold an integer keeps the option as it was.
void takeInteger(const QString& text, int& option)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (ok)
        option = value;
}

} // namespace

OptionsLogic::OptionsLogic(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options,
                           OptionsStore& store)
    : m_db(db), m_dialogs(dialogs), m_options(options), m_store(store)
{
}

OptionsForm OptionsLogic::Load()
{
    OptionsForm f;
    f.disallowEdit = m_db.loginState().approvedPlanLock;
    bool allowed = false;
    m_db.Utility(kCodeLoad, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID = \"ALLOWEMPLLOGIN\""));
        st.execute();
        allowed = st.fetch() && st.value(0).toLongLong() == 1;
        st.close();
    });
    f.allowEmplLogin = allowed;
    f.pokazujPoradeDnia = m_options.pokazujPoradeDnia;
    f.pytajPrzedKasowaniem = m_options.pytajPrzedKasowaniem;
    f.pytajPrzedZamknieciem = m_options.pytajPrzedZamknieciem;
    f.sprawdzajNotatki = m_options.sprawdzajNotatki;
    f.sprawdzajTerminy = m_options.sprawdzajTerminy;
    f.sprawdzZakresUrlopu = m_options.sprawdzZakresUrlopu;
    f.sprawdzHaslo = m_options.sprawdzHaslo;
    f.sprawdzajKodeksPracy = m_options.sprawdzajKodeksPracy;
    f.dataWsteczna = QString::number(m_options.dataWsteczna);
    f.dataWstecznaMin = QString::number(m_options.dataWstecznaMin);
    return f;
}

void OptionsLogic::Save(const OptionsForm& f)
{
    // The lock in memory follows the database: it changes only when the change was committed,
    // so the window never shows a lock that other workstations do not have.
    const bool committed = m_db.Utility(kCodeSave, [&](fb::Statement& st) {
        st.setSql(updateParam(f.allowEmplLogin, "ALLOWEMPLLOGIN"));
        st.execute();
        st.setSql(updateParam(f.disallowEdit, "DISALLOWEDIT"));
        st.execute();
    });
    if (committed)
        m_db.loginState().approvedPlanLock = f.disallowEdit;

    m_options.pokazujPoradeDnia = f.pokazujPoradeDnia;
    m_options.pytajPrzedKasowaniem = f.pytajPrzedKasowaniem;
    m_options.pytajPrzedZamknieciem = f.pytajPrzedZamknieciem;
    m_options.sprawdzajNotatki = f.sprawdzajNotatki;
    m_options.sprawdzajTerminy = f.sprawdzajTerminy;
    m_options.sprawdzZakresUrlopu = f.sprawdzZakresUrlopu;
    m_options.sprawdzHaslo = f.sprawdzHaslo;
    m_options.sprawdzajKodeksPracy = f.sprawdzajKodeksPracy;
    takeInteger(f.dataWsteczna, m_options.dataWsteczna);
    takeInteger(f.dataWstecznaMin, m_options.dataWstecznaMin);
    m_store.WriteOptions(m_options);
}

OptionsLogic::PasswordResult OptionsLogic::checkNewPassword(const QString& newPassword,
                                                            const QString& repeated)
{
    if (newPassword != repeated) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Podane nowe hasło oraz jego powtórka są różne. "
                                             "Popraw pola."));
        return PasswordResult::Mismatch;
    }
    if (text::TrimLength(newPassword) < kMinPasswordLength) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Hasło zbyt krótkie. Popraw pole."));
        return PasswordResult::TooShort;
    }
    return PasswordResult::Changed;
}

OptionsLogic::PasswordResult OptionsLogic::ChangeAdminPassword(const QString& current,
                                                               const QString& newPassword,
                                                               const QString& repeated)
{
    if (const PasswordResult r = checkNewPassword(newPassword, repeated);
        r != PasswordResult::Changed)
        return r;
    bool currentRight = false;
    const bool ok = m_db.Utility(kCodeAdminPassword, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT * FROM USERS WHERE LOGIN=\"admin\" AND PWD=:PWD"));
        st.setParam(QStringLiteral("PWD"), current);
        st.execute();
        currentRight = st.fetch();
        st.close();
        if (!currentRight)
            return; // nothing written; the empty transaction ends
        st.setSql(QStringLiteral("UPDATE USERS SET PWD=:PWD WHERE LOGIN=\"admin\""));
        st.setParam(QStringLiteral("PWD"), newPassword);
        st.execute();
    });
    if (!ok)
        return PasswordResult::DatabaseError;
    if (!currentRight) {
        m_dialogs.information(kCaptionInformation, QStringLiteral("Niepoprawne bieżące hasło"));
        return PasswordResult::WrongCurrent;
    }
    m_dialogs.information(kCaptionInformation,
                          QStringLiteral("Hasło dla administratora zostało zmienione"));
    return PasswordResult::Changed;
}

OptionsLogic::PasswordResult OptionsLogic::ChangeEmployeePassword(const QString& newPassword,
                                                                  const QString& repeated)
{
    if (const PasswordResult r = checkNewPassword(newPassword, repeated);
        r != PasswordResult::Changed)
        return r;
    int changed = 0;
    const bool ok = m_db.Utility(kCodeEmployeePassword, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("UPDATE USERS SET PWD=:PWD WHERE LOGIN=\"pracownik\""));
        st.setParam(QStringLiteral("PWD"), newPassword);
        st.execute();
        changed = st.rowsAffected();
    });
    if (!ok)
        return PasswordResult::DatabaseError;
    // Without the row nothing was changed, and saying otherwise would mislead.
    if (changed == 0) {
        m_dialogs.information(kCaptionError,
                              QStringLiteral("W bazie danych brakuje użytkownika \"pracownik\". "
                                             "Hasło nie zostało zmienione."));
        return PasswordResult::NoUser;
    }
    m_dialogs.information(kCaptionInformation,
                          QStringLiteral("Hasło dla pracownika zostało zmienione"));
    return PasswordResult::Changed;
}

} // namespace zf
