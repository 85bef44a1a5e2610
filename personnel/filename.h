#pragma once

#include <QSet>
#include <QString>

namespace zf {

// Whether a leave-plan file of this name (without its extension) can exist in the plan folder.
// It is judged against the data folder's "debug" folder: an existing file of that name counts
// as valid, anything else of that name makes it invalid; otherwise the folder must take a new
// file (tried out with a file of the check's own, created and removed again) and the name must
// fit its file system's limits. A name that is not a single file name — "." or anything the
// export's IsSafePlanFileName refuses (a path separator, "..", a control character) — is refused
// before anything is looked at, so no name can reach outside the plan folder.
bool IsValidFileName(const QString& name, const QString& dataFolder);

// The same test for many names (an import's rows): the folder is read and tried out once, with a
// file of its own, on the first name; every name after that is decided by rule, without touching
// the disk: the characters above, the length of a name and of the path, and what lay in the
// folder when it was read.
class FileNameCheck
{
public:
    explicit FileNameCheck(const QString& dataFolder);
    bool isValid(const QString& name) const;

private:
    void readFolder() const;

    QString m_folder;
    mutable bool m_read = false;
    mutable bool m_usable = false;
    mutable long m_nameMax = 0; // bytes of one name, as the folder's file system allows
    mutable long m_folderBytes = 0;
    // What lies in the folder: files (a link to one too), and everything else.
    mutable QSet<QString> m_files;
    mutable QSet<QString> m_others;
};

// What decides whether two plan file names are one file: the shared plan folder is reached
// from Windows too, where case does not count and trailing blanks are dropped.
QString FileNameKey(const QString& name);

// The name the card proposes for an employee's plan file: first name, "_", surname, without the
// characters a plan file name may not hold (quotes, separators, control characters, the second
// dot of a run). Empty when nothing of the names is left.
QString ProposedFileName(const QString& name, const QString& surname);

// The characters that typing into a file-name field turns into "_".
bool isFilteredFileNameChar(QChar c);
QString filterTypedFileName(const QString& typed);

} // namespace zf
