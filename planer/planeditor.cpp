#include "planer/planeditor.h"

#include "cipher/cipher.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace zf {

namespace {

// The office's own words for a leave choice over the limit.
const QString kOverLimit =
    QStringLiteral("Wybrano więcej dni urlopu niż przysługujący limit. Popraw grafik.");
const QString kAskOffice = QStringLiteral("Poproś dział kadr o nowy plik planu.");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString faultText(PlanFileFault fault)
{
    using F = PlanFileFault;
    switch (fault) {
    case F::None:
        break;
    case F::NoYear:
        return QStringLiteral("brak roku planu");
    case F::BadYear:
        return QStringLiteral("rok planu spoza zakresu %1–%2").arg(kMinPlanYear).arg(kMaxPlanYear);
    case F::NoEmployeeKey:
        return QStringLiteral("brak numeru ewidencyjnego pracownika");
    case F::NoName:
        return QStringLiteral("brak imienia pracownika");
    case F::NoSurname:
        return QStringLiteral("brak nazwiska pracownika");
    case F::NoPassword:
        return QStringLiteral("brak hasła planu");
    case F::NoEntitlement:
        return QStringLiteral("brak wymiaru urlopu");
    case F::BadEntitlement:
        return QStringLiteral("wymiar urlopu nie jest liczbą całkowitą");
    case F::NoStamp:
        return QStringLiteral("brak znacznika zmian");
    case F::BadStamp:
        return QStringLiteral("znacznik zmian nie jest liczbą całkowitą");
    case F::NoFreeDays:
        return QStringLiteral("brak listy dni wolnych od pracy");
    case F::NoComment:
        return QStringLiteral("brak komentarza działu kadr");
    case F::NoCheckRange:
    case F::BadCheckRange:
        return QStringLiteral("brak ustawienia kontroli wymiaru urlopu");
    case F::NoSelectedDays:
        return QStringLiteral("brak listy wybranych dni urlopu");
    case F::Truncated:
        return QStringLiteral("plik jest niekompletny");
    case F::Misplaced:
        return QStringLiteral("elementy pliku są w niewłaściwej kolejności");
    }
    return {};
}

QSet<int> toSet(const QList<int>& days)
{
    return QSet<int>(days.begin(), days.end());
}

} // namespace

TPlanEditor::TPlanEditor(Dialogs& dialogs) : m_dialogs(dialogs) {}

int TPlanEditor::entitlement() const
{
    return m_file.content.lastYearDays + m_file.content.thisYearDays;
}

LaborCodeCheck TPlanEditor::laborCode() const
{
    const PlanFileContent& c = m_file.content;
    return CheckLaborCode(MakeLaborCodeYear(c.year, m_free), LeaveFlags(c.year, chosenDays()),
                          c.lastYearDays, c.thisYearDays);
}

QList<int> TPlanEditor::chosenDays() const
{
    QList<int> days(m_chosen.begin(), m_chosen.end());
    std::sort(days.begin(), days.end());
    return days;
}

void TPlanEditor::failOpen(const QString& text)
{
    m_dialogs.information(kCaptionError, text);
}

