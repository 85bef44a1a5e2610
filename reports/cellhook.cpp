#include "reports/cellhook.h"

#include "reports/reporttemplate.h"

#include <QDate>

namespace zf {

namespace {

// 28 to 31 for the texts of the month's last day cells, else 0.
int lastDaysCell(const QString& t)
{
    static const QStringList plain = {QStringLiteral("28"), QStringLiteral("29"),
                                      QStringLiteral("30"), QStringLiteral("31")};
    static const QStringList variables = {QStringLiteral("[D28]"), QStringLiteral("[D29]"),
                                          QStringLiteral("[D30]"), QStringLiteral("[D31]")};
    int i = plain.indexOf(t);
    if (i < 0)
        i = variables.indexOf(t);
    return i < 0 ? 0 : 28 + i;
}

} // namespace

void ApplyScheduleCellHook(ScheduleCellState& state, QString& t, QColor& fill, unsigned& frame)
{
    using namespace report;
    bool restore = false;
    if (t.startsWith(QLatin1String("mc"))) {
        state.month = t.mid(2, 2).toInt();
        t = t.mid(4);
    } else if (t.startsWith(QLatin1String("[mc"))) {
        state.month = t.mid(3, 2).toInt();
        t = QLatin1Char('[') + t.mid(5);
        restore = true;
    }
    // A month left at 0 (or a damaged prefix) names no real date: such cells stay as written.
    const bool realMonth = state.month >= 1 && state.month <= 12 && state.year >= 1000 &&
                           state.year <= 9999;
    bool blanked = false;
    const int n = lastDaysCell(t);
    if (n > 0 && realMonth) {
        const int length = QDate(state.year, state.month, 1).daysInMonth();
        if (n > length) {
            t.clear();
            fill = fromWindowsColor(kColorWhite);
            // Only the line that closes the month's last day: the blank cells after it stand
            // open, so no line is left standing on its own in the middle of the row.
            frame = n == length + 1 ? FrameLeft : FrameNone;
            blanked = true;
        }
    }
    if (!blanked && realMonth && !t.isEmpty() && t[0].isDigit()) {
        bool ok = false;
        const int d = t.toInt(&ok);
        const QDate date(state.year, state.month, ok ? d : 0);
        if (date.isValid() && date.dayOfWeek() >= 6)
            fill = fromWindowsColor(kColorGrey);
    }
    if (t.startsWith(QLatin1String("[D"))) {
        bool ok = false;
        const int day = t.mid(2, 2).toInt(&ok);
        if (ok && day >= 1 && day <= 31 && state.days && !(*state.days)[day - 1].working) {
            t.clear();
            fill = fromWindowsColor(kColorGrey);
        }
    }
    if (restore && !t.isEmpty())
        t = QStringLiteral("[mc%1").arg(state.month, 2, 10, QLatin1Char('0')) + t.mid(1);
}

QString DayVariable(const DayTable& days, const QString& name, bool* handled)
{
    *handled = false;
    if (name.size() != 3 || name[0] != QLatin1Char('D'))
        return {};
    bool ok = false;
    const int day = name.mid(1).toInt(&ok);
    if (!ok || day < 1 || day > 31)
        return {};
    *handled = true;
    const ReportDay& d = days[day - 1];
    if (!d.selected)
        return d.unchangeable ? QStringLiteral("!") : QString();
    return d.unchangeable ? QStringLiteral("V!") : QStringLiteral("V");
}

} // namespace zf
