// Reading the plan files the employees sent back and storing their days: the import half of
// TWorkingWithXML.
#include "planfiles/workingwithxml.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "util/exception.h"
#include "util/ovtools.h"

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

// The five statements of the store, prepared once per run on the database module's write
// transaction: read committed, waiting its time for a row another clerk holds and then going on
// with it, rather than failing at once.
struct TWorkingWithXML::Writer
{
    explicit Writer(TmyDataBase& db)
        : transaction(db.DBFTransaction), deleteChosen(db.FBDataBase, &transaction),
          insertChosen(db.FBDataBase, &transaction), deleteFixed(db.FBDataBase, &transaction),
          insertFixed(db.FBDataBase, &transaction), updateStamp(db.FBDataBase, &transaction)
    {
        deleteChosen.setSql(kSqlDeleteChosen);
        insertChosen.setSql(kSqlInsertChosen);
        deleteFixed.setSql(kSqlDeleteFixed);
        insertFixed.setSql(kSqlInsertFixed);
        updateStamp.setSql(kSqlUpdateStamp);
    }

    fb::Transaction& transaction;
    fb::Statement deleteChosen;
    fb::Statement insertChosen;
    fb::Statement deleteFixed;
    fb::Statement insertFixed;
    fb::Statement updateStamp;
};

bool TWorkingWithXML::storePlan(Writer& w, const QString& key)
{
    const QString year = QStringLiteral("IDYEAR");
    const QString employee = QStringLiteral("IDEMPLOYEE");
    try {
        // One commit per employee: a failure leaves the employees stored before it.
        fb::TransactionGuard guard(w.transaction);
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
        w.updateStamp.setParam(QStringLiteral("CHECKSUM"), m_content.stamp);
        w.updateStamp.setParam(year, m_content.year);
        w.updateStamp.setParam(employee, key);
        w.updateStamp.execute();
        guard.commit();
        return true;
    } catch (const Exception& e) {
        w.transaction.rollbackQuietly();
        m_db.ReportUnexpectedError(e.message(), true, kCodeStore);
        return false;
    }
}

bool TWorkingWithXML::ImportPlanFiles(const QStringList& keys)
{
    m_skipped = 0;
    m_run = PlanFilesRun{};
    m_run.total = static_cast<int>(keys.size());
    bool result = false;
    if (!loadPlanFolder()) {
        m_run.stopped = true;
        return false;
    }
    if (!text::DirectoryExists(m_planFolder)) {
        m_db.ReportUnexpectedError(kMsgImportFolder + m_planFolder, false, kCodeImportFolder);
        m_run.stopped = true;
        return false;
    }
    const std::vector<PlanEmployee> all = PlanEmployees();
    QHash<QString, const PlanEmployee*> byKey;
    for (const PlanEmployee& e : all)
        byKey.insert(e.key, &e);

    Writer writer(m_db);
    for (int i = 0; i < m_run.total; ++i) {
        const QString& key = keys.at(i);
        const PlanEmployee* e = byKey.value(key);
        if (!reportProgress(i, m_run.total, e ? e->text : key))
            break;
        if (!e) {
            // Removed from the plan by another copy: nothing of his can be read.
            m_db.ReportUnexpectedError(
                kMsgReadBefore + QStringLiteral("pracownika %1 (nie należy już do planu)").arg(key) +
                    kMsgReadAfter,
                false, kCodeRead);
            ++m_skipped;
            continue;
        }
        const QString path = PlanFilePath(m_planFolder, e->fileName);
        QByteArray bytes;
        if (!IsSafePlanFileName(e->fileName) || !ReadPlanFileBytes(path, bytes)) {
            m_db.ReportUnexpectedError(kMsgReadBefore + path + kMsgReadAfter, false, kCodeRead);
            ++m_skipped;
            continue;
        }
        if (!ParsePlanFile(DecryptString(bytes, kPlanFileCipherKey))) {
            m_db.ReportUnexpectedError(kMsgDamaged, false, kCodeDamaged);
            m_run.stopped = true;
            m_run.stoppedAt = e->text;
            break;
        }
        // Checked before the key: last year's file of this employee is as stale as any.
        if (!ParsedFileIsOfPlanYear()) {
            reportOtherYear(path);
            ++m_skipped;
            continue;
        }
        if (m_content.employeeKey != key) {
            m_db.ReportUnexpectedError(kMsgForeign, false, kCodeForeign);
            m_run.stopped = true;
            m_run.stoppedAt = e->text;
            break;
        }
        if (!storePlan(writer, key)) {
            m_run.stopped = true;
            m_run.stoppedAt = e->text;
            break;
        }
        result = true;
        ++m_run.done;
    }
    return result;
}

bool TWorkingWithXML::FindChangedPlanFiles(QStringList& keys)
{
    m_skipped = 0;
    m_run = PlanFilesRun{};
    keys.clear();
    if (!loadPlanFolder())
        return false;
    const std::vector<PlanEmployee> all = PlanEmployees();
    m_run.total = static_cast<int>(all.size());
    for (int i = 0; i < m_run.total; ++i) {
        const PlanEmployee& e = all.at(static_cast<std::size_t>(i));
        if (!reportProgress(i, m_run.total, e.text)) {
            keys.clear();
            return false;
        }
        ++m_run.done;
        QByteArray bytes;
        if (m_planFolder.isEmpty() || !IsSafePlanFileName(e.fileName) ||
            !ReadPlanFileBytes(PlanFilePath(m_planFolder, e.fileName), bytes) ||
            !ParsePlanFile(DecryptString(bytes, kPlanFileCipherKey)) || !ParsedFileIsOfPlanYear() ||
            m_content.employeeKey != e.key) {
            ++m_skipped;
            continue;
        }
        if (m_content.stamp != e.stamp)
            keys.append(e.key);
    }
    return !keys.isEmpty();
}

} // namespace zf
