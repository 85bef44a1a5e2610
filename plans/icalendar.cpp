#include "plans/icalendar.h"

#include "data/fb/error.h"
#include "data/mydatabase.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <array>

namespace zf {

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
constexpr int kFoldOctets = 75;

QByteArray dateValue(int year, int day)
{
    return QByteArray::number(DateOfDayOfYear(day, year));
}

void addLine(QByteArray& out, const QString& line)
{
    out += FoldCalendarLine(line.toUtf8());
    out += kCrLf;
}

void addEvents(QByteArray& out, const OverviewData& data, const THolidayPlanEntry& e,
               const QByteArray& stamp, const QString& databaseId)
{
    const QString summary =
        EscapeCalendarText(QStringLiteral("Urlop: ") + e.NAME + QLatin1Char(' ') + e.SURNAME);
    for (const LeaveRun& run : LeaveRuns(data, e)) {
        const QDate end = DateNumberToDate(DateOfDayOfYear(run.lastDay, data.year)).addDays(1);
        addLine(out, QStringLiteral("BEGIN:VEVENT"));
        addLine(out, QStringLiteral("UID:") + EscapeCalendarText(LeaveRunUid(data.year, e.IDEMPLOYEE, run, databaseId)));
        addLine(out, QStringLiteral("DTSTAMP:") + QString::fromLatin1(stamp));
        addLine(out, QStringLiteral("DTSTART;VALUE=DATE:") +
                         QString::fromLatin1(dateValue(data.year, run.firstDay)));
        // The end of an all-day event is the day after its last day.
        addLine(out, QStringLiteral("DTEND;VALUE=DATE:") + end.toString(QStringLiteral("yyyyMMdd")));
        addLine(out, QStringLiteral("SUMMARY:") + summary);
        addLine(out, QStringLiteral("TRANSP:TRANSPARENT"));
        addLine(out, QStringLiteral("END:VEVENT"));
    }
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
}

} // namespace

QList<LeaveRun> LeaveRuns(const OverviewData& data, const THolidayPlanEntry& e)
{
    QList<LeaveRun> runs;
    const int days = data.dayCount();
    LeaveRun current;
    for (int d = 1; d <= days; ++d) {
        if (e.isLeave(d)) {
            if (current.firstDay == 0)
                current.firstDay = d;
            current.lastDay = d;
        } else if (data.isWorkingDay(d) && current.firstDay != 0) {
            runs << current;
            current = LeaveRun{};
        }
    }
    if (current.firstDay != 0)
        runs << current;
    return runs;
}

QString LeaveRunUid(int year, const QString& employee, const LeaveRun& run,
                    const QString& databaseId)
{
    // The personnel number may hold any character; percent-encoding keeps the UID plain.
    return QStringLiteral("urlop-") + QString::number(year) + QLatin1Char('-') +
           QString::fromLatin1(QUrl::toPercentEncoding(employee)) + QLatin1Char('-') +
           QString::number(DateOfDayOfYear(run.firstDay, year)) + QLatin1Char('@') + databaseId +
           QStringLiteral(".zefirant");
}

QString CalendarDatabaseId(TmyDataBase& db)
{
    constexpr int kParts = 4;
    const auto partId = [](int i) { return QStringLiteral("DBIDENTITY") + QString::number(i + 1); };
    std::array<qint64, kParts> parts;
    const auto read = [&](fb::Statement& st) {
        parts.fill(-1);
        st.setSql(QStringLiteral("SELECT ID, IVALUE FROM SYSTEMPARAMS WHERE ID STARTING WITH "
                                 "\"DBIDENTITY\""));
        st.execute();
        while (st.fetch())
            for (int i = 0; i < kParts; ++i)
                if (st.value(0).toString().trimmed() == partId(i))
                    parts[i] = static_cast<quint32>(st.value(1).toInt());
        st.close();
        return std::all_of(parts.begin(), parts.end(), [](qint64 p) { return p >= 0; });
    };
    const bool ok = db.Utility(kCodeDatabaseIdentity, [&](fb::Statement& st) {
        if (read(st))
            return;
        try {
            for (int i = 0; i < kParts; ++i) {
                if (parts[i] >= 0)
                    continue;
                st.setSql(QStringLiteral(
                    "INSERT INTO SYSTEMPARAMS (ID, IVALUE) VALUES (:ID, :IVALUE)"));
                st.setParam(QStringLiteral("ID"), partId(i));
                st.setParam(QStringLiteral("IVALUE"),
                            static_cast<qint32>(QRandomGenerator::system()->generate()));
                st.execute();
                st.close();
            }
        } catch (const fb::Error& e) {
            // Another copy made the identity at the same moment: its rows count.
            if (e.sqlCode() != -803)
                throw;
            st.close();
        }
        if (!read(st))
            throw Exception(QStringLiteral("Brak identyfikatora bazy danych"));
    });
    if (!ok)
        return {};
    QString id;
    for (qint64 p : parts)
        id += QStringLiteral("%1").arg(static_cast<quint32>(p), 8, 16, QLatin1Char('0'));
    return id;
}

