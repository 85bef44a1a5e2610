#pragma once

#include <QString>

namespace zf {

// Whether a leave-plan file of this name (without its extension) can exist in the plan folder.
// It is tried out in the data folder's "debug" folder: an existing file of that name counts as
// valid; otherwise an empty file is created there and removed again, and any failure makes the
// name invalid. A name that is not a single file name — one with a path separator, "." or "..",
// or a control character — is refused before anything is created, so no name can reach outside
// the plan folder.
bool IsValidFileName(const QString& name, const QString& dataFolder);

// What decides whether two plan file names are one file: the shared plan folder is reached
// from Windows too, where case does not count and trailing blanks are dropped.
QString FileNameKey(const QString& name);

// The characters that typing into a file-name field turns into "_".
bool isFilteredFileNameChar(QChar c);
QString filterTypedFileName(const QString& typed);

} // namespace zf
