#include "planfiles/returnedfiles.h"

#include "cipher/cipher.h"
#include "planfiles/planfile.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace zf {

namespace {

struct FileFacts
{
    bool readable = false;
    bool parsed = false;
    bool ofYear = false;
    PlanFileData data;
    QByteArray bytes;
};

// The import scan's own reading: the bytes (never through a link), the cipher, the parse and
// the year check.
FileFacts readFacts(const QString& path, int year)
{
    FileFacts f;
    f.readable = ReadPlanFileBytes(path, f.bytes);
    if (!f.readable)
        return f;
    f.parsed = ParsePlanFileText(DecryptString(f.bytes, kPlanFileCipherKey), year, f.data);
    f.ofYear = f.parsed && IsOfPlanYear(f.data.year, year);
    return f;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

ReturnedFilesIntake::ReturnedFilesIntake(TmyDataBase& db, Dialogs& dialogs, int year)
    : m_db(db), m_dialogs(dialogs), m_year(year)
{
}

bool ReturnedFilesIntake::Add(const QStringList& paths, std::vector<ReturnedFile>& out)
{
    out.clear();
    TWorkingWithXML plan(m_db, m_year);
    if (!plan.LoadPlanSettings(QString(), false))
        return false;
    const std::vector<PlanEmployee> employees = plan.PlanEmployees();
    QHash<QString, const PlanEmployee*> byKey;
    for (const PlanEmployee& e : employees)
        byKey.insert(e.key, &e);
    const QString folder = plan.planFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        m_dialogs.information(kCaptionError,
                              QStringLiteral("Katalog planu %1 jest niedostępny. Sprawdź "
                                             "ścieżkę w konfiguracji planu.")
                                  .arg(shown(folder)));
        return false;
    }

    for (const QString& path : paths) {
        ReturnedFile r;
        r.source = path;
        const auto refuse = [&](const QString& reason) {
            r.reason = reason;
            out.push_back(r);
        };
        const QFileInfo info(path);
        if (info.isSymLink()) {
            refuse(QStringLiteral("to dowiązanie, a nie plik"));
            continue;
        }
        const FileFacts f = readFacts(path, m_year);
        if (!f.readable) {
            refuse(QStringLiteral("nie można go odczytać albo nie jest plikiem planu"));
            continue;
        }
        if (!f.parsed) {
            refuse(QStringLiteral("plik jest uszkodzony albo nie jest plikiem planu"));
            continue;
        }
        if (!f.ofYear) {
            int fileYear = 0;
            refuse(
                ParseStamp(f.data.year, fileYear)
                    ? QStringLiteral("to plan na rok %1, a nie na rok %2").arg(fileYear).arg(m_year)
                    : QStringLiteral("plik nie podaje poprawnego roku planu"));
            continue;
        }
        const PlanEmployee* e = byKey.value(f.data.employeeKey);
        if (!e) {
            refuse(QStringLiteral("pracownik o numerze %1 nie należy do planu na rok %2")
                       .arg(f.data.employeeKey)
                       .arg(m_year));
            continue;
        }
        r.employee = e->text;
        if (f.data.stamp == e->stamp) {
            refuse(QStringLiteral("pracownik nie zapisał w nim zmian (plik jest taki, jak go "
                                  "wysłano, albo już został wczytany)"));
            continue;
        }
        if (!IsSafePlanFileName(e->fileName)) {
            refuse(QStringLiteral("nazwa pliku pracownika w kartotece jest niepoprawna"));
            continue;
        }
        const QString target = PlanFilePath(folder, e->fileName);
        const QFileInfo targetInfo(target);
        if (targetInfo.exists() && targetInfo.canonicalFilePath() == info.canonicalFilePath()) {
            refuse(QStringLiteral("to ten sam plik, który jest w katalogu planu"));
            continue;
        }
        if (targetInfo.exists() || targetInfo.isSymLink()) {
            const FileFacts there = readFacts(target, m_year);
            const bool unreadSave = there.parsed && there.ofYear &&
                                    there.data.employeeKey == e->key &&
                                    there.data.stamp != e->stamp;
            if (unreadSave && there.bytes == f.bytes) {
                refuse(QStringLiteral("taki sam plik już jest w katalogu planu"));
                continue;
            }
            if (unreadSave &&
                !m_dialogs.question(
                    kCaptionQuestion,
                    QStringLiteral("W katalogu planu jest już plik %1, zapisany przez pracownika "
                                   "%2 i jeszcze niewczytany.\nZastąpić go plikiem %3?\n\n"
                                   "Tak – zastąp plikiem dodawanym, Nie – zostaw plik z "
                                   "katalogu planu.")
                        .arg(shown(target), e->text, shown(path)))) {
                refuse(QStringLiteral("zostawiono plik, który już był w katalogu planu"));
                continue;
            }
        }
        if (!WritePlanFileBytes(target, f.bytes)) {
            refuse(QStringLiteral("nie udało się zapisać go w katalogu planu jako %1; sprawdź "
                                  "dostęp do katalogu")
                       .arg(shown(target)));
            continue;
        }
        r.added = true;
        out.push_back(r);
    }
    return true;
}

QString ReturnedFilesIntake::Summary(const std::vector<ReturnedFile>& files)
{
    QStringList added;
    QStringList refused;
    for (const ReturnedFile& f : files) {
        if (f.added)
            added << QStringLiteral("%1 – %2").arg(shown(f.source), f.employee);
        else
            refused << QStringLiteral("%1: %2").arg(shown(f.source), f.reason);
    }
    QString text;
    if (!added.isEmpty())
        text += QStringLiteral("Dodano do katalogu planu:\n") + added.join(QLatin1Char('\n'));
    if (!refused.isEmpty()) {
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += QStringLiteral("Nie dodano:\n") + refused.join(QLatin1Char('\n'));
    }
    return text;
}

} // namespace zf
