#pragma once

// A small plan for 2023 (a common year): two employees, one of them in the unit "Dział kadr",
// non-working days around Epiphany and leave days, one of them on a non-working day.
#include "tests/support/test_database.h"

namespace zf::test {

inline constexpr int kSeedYear = 2023;
inline constexpr int kSeedUnit = 9001;

inline void seedReportPlan(TestDatabase& t)
{
    t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS) VALUES (2023, 5)"));
    t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES "
                          "(9001, 'ZESPO', 'Dział kadr')"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT) VALUES "
                          "('P1', 'Kowalska', 'Żaneta', 9001)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT) VALUES "
                          "('P2', 'Nowak', 'Jędrzej', -1)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                          "THISYEARDAYS, SICKDAYS) VALUES (2023, 'P1', 2, 26, 2)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                          "THISYEARDAYS, NURSINGDAYS, OTHERDAYS, OTHERDESCR) VALUES "
                          "(2023, 'P2', 0, 20, 1, 3, 'szkolenie BHP')"));
    for (int day : {20230106, 20230107, 20230108, 20230501})
        t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, %1)").arg(day));
    for (int day : {20230103, 20230104, 20230106, 20230210})
        t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                              "VALUES (2023, 'P1', %1)")
                   .arg(day));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                          "(2023, 'P1', 20230104)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                          "(2023, 'P2', 20230815)"));
}

} // namespace zf::test
