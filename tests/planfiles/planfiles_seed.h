#pragma once

#include <QString>
#include <QStringList>

// The plan both planfiles suites start from: the plan of 2024 with its folder, two non-working
// days, one unit, and three employees in the plan (Adam and Beata in unit 905, Cezary in none),
// with chosen and unchangeable days, one of them on a non-working day.
namespace zf::test {

inline QStringList planSeed(const QString& folder)
{
    return {
        QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES (905, "
                       "'ZESPO', 'Kadry testowe')"),
        QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2024, 2, '%1/')")
            .arg(folder),
        QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, 20240101)"),
        QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, 20240501)"),
        QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, FILENAME, PWD) "
                       "VALUES ('A1', 'Adamski', 'Adam', 905, 'adam', 'pa')"),
        QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, FILENAME, PWD) "
                       "VALUES ('B2', 'Bednarz', 'Beata', 905, 'beata', 'pb')"),
        QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, FILENAME, PWD) "
                       "VALUES ('C3', 'Cichy', 'Cezary', -1, 'cezary', 'pc')"),
        QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                       "THISYEARDAYS, CHECKSUM) VALUES (2024, 'A1', 3, 26, 11)"),
        QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                       "THISYEARDAYS, CHECKSUM) VALUES (2024, 'B2', 0, 20, 0)"),
        QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                       "THISYEARDAYS, CHECKSUM) VALUES (2024, 'C3', 1, 26, -7)"),
        QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                       "(2024, 'A1', 20240702)"),
        QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                       "(2024, 'A1', 20240501)"),
        QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                       "(2024, 'A1', 20240301)"),
        QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                       "(2024, 'A1', 20241224)"),
        QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                       "(2024, 'B2', 20240805)"),
    };
}

} // namespace zf::test
