#include "util/ovutilities.h"

#include "util/dates.h"

#include "util/clock.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

namespace zf {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString& text, int from, int count)
{
    for (int i = from; i < from + count; ++i) {
        if (!isAsciiDigit(text.at(i)))
            return false;
    }
    return true;
}

// Blanks and control characters, as a trim of 8-bit text sees them.
bool isTrimmed(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

TOVUtilities::TOVUtilities(QChar dateSeparator)
    : m_dateSeparator(dateSeparator),
      m_dateEditMask(QStringLiteral("  ") + dateSeparator + QStringLiteral("  ") + dateSeparator +
                     QStringLiteral("    ")),
      m_timeEditMask(QStringLiteral("  :  ")),
      m_dateFormat(QStringLiteral("dd") + dateSeparator + QStringLiteral("MM") + dateSeparator +
                   QStringLiteral("yyyy"))
{
}

QChar TOVUtilities::SystemDateSeparator()
{
    return systemDateSeparator();
}

void TOVUtilities::SetDataSubFolder(const QString& subFolder)
{
    if (subFolder != m_dataSubFolder)
        m_userDataFolder.clear();
    m_dataSubFolder = subFolder;
}

QString TOVUtilities::UserDataFolder()
{
    if (m_userDataFolder.isEmpty()) {
        QString sub = m_dataSubFolder;
        sub.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        // cleanPath also drops a doubled or trailing separator.
        m_userDataFolder = QDir::cleanPath(base + QLatin1Char('/') + sub);
    }
    return m_userDataFolder;
}

QStringList TOVUtilities::Split(QChar separator, const QString& text)
{
    QStringList pieces = text.split(separator);
    if (pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

QString TOVUtilities::Spaces(int count)
{
    return count > 0 ? QString(count, QLatin1Char(' ')) : QString();
}

int TOVUtilities::TrimmedLength(const QString& text)
{
    int begin = 0;
    int end = static_cast<int>(text.size());
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    return end - begin;
}

bool TOVUtilities::IsDateText(const QString& text)
{
    if (text.size() != 10 || !allDigits(text, 0, 2) || !allDigits(text, 3, 2) ||
        !allDigits(text, 6, 4))
        return false;
    const int day = text.mid(0, 2).toInt();
    const int month = text.mid(3, 2).toInt();
    const int year = text.mid(6, 4).toInt();
    return year >= 1000 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

QDateTime TOVUtilities::DateFromText(const QString& text)
{
    if (IsDateText(text)) {
        const QDate date(text.mid(6, 4).toInt(), text.mid(3, 2).toInt(), text.mid(0, 2).toInt());
        if (date.isValid())
            return QDateTime(date, QTime(0, 0));
    }
    return clock().now();
}

} // namespace zf