QByteArray PlanCalendar(const OverviewData& data, const QList<int>& entries, const QDateTime& stamp,
                        const QString& databaseId)
{
    const QByteArray stampText =
        stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    QByteArray out;
    addLine(out, QStringLiteral("BEGIN:VCALENDAR"));
    addLine(out, QStringLiteral("VERSION:2.0"));
    addLine(out, QStringLiteral("PRODID:-//Orvantis//Zefirant//PL"));
    addLine(out, QStringLiteral("CALSCALE:GREGORIAN"));
    addLine(out, QStringLiteral("X-WR-CALNAME:") +
                     EscapeCalendarText(QStringLiteral("Plan urlopowy na rok ") + QString::number(data.year)));
    for (int index : entries)
        if (index >= 0 && index < data.plans.Count())
            addEvents(out, data, data.plans.at(index), stampText, databaseId);
    addLine(out, QStringLiteral("END:VCALENDAR"));
    return out;
}

QString EscapeCalendarText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(','))
            out += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QLatin1Char(' '); // other controls are not allowed in a value
        else
            out += c;
    }
    return out;
}

QByteArray FoldCalendarLine(const QByteArray& line)
{
    QByteArray out;
    int start = 0;
    int limit = kFoldOctets;
    while (line.size() - start > limit) {
        int cut = start + limit;
        // Back off to the first byte of a UTF-8 character.
        while (cut > start && (static_cast<unsigned char>(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start);
        out += kCrLf;
        out += ' ';
        start = cut;
        limit = kFoldOctets - 1; // the leading blank counts
    }
    out += line.mid(start);
    return out;
}

QString EmployeeCalendarFileName(int year, const QString& employee)
{
    QString id = employee.trimmed();
    for (QChar& c : id)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    return QStringLiteral("Urlop-") + QString::number(year) + QLatin1Char('-') + id +
           QStringLiteral(".ics");
}

QStringList EmployeeCalendarFileNames(int year, const QStringList& employees)
{
    QStringList names;
    QHash<QString, int> sharing;
    for (const QString& employee : employees) {
        names << EmployeeCalendarFileName(year, employee);
        ++sharing[names.last().toCaseFolded()];
    }
    const QString suffix = QStringLiteral(".ics");
    QSet<QString> taken;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString base = names[i].chopped(suffix.size());
        const bool replaced = base != QStringLiteral("Urlop-") + QString::number(year) +
                                          QLatin1Char('-') + employees[i];
        if (sharing.value(names[i].toCaseFolded()) > 1 && replaced)
            base += QLatin1Char('-') +
                    QString::fromLatin1(QCryptographicHash::hash(employees[i].toUtf8(),
                                                                 QCryptographicHash::Sha1)
                                            .left(4)
                                            .toHex());
        QString name = base + suffix;
        // Only a digest that meets another number's plain name is left: count on.
        for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
            name = base + QLatin1Char('-') + QString::number(n) + suffix;
        taken.insert(name.toCaseFolded());
        names[i] = name;
    }
    return names;
}

bool ExportPlanCalendar(TmyDataBase& db, const OverviewData& data, Dialogs& dialogs)
{
    const QString databaseId = CalendarDatabaseId(db);
    if (databaseId.isEmpty())
        return false; // already reported
    const QString title = QStringLiteral("Eksport do kalendarza (.ics)");
    const QDateTime stamp = clock().now();
    const bool perEmployee = data.plans.Count() > 1 &&
                             dialogs.question(kCaptionQuestion,
                                              QStringLiteral("Zapisać osobny plik dla każdego pracownika?"));
    bool ok = true;
    if (perEmployee) {
        const QString folder = dialogs.existingDirectory(title, QString());
        if (folder.isEmpty())
            return false;
        QStringList employees;
        for (int i = 0; i < data.plans.Count(); ++i)
            employees << data.plans.at(i).IDEMPLOYEE;
        const QStringList names = EmployeeCalendarFileNames(data.year, employees);
        for (int i = 0; i < data.plans.Count() && ok; ++i)
            ok = writeFile(QDir(folder).filePath(names[i]), PlanCalendar(data, {i}, stamp, databaseId));
    } else {
        const QString path = dialogs.saveFileName(
            title, QStringLiteral("Grafik urlopowy %1.ics").arg(data.year),
            {QStringLiteral("Kalendarz .ics (*.ics)"), QStringLiteral("Wszystkie pliki (*.*)")},
            QStringLiteral("ics"));
        if (path.isEmpty())
            return false;
        QList<int> all;
        for (int i = 0; i < data.plans.Count(); ++i)
            all << i;
        ok = writeFile(path, PlanCalendar(data, all, stamp, databaseId));
    }
    dialogs.information(kCaptionInformation, ok ? QStringLiteral("Eksport zakończony poprawnie")
                                                : QStringLiteral("Nie udało się wyeksportować danych"));
    return ok;
}

} // namespace zf
