#include "plans/planfolder.h"

#include "data/fb/statement.h"
#include "data/mydatabase.h"
#include "util/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdlib>

namespace zf {

namespace {

QString normalFolder(const QString& path)
{
    const QFileInfo info(QDir::fromNativeSeparators(path.trimmed()));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

const QString PlanFolders::kSharedQuestion = QStringLiteral(
    "Folder %1 jest już folderem planu urlopowego na rok %2. Nazwy plików planów nie zawierają "
    "roku, więc plany dwóch lat w jednym folderze nadpisywałyby nawzajem swoje pliki, a "
    "pracownicy straciliby zapisane w nich dni. Każdy plan powinien mieć własny folder.\n\nCzy "
    "mimo to użyć tego folderu dla planu na rok %3?");

QString ProposedPlanFolder(int year, const QString& otherFolder, int otherYear)
{
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(otherFolder.trimmed()));
    if (otherFolder.trimmed().isEmpty() || folder == QStringLiteral("/"))
        return {};
    const QFileInfo info(folder);
    const QString name = info.fileName();
    const QString otherYearText = QString::number(otherYear);
    QString proposed;
    if (otherYear > 0 && name.contains(otherYearText)) {
        proposed = info.path() + QLatin1Char('/') +
                   QString(name).replace(otherYearText, QString::number(year));
    } else {
        proposed = folder + QStringLiteral("/Plan urlopowy %1").arg(year);
    }
    return QDir::toNativeSeparators(QDir::cleanPath(proposed));
}

bool SameFolder(const QString& a, const QString& b)
{
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return false;
    return normalFolder(a) == normalFolder(b);
}

PlanFolders::PlanFolders(TmyDataBase& db, Dialogs& dialogs) : m_db(db), m_dialogs(dialogs) {}

QList<PlanFolders::Plan> PlanFolders::plans()
{
    QList<Plan> out;
    if (!m_db.Utility(kCodeRead, [&](fb::Statement& st) {
            st.setSql(QStringLiteral(
                "SELECT IDYEAR, PLANDIR FROM HOLIDAYPLANS WHERE PLANDIR <> '' ORDER BY IDYEAR"));
            st.execute();
            while (st.fetch())
                out.append({st.value(0).toInt(), st.value(1).toString()});
            st.close();
        }))
        out.clear();
    return out;
}

QList<int> PlanFolders::PlansUsing(const QString& folder, int exceptYear)
{
    QList<int> years;
    if (folder.trimmed().isEmpty())
        return years;
    for (const Plan& p : plans())
        if (p.year != exceptYear && SameFolder(p.folder, folder))
            years.append(p.year);
    return years;
}

QString PlanFolders::ProposeFor(int year)
{
    const Plan* nearest = nullptr;
    const QList<Plan> all = plans();
    for (const Plan& p : all)
        if (p.year != year &&
            (!nearest || std::abs(p.year - year) < std::abs(nearest->year - year)))
            nearest = &p;
    return nearest ? ProposedPlanFolder(year, nearest->folder, nearest->year) : QString();
}

bool PlanFolders::MayUse(const QString& folder, int year)
{
    const QList<int> years = PlansUsing(folder, year);
    if (years.isEmpty())
        return true;
    QStringList texts;
    for (const int y : years)
        texts.append(QString::number(y));
    return m_dialogs.question(kCaptionWarning,
                              kSharedQuestion.arg(folder, texts.join(QStringLiteral(", ")))
                                  .arg(year));
}

} // namespace zf
