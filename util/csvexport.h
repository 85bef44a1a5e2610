#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zf {

// Writes a table of texts as a CSV file: one line per row ended by CR LF, every cell in double
// quotes, ";" between cells, Windows-1250 bytes without a byte-order mark. Cells are not
// escaped, so callers pass data cells through DataCellText first.
class TOVExportToCSV
{
public:
    // Replaces the file. Rows shorter than the longest are padded with empty cells. False when
    // the file cannot be created or written, or a text has a character Windows-1250 lacks;
    // the lines written before the failure stay in the file.
    static bool ExportGrid(const QList<QStringList>& grid, const QString& path);
    // The same format in UTF-8 after a byte-order mark, for a sheet that came in as UTF-8.
    static bool ExportGridUtf8(const QList<QStringList>& grid, const QString& path);

    // A data cell made safe for the unescaped format: each backtick becomes an apostrophe,
    // then each double quote a backtick (in this order, so no quote ends as an apostrophe).
    static QString DataCellText(const QString& text);
};

} // namespace zf
