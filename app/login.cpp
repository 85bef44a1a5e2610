#include "app/login.h"

#include "data/mydatabase.h"

namespace zf {

bool attemptLogin(TmyDataBase& db, const QString& user, const QString& password)
{
    if (user.isEmpty() || password.isEmpty())
        return false;
    if (!db.CheckLogin(user, password))
        return false;
    LoginState& state = db.loginState();
    state.restricted = user == QStringLiteral("pracownik") || !state.employee.isEmpty();
    return true;
}

} // namespace zf
