#include "planfiles/workingwithxml.h"
#include "planfiles/workingwithxml_reader.h"

#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "util/exception.h"
#include "util/ovtools.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace zf {

using namespace planfilesql;

namespace {

// The days a file of this content gives back when read for the year.
QList<int> daysReadBack(const QList<int>& days, int year)
{
    QList<int> out;
    QSet<int> seen;
    for (const int day : days) {
        int parsed = 0;
        if (ParseDay(QByteArray::number(day), year, parsed) && !seen.contains(parsed)) {
            seen.insert(parsed);
            out.append(parsed);
        }
    }
    return out;
}

} // namespace

TWorkingWithXML::TWorkingWithXML(TmyDataBase& db, int year)
    : m_db(db), m_reader(std::make_unique<Reader>(db.FBDataBase))
{
    m_content.year = year;
}

TWorkingWithXML::~TWorkingWithXML() = default;

QString TWorkingWithXML::employeeText() const
{
    return m_content.name + QLatin1Char(' ') + m_content.surname + QStringLiteral(" (") +
           m_content.employeeKey + QLatin1Char(')');
}

bool TWorkingWithXML::reportProgress(int index, int total, const QString& employee)
{
    if (!m_progress || m_progress(index, total, employee))
        return true;
    m_run.cancelled = true;
    return false;
}

bool TWorkingWithXML::loadPlanFolder()
{
    m_planFolder.clear();
    fb::Statement& st = m_reader->planFolder;
    st.setParam(QStringLiteral("IDYEAR"), m_content.year);
    return m_reader->read(m_db, kCodeOpenPlans, st, [&](fb::Statement& s) {
        if (s.fetch())
            m_planFolder = toText(s.value(0));
    });
}

bool TWorkingWithXML::LoadPlanSettings(const QString& comment, bool checkRange)
{
    m_content.comment = comment;
    m_content.checkRange = checkRange;
    m_content.freeDays.clear();
    m_reader->calendar.setParam(QStringLiteral("IDYEAR"), m_content.year);
    if (!loadPlanFolder())
        return false;
    return m_reader->read(m_db, kCodeOpenCalendar, m_reader->calendar, [&](fb::Statement& s) {
        while (s.fetch())
            m_content.freeDays.append(toInt(s.value(0)));
    });
}

bool TWorkingWithXML::LoadEmployee(const QString& key, bool includeDays)
{
    return loadEmployee(key, includeDays) == Loaded;
}

TWorkingWithXML::LoadResult TWorkingWithXML::loadEmployee(const QString& key, bool includeDays)
{
    PlanFileContent& c = m_content;
    c.selectedDays.clear();
    c.unchangeableDays.clear();
    c.employeeKey = key;
    c.name.clear();
    c.surname.clear();
    c.password.clear();
    c.lastYearDays = c.thisYearDays = c.stamp = 0;
    m_fileName.clear();

    bool found = false;
    Reader& r = *m_reader;
    for (fb::Statement* st : {&r.employee, &r.chosenDays, &r.fixedDays}) {
        st->setParam(QStringLiteral("IDYEAR"), c.year);
        st->setParam(QStringLiteral("IDEMPLOYEE"), key);
    }
    if (!r.read(m_db, kCodeOpenSingleSettings, r.employee, [&](fb::Statement& s) {
            if (!s.fetch())
                return;
            found = true;
            c.name = toText(s.value(0));
            c.surname = toText(s.value(1));
            m_fileName = toText(s.value(2));
            c.password = toText(s.value(3));
            c.lastYearDays = toInt(s.value(4));
            c.thisYearDays = toInt(s.value(5));
            c.stamp = toInt(s.value(6));
        }))
        return Failed;
    if (!found)
        return Missing;
    if (!includeDays)
        return Loaded;
    const auto collect = [](QList<int>& days) {
        return [&days](fb::Statement& s) {
            while (s.fetch())
                days.append(toInt(s.value(0)));
        };
    };
    const bool ok = r.read(m_db, kCodeOpenChosenDays, r.chosenDays, collect(c.selectedDays)) &&
                    r.read(m_db, kCodeOpenFixedDays, r.fixedDays, collect(c.unchangeableDays));
    return ok ? Loaded : Failed;
}

bool TWorkingWithXML::writeLoaded()
{
    Failure failure;
    if (writeLoaded(nullptr, failure))
        return true;
    m_db.ReportUnexpectedError(failure.message, false, failure.code);
    return false;
}

