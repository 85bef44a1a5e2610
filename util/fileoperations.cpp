#include "util/fileoperations.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace zf {

namespace fs = std::filesystem;

namespace {

fs::path toPath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

QString fromPath(const fs::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

bool hasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// "*" any run of characters, "?" one character; nothing else is special.
bool wildcardMatch(const QString& pattern, const QString& name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern.at(p) == QLatin1Char('?') || pattern.at(p) == name.at(n))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool pathExists(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

bool isDirectory(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

QStringList splitPaths(const QString& text)
{
    QStringList paths;
    for (const QString& piece : text.split(QLatin1Char(';'))) {
        if (!piece.isEmpty())
            paths << piece;
    }
    return paths;
}

// A trailing separator would leave the path without a file name.
QString withoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool namesAFile(const fs::path& path)
{
    const fs::path name = path.filename();
    return !name.empty() && name != "." && name != "..";
}

// The sources one ";"-piece stands for, in name order for wildcards.
struct Expansion
{
    int result = frOk;
    bool wildcard = false;
    std::vector<fs::path> paths;
};

Expansion expand(const QString& source, bool filesOnly)
{
    Expansion out;
    const fs::path path = toPath(withoutTrailingSeparator(source));
    if (!namesAFile(path)) {
        out.result = frBadSource;
        return out;
    }
    QString pattern = fromPath(path.filename());
    if (!hasWildcards(pattern)) {
        if (!pathExists(path))
            out.result = frSourceMissing;
        else
            out.paths.push_back(path);
        return out;
    }
    out.wildcard = true;
    // "*.*" means every name, also those without a dot.
    if (pattern == QLatin1String("*.*"))
        pattern = QStringLiteral("*");
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        out.result = frSourceMissing;
        return out;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        if (!wildcardMatch(pattern, fromPath(entry.path().filename())))
            continue;
        std::error_code typeEc;
        if (filesOnly && entry.is_directory(typeEc))
            continue;
        out.paths.push_back(path.has_parent_path() ? entry.path() : entry.path().filename());
    }
    if (ec) {
        out.result = frFailed;
        return out;
    }
    std::sort(out.paths.begin(), out.paths.end());
    return out;
}

struct Item
{
    fs::path source;
    fs::path target; // empty for deletion
};

// "name (2).ext", "name (3).ext", ...: the first that does not exist yet.
fs::path freeName(const fs::path& target, bool folder)
{
    const QString name = fromPath(target.filename());
    qsizetype dot = folder ? -1 : name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        dot = name.size();
    const QString stem = name.left(dot);
    const QString extension = name.mid(dot);
    for (int n = 2;; ++n) {
        const fs::path candidate =
            target.parent_path() /
            toPath(stem + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')') + extension);
        if (!pathExists(candidate))
            return candidate;
    }
}

// True when inside is folder or lies below it.
bool isWithin(const fs::path& inside, const fs::path& folder)
{
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(fs::absolute(inside, ec), ec);
    if (ec)
        return false;
    const fs::path b = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec)
        return false;
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty())
            continue; // the empty last element of a path ending in "/"
        if (ai == a.end() || *ai != *bi)
            return false;
    }
    return true;
}

int copyTree(const fs::path& source, const fs::path& target, bool replace)
{
    std::error_code ec;
    fs::copy_options options = fs::copy_options::recursive;
    if (replace)
        options |= fs::copy_options::overwrite_existing;
    fs::copy(source, target, options, ec);
    return ec ? frFailed : frOk;
}

int moveTree(const fs::path& source, const fs::path& target, bool mergeFolders)
{
    std::error_code ec;
    if (!mergeFolders) {
        fs::rename(source, target, ec);
        if (!ec)
            return frOk;
        if (ec.value() != EXDEV)
            return frFailed;
    }
    // Another file system, or a folder merged into an existing one: copy, then remove.
    if (const int rc = copyTree(source, target, true); rc != frOk)
        return rc;
    fs::remove_all(source, ec);
    return ec ? frFailed : frOk;
}

} // namespace

