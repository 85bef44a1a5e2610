// Report templates (".frf"): a text the reader refuses says why, one it accepts gives a layout
// the engine can draw: bands of a height that is a number, cells whose rectangles are numbers,
// and the same layout when the file is read instead of the text.
#include "fuzz/fuzzsupport.h"
#include "reports/reporttemplate.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf::report;
    const QByteArray input = zf::fuzz::bytes(data, size);
    const QString text = QString::fromUtf8(input);
    ReportTemplate t;
    QString error;
    if (!t.parse(text, &error)) {
        ZF_FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    ZF_FUZZ_CHECK(t.pageWidth() > 0 && t.pageHeight() > 0);
    for (const TemplateBand& band : t.bands) {
        ZF_FUZZ_CHECK(std::isfinite(band.height));
        for (const TemplateCell& cell : band.cells) {
            ZF_FUZZ_CHECK(std::isfinite(cell.rect.x()) && std::isfinite(cell.rect.y()));
            ZF_FUZZ_CHECK(std::isfinite(cell.rect.width()) && std::isfinite(cell.rect.height()));
        }
    }
    ReportTemplate fromFile;
    ZF_FUZZ_CHECK(fromFile.load(zf::fuzz::writeInput(QStringLiteral("t.frf"), input), &error));
    ZF_FUZZ_CHECK(fromFile.bands.size() == t.bands.size());
    ZF_FUZZ_CHECK(fromFile.name == t.name);
    return 0;
}
