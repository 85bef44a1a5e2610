#include "planfiles/existingplanfile.h"

#include "cipher/cipher.h"
#include "planfiles/planfile.h"

#include <QFile>

#include <sys/stat.h>

namespace zf {

namespace {

bool statNoFollow(const QString& path, struct stat& info)
{
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

void keepIdentity(const struct stat& info, ExistingPlanFile& f)
{
    f.device = static_cast<qint64>(info.st_dev);
    f.inode = static_cast<qint64>(info.st_ino);
    f.size = static_cast<qint64>(info.st_size);
    f.modifiedNs = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

} // namespace

QString ExistingPlanFile::reason() const
{
    switch (state) {
    case Saved:
        return QStringLiteral("zapisany przez pracownika i jeszcze niewczytany");
    case OtherYear:
        return fileYear > 0 ? QStringLiteral("plan na rok %1").arg(fileYear)
                            : QStringLiteral("plan na inny rok");
    case Unreadable:
        return QStringLiteral("plik nieczytelny lub uszkodzony");
    case OtherEmployee:
        return QStringLiteral("plik planu innego pracownika");
    case NotAFile:
        return QStringLiteral("nie jest zwykłym plikiem (np. dowiązanie)");
    case Absent:
    case Current:
        break;
    }
    return {};
}

ExistingPlanFile LookAtPlanFile(const QString& path, const QString& key, int year, int stamp)
{
    ExistingPlanFile f;
    struct stat info
    {
    };
    if (!statNoFollow(path, info))
        return f;
    keepIdentity(info, f);
    if (!S_ISREG(info.st_mode)) {
        f.state = ExistingPlanFile::NotAFile;
        return f;
    }
    QByteArray bytes;
    PlanFileData data;
    if (!ReadPlanFileBytes(path, bytes) ||
        !ParsePlanFileText(DecryptString(bytes, kPlanFileCipherKey), year, data)) {
        f.state = ExistingPlanFile::Unreadable;
        return f;
    }
    // The year first, as the import decides: last year's file of this employee is not his.
    if (!IsOfPlanYear(data.year, year)) {
        f.state = ExistingPlanFile::OtherYear;
        ParseStamp(data.year, f.fileYear);
        return f;
    }
    if (data.employeeKey != key)
        f.state = ExistingPlanFile::OtherEmployee;
    else
        f.state = data.stamp == stamp ? ExistingPlanFile::Current : ExistingPlanFile::Saved;
    return f;
}

bool UnchangedSinceLook(const QString& path, const ExistingPlanFile& looked)
{
    struct stat info
    {
    };
    if (!statNoFollow(path, info))
        return looked.state == ExistingPlanFile::Absent;
    ExistingPlanFile now;
    keepIdentity(info, now);
    return looked.state != ExistingPlanFile::Absent && now.device == looked.device &&
           now.inode == looked.inode && now.size == looked.size &&
           now.modifiedNs == looked.modifiedNs;
}

QString FirstTenLines(const QStringList& items)
{
    constexpr int kShown = 10;
    QStringList lines = items.mid(0, kShown);
    if (items.size() > kShown)
        lines.append(QStringLiteral("i jeszcze %1 innych").arg(items.size() - kShown));
    return lines.join(QLatin1Char('\n'));
}

} // namespace zf
