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

bool IsValidFileName(const QString& name, const QString& dataFolder)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
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
