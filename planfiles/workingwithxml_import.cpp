// Reading the plan files the employees sent back and storing their days: the import half of
// TWorkingWithXML.
#include "planfiles/workingwithxml.h"

#include "planfiles/planstore.h"

#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "util/exception.h"
#include "util/ovtools.h"

#include <QHash>

namespace zf {

namespace {

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

// The plans read are gathered and stored in chunks, each by one statement and committed with
// it: every few dozen employees or a fraction of a second, before any message and when the run
// ends (see PlanStore). Each employee is stored whole or not at all, locks on other clerks' rows
// are held briefly, and the round trips to the server and the disk's syncs come per chunk, not
// per employee or per day.
struct TWorkingWithXML::Writer : PlanStore
{
    using PlanStore::PlanStore;
};

bool TWorkingWithXML::storePlan(Writer& w, const QString& key)
{
    w.add(key, employeeText(), m_content.stamp, m_content.selectedDays, m_content.unchangeableDays);
    return !w.isDue() || commitStored(w);
}

bool TWorkingWithXML::commitStored(Writer& w)
{
    const PlanStoreResult r = w.flush();
    m_run.done += r.stored;
    if (!r.failed)
        return true;
    // The first employee not stored: the failing one, or the first of a refused commit. The
    // run ends there, whatever came after.
    m_run.stopped = true;
    m_run.stoppedAt = r.stoppedAt;
    m_db.ReportUnexpectedError(r.message, true, kCodeStore);
    return false;
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

    Writer writer(m_db, m_content.year);
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
