#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace zf {

// Small services shared by the whole program; one instance is created at start-up.
class TOVUtilities
{
public:
    // The date separator fixes the date edit mask and the date format.
    explicit TOVUtilities(QChar dateSeparator = SystemDateSeparator());

    // The separator of the default locale's short date format when that is "-", "." or "/",
    // else "-".
    static QChar SystemDateSeparator();

    // The program's sub-folder below the common application-data folder, e.g.
    // "\Orvantis\Zefirant"; "\" is read as the path separator.
    void SetDataSubFolder(const QString& subFolder);
    // The common application-data folder followed by the sub-folder, without a trailing
    // separator. Looked up on first use only; a new sub-folder forgets the stored answer.
    QString UserDataFolder();

    // The pieces between separators. Empty pieces stay, except after the last separator.
    static QStringList Split(QChar separator, const QString& text);
    static QString Spaces(int count);
    // Length without leading and trailing blanks and control characters.
    static int TrimmedLength(const QString& text);
    // "dd?mm?yyyy" with any character in place of the separators; the day is checked against
    // 1..31 only, not against the month's length.
    static bool IsDateText(const QString& text);
    // The date of such a text at midnight; now, when the text is no date text or no real date.
    static QDateTime DateFromText(const QString& text);

    QChar DateSeparator() const { return m_dateSeparator; }
    // "  -  -    ": the empty date text.
    const QString& DateEditMask() const { return m_dateEditMask; }
    // "  :  ": the empty time text.
    const QString& TimeEditMask() const { return m_timeEditMask; }
    // For QDate::toString / QDate::fromString: "dd-MM-yyyy".
    const QString& DateFormat() const { return m_dateFormat; }

private:
    QString m_dataSubFolder;
    QString m_userDataFolder; // empty until first asked
    QChar m_dateSeparator;
    QString m_dateEditMask;
    QString m_timeEditMask;
    QString m_dateFormat;
};

} // namespace zf
