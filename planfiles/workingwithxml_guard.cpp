// What the export finds in the plan folder before it writes: the files that employees saved and
// the office has not read yet, files of another year and anything that is not an employee's own
// plan file. None of them is replaced without the clerk saying so.
#include "planfiles/workingwithxml.h"
#include "planfiles/workingwithxml_reader.h"

#include "util/dialogs.h"
#include "util/ovtools.h"

namespace zf {

using namespace planfilesql;

namespace {

const QString kQuestionReplace = QStringLiteral(
    "W folderze planu %1 są pliki, które pracownicy zapisali, a których jeszcze nie wczytano, "
    "lub pliki planu na inny rok. Liczba takich plików: %2.\n\n%3\n\nWygenerowanie ich od nowa "
    "usunie dni, które pracownicy w nich zapisali. Aby je zachować, pomiń te pliki i wczytaj je "
    "poleceniem \"Wczytaj wypełnione\".");
const QString kQuestionNoFreeDays = QStringLiteral(
    "Kalendarz planu na rok %1 nie zawiera żadnego dnia wolnego od pracy. Pracownicy mogliby "
    "wtedy wybrać urlop w każdą sobotę, niedzielę i święto.\n\nDni wolne zaznacza się poleceniem "
    "\"Edytuj dni wolne\". Czy mimo to wygenerować plany?");

} // namespace

TWorkingWithXML::Consent TWorkingWithXML::askToReplace(const QStringList& files)
{
    const int answer = m_db.dialogs().choose(
        kCaptionQuestion,
        kQuestionReplace.arg(TOVTools::ExcludeTrailingBackslash(m_planFolder))
            .arg(files.size())
            .arg(FirstTenLines(files)),
        {QStringLiteral("&Pomiń te pliki"), QStringLiteral("&Nadpisz"), QStringLiteral("&Anuluj")},
        0);
    switch (answer) {
    case 0:
        return Skip;
    case 1:
        return Overwrite;
    default:
        return Cancel;
    }
}

bool TWorkingWithXML::mayGenerateWithoutFreeDays()
{
    if (!m_content.freeDays.isEmpty())
        return true;
    return m_db.dialogs().question(kCaptionQuestion, kQuestionNoFreeDays.arg(m_content.year));
}

bool TWorkingWithXML::lookAtExistingFiles(const QStringList& keys,
                                          const QHash<QString, Stored>& stored,
                                          QHash<QString, ExistingPlanFile>& looked,
                                          QSet<QString>& keep)
{
    looked.clear();
    keep.clear();
    QHash<QString, QString> lines; // "employee: why"
    QStringList askAbout;
    for (const QString& key : keys) {
        const auto e = stored.constFind(key);
        if (e == stored.cend() || looked.contains(key) || !IsSafePlanFileName(e->fileName))
            continue; // reported when its turn comes
        const ExistingPlanFile f =
            LookAtPlanFile(PlanFilePath(m_planFolder, e->fileName), key, m_content.year, e->stamp);
        looked.insert(key, f);
        if (!f.leftAlone() && !f.needsConsent())
            continue;
        const QString line = storedText(key, *e) + QStringLiteral(": ") + f.reason();
        lines.insert(key, line);
        if (f.leftAlone())
            keep.insert(key);
        else
            askAbout.append(line);
    }
    if (!askAbout.isEmpty()) {
        switch (askToReplace(askAbout)) {
        case Overwrite:
            break;
        case Skip:
            for (auto f = looked.cbegin(); f != looked.cend(); ++f)
                if (f->needsConsent())
                    keep.insert(f.key());
            break;
        case Cancel:
            m_run.cancelled = true;
            return false;
        }
    }
    for (const QString& key : keys)
        if (keep.contains(key) && !m_run.leftAlone.contains(lines.value(key)))
            m_run.leftAlone.append(lines.value(key));
    return true;
}

} // namespace zf