int TFileOperation::Execute()
{
    m_abortByUser = false;
    const bool filesOnly = m_options.testFlag(fofFilesOnly);
    const bool multiDest = m_options.testFlag(fofMultiDestFiles);
    const bool mayCreateFolders =
        m_options.testFlag(fofNoConfirmMkDir) || m_options.testFlag(fofNoConfirmation);
    const bool renameOnCollision = m_options.testFlag(fofRenameOnCollision);
    const bool replace = m_options.testFlag(fofNoConfirmation);

    const QStringList entries = splitPaths(m_source);
    if (entries.isEmpty())
        return frBadSource;
    std::vector<Expansion> expansions;
    for (const QString& entry : entries) {
        expansions.push_back(expand(entry, filesOnly));
        if (expansions.back().result != frOk)
            return expansions.back().result;
    }

    std::vector<Item> items;
    if (m_mode == foDelete) {
        for (const Expansion& e : expansions) {
            for (const fs::path& p : e.paths)
                items.push_back({p, {}});
        }
    } else if (m_mode == foRename) {
        if (expansions.size() != 1 || expansions.front().wildcard)
            return frRenameSource;
        if (m_destination.isEmpty())
            return frNoDestination;
        const fs::path source = expansions.front().paths.front();
        const QString destination = withoutTrailingSeparator(m_destination);
        items.push_back({source, destination.contains(QLatin1Char('/'))
                                     ? toPath(destination)
                                     : source.parent_path() / toPath(destination)});
    } else {
        QStringList destinations;
        if (multiDest)
            destinations = splitPaths(m_destination);
        else if (!m_destination.isEmpty())
            destinations << m_destination;
        if (destinations.isEmpty())
            return frNoDestination;
        if (multiDest && destinations.size() != entries.size())
            return frDestinationCount;
        for (size_t i = 0; i < expansions.size(); ++i) {
            const fs::path destination =
                toPath(withoutTrailingSeparator(destinations.at(multiDest ? qsizetype(i) : 0)));
            const bool intoFolder = !multiDest || expansions[i].wildcard;
            for (const fs::path& p : expansions[i].paths)
                items.push_back({p, intoFolder ? destination / p.filename() : destination});
        }
    }

    for (Item& item : items) {
        std::error_code ec;
        if (m_mode == foDelete) {
            if (m_options.testFlag(fofAllowUndo)) {
                if (!QFile::moveToTrash(fromPath(item.source)))
                    return frFailed;
            } else {
                fs::remove_all(item.source, ec);
                if (ec)
                    return frFailed;
            }
            continue;
        }

        const bool sourceIsFolder = isDirectory(item.source);
        const fs::path folder =
            item.target.has_parent_path() ? item.target.parent_path() : fs::path(".");
        if (sourceIsFolder && isWithin(folder, item.source))
            return frIntoItself;
        if (!isDirectory(folder)) {
            if (pathExists(folder) || !mayCreateFolders)
                return frFolderMissing;
            fs::create_directories(folder, ec);
            if (ec)
                return frFailed;
        }

        bool replacing = false;
        if (pathExists(item.target)) {
            const bool same = fs::equivalent(item.source, item.target, ec) && !ec;
            if (renameOnCollision)
                item.target = freeName(item.target, sourceIsFolder);
            else if (same)
                return frSameFile;
            else if (!replace)
                return frTargetExists;
            else if (sourceIsFolder != isDirectory(item.target))
                return frCannotReplace;
            else
                replacing = true;
        }

        const int rc = m_mode == foCopy
                           ? copyTree(item.source, item.target, replacing)
                           : moveTree(item.source, item.target, replacing && sourceIsFolder);
        if (rc != frOk)
            return rc;
    }
    return frOk;
}

void TFileOperations::Clear()
{
    m_sources.clear();
    m_destinations.clear();
}

int TFileOperations::ExecuteAll()
{
    if (m_sources.isEmpty())
        return frOk;
    if (!m_operation)
        return frNoOperation;
    for (qsizetype i = 0; i < m_sources.size(); ++i) {
        m_operation->SetSource(m_sources.at(i));
        if (i < m_destinations.size())
            m_operation->SetDestination(m_destinations.at(i));
        if (const int rc = m_operation->Execute(); rc != frOk)
            return rc;
    }
    return frOk;
}

} // namespace zf
