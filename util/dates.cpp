#include "util/dates.h"

#include "util/clock.h"

#include <QLocale>

#include <optional>

namespace zf {

namespace {
// The locale whose short date format gives the separator, once the default is no longer it.
std::optional<QLocale> g_dateLocale;
} // namespace

namespace {

QChar g_separator = QLatin1Char('-');

constexpr int kSmallestDateNumber = 10000000;
constexpr int kLargestDateNumber = 99999999;

bool hasEightDigits(int n)
{
    return n >= kSmallestDateNumber && n <= kLargestDateNumber;
}

// The number made of the characters [from, from + count) of text; -1 unless all are ASCII digits.
int digitsAt(const QString& text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

struct TextParts
{
    int day = -1;
    int month = -1;
    int year = -1;
    bool ok() const { return day >= 0 && month >= 0 && year >= 0; }
};

TextParts splitDateText(const QString& text)
{
    TextParts parts;
    if (text.size() != 10)
        return parts;
    parts.day = digitsAt(text, 0, 2);
    parts.month = digitsAt(text, 3, 2);
    parts.year = digitsAt(text, 6, 4);
    return parts;
}

} // namespace

void setDateSeparator(QChar separator)
{
    g_separator = separator;
}

QChar dateSeparator()
{
    return g_separator;
}

QChar dateSeparatorFromFormat(const QString& shortDateFormat)
{
    // The first separator outside quoted literal text decides.
    bool quoted = false;
    for (const QChar c : shortDateFormat) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('-') || c == QLatin1Char('.')
                             || c == QLatin1Char('/')))
            return c;
    }
    return QLatin1Char('-');
}

void keepDateSeparatorLocale(const QLocale& locale)
{
    g_dateLocale = locale;
}

QChar systemDateSeparator()
{
    // The default locale is the system's unless the program (or a test) sets another; the
    // Polish default for the names of months and days leaves the rule with the system's.
    const QLocale locale = g_dateLocale ? *g_dateLocale : QLocale();
    return dateSeparatorFromFormat(locale.dateFormat(QLocale::ShortFormat));
}

QString dateTextFormat()
{
    return QStringLiteral("dd") + g_separator + QStringLiteral("MM") + g_separator
           + QStringLiteral("yyyy");
}

QString emptyDateText()
{
    return QStringLiteral("  ") + g_separator + QStringLiteral("  ") + g_separator
           + QStringLiteral("    ");
}

const QStringList& dayOfWeekAbbreviations()
{
    static const QStringList names = {
        QStringLiteral("Nd"), QStringLiteral("Pn"), QStringLiteral("Wt"), QStringLiteral("Śr"),
        QStringLiteral("Cz"), QStringLiteral("Pt"), QStringLiteral("Sb"),
    };
    return names;
}

const QStringList& monthAbbreviations()
{
    static const QStringList names = {
        QStringLiteral("Sty"), QStringLiteral("Lut"), QStringLiteral("Mar"),
        QStringLiteral("Kwi"), QStringLiteral("Maj"), QStringLiteral("Cze"),
        QStringLiteral("Lip"), QStringLiteral("Sie"), QStringLiteral("Wrz"),
        QStringLiteral("Paź"), QStringLiteral("Lis"), QStringLiteral("Gru"),
    };
    return names;
}

QString dayOfWeekAbbreviation(int dateNumber)
{
    const int iso = DayOfWeekIso(dateNumber);
    return iso == 0 ? QString() : dayOfWeekAbbreviations().at(iso % 7);
}

QString monthAbbreviation(int month)
{
    return month >= 1 && month <= 12 ? monthAbbreviations().at(month - 1) : QString();
}

int MakeDateNumber(int day, int month, int year)
{
    return year * 10000 + month * 100 + day;
}

bool IsValidDateNumber(int n)
{
    return hasEightDigits(n) && QDate::isValid(n / 10000, n / 100 % 100, n % 100);
}

QDate DateNumberToDate(int n)
{
    return IsValidDateNumber(n) ? QDate(n / 10000, n / 100 % 100, n % 100) : QDate();
}

int DateToDateNumber(const QDate& date)
{
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999)
        return 0;
    return MakeDateNumber(date.day(), date.month(), date.year());
}

QString DateNumberToText(int n)
{
    if (!hasEightDigits(n))
        return QString();
    const QLatin1Char zero('0');
    return QStringLiteral("%1").arg(n % 100, 2, 10, zero) + g_separator
           + QStringLiteral("%1").arg(n / 100 % 100, 2, 10, zero) + g_separator
           + QString::number(n / 10000);
}

bool IsValidDateText(const QString& text)
{
    const TextParts p = splitDateText(text);
    return p.ok() && p.year >= 1000 && p.month >= 1 && p.month <= 12 && p.day >= 1
           && p.day <= 31;
}

int DateTextToNumber(const QString& text)
{
    const TextParts p = splitDateText(text);
    return p.ok() ? MakeDateNumber(p.day, p.month, p.year) : 0;
}

int DateTextToNumberOrToday(const QString& text)
{
    const int n = DateTextToNumber(text);
    return n != 0 ? n : DateToDateNumber(clock().today());
}

QDate DateTextToDate(const QString& text)
{
    if (IsValidDateText(text)) {
        const TextParts p = splitDateText(text);
        const QDate date(p.year, p.month, p.day);
        if (date.isValid())
            return date;
    }
    return clock().today();
}

int AddDays(int n, int k)
{
    const QDate date = DateNumberToDate(n);
    return date.isValid() ? DateToDateNumber(date.addDays(k)) : 0;
}

int DayOfWeekIso(int n)
{
    const QDate date = DateNumberToDate(n);
    return date.isValid() ? date.dayOfWeek() : 0;
}

int DayOfYear(int n)
{
    const QDate date = DateNumberToDate(n);
    return date.isValid() ? date.dayOfYear() : 0;
}

int DateOfDayOfYear(int k, int year)
{
    const QDate first(year, 1, 1);
    if (year < 1000 || year > 9999 || k < 1 || k > first.daysInYear())
        return 0;
    return DateToDateNumber(first.addDays(k - 1));
}

int DayPart(int n)
{
    return IsValidDateNumber(n) ? n % 100 : 1;
}

int MonthPart(int n)
{
    return IsValidDateNumber(n) ? n / 100 % 100 : 1;
}

int YearPart(int n)
{
    return IsValidDateNumber(n) ? n / 10000 : 1;
}

int EasterSunday(int year)
{
    // Below year 1 the remainders turn negative and 29 / (h + 1) could divide by zero; above
    // 9999 there is no date number.
    if (year < 1 || year > 9999)
        return 0;
    const int g = year % 19;
    const int c = year / 100;
    const int h = (c - c / 4 - (8 * c + 13) / 25 + 19 * g + 15) % 30;
    const int i = h - (h / 28) * (1 - ((29 / (h + 1)) * (21 - g)) / 11);
    const int j = (year + year / 4 + i + 2 - c + c / 4) % 7;
    const int l = i - j;
    const int month = 3 + (l + 40) / 44;
    const int day = l + 28 - 31 * (month / 4);
    return MakeDateNumber(day, month, year);
}

int PentecostSunday(int year)
{
    return AddDays(EasterSunday(year), 49);
}

int CorpusChristi(int year)
{
    return AddDays(EasterSunday(year), 60);
}

} // namespace zf
