#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>

namespace zf {

enum TFileMode
{
    foCopy,
    foDelete,
    foMove,
    foRename
};

// The values are those of the shell's flags, so stored option sets keep their meaning. Only
// some have a meaning here, see TFileOperation.
enum TFileOption
{
    fofMultiDestFiles = 0x1,
    fofConfirmMouse = 0x2,
    fofSilent = 0x4,
    fofRenameOnCollision = 0x8,
    fofNoConfirmation = 0x10,
    fofWantMappingHandle = 0x20,
    fofAllowUndo = 0x40,
    fofFilesOnly = 0x80,
    fofSimpleProgress = 0x100,
    fofNoConfirmMkDir = 0x200,
};
Q_DECLARE_FLAGS(TFileOptions, TFileOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileOptions)

// Results of TFileOperation::Execute and TFileOperations::ExecuteAll.
enum TFileResult : int
{
    frOk = 0,
    frBadSource = 1,        // Source is empty, or a path names no file (a root, "." or "..")
    frSourceMissing = 2,    // a source (or the folder of a wildcard) does not exist
    frNoDestination = 3,    // copy, move or rename without a destination
    frDestinationCount = 4, // fofMultiDestFiles with a different number of destinations
    frFolderMissing = 5,    // the destination folder is missing and may not be created
    frTargetExists = 6,     // the target exists and may not be replaced
    frSameFile = 7,         // the target is the source itself
    frIntoItself = 8,       // a folder copied or moved into itself
    frCannotReplace = 9,    // a file would replace a folder or the other way round
    frRenameSource = 10,    // rename needs exactly one source without wildcards
    frFailed = 11,          // the file system refused (permissions, disk full, ...)
    frNoOperation = 12,     // TFileOperations::ExecuteAll without an operation
};

// Copies, moves, deletes or renames files and folders.
//
// Source holds one or more paths separated by ";"; the file name of each may carry the
// wildcards "*" and "?" ("*.*" matches every name). All sources are checked before anything
// is changed; the first failure then stops the run, and what was done stays done.
//
// Flags with a meaning here:
// - fofMultiDestFiles: Destination holds one target path per source (";"-separated), naming
//   the copy itself; a source with wildcards deposits into its destination as a folder.
//   Without it Destination is one folder that receives every source.
// - fofNoConfirmMkDir: missing destination folders are created (so they are with
//   fofNoConfirmation, which answers every question with yes); otherwise they are an error.
// - fofNoConfirmation: existing targets are replaced (folders are merged).
// - fofRenameOnCollision: an existing target makes the copy "name (2).ext", "name (3).ext", ...
// - fofFilesOnly: wildcards match files only.
// - fofAllowUndo: deleted files go to the trash.
// Rename takes one source; a destination without "/" is a new name in the source's folder.
// No questions are asked, so AbortByUser is always false after a run; Title is kept for
// callers only.
class TFileOperation
{
public:
    TFileMode Mode() const { return m_mode; }
    void SetMode(TFileMode mode) { m_mode = mode; }
    TFileOptions Options() const { return m_options; }
    void SetOptions(TFileOptions options) { m_options = options; }
    const QString& Source() const { return m_source; }
    void SetSource(const QString& source) { m_source = source; }
    const QString& Destination() const { return m_destination; }
    void SetDestination(const QString& destination) { m_destination = destination; }
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    bool AbortByUser() const { return m_abortByUser; }

    // frOk, or the TFileResult of the first failure.
    int Execute();

private:
    TFileMode m_mode = foCopy;
    TFileOptions m_options;
    QString m_source;
    QString m_destination;
    QString m_title;
    bool m_abortByUser = false;
};

// A queue of sources, each with the destination of the same position, run one by one with one
// operation. A source without its own destination uses the one the operation holds, that is
// the last one set.
class TFileOperations
{
public:
    void SetOperation(TFileOperation* operation) { m_operation = operation; }
    void Clear();
    void AddSource(const QString& path) { m_sources << path; }
    void AddDestination(const QString& path) { m_destinations << path; }

    const QStringList& Sources() const { return m_sources; }
    const QStringList& Destinations() const { return m_destinations; }

    // Stops at the first failure and returns its code; frOk when all succeeded or there is
    // nothing queued.
    int ExecuteAll();

private:
    TFileOperation* m_operation = nullptr; // not owned
    QStringList m_sources;
    QStringList m_destinations;
};

} // namespace zf