TPlanEditor::OpenResult TPlanEditor::Open(const QString& path)
{
    const QString where = shown(path);
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Plan files are read and written only in place: a save through a link would replace
        // the link, not the plan the office reads.
        const QString target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
        failOpen(QStringLiteral("Plik\n%1\njest dowiązaniem symbolicznym (skrótem) do pliku\n%2\n"
                                "%3Plan otwiera się tylko z samego pliku: otwórz bezpośrednio "
                                "plik, na który wskazuje dowiązanie.")
                     .arg(where, QDir::toNativeSeparators(target),
                          info.exists() ? QString()
                                        : QStringLiteral("którego nie ma (został usunięty lub "
                                                         "przeniesiony). ")));
        return OpenResult::Failed;
    }
    if (!info.exists()) {
        failOpen(QStringLiteral("Nie znaleziono pliku planu urlopowego:\n%1\nSprawdź nazwę pliku i "
                                "folder, w którym go zapisano.")
                     .arg(where));
        return OpenResult::Failed;
    }
    if (!info.isFile()) {
        failOpen(QStringLiteral("To nie jest plik planu urlopowego:\n%1\nWskaż plik z "
                                "rozszerzeniem .zfpn otrzymany z działu kadr.")
                     .arg(where));
        return OpenResult::Failed;
    }
    if (info.size() > kMaxPlanFileSize) {
        failOpen(
            QStringLiteral("Plik\n%1\nnie jest planem urlopowym: jest za duży (%2 bajtów; plik "
                           "planu ma kilka kilobajtów). Wskaż właściwy plik albo %3")
                .arg(where)
                .arg(info.size())
                .arg(kAskOffice.toLower()));
        return OpenResult::Failed;
    }
    QByteArray bytes;
    if (!ReadPlanFileBytes(path, bytes)) {
        failOpen(QStringLiteral("Nie można odczytać pliku planu urlopowego:\n%1\nSprawdź, czy "
                                "masz do niego dostęp, i spróbuj ponownie.")
                     .arg(where));
        return OpenResult::Failed;
    }
    EditablePlanFile file;
    const PlanFileFault fault =
        bytes.isEmpty() ? PlanFileFault::NoYear
                        : ReadEditablePlanFile(DecryptString(bytes, kPlanFileCipherKey), file);
    if (fault != PlanFileFault::None) {
        const QString reason =
            bytes.isEmpty() ? QStringLiteral("plik jest pusty") : faultText(fault);
        failOpen(QStringLiteral("Plik\n%1\nnie jest poprawnym planem urlopowym programu Zefirant "
                                "PL+ (%2). Mógł zostać uszkodzony przy kopiowaniu. %3")
                     .arg(where, reason, kAskOffice));
        return OpenResult::Failed;
    }
    if (!file.content.password.isEmpty()) {
        const OpenResult answer = askPassword(file.content.password, where);
        if (answer != OpenResult::Opened)
            return answer;
    }

    const PlanFileContent& c = file.content;
    m_free = toSet(c.freeDays);
    m_fixed.clear();
    for (const int day : c.unchangeableDays)
        if (!m_free.contains(day))
            m_fixed.insert(day);
    // A chosen day that has become non-working is neither shown nor kept, as in the office.
    m_chosen.clear();
    for (const int day : c.selectedDays)
        if (!m_free.contains(day))
            m_chosen.insert(day);
    m_fixedChosen = m_chosen & m_fixed;
    m_savedChosen = m_chosen;
    m_file = std::move(file);
    m_onDisk = bytes;
    m_path = path;
    m_open = true;
    return OpenResult::Opened;
}

TPlanEditor::OpenResult TPlanEditor::askPassword(const QString& password, const QString& shownPath)
{
    for (int attempt = 1; attempt <= kPasswordTries; ++attempt) {
        QString answer;
        if (!m_dialogs.prompt(QStringLiteral("Hasło planu urlopowego"),
                              QStringLiteral("Plan urlopowy w pliku\n%1\njest chroniony hasłem. "
                                             "Podaj hasło otrzymane z działu kadr:")
                                  .arg(shownPath),
                              answer, true))
            return OpenResult::Cancelled;
        if (answer == password)
            return OpenResult::Opened;
        if (attempt < kPasswordTries)
            m_dialogs.information(kCaptionError,
                                  QStringLiteral("Niepoprawne hasło. Pozostałe próby: %1.")
                                      .arg(kPasswordTries - attempt));
    }
    m_dialogs.information(kCaptionError,
                          QStringLiteral("Trzykrotnie podano niepoprawne hasło. Plan nie zostanie "
                                         "otwarty. Jeśli nie pamiętasz hasła, zapytaj o nie dział "
                                         "kadr."));
    return OpenResult::PasswordRefused;
}

void TPlanEditor::Close()
{
    m_open = false;
    m_path.clear();
    m_file = EditablePlanFile{};
    m_onDisk.clear();
    m_free.clear();
    m_fixed.clear();
    m_fixedChosen.clear();
    m_chosen.clear();
    m_savedChosen.clear();
}

bool TPlanEditor::SetChosenDays(const QList<int>& days)
{
    const QSet<int> given = toSet(days);
    QSet<int> chosen;
    for (const int day : given)
        if (IsValidDateNumber(day) && YearPart(day) == year() && !m_free.contains(day) &&
            !m_fixed.contains(day))
            chosen.insert(day);
    // Unchangeable days keep the state the office gave them, chosen or not.
    chosen.unite(m_fixedChosen);
    m_chosen = chosen;
    return chosen == given;
}

bool TPlanEditor::mayOverwrite(std::optional<int>& theirStamp)
{
    theirStamp.reset();
    QByteArray now;
    const bool readable = ReadPlanFileBytes(m_path, now);
    if (readable && now == m_onDisk)
        return true;
    EditablePlanFile theirs;
    if (readable &&
        ReadEditablePlanFile(DecryptString(now, kPlanFileCipherKey), theirs) == PlanFileFault::None)
        theirStamp = theirs.content.stamp;
    const QString where = shown(m_path);
    if (!QFileInfo::exists(m_path))
        return m_dialogs.question(
            kCaptionWarning,
            QStringLiteral("Plik planu\n%1\nzostał w międzyczasie usunięty lub przeniesiony przez "
                           "inny program. Czy zapisać plan ponownie pod tą samą nazwą?")
                .arg(where));
    return m_dialogs.question(
        kCaptionWarning,
        QStringLiteral("Plik planu\n%1\nzostał w międzyczasie zmieniony lub zastąpiony przez inny "
                       "program (np. dział kadr przygotował nowy plik). Zapisanie zastąpi go "
                       "Twoim planem. Czy mimo to zapisać?")
            .arg(where));
}