bool TWorkingWithXML::writeLoaded(PlanFileBatch* batch, Failure& failure)
{
    const QString path = EmployeeFilePath();
    const auto fail = [&](const QString& message, int code) {
        failure = {message, code};
        return false;
    };
    if (!IsSafePlanFileName(m_fileName))
        return fail(kMsgWrite + path, kCodeWrite);
    const QString field = FieldThatWouldNotReadBack(m_content);
    if (!field.isEmpty()) {
        return fail(
            QStringLiteral("Plan pracownika %1 nie został zapisany: pole \"%2\" zawiera znaki "
                           "\"</\", których plik planu nie odczyta poprawnie. Popraw dane i "
                           "wygeneruj plan ponownie.")
                .arg(employeeText(), field),
            kCodeNotReadBack);
    }
    const QByteArray text = BuildPlanFileText(m_content);
    // Whatever else a value holds (a tag of a later element, say), the file must read back as
    // written; checked on the very text before it is enciphered.
    PlanFileData back;
    if (!ParsePlanFileText(text, m_content.year, back) || back.employeeKey != m_content.employeeKey ||
        back.name != m_content.name || back.surname != m_content.surname ||
        back.stamp != m_content.stamp ||
        back.selectedDays != daysReadBack(m_content.selectedDays, m_content.year) ||
        back.unchangeableDays != daysReadBack(m_content.unchangeableDays, m_content.year)) {
        return fail(
            QStringLiteral("Plan pracownika %1 nie został zapisany: jego dane lub komentarz "
                           "zawierają znaczniki, przez które plik planu nie odczytałby się "
                           "poprawnie. Popraw dane i wygeneruj plan ponownie.")
                .arg(employeeText()),
            kCodeNotReadBack);
    }
    const QByteArray bytes = EncryptString(text, kPlanFileCipherKey);
    if (batch)
        return batch->add(path, bytes) || fail(kMsgWrite + path, kCodeWrite);
    switch (WritePlanFile(path, bytes)) {
    case PlanFileWrite::Done:
        return true;
    case PlanFileWrite::NotSynced:
        return fail(kMsgNotSynced + path, kCodeWrite);
    case PlanFileWrite::Failed:
        break;
    }
    return fail(kMsgWrite + path, kCodeWrite);
}

void TWorkingWithXML::reportMissingEmployee(const QString& key)
{
    m_db.ReportUnexpectedError(missingEmployeeMessage(key), false, kCodeWrite);
}

QString TWorkingWithXML::missingEmployeeMessage(const QString& key) const
{
    return kMsgWrite + TOVTools::ExcludeTrailingBackslash(m_planFolder) +
            QStringLiteral(" (pracownik %1 nie należy już do planu na rok %2)")
                .arg(key)
                .arg(m_content.year);
}

bool TWorkingWithXML::WriteEmployeeFile(const QString& key, bool includeDays)
{
    m_run = PlanFilesRun{};
    m_run.total = 1;
    switch (loadEmployee(key, includeDays)) {
    case Loaded: {
        if (!IsSafePlanFileName(m_fileName))
            return writeLoaded(); // refused there
        const QString path = EmployeeFilePath();
        const ExistingPlanFile f = LookAtPlanFile(path, key, m_content.year, m_content.stamp);
        const QString line = employeeText() + QStringLiteral(": ") + f.reason();
        if (f.leftAlone()) {
            m_run.leftAlone.append(line);
            m_db.ReportUnexpectedError(
                QStringLiteral("Plik %1 nie został zapisany i pozostaje bez zmian (%2).")
                    .arg(path, f.reason()),
                false, kCodeWrite);
            return false;
        }
        if (f.needsConsent()) {
            switch (askToReplace({line})) {
            case Overwrite:
                break;
            case Skip:
                m_run.leftAlone.append(line);
                return false;
            case Cancel:
                m_run.cancelled = true;
                return false;
            }
        }
        if (!writeLoaded())
            return false;
        m_run.done = 1;
        return true;
    }
    case Missing:
        reportMissingEmployee(key);
        return false;
    case Failed:
        break;
    }
    return false;
}

std::vector<PlanEmployee> TWorkingWithXML::PlanEmployees()
{
    std::vector<PlanEmployee> list;
    planEmployees(list);
    return list;
}

bool TWorkingWithXML::planEmployees(std::vector<PlanEmployee>& list)
{
    list.clear();
    Reader& r = *m_reader;
    r.planEmployees.setParam(QStringLiteral("IDYEAR"), m_content.year);
    if (r.read(m_db, kCodeOpenSettings, r.planEmployees, [&](fb::Statement& s) {
            while (s.fetch())
                list.push_back({toText(s.value(0)), toText(s.value(1)), toText(s.value(2)),
                                toInt(s.value(3))});
        }))
        return true;
    list.clear();
    return false;
}

} // namespace zf
