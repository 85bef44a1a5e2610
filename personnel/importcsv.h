#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zf {

// One line of a sheet split into its fields, from the left. A field that begins with a double
// quote runs to the closing quote that is followed by the separator or ends the line, and its
// text lies between the quotes; inside it two double quotes stand for one, and a quote followed
// by anything else is kept as it stands. Any other field ends at the next separator. A line
// ending with the separator ends with an empty field, and an empty line is one empty field.
QStringList SplitCsvLine(QStringView line, QChar separator);

// The lines of a text: CR LF, LF and CR each end one; a line break at the end adds no line.
QStringList SplitTextLines(const QString& text);

// The records of a sheet: like SplitTextLines, except that a line break inside a quoted field
// (spreadsheets write one for a cell of several lines) belongs to the field, so the record
// runs on to the next line.
QStringList SplitCsvRecords(const QString& text, QChar separator);

// True for bytes beyond ASCII that are valid UTF-8: a sheet saved as UTF-8 without the mark.
bool LooksLikeUtf8(const QByteArray& bytes);

// A sheet file read whole: Windows-1250 text, or UTF-8 when it starts with the UTF-8
// byte-order mark (as spreadsheets write "CSV UTF-8") or is valid UTF-8 without it, so Polish
// letters never come out garbled.
struct CsvSheetFile
{
    enum class Status
    {
        Ok,
        OpenFailed,     // the file cannot be opened or read: `error` holds the system's message
        NotText,        // control bytes that no sheet holds: binary data, UTF-16 and the like
        Empty,          // not a single line
        TooManyColumns, // more columns than any spreadsheet has: not a sheet split right
    };

    Status status = Status::Ok;
    QString error;
    QList<QStringList> lines;
    int columns = 0; // fields of the longest line
    bool utf8 = false;
    bool separatorFound = false; // the separator split at least one line

    // The most columns a spreadsheet program writes.
    static constexpr int kMaxColumns = 16384;
};

CsvSheetFile ReadCsvSheetFile(const QString& path, QChar separator);
// The same for the bytes of a file already read.
CsvSheetFile ParseCsvSheet(QByteArray bytes, QChar separator);

// The annotated sheet as "Zapisz log" writes it: one line per row ended by CR LF, every cell in
// double quotes, ";" between cells. Windows-1250, or UTF-8 with its byte-order mark when the
// sheet came in UTF-8, so every character it holds can be written and read back. Cells are
// not escaped: callers double the quotes of data cells first, as SplitCsvLine reads them.
bool WriteCsvSheetFile(const QList<QStringList>& table, const QString& path, bool utf8);

} // namespace zf
