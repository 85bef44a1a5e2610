#pragma once

#include <QString>

namespace zf {

// What the login leaves behind for the whole run.
struct LoginState
{
    // The user "pracownik" or an employee logged in by number: the program only shows data.
    bool restricted = false;
    // Personnel number of an employee who logged in by number; empty for the users of USERS.
    QString employee;
    // "DISALLOWEDIT" is 1: an employee logged in by number may not edit an approved plan.
    bool approvedPlanLock = false;
};

} // namespace zf
