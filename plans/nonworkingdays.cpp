#include "plans/nonworkingdays.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "util/dates.h"

#include <QFile>

#include <algorithm>

namespace zf {

namespace {

// Longer lines cannot be dates; they are skipped without being kept.
constexpr qsizetype kLongestKeptLine = 64;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digits(const QByteArray& line, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        if (!isDigit(line[i]))
            return -1;
        value = value * 10 + (line[i] - '0');
    }
    return value;
}

void setDay(YearDays& days, int dateNumber)
{
    days[MonthPart(dateNumber) - 1][DayPart(dateNumber) - 1].selected = true;
}

} // namespace

QList<int> StatutoryHolidays(int year)
{
    QList<int> result;
    const auto fixed = [&](int day, int month) { result.append(MakeDateNumber(day, month, year)); };
    fixed(1, 1);
    if (year >= 2011)
        fixed(6, 1);
    fixed(1, 5);
    fixed(3, 5);
    fixed(15, 8);
    fixed(1, 11);
    fixed(11, 11);
    if (year >= 2025)
        fixed(24, 12);
    fixed(25, 12);
    fixed(26, 12);
    const int easter = EasterSunday(year);
    if (easter > 0) {
        result.append(easter);
        result.append(AddDays(easter, 1));
        result.append(PentecostSunday(year));
        result.append(CorpusChristi(year));
    }
    result.removeAll(0);
    std::sort(result.begin(), result.end());
    return result;
}

void MarkStatutoryHolidays(int year, YearDays& days)
{
    for (const int day : StatutoryHolidays(year))
        setDay(days, day);
}

int CalendarLineDate(const QByteArray& line)
{
    if (line.size() != 10)
        return 0;
    const int day = digits(line, 0, 2);
    const int month = digits(line, 3, 2);
    const int year = digits(line, 6, 4);
    if (day < 1 || month < 1 || month > 12 || year < 1000)
        return 0;
    const int n = MakeDateNumber(day, month, year);
    return IsValidDateNumber(n) ? n : 0;
}

bool ReadCalendarFile(const QString& path, int year, YearDays& days)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    YearDays result = days;
    QByteArray line;
    bool overlong = false;
    bool afterCr = false;
    bool firstLine = true;
    const auto endLine = [&] {
        if (firstLine && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3); // a byte-order mark of a file saved as UTF-8
        firstLine = false;
        if (!overlong) {
            const int n = CalendarLineDate(line);
            if (n > 0 && YearPart(n) == year)
                setDay(result, n);
        }
        line.clear();
        overlong = false;
    };
    char buffer[65536];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        for (qint64 i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!afterCr)
                    endLine();
                afterCr = false;
            } else if (c == '\r') {
                endLine();
                afterCr = true;
            } else {
                afterCr = false;
                if (line.size() < kLongestKeptLine)
                    line.append(c);
                else
                    overlong = true;
            }
        }
    }
    if (!line.isEmpty() || overlong)
        endLine();
    days = result;
    return true;
}

bool LoadNonWorkingDays(TmyDataBase& db, int year, YearDays& days)
{
    days = MakeYearDays(true);
    db.OpenCalendar(year);
    fb::DataSet& list = db.DBFCalendar;
    if (!list.isOpen())
        return false;
    for (int row = 0; row < list.recordCount(); ++row) {
        const int n = list.valueAt(row, list.fieldIndex(QStringLiteral("FREEDAY"))).toInt();
        // A stored day outside the plan year or not a real date has no slot to show it in.
        if (IsValidDateNumber(n) && YearPart(n) == year)
            setDay(days, n);
    }
    return true;
}

bool SaveNonWorkingDays(TmyDataBase& db, int year, const YearDays& days)
{
    fb::Statement& st = db.DBFWorkingSQL;
    try {
        fb::TransactionGuard guard(db.DBFTransaction);
        st.setTransaction(&db.DBFTransaction);
        st.close();
        st.setSql(TmyDataBase::DBFUCalendar.deleteSql);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.execute();
        st.setSql(TmyDataBase::DBFUCalendar.insertSql);
        st.prepare();
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= 31; ++d) {
                const int n = MakeDateNumber(d, m, year);
                if (!days[m - 1][d - 1].selected || !IsValidDateNumber(n))
                    continue;
                st.setParam(QStringLiteral("IDYEAR"), year);
                st.setParam(QStringLiteral("FREEDAY"), n);
                st.execute();
            }
        }
        st.close();
        guard.commit();
        return true;
    } catch (const Exception& e) {
        st.close();
        db.DBFTransaction.rollbackQuietly();
        db.ReportUnexpectedError(e.message() + QStringLiteral("\n\n") + kSaveKeptHint, true,
                                 kCodeSaveCalendar);
        return false;
    }
}

} // namespace zf
