// Reading the plan files the employees sent back and storing their days: the import half of
// TWorkingWithXML.
#include "planfiles/workingwithxml.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "util/exception.h"
#include "util/ovtools.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

namespace zf {

namespace {

const QString kSqlDeleteChosen =
    QStringLiteral("DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE");
const QString kSqlInsertChosen =
    QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS(IDYEAR,IDEMPLOYEE,SELECTEDDAY) VALUES (:IDYEAR, "
                   ":IDEMPLOYEE, :SELECTEDDAY)");
const QString kSqlDeleteFixed =
    QStringLiteral("DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE");
const QString kSqlInsertFixed =
    QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS(IDYEAR,IDEMPLOYEE,SELECTEDDAY) VALUES (:IDYEAR, "
                   ":IDEMPLOYEE, :SELECTEDDAY)");
const QString kSqlUpdateStamp = QStringLiteral(
    "UPDATE EMPLOYEESSETTINGS SET CHECKSUM=:CHECKSUM WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE");

const QString kMsgImportFolder = QStringLiteral(
    "Niepoprawna ścieżka odczytu planów. Sprawdź dostępność ścieżki: ");
const QString kMsgReadBefore = QStringLiteral("Nie powiodła się próba odczytu pliku ");
const QString kMsgReadAfter = QStringLiteral(
    ". Plik jest niedostępny lub zablokowany. Plan ten zostanie pominięty. Dalszy import będzie "
    "mimo to kontynuowany");
const QString kMsgDamaged = QStringLiteral(
    "Pojawił się błąd podczas próby wczytywania planu. Plik planu jest niepoprawny lub został "
    "uszkodzony.");
const QString kMsgForeign = QStringLiteral("Plik planu zawiera niepoprawne dane.");
const QString kMsgSkipped =
    QStringLiteral(" Plan ten zostanie pominięty. Dalszy import będzie mimo to kontynuowany");

} // namespace

bool TWorkingWithXML::ParsePlanFile(const QByteArray& text)
{
    m_fileName.clear();
    m_content.password.clear();
    m_content.lastYearDays = 0;
    m_content.thisYearDays = 0;
    PlanFileData data;
    data.stamp = m_content.stamp;
    const bool ok = ParsePlanFileText(text, m_content.year, data);
    m_parsedYear = data.year;
    m_content.employeeKey = data.employeeKey;
    m_content.name = data.name;
    m_content.surname = data.surname;
    m_content.stamp = data.stamp;
    m_content.selectedDays = data.selectedDays;
    m_content.unchangeableDays = data.unchangeableDays;
    return ok;
}

bool TWorkingWithXML::ParsedFileIsOfPlanYear() const
{
    return IsOfPlanYear(m_parsedYear, m_content.year);
}

void TWorkingWithXML::reportOtherYear(const QString& path)
{
    int fileYear = 0;
    const QString text =
        ParseStamp(m_parsedYear, fileYear)
            ? QStringLiteral("Plik planu %1 jest planem na rok %2, a wczytywany jest plan na rok "
                             "%3.")
                  .arg(path)
                  .arg(fileYear)
                  .arg(m_content.year)
            : QStringLiteral("Plik planu %1 nie podaje poprawnego roku planu, a wczytywany jest "
                             "plan na rok %2.")
                  .arg(path)
                  .arg(m_content.year);
    m_db.ReportUnexpectedError(text + kMsgSkipped, false, kCodeOtherYear);
}

// The statements of the store, prepared once per run on a write transaction of the run's own,
// set as the module's: read committed, waiting its time for a row another clerk holds and then
// going on with it, rather than failing at once. Its own, so that nothing else using the module's
// transactions while the progress window lets events through can end the employees not yet
// committed.
//
// Each employee is stored under a savepoint, and the employees stored so far are committed
// together every few dozen or a fraction of a second, before any message and when the run
// ends: each employee is still stored whole or not at all, locks on other clerks' rows are held
// briefly, and the disk is not synchronised once per employee.
struct TWorkingWithXML::Writer
{
    static constexpr int kEmployeesPerCommit = 50;
    static constexpr int kMsPerCommit = 250;

