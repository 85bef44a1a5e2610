#include "planfiles/planfile.h"

#include "planfiles/cipher.h"
#include "planfiles/simplexmlparser.h"
#include "util/dates.h"
#include "util/ovtools.h"
#include "util/textcodec.h"

#include <QSet>

#include <limits>

namespace zf {

namespace {

QByteArray number(int n)
{
    return QByteArray::number(n);
}

void writeDays(TSimpleXMLParser& w, const char* list, const QList<int>& days)
{
    w.OpenTag(list);
    for (const int day : days)
        w.WriteElement("DAY", number(day));
    w.CloseTag(list);
}

// Every DAY of a list element's value that is a real date of the year, each once, in order.
QList<int> readDays(TSimpleXMLParser& list, int year)
{
    QList<int> days;
    QSet<int> seen;
    QByteArray value;
    while (list.ReadElement("DAY", value)) {
        int day = 0;
        if (ParseDay(value, year, day) && !seen.contains(day)) {
            seen.insert(day);
            days.append(day);
        }
    }
    return days;
}

} // namespace

QString PlanFilePath(const QString& planFolder, const QString& fileName)
{
    return TOVTools::ExcludeTrailingBackslash(planFolder) + QLatin1Char('/') + fileName +
           QLatin1String(kPlanFileExtension);
}

bool IsSafePlanFileName(const QString& fileName)
{
    return !fileName.contains(QLatin1Char('/')) && !fileName.contains(QLatin1Char('\\')) &&
           !fileName.contains(QLatin1String("..")) && !fileName.contains(QChar(0));
}

QString FieldThatWouldNotReadBack(const PlanFileContent& c)
{
    const QString endTag = QStringLiteral("</");
    const std::pair<QString, const QString*> fields[] = {
        {QStringLiteral("Numer ewidencyjny"), &c.employeeKey},
        {QStringLiteral("Imię"), &c.name},
        {QStringLiteral("Nazwisko"), &c.surname},
        {QStringLiteral("Hasło"), &c.password},
        {QStringLiteral("Komentarz"), &c.comment},
    };
    for (const auto& [label, value] : fields)
        if (value->contains(endTag))
            return label;
    return {};
}

QByteArray BuildPlanFileText(const PlanFileContent& c)
{
    TSimpleXMLParser w;
    w.OpenTag("ZEFIRANT");
    w.WriteElement("IDYEAR", number(c.year));
    w.OpenTag("SETTINGS");
    w.OpenTag("EMPLOYEE");
    w.WriteElement("IDEMPLOYEE", toCp1250(c.employeeKey));
    w.WriteElement("NAME", toCp1250(c.name));
    w.WriteElement("SURNAME", toCp1250(c.surname));
    w.WriteElement("PWD", toCp1250(c.password));
    w.WriteElement("LASTYEARDAYS", number(c.lastYearDays));
    w.WriteElement("THISYEARDAYS", number(c.thisYearDays));
    w.CloseTag("EMPLOYEE");
    w.WriteElement("CHECKSUM", number(c.stamp));
    writeDays(w, "FREEDAYS", c.freeDays);
    w.WriteElement("COMMENT", toCp1250(c.comment));
    w.WriteElement("CHECKRANGE", c.checkRange ? "1" : "0");
    w.CloseTag("SETTINGS");
    writeDays(w, "SELECTEDDAYS", c.selectedDays);
    writeDays(w, "UNCHANGEABLEDAYS", c.unchangeableDays);
    w.CloseTag("ZEFIRANT");
    return w.GetText();
}

QByteArray BuildPlanFileBytes(const PlanFileContent& content)
{
    return EncryptString(BuildPlanFileText(content), kPlanFileCipherKey);
}

bool ParseStamp(const QByteArray& text, int& value)
{
    const bool negative = text.startsWith('-');
    const qsizetype digits = text.size() - (negative ? 1 : 0);
    if (digits < 1 || digits > 10)
        return false;
    qint64 n = 0;
    for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
        const char ch = text.at(i);
        if (ch < '0' || ch > '9')
            return false;
        n = n * 10 + (ch - '0');
    }
    if (negative)
        n = -n;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(n);
    return true;
}

bool ParseDay(const QByteArray& text, int year, int& day)
{
    if (text.size() != 8)
        return false;
    int n = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        n = n * 10 + (ch - '0');
    }
    if (!IsValidDateNumber(n) || n / 10000 != year)
        return false;
    day = n;
    return true;
}

bool ParsePlanFileText(const QByteArray& text, int planYear, PlanFileData& out)
{
    {
        // IDYEAR stands before everything else read below; a reader of its own leaves their
        // reading exactly as it was.
        TSimpleXMLParser y;
        y.SetText(text);
        y.ReadElement("IDYEAR", out.year);
    }
    TSimpleXMLParser r;
    r.SetText(text);
    QByteArray key, name, surname, stamp;
    if (!r.ReadElement("IDEMPLOYEE", key) || !r.ReadElement("NAME", name) ||
        !r.ReadElement("SURNAME", surname) || !r.ReadElement("CHECKSUM", stamp))
        return false;
    out.employeeKey = fromCp1250(key);
    out.name = fromCp1250(name);
    out.surname = fromCp1250(surname);
    int stampValue = 0;
    if (!ParseStamp(stamp, stampValue))
        return false;
    out.stamp = stampValue;
    out.selectedDays.clear();
    out.unchangeableDays.clear();
    const auto selected = r.ReadSubParser("SELECTEDDAYS");
    if (!selected)
        return false;
    out.selectedDays = readDays(*selected, planYear);
    if (const auto unchangeable = r.ReadSubParser("UNCHANGEABLEDAYS"))
        out.unchangeableDays = readDays(*unchangeable, planYear);
    return true;
}

bool IsOfPlanYear(const QByteArray& idYear, int planYear)
{
    int year = 0;
    return ParseStamp(idYear, year) && year == planYear;
}

} // namespace zf
