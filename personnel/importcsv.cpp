#include "personnel/importcsv.h"

#include "util/csvexport.h"
#include "util/textcodec.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace zf {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
constexpr char kDosEndOfFile = '\x1A';

// Tab, line feed and carriage return are the only control bytes a sheet holds; NUL bytes come
// with binary files and with UTF-16 text.
bool isTextBytes(const QByteArray& bytes)
{
    return std::none_of(bytes.cbegin(), bytes.cend(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 && b != '\t' && b != '\n' && b != '\r';
    });
}

} // namespace

QStringList SplitCsvLine(QStringView line, QChar separator)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype pos = 0;
    for (;;) {
        if (pos < n && line[pos] == QLatin1Char('"')) {
            QString text;
            qsizetype i = pos + 1;
            for (;;) {
                if (i >= n) { // no closing quote: the rest of the line
                    fields << text;
                    return fields;
                }
                const QChar c = line[i];
                if (c != QLatin1Char('"')) {
                    text += c;
                    ++i;
                    continue;
                }
                if (i + 1 == n) {
                    fields << text;
                    return fields;
                }
                const QChar next = line[i + 1];
                if (next == separator) {
                    fields << text;
                    pos = i + 2;
                    break;
                }
                // A doubled quote is one quote of the text; a stray one is kept.
                text += c;
                i += next == QLatin1Char('"') ? 2 : 1;
            }
            continue;
        }
        const qsizetype end = line.indexOf(separator, pos);
        if (end < 0) {
            fields << line.mid(pos).toString();
            return fields;
        }
        fields << line.mid(pos, end - pos).toString();
        pos = end + 1;
    }
}

QStringList SplitTextLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QStringList SplitCsvRecords(const QString& text, QChar separator)
{
    QStringList records;
    const qsizetype n = text.size();
    const auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    qsizetype start = 0;
    qsizetype i = 0;
    bool fieldStart = true;
    while (i < n) {
        const QChar c = text[i];
        if (fieldStart && c == QLatin1Char('"')) {
            // A quoted field runs to the quote that SplitCsvLine takes as its end: one followed
            // by the separator, a line break or the end of the text.
            ++i;
            while (i < n) {
                if (text[i] != QLatin1Char('"')) {
                    ++i;
                    continue;
                }
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    i += 2;
                    continue;
                }
                if (i + 1 == n || text[i + 1] == separator || isBreak(text[i + 1]))
                    break;
                ++i; // a stray quote is kept
            }
            if (i < n)
                ++i; // the closing quote
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        if (c == separator) {
            fieldStart = true;
            ++i;
            continue;
        }
        if (!isBreak(c)) {
            ++i;
            continue;
        }
        records << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = ++i;
        fieldStart = true;
    }
    if (start < n)
        records << text.mid(start);
    return records;
}

bool LooksLikeUtf8(const QByteArray& bytes)
{
    if (std::all_of(bytes.cbegin(), bytes.cend(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
}

CsvSheetFile ParseCsvSheet(QByteArray bytes, QChar separator)
{
    CsvSheetFile sheet;
    if (bytes.startsWith(kUtf8Bom)) {
        sheet.utf8 = true;
        bytes.remove(0, kUtf8Bom.size());
    }
    // Old DOS programs end a text file with Ctrl+Z.
    if (bytes.endsWith(kDosEndOfFile))
        bytes.chop(1);
    if (!isTextBytes(bytes)) {
        sheet.status = CsvSheetFile::Status::NotText;
        return sheet;
    }
    // Spreadsheets also save UTF-8 without the mark; Windows-1250 text with Polish letters is
    // practically never valid UTF-8, so valid UTF-8 with letters beyond ASCII is taken as such.
    if (!sheet.utf8 && LooksLikeUtf8(bytes))
        sheet.utf8 = true;
    const QString text = sheet.utf8 ? QString::fromUtf8(bytes) : fromCp1250(bytes);
    const QStringList lines = SplitCsvRecords(text, separator);
    if (lines.isEmpty()) {
        sheet.status = CsvSheetFile::Status::Empty;
        return sheet;
    }
    sheet.lines.reserve(lines.size());
    for (const QString& line : lines) {
        QStringList fields = SplitCsvLine(line, separator);
        if (fields.size() > CsvSheetFile::kMaxColumns) {
            sheet.status = CsvSheetFile::Status::TooManyColumns;
            sheet.lines.clear();
            sheet.columns = 0;
            return sheet;
        }
        sheet.columns = std::max(sheet.columns, static_cast<int>(fields.size()));
        sheet.separatorFound = sheet.separatorFound || fields.size() > 1;
        sheet.lines << std::move(fields);
    }
    return sheet;
}

CsvSheetFile ReadCsvSheetFile(const QString& path, QChar separator)
{
    QFile file(path);
    CsvSheetFile failed;
    failed.status = CsvSheetFile::Status::OpenFailed;
    if (!file.open(QIODevice::ReadOnly)) {
        failed.error = file.errorString();
        return failed;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failed.error = file.errorString();
        return failed;
    }
    return ParseCsvSheet(bytes, separator);
}

bool WriteCsvSheetFile(const QList<QStringList>& table, const QString& path, bool utf8)
{
    return utf8 ? TOVExportToCSV::ExportGridUtf8(table, path)
                : TOVExportToCSV::ExportGrid(table, path);
}

} // namespace zf