    explicit Writer(TmyDataBase& db)
        : transaction(db.FBDataBase, db.DBFTransaction.parameters()),
          deleteChosen(db.FBDataBase, &transaction), insertChosen(db.FBDataBase, &transaction),
          deleteFixed(db.FBDataBase, &transaction), insertFixed(db.FBDataBase, &transaction),
          updateStamp(db.FBDataBase, &transaction), mark(db.FBDataBase, &transaction),
          release(db.FBDataBase, &transaction), undo(db.FBDataBase, &transaction)
    {
        deleteChosen.setSql(kSqlDeleteChosen);
        insertChosen.setSql(kSqlInsertChosen);
        deleteFixed.setSql(kSqlDeleteFixed);
        insertFixed.setSql(kSqlInsertFixed);
        updateStamp.setSql(kSqlUpdateStamp);
        mark.setSql(QStringLiteral("SAVEPOINT ZF_PLAN_EMPLOYEE"));
        release.setSql(QStringLiteral("RELEASE SAVEPOINT ZF_PLAN_EMPLOYEE"));
        undo.setSql(QStringLiteral("ROLLBACK TO SAVEPOINT ZF_PLAN_EMPLOYEE"));
    }
    ~Writer() { transaction.rollbackQuietly(); }

    fb::Transaction transaction;
    fb::Statement deleteChosen;
    fb::Statement insertChosen;
    fb::Statement deleteFixed;
    fb::Statement insertFixed;
    fb::Statement updateStamp;
    fb::Statement mark;
    fb::Statement release;
    fb::Statement undo;
    int pending = 0;      // employees stored but not yet committed
    QString firstPending; // the first of them, as the clerk is told of him
    QElapsedTimer sinceStart;
};

bool TWorkingWithXML::storePlan(Writer& w, const QString& key)
{
    const QString year = QStringLiteral("IDYEAR");
    const QString employee = QStringLiteral("IDEMPLOYEE");
    bool marked = false;
    try {
        if (!w.transaction.isActive()) {
            w.transaction.start();
            w.sinceStart.start();
        }
        w.mark.execute();
        marked = true;
        // The stamp first: updating the employee's row of the plan takes it, so a clerk saving
        // the same employee meanwhile waits, or is waited for, and the days stored are whole.
        w.updateStamp.setParam(QStringLiteral("CHECKSUM"), m_content.stamp);
        w.updateStamp.setParam(year, m_content.year);
        w.updateStamp.setParam(employee, key);
        w.updateStamp.execute();
        const auto replaceDays = [&](fb::Statement& remove, fb::Statement& insert,
                                     const QList<int>& days) {
            remove.setParam(year, m_content.year);
            remove.setParam(employee, key);
            remove.execute();
            insert.setParam(year, m_content.year);
            insert.setParam(employee, key);
            for (const int day : days) {
                insert.setParam(QStringLiteral("SELECTEDDAY"), day);
                insert.execute();
            }
        };
        replaceDays(w.deleteChosen, w.insertChosen, m_content.selectedDays);
        replaceDays(w.deleteFixed, w.insertFixed, m_content.unchangeableDays);
        w.release.execute();
    } catch (const Exception& e) {
        // This employee's rows go; the ones before him are committed before the message.
        bool undone = false;
        if (marked) {
            try {
                w.undo.execute();
                undone = true;
            } catch (const Exception&) {
            }
        }
        // The first employee not stored: the first of those dropped with the transaction, or
        // this one.
        m_run.stopped = true;
        m_run.stoppedAt = employeeText();
        if (!undone) {
            if (w.pending > 0)
                m_run.stoppedAt = w.firstPending;
            w.transaction.rollbackQuietly();
            m_run.done -= w.pending;
            w.pending = 0;
        }
        if (commitStored(w))
            m_db.ReportUnexpectedError(e.message(), true, kCodeStore);
        return false;
    }
    if (w.pending == 0)
        w.firstPending = employeeText();
    ++w.pending;
    ++m_run.done;
    if (w.pending >= Writer::kEmployeesPerCommit || w.sinceStart.elapsed() >= Writer::kMsPerCommit)
        return commitStored(w);
    return true;
}

bool TWorkingWithXML::commitStored(Writer& w)
{
    if (!w.transaction.isActive())
        return true;
    try {
        w.transaction.commit();
        w.pending = 0;
        return true;
    } catch (const Exception& e) {
        // None of the employees since the last commit were stored: the run stops at the first
        // of them, whatever came after.
        w.transaction.rollbackQuietly();
        m_run.done -= w.pending;
        w.pending = 0;
        m_run.stopped = true;
        m_run.stoppedAt = w.firstPending;
        m_db.ReportUnexpectedError(e.message(), true, kCodeStore);
        return false;
    }
}

bool TWorkingWithXML::ImportPlanFiles(const QStringList& keys)
{
    m_skipped = 0;
    m_run = PlanFilesRun{};
    m_run.total = static_cast<int>(keys.size());
    if (!loadPlanFolder()) {
        m_run.stopped = true;
        return false;
    }
    if (!text::DirectoryExists(m_planFolder)) {
        m_db.ReportUnexpectedError(kMsgImportFolder + m_planFolder, false, kCodeImportFolder);
        m_run.stopped = true;
        return false;
    }
    std::vector<PlanEmployee> all;
    if (!planEmployees(all)) {
        m_run.stopped = true; // told once, not once per file
        return false;
    }
    QHash<QString, const PlanEmployee*> byKey;
    for (const PlanEmployee& e : all)
        byKey.insert(e.key, &e);

    Writer writer(m_db);
    // Every message waits for the clerk: the employees stored so far are committed first. A
    // failed commit ends the run with its own message instead.
    const auto report = [&](const QString& text, int code) {
        if (!commitStored(writer))
            return false;
        m_db.ReportUnexpectedError(text, false, code);
        return true;
    };
    const auto stopAt = [&](const PlanEmployee* e) {
        m_run.stopped = true;
        m_run.stoppedAt = e->text;
    };
    for (int i = 0; i < m_run.total; ++i) {
        const QString& key = keys.at(i);
        const PlanEmployee* e = byKey.value(key);
        if (!reportProgress(i, m_run.total, e ? e->text : key))
            break;
        if (!e) {
            // Removed from the plan by another copy: nothing of his can be read.
            if (!report(kMsgReadBefore +
                            QStringLiteral("pracownika %1 (nie należy już do planu)").arg(key) +
                            kMsgReadAfter,
                        kCodeRead))
                break;
            ++m_skipped;
            continue;
        }
        const QString path = PlanFilePath(m_planFolder, e->fileName);
        QByteArray bytes;
        if (!IsSafePlanFileName(e->fileName) || !ReadPlanFileBytes(path, bytes)) {
            if (!report(kMsgReadBefore + path + kMsgReadAfter, kCodeRead))
                break;
            ++m_skipped;
            continue;
        }
        if (!ParsePlanFile(DecryptString(bytes, kPlanFileCipherKey))) {
            if (report(kMsgDamaged, kCodeDamaged))
                stopAt(e);
            break;
        }
        // Checked before the key: last year's file of this employee is as stale as any.
        if (!ParsedFileIsOfPlanYear()) {
            if (!commitStored(writer))
                break;
            reportOtherYear(path);
            ++m_skipped;
            continue;
        }
        if (m_content.employeeKey != key) {
            if (report(kMsgForeign, kCodeForeign))
                stopAt(e);
            break;
        }
        if (!storePlan(writer, key))
            break;
    }
    if (!m_run.stopped)
        commitStored(writer);
    return m_run.done > 0;
}

bool TWorkingWithXML::FindChangedPlanFiles(QStringList& keys)
{
    m_skipped = 0;
    m_run = PlanFilesRun{};
    keys.clear();
    std::vector<PlanEmployee> all;
    if (!loadPlanFolder() || !planEmployees(all)) {
        m_run.stopped = true;
        return false;
    }
    m_run.total = static_cast<int>(all.size());
    for (int i = 0; i < m_run.total; ++i) {
        const PlanEmployee& e = all.at(static_cast<std::size_t>(i));
        if (!reportProgress(i, m_run.total, e.text)) {
            keys.clear();
            return false;
        }
        ++m_run.done;
        // The export looks at the files it would replace with this same code.
        const ExistingPlanFile f =
            m_planFolder.isEmpty() || !IsSafePlanFileName(e.fileName)
                ? ExistingPlanFile{}
                : LookAtPlanFile(PlanFilePath(m_planFolder, e.fileName), e.key, m_content.year,
                                 e.stamp);
        if (f.state == ExistingPlanFile::Saved)
            keys.append(e.key);
        else if (f.state != ExistingPlanFile::Current)
            ++m_skipped;
    }
    return !keys.isEmpty();
}

} // namespace zf
