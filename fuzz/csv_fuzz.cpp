// The employee-import sheet: whatever the reader accepts, the annotated sheet written from it
// reads back cell for cell.
#include "fuzz/fuzzsupport.h"
#include "personnel/importcsv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QChar separator = QLatin1Char(';');
    const CsvSheetFile sheet = ParseCsvSheet(fuzz::bytes(data, size), separator);
    if (sheet.status != CsvSheetFile::Status::Ok)
        return 0;
    ZF_FUZZ_CHECK(!sheet.lines.isEmpty());
    QList<QStringList> expected;
    QList<QStringList> quoted;
    for (const QStringList& line : sheet.lines) {
        ZF_FUZZ_CHECK(line.size() <= sheet.columns);
        QStringList padded = line;
        while (padded.size() < sheet.columns)
            padded << QString();
        expected << padded;
        QStringList cells;
        for (const QString& cell : padded)
            cells << QString(cell).replace(QLatin1Char('"'), QStringLiteral("\"\""));
        quoted << cells;
    }
    // UTF-8 holds every character; the Windows-1250 sheet refuses what the code page lacks.
    const QString path = fuzz::folder() + QStringLiteral("/log.csv");
    ZF_FUZZ_CHECK(WriteCsvSheetFile(quoted, path, true));
    const CsvSheetFile back = ReadCsvSheetFile(path, separator);
    ZF_FUZZ_CHECK(back.status == CsvSheetFile::Status::Ok);
    ZF_FUZZ_CHECK(back.lines == expected);
    fuzz::expectOnly({QStringLiteral("log.csv")});
    return 0;
}
