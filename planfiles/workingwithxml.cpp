#include "planfiles/workingwithxml.h"

#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "util/exception.h"
#include "util/ovtools.h"

#include <QHash>
#include <QSet>

namespace zf {

namespace {

// Codes of the database module's openings whose reads this file makes on its own statements.
constexpr int kCodeOpenPlans = leavesql::kCodePlans;
constexpr int kCodeOpenCalendar = leavesql::kCodeCalendar;
constexpr int kCodeOpenSettings = leavesql::kCodeSettings;
constexpr int kCodeOpenSingleSettings = leavesql::kCodeSingleSettings;
constexpr int kCodeOpenChosenDays = leavesql::kCodeChosenDays;
constexpr int kCodeOpenFixedDays = leavesql::kCodeFixedDays;

const QString kSqlPlanFolder =
    QStringLiteral("SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=:IDYEAR");
const QString kSqlEmployee = QStringLiteral(
    "SELECT NAME, SURNAME, FILENAME, PWD, LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM "
    "EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE "
    "AND E.IDEMPLOYEE=:IDEMPLOYEE");
const QString kSqlPlanEmployees = QStringLiteral(
    "SELECT E.IDEMPLOYEE AS IDEMPLOYEE, (NAME || ' ' || SURNAME || ' (' || E.IDEMPLOYEE || ')') "
    "AS EMPLOYEE, FILENAME, CHECKSUM FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE "
    "IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE ORDER BY SURNAME,NAME,E.IDEMPLOYEE");

const QString kMsgWrite = QStringLiteral(
    "Zapis do pliku nie powiódł się. Katalog jest niedostępny lub zablokowany przez inny program "
    "/ użytkownika. Sprawdź dostępność ścieżki: ");
const QString kMsgFolder = QStringLiteral(
    "Niepoprawna ścieżka zapisu generowanych planów. Sprawdź dostępność ścieżki: ");

QString toText(const QVariant& v)
{
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}

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

// The statements of the reads, prepared once for the object's lifetime.
struct TWorkingWithXML::Reader
{
    explicit Reader(fb::Connection& connection)
        : transaction(connection, fb::tpb::readOnlyReadCommitted()),
          planFolder(connection, &transaction), calendar(connection, &transaction),
          employee(connection, &transaction), chosenDays(connection, &transaction),
          fixedDays(connection, &transaction), planEmployees(connection, &transaction)
    {
        planFolder.setSql(kSqlPlanFolder);
        calendar.setSql(leavesql::kCalendar);
        employee.setSql(kSqlEmployee);
        chosenDays.setSql(leavesql::kChosenDays);
        fixedDays.setSql(leavesql::kFixedDays);
        planEmployees.setSql(kSqlPlanEmployees);
    }
    ~Reader() { transaction.rollbackQuietly(); }

    // Runs one read; a failure is rolled back and reported with the code.
    template <class F>
    bool read(TmyDataBase& db, int code, fb::Statement& st, F&& body)
    {
        try {
            if (!transaction.isActive())
                transaction.start();
            st.execute();
            body(st);
            st.close();
            return true;
        } catch (const Exception& e) {
            st.close();
            transaction.rollbackQuietly();
            db.ReportUnexpectedError(e.message(), true, code);
            return false;
        }
    }

