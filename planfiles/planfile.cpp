#include "planfiles/planfile.h"

#include "cipher/cipher.h"
#include "planfiles/simplexmlparser.h"
#include "util/dates.h"
#include "util/ovtools.h"
#include "util/textcodec.h"

#include <QSet>

#include <algorithm>
#include <limits>
#include <string>

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

// --- the employees' editor ----------------------------------------------------------------------
namespace zf {

namespace {

// The 0-based index just after the element the reader found last.
qsizetype afterLast(const TSimpleXMLParser& r)
{
    return r.Position() - 1;
}

constexpr qsizetype tagLength(const char* tag)
{
    return static_cast<qsizetype>(std::char_traits<char>::length(tag));
}


PlanFileFault readEditable(const QByteArray& text, EditablePlanFile& out)
{
    using F = PlanFileFault;
    out = EditablePlanFile{};
    out.text = text;
    PlanFileContent& c = out.content;
    QByteArray value;

    // The year first: the day lists are read against it.
    {
        TSimpleXMLParser y;
        y.SetText(text);
        if (!y.ReadElement("IDYEAR", value))
            return F::NoYear;
        int year = 0;
        if (!ParseStamp(value, year) || year < kMinPlanYear || year > kMaxPlanYear)
            return F::BadYear;
        c.year = year;
    }

    // `r` reads what the office's import reads, in its order, so it finds the same elements.
    TSimpleXMLParser r;
    r.SetText(text);
    if (!r.ReadElement("IDEMPLOYEE", value))
        return F::NoEmployeeKey;
    c.employeeKey = fromCp1250(value);
    if (!r.ReadElement("NAME", value))
        return F::NoName;
    c.name = fromCp1250(value);
    if (!r.ReadElement("SURNAME", value))
        return F::NoSurname;
    c.surname = fromCp1250(value);

    // The import skips the rest of EMPLOYEE; read it from the same place on.
    const qsizetype afterSurname = afterLast(r);
    TSimpleXMLParser e;
    e.SetText(text.mid(afterSurname));
    if (!e.ReadElement("PWD", value))
        return F::NoPassword;
    c.password = fromCp1250(value);
    QByteArray last, current;
    if (!e.ReadElement("LASTYEARDAYS", last) || !e.ReadElement("THISYEARDAYS", current))
        return F::NoEntitlement;
    if (!ParseStamp(last, c.lastYearDays) || !ParseStamp(current, c.thisYearDays))
        return F::BadEntitlement;
    const qsizetype afterEmployee = afterSurname + afterLast(e);

    if (!r.ReadElement("CHECKSUM", value))
        return F::NoStamp;
    if (!ParseStamp(value, c.stamp))
        return F::BadStamp;
    // A whole number holds no "<", so the value stands in the text as read.
    out.stampEnd = afterLast(r) - tagLength("</CHECKSUM>");
    out.stampBegin = out.stampEnd - value.size();
    const qsizetype stampTag = out.stampBegin - tagLength("<CHECKSUM>");
    if (stampTag < afterEmployee || text.mid(stampTag, tagLength("<CHECKSUM>")) != "<CHECKSUM>")
        return F::Misplaced;

    // The rest of SETTINGS, which the import skips too.
    const qsizetype afterStamp = afterLast(r);
    TSimpleXMLParser s;
    s.SetText(text.mid(afterStamp));
    const auto freeDays = s.ReadSubParser("FREEDAYS");
    if (!freeDays)
        return F::NoFreeDays;
    c.freeDays = readDays(*freeDays, c.year);
    if (!s.ReadElement("COMMENT", value))
        return F::NoComment;
    c.comment = fromCp1250(value);
    if (!s.ReadElement("CHECKRANGE", value))
        return F::NoCheckRange;
    if (value != "0" && value != "1")
        return F::BadCheckRange;
    c.checkRange = value == "1";
    const qsizetype afterSettings = afterStamp + afterLast(s);

    const auto selected = r.ReadSubParser("SELECTEDDAYS");
    if (!selected)
        return F::NoSelectedDays;
    c.selectedDays = readDays(*selected, c.year);
    // The reader took the first opening tag after CHECKSUM and the first closing tag after it.
    const qsizetype daysTag = text.indexOf("<SELECTEDDAYS>", afterStamp);
    out.daysBegin = daysTag + tagLength("<SELECTEDDAYS>");
    out.daysEnd = afterLast(r) - tagLength("</SELECTEDDAYS>");
    // An opening tag inside the comment, say, would make the new days replace the settings.
    if (daysTag < afterSettings || out.daysBegin > out.daysEnd)
        return F::Misplaced;
    qsizetype end = afterLast(r);
    if (const auto fixed = r.ReadSubParser("UNCHANGEABLEDAYS")) {
        c.unchangeableDays = readDays(*fixed, c.year);
        end = afterLast(r);
    }
    if (text.indexOf("</ZEFIRANT>", end) < 0)
        return F::Truncated;
    return F::None;
}

bool sameButStampAndChoice(const PlanFileContent& a, const PlanFileContent& b)
{
    return a.year == b.year && a.employeeKey == b.employeeKey && a.name == b.name &&
           a.surname == b.surname && a.password == b.password &&
           a.lastYearDays == b.lastYearDays && a.thisYearDays == b.thisYearDays &&
           a.freeDays == b.freeDays && a.comment == b.comment && a.checkRange == b.checkRange &&
           a.unchangeableDays == b.unchangeableDays;
}

} // namespace

PlanFileFault ReadEditablePlanFile(const QByteArray& text, EditablePlanFile& out)
{
    const PlanFileFault fault = readEditable(text, out);
    if (fault != PlanFileFault::None)
        return fault;
    // The reader takes the first closing tag after its place even when it stands before the
    // opening one, and then goes on from there: a damaged tag can make it find an element
    // inside the chosen days, which a save replaces. Such a file, once saved, would not open
    // again (nor be read by the office), so it is refused now.
    EditablePlanFile trial;
    const QByteArray saved = RewritePlanFileText(out, NextPlanFileStamp(out.content.stamp), {});
    if (readEditable(saved, trial) != PlanFileFault::None ||
        !sameButStampAndChoice(trial.content, out.content))
        return PlanFileFault::Misplaced;
    return PlanFileFault::None;
}

QByteArray RewritePlanFileText(const EditablePlanFile& file, int stamp, QList<int> selectedDays)
{
    std::sort(selectedDays.begin(), selectedDays.end());
    selectedDays.erase(std::unique(selectedDays.begin(), selectedDays.end()), selectedDays.end());
    TSimpleXMLParser days;
    for (const int day : selectedDays)
        days.WriteElement("DAY", number(day));
    const QByteArray& t = file.text;
    QByteArray out;
    out.reserve(t.size() + days.GetText().size());
    out += QByteArrayView(t).first(file.stampBegin);
    out += number(stamp);
    out += QByteArrayView(t).sliced(file.stampEnd, file.daysBegin - file.stampEnd);
    out += days.GetText();
    out += QByteArrayView(t).sliced(file.daysEnd);
    return out;
}

int NextPlanFileStamp(int stamp)
{
    return stamp == std::numeric_limits<int>::max() ? std::numeric_limits<int>::min() : stamp + 1;
}

} // namespace zf
