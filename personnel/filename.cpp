#include "personnel/filename.h"

#include "util/planfilename.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <climits>
#include <unistd.h>

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

namespace {
bool isWindowsForbidden(QChar c)
{
    static const QString windowsForbidden = QStringLiteral("\\/:*?\"<>|");
    return windowsForbidden.contains(c);
}

// A single file name that the export writes and a Windows folder can hold too; nothing on disk
// is looked at.
bool isOneFileName(const QString& name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || !IsSafePlanFileName(name))
        return false;
    return std::none_of(name.begin(), name.end(), isWindowsForbidden);
}
} // namespace

QString ProposedFileName(const QString& name, const QString& surname)
{
    QString proposal;
    for (const QChar c : name + QLatin1Char('_') + surname) {
        if (isWindowsForbidden(c) || c.unicode() < 32 || c.unicode() == 127)
            continue;
        // One dot of a run is kept: ".." is refused anywhere in the name.
        if (c == QLatin1Char('.') && proposal.endsWith(QLatin1Char('.')))
            continue;
        proposal += c;
    }
    return proposal == QStringLiteral("_") ? QString() : proposal;
}

FileNameCheck::FileNameCheck(const QString& dataFolder)
    : m_folder(dataFolder + QStringLiteral("/debug"))
{
}

bool FileNameCheck::folderUsable() const
{
    if (m_folderState < 0) {
        // The one file this check ever creates: a name of its own, gone again at once.
        QTemporaryFile probe(m_folder + QStringLiteral("/.zf-name-XXXXXX"));
        bool usable = probe.open();
        probe.close();
        usable = usable && probe.remove();
        const long nameMax = ::pathconf(QFile::encodeName(m_folder).constData(), _PC_NAME_MAX);
        m_nameMax = nameMax > 0 ? nameMax : 255;
        m_folderState = usable ? 1 : 0;
    }
    return m_folderState == 1;
}

bool FileNameCheck::isValid(const QString& name) const
{
    if (!isOneFileName(name))
        return false;
    const QString path = m_folder + QLatin1Char('/') + name;
    const QFileInfo info(path);
    if (info.isFile())
        return true;
    if (info.exists() || info.isSymLink()) // a folder, a dangling link or anything else
        return false;
    if (!folderUsable())
        return false;
    return QFile::encodeName(name).size() <= m_nameMax && QFile::encodeName(path).size() < PATH_MAX;
}

bool IsValidFileName(const QString& name, const QString& dataFolder)
{
    return FileNameCheck(dataFolder).isValid(name);
}

} // namespace zf
