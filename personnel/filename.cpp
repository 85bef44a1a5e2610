#include "personnel/filename.h"

#include "util/planfilename.h"

#include <QDir>
#include <QDirIterator>
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

void FileNameCheck::readFolder() const
{
    m_read = true;
    // The one file this check ever creates: a name of its own, gone again at once.
    QTemporaryFile probe(m_folder + QStringLiteral("/.zf-name-XXXXXX"));
    m_usable = probe.open();
    probe.close();
    m_usable = m_usable && probe.remove();
    const QByteArray folder = QFile::encodeName(m_folder);
    const long nameMax = ::pathconf(folder.constData(), _PC_NAME_MAX);
    m_nameMax = nameMax > 0 ? nameMax : 255;
    m_folderBytes = folder.size();
    QDirIterator it(m_folder, QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        (info.isFile() ? m_files : m_others).insert(info.fileName());
    }
}

namespace {
// The bytes of `name` in UTF-8, the file names' encoding here, counted without converting.
long utf8Bytes(const QString& name)
{
    long bytes = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < name.size() &&
                 QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}
} // namespace

bool FileNameCheck::isValid(const QString& name) const
{
    if (!isOneFileName(name))
        return false;
    if (!m_read)
        readFolder();
    if (m_files.contains(name))
        return true;
    if (m_others.contains(name) || !m_usable)
        return false;
    // Three bytes a character at most: a short name needs no counting.
    const long most = static_cast<long>(name.size()) * 3;
    const long bytes = most <= m_nameMax && m_folderBytes + 1 + most < PATH_MAX ? most
                                                                                : utf8Bytes(name);
    return bytes <= m_nameMax && m_folderBytes + 1 + bytes < PATH_MAX;
}

bool IsValidFileName(const QString& name, const QString& dataFolder)
{
    return FileNameCheck(dataFolder).isValid(name);
}

} // namespace zf
