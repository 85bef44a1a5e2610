#include "planfiles/workingwithxml.h"

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
// The export's reads of every plan employee at once, whatever the number of employees.
const QString kSqlAllEmployees = QStringLiteral(
    "SELECT E.IDEMPLOYEE, NAME, SURNAME, FILENAME, PWD, LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM "
    "EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE");
// A day stored as non-working in any plan is left out, as the single employee's statement does.
const QString kSqlAllDays = QStringLiteral(
    "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM %1 AS D WHERE D.IDYEAR=:IDYEAR AND NOT EXISTS "
    "(SELECT * FROM CALENDAR AS C WHERE C.FREEDAY=D.SELECTEDDAY)");
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
          fixedDays(connection, &transaction), planEmployees(connection, &transaction),
          allEmployees(connection, &transaction), allChosenDays(connection, &transaction),
          allFixedDays(connection, &transaction)
    {
        planFolder.setSql(kSqlPlanFolder);
        calendar.setSql(leavesql::kCalendar);
        employee.setSql(kSqlEmployee);
        chosenDays.setSql(leavesql::kChosenDays);
        fixedDays.setSql(leavesql::kFixedDays);
        planEmployees.setSql(kSqlPlanEmployees);
        allEmployees.setSql(kSqlAllEmployees);
        allChosenDays.setSql(kSqlAllDays.arg(QLatin1String("EMPLOYEEHOLIDAYS")));
        allFixedDays.setSql(kSqlAllDays.arg(QLatin1String("EMPLOYEECONSTDAYS")));
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
    fb::Statement allEmployees;
    fb::Statement allChosenDays;
    fb::Statement allFixedDays;
};

// One plan employee as the export's reads of all of them give him.
struct TWorkingWithXML::Stored
{
    QString name;
    QString surname;
    QString fileName;
    QString password;
    int lastYearDays = 0;
    int thisYearDays = 0;
    int stamp = 0;
    QList<int> selectedDays;
    QList<int> unchangeableDays;
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
    if (batch ? !batch->add(path, bytes) : !WritePlanFileBytes(path, bytes))
        return fail(kMsgWrite + path, kCodeWrite);
    return true;
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

    QHash<QString, Stored> stored;
    if (!loadAllEmployees(includeDays, stored))
        return stop({});

    // On a shared Windows folder two names that differ only in case are one file: such a pair
    // is refused before anything is written.
    {
        QHash<QString, QString> byName;
        for (const QString& key : keys) {
            const auto e = stored.constFind(key);
            if (e == stored.cend())
                continue; // reported when its turn comes
            const QString folded = e->fileName.toCaseFolded();
            const auto other = byName.constFind(folded);
            if (other != byName.cend() && *other != key) {
                m_db.ReportUnexpectedError(
                    kMsgWrite + PlanFilePath(m_planFolder, e->fileName) +
                        QStringLiteral(" (pracownicy %1 i %2 mają pliki planu o tej samej "
                                       "nazwie, różniącej się najwyżej wielkością liter)")
                            .arg(storedText(*other, stored.value(*other)),
                                 storedText(key, *e)),
                    false, kCodeWrite);
                return stop(storedText(key, *e));
            }
            byName.insert(folded, key);
        }
    }

    // The files are put in place together at the end, or where the run stops, so that the
    // employees done so far have theirs before any message is shown.
    PlanFileBatch batch;
    QStringList texts; // of the employees in the batch, and their files
    QStringList paths;
    const auto putInPlace = [&]() {
        const int placed = batch.commit();
        m_run.done = placed;
        if (placed == texts.size())
            return true;
        m_db.ReportUnexpectedError(kMsgWrite + paths.at(placed), false, kCodeWrite);
        m_run.stopped = true;
        m_run.stoppedAt = texts.at(placed);
        return false;
    };
    for (int i = 0; i < m_run.total; ++i) {
        const QString& key = keys.at(i);
        const auto e = stored.constFind(key);
        if (e == stored.cend()) {
            if (!putInPlace())
                return false;
            m_db.ReportUnexpectedError(missingEmployeeMessage(key), false, kCodeWrite);
            return stop(key);
        }
        setCurrent(key, *e);
        if (!reportProgress(i, m_run.total, employeeText())) {
            putInPlace();
            return false;
        }
        Failure failure;
        if (!writeLoaded(&batch, failure)) {
            if (!putInPlace())
                return false;
            m_db.ReportUnexpectedError(failure.message, false, failure.code);
            return stop(employeeText());
        }
        texts.append(employeeText());
        paths.append(EmployeeFilePath());
    }
    return putInPlace();
}

QString TWorkingWithXML::storedText(const QString& key, const Stored& e)
{
    return e.name + QLatin1Char(' ') + e.surname + QStringLiteral(" (") + key + QLatin1Char(')');
}

void TWorkingWithXML::setCurrent(const QString& key, const Stored& e)
{
    PlanFileContent& c = m_content;
    c.employeeKey = key;
    c.name = e.name;
    c.surname = e.surname;
    c.password = e.password;
    c.lastYearDays = e.lastYearDays;
    c.thisYearDays = e.thisYearDays;
    c.stamp = e.stamp;
    c.selectedDays = e.selectedDays;
    c.unchangeableDays = e.unchangeableDays;
    m_fileName = e.fileName;
}

bool TWorkingWithXML::loadAllEmployees(bool includeDays, QHash<QString, Stored>& out)
{
    out.clear();
    Reader& r = *m_reader;
    for (fb::Statement* st : {&r.allEmployees, &r.allChosenDays, &r.allFixedDays})
        st->setParam(QStringLiteral("IDYEAR"), m_content.year);
    if (!r.read(m_db, kCodeOpenSingleSettings, r.allEmployees, [&](fb::Statement& s) {
            while (s.fetch()) {
                Stored& e = out[toText(s.value(0))];
                e.name = toText(s.value(1));
                e.surname = toText(s.value(2));
                e.fileName = toText(s.value(3));
                e.password = toText(s.value(4));
                e.lastYearDays = toInt(s.value(5));
                e.thisYearDays = toInt(s.value(6));
                e.stamp = toInt(s.value(7));
            }
        }))
        return false;
    if (!includeDays)
        return true;
    // Rows come grouped by employee more often than not: the last one found is kept.
    const auto collect = [&out](QList<int> Stored::*list) {
        return [&out, list](fb::Statement& s) {
            QString lastKey;
            Stored* last = nullptr;
            while (s.fetch()) {
                const QString key = toText(s.value(0));
                if (!last || key != lastKey) {
                    lastKey = key;
                    const auto found = out.find(key);
                    last = found == out.end() ? nullptr : &*found;
                }
                if (last)
                    (last->*list).append(toInt(s.value(1)));
            }
        };
    };
    if (!r.read(m_db, kCodeOpenChosenDays, r.allChosenDays, collect(&Stored::selectedDays)) ||
        !r.read(m_db, kCodeOpenFixedDays, r.allFixedDays, collect(&Stored::unchangeableDays)))
        return false;
    // Ascending, as the single employee's statements give them.
    for (Stored& e : out) {
        std::sort(e.selectedDays.begin(), e.selectedDays.end());
        std::sort(e.unchangeableDays.begin(), e.unchangeableDays.end());
    }
    return true;
}

} // namespace zf