    fb::Transaction transaction;
    fb::Statement planFolder;
    fb::Statement calendar;
    fb::Statement employee;
    fb::Statement chosenDays;
    fb::Statement fixedDays;
    fb::Statement planEmployees;
};

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
    const QString path = EmployeeFilePath();
    if (!IsSafePlanFileName(m_fileName)) {
        m_db.ReportUnexpectedError(kMsgWrite + path, false, kCodeWrite);
        return false;
    }
    const QString field = FieldThatWouldNotReadBack(m_content);
    if (!field.isEmpty()) {
        m_db.ReportUnexpectedError(
            QStringLiteral("Plan pracownika %1 nie został zapisany: pole \"%2\" zawiera znaki "
                           "\"</\", których plik planu nie odczyta poprawnie. Popraw dane i "
                           "wygeneruj plan ponownie.")
                .arg(employeeText(), field),
            false, kCodeNotReadBack);
        return false;
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
        m_db.ReportUnexpectedError(
            QStringLiteral("Plan pracownika %1 nie został zapisany: jego dane lub komentarz "
                           "zawierają znaczniki, przez które plik planu nie odczytałby się "
                           "poprawnie. Popraw dane i wygeneruj plan ponownie.")
                .arg(employeeText()),
            false, kCodeNotReadBack);
        return false;
    }
    if (!WritePlanFileBytes(path, EncryptString(text, kPlanFileCipherKey))) {
        m_db.ReportUnexpectedError(kMsgWrite + path, false, kCodeWrite);
        return false;
    }
    return true;
}

void TWorkingWithXML::reportMissingEmployee(const QString& key)
{
    m_db.ReportUnexpectedError(
        kMsgWrite + TOVTools::ExcludeTrailingBackslash(m_planFolder) +
            QStringLiteral(" (pracownik %1 nie należy już do planu na rok %2)")
                .arg(key)
                .arg(m_content.year),
        false, kCodeWrite);
}

bool TWorkingWithXML::WriteEmployeeFile(const QString& key, bool includeDays)
{
    switch (loadEmployee(key, includeDays)) {
    case Loaded:
        return writeLoaded();
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
    Reader& r = *m_reader;
    r.planEmployees.setParam(QStringLiteral("IDYEAR"), m_content.year);
    if (!r.read(m_db, kCodeOpenSettings, r.planEmployees, [&](fb::Statement& s) {
            while (s.fetch())
                list.push_back({toText(s.value(0)), toText(s.value(1)), toText(s.value(2)),
                                toInt(s.value(3))});
        }))
        list.clear();
    return list;
}

bool TWorkingWithXML::WritePlanFiles(const QStringList& keys, const QString& comment,
                                     bool includeDays, bool checkRange)
{
    m_run = PlanFilesRun{};
    m_run.total = static_cast<int>(keys.size());
    const auto stop = [this](const QString& at) {
        m_run.stopped = true;
        m_run.stoppedAt = at;
        return false;
    };
    if (!LoadPlanSettings(comment, checkRange))
        return stop({});
    if (!text::DirectoryExists(m_planFolder)) {
        m_db.ReportUnexpectedError(kMsgFolder + m_planFolder, false, kCodeFolder);
        return stop({});
    }

    // On a shared Windows folder two names that differ only in case are one file: such a pair
    // is refused before anything is written.
    {
        const std::vector<PlanEmployee> all = PlanEmployees();
        QHash<QString, const PlanEmployee*> byKey;
        for (const PlanEmployee& e : all)
            byKey.insert(e.key, &e);
        QHash<QString, const PlanEmployee*> byName;
        for (const QString& key : keys) {
            const PlanEmployee* e = byKey.value(key);
            if (!e)
                continue; // reported when its turn comes
            const QString folded = e->fileName.toCaseFolded();
            const PlanEmployee* other = byName.value(folded);
            if (other && other != e) {
                m_db.ReportUnexpectedError(
                    kMsgWrite + PlanFilePath(m_planFolder, e->fileName) +
                        QStringLiteral(" (pracownicy %1 i %2 mają pliki planu o tej samej "
                                       "nazwie, różniącej się najwyżej wielkością liter)")
                            .arg(other->text, e->text),
                    false, kCodeWrite);
                return stop(e->text);
            }
            byName.insert(folded, e);
        }
    }

    for (int i = 0; i < m_run.total; ++i) {
        const QString& key = keys.at(i);
        switch (loadEmployee(key, includeDays)) {
        case Loaded:
            break;
        case Missing:
            reportMissingEmployee(key);
            return stop(key);
        case Failed:
            return stop(key);
        }
        if (!reportProgress(i, m_run.total, employeeText()))
            return false;
        if (!writeLoaded())
            return stop(employeeText());
        ++m_run.done;
    }
    return true;
}

} // namespace zf