bool TPlanEditor::Save()
{
    if (!m_open)
        return false;
    if (remaining() < 0) {
        if (m_file.content.checkRange) {
            m_dialogs.information(kCaptionInformation, kOverLimit);
            return false;
        }
        m_dialogs.information(kCaptionWarning,
                              QStringLiteral("Wybrano więcej dni urlopu (%1) niż przysługujący "
                                             "limit (%2). Plan zostanie zapisany, ale dział kadr "
                                             "może go nie zaakceptować.")
                                  .arg(chosenCount())
                                  .arg(entitlement()));
    }
    std::optional<int> theirStamp;
    if (!mayOverwrite(theirStamp))
        return false;

    // The office may have read the file that replaced ours: the new stamp differs from both.
    int stamp = NextPlanFileStamp(m_file.content.stamp);
    while (stamp == theirStamp || stamp == m_file.content.stamp)
        stamp = NextPlanFileStamp(stamp);
    const QList<int> days = chosenDays();
    const QByteArray text = RewritePlanFileText(m_file, stamp, days);
    // What is written must read back as this plan with the new stamp and days and nothing else
    // changed.
    EditablePlanFile back;
    PlanFileContent expected = m_file.content;
    expected.stamp = stamp;
    expected.selectedDays = days;
    const PlanFileFault fault = ReadEditablePlanFile(text, back);
    const PlanFileContent& b = back.content;
    if (fault != PlanFileFault::None || b.year != expected.year ||
        b.employeeKey != expected.employeeKey || b.name != expected.name ||
        b.surname != expected.surname || b.password != expected.password ||
        b.lastYearDays != expected.lastYearDays || b.thisYearDays != expected.thisYearDays ||
        b.stamp != expected.stamp || b.freeDays != expected.freeDays ||
        b.comment != expected.comment || b.checkRange != expected.checkRange ||
        b.selectedDays != expected.selectedDays ||
        b.unchangeableDays != expected.unchangeableDays) {
        m_dialogs.information(kCaptionError,
                              QStringLiteral("Planu nie można bezpiecznie zapisać: plik ma "
                                             "nietypową budowę. Plik pozostał bez zmian. %1")
                                  .arg(kAskOffice));
        return false;
    }

    const QFileInfo info(m_path);
    // A file protected in a folder that can be written would be replaced all the same; in a
    // folder that cannot be written the folder is what the employee must ask about.
    if (info.exists() && !info.isWritable() && QFileInfo(info.absolutePath()).isWritable()) {
        m_dialogs.information(kCaptionError,
                              QStringLiteral("Plik planu\n%1\njest tylko do odczytu i pozostał bez "
                                             "zmian. Zdejmij z niego ochronę przed zapisem (albo "
                                             "poproś o to dział kadr) i zapisz ponownie.")
                                  .arg(shown(m_path)));
        return false;
    }
    const QByteArray bytes = EncryptString(text, kPlanFileCipherKey);
    const PlanFileWrite written = WritePlanFile(m_path, bytes);
    if (written == PlanFileWrite::Failed) {
        m_dialogs.information(
            kCaptionError,
            QStringLiteral("Nie udało się zapisać planu w folderze:\n%1\nFolder jest tylko do "
                           "odczytu (np. udział sieciowy bez prawa zapisu), niedostępny albo "
                           "pełny. Plik planu pozostał bez zmian, a wybrane dni są nadal w oknie. "
                           "Sprawdź dostęp do folderu (albo poproś o to dział kadr) i zapisz "
                           "ponownie.")
                .arg(QDir::toNativeSeparators(info.absolutePath())));
        return false;
    }
    m_file = std::move(back);
    m_onDisk = bytes;
    if (written == PlanFileWrite::NotSynced) {
        // The file holds the plan, but a crash could still take it: the changes stay unsaved.
        m_dialogs.information(
            kCaptionError,
            QStringLiteral("Plan zapisano w pliku\n%1\nale dysk nie potwierdził zapisu (np. "
                           "przerwane połączenie z udziałem sieciowym albo błąd dysku), więc plik "
                           "może nie przetrwać awarii komputera. Wybrane dni są nadal w oknie. "
                           "Sprawdź dostęp do folderu (albo poproś o to dział kadr) i zapisz "
                           "ponownie.")
                .arg(shown(m_path)));
        return false;
    }
    m_savedChosen = m_chosen;
    return true;
}

bool TPlanEditor::ConfirmClose(const std::function<bool()>& save)
{
    if (!modified())
        return true;
    switch (m_dialogs.questionWithCancel(kCaptionQuestion, QStringLiteral("Zapisać zmiany?"))) {
    case Dialogs::Answer::Yes:
        return save ? save() : Save();
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

} // namespace zf
