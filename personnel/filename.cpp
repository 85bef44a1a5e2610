#include "personnel/filename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zf {

bool isFilteredFileNameChar(QChar c)
{
    static const QString filtered = QStringLiteral(" \"*+,/:;<=>?[\\]^|");
    return filtered.contains(c);
}

QString filterTypedFileName(const QString& typed)
{
    QString out = typed;
    for (QChar& c : out)
        if (isFilteredFileNameChar(c))
            c = QLatin1Char('_');
    return out;
}

QString FileNameKey(const QString& name)
{
    QString key = name;
    while (key.endsWith(QLatin1Char(' ')))
        key.chop(1);
    return key.toCaseFolded();
}

bool IsValidFileName(const QString& name, const QString& dataFolder)
{
    static const QString windowsForbidden = QStringLiteral("\\/:*?\"<>|");
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return false;
    for (const QChar c : name)
        if (windowsForbidden.contains(c))
            return false;
    for (const QChar c : name)
        if (c.unicode() < 32 || c.unicode() == 127)
            return false;
    const QString folder = dataFolder + QStringLiteral("/debug");
    const QString path = folder + QLatin1Char('/') + name;
    if (QFileInfo(path).isFile())
        return true;
    if (QFileInfo::exists(path)) // a folder or something else of that name
        return false;
    QFile probe(path);
    if (!probe.open(QIODevice::NewOnly | QIODevice::WriteOnly))
        return false;
    probe.close();
    return probe.remove();
}

} // namespace zf
