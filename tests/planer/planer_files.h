#pragma once

#include "cipher/cipher.h"
#include "planfiles/planfile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Plan files as the office's export writes them (the same build and write functions), for the
// editor's suites.
namespace zf::test {

// A plan of 2027: 2 days carried over and 26 for this year, the weekends of July and New Year's
// Day as non-working days, 12-16 July chosen (the 16th also fixed), 24 December fixed but not
// chosen, and 20270717 (a non-working Saturday) chosen by mistake.
inline PlanFileContent samplePlan()
{
    PlanFileContent c;
    c.year = 2027;
    c.employeeKey = QStringLiteral("P17");
    c.name = QStringLiteral("Łucja");
    c.surname = QStringLiteral("Wiśniewska");
    c.lastYearDays = 2;
    c.thisYearDays = 26;
    c.stamp = 5;
    c.freeDays = {20270101};
    for (const int day : {3, 4, 10, 11, 17, 18, 24, 25, 31})
        c.freeDays << 20270700 + day;
    c.comment = QStringLiteral("Plany do 15 marca.\nPytania: pokój 12.");
    c.checkRange = true;
    c.selectedDays = {20270712, 20270713, 20270714, 20270715, 20270716, 20270717};
    c.unchangeableDays = {20270716, 20271224};
    return c;
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray clearTextOf(const QString& path)
{
    return DecryptString(readAll(path), kPlanFileCipherKey);
}

} // namespace zf::test
