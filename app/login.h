#pragma once

#include <QString>

namespace zf {

class TmyDataBase;

// One login attempt: an empty user or password fails without asking the database, so an account
// with an empty stored password can never log in. On success the login state's restricted flag
// is set for "pracownik" and for an employee logged in by number.
bool attemptLogin(TmyDataBase& db, const QString& user, const QString& password);

} // namespace zf
