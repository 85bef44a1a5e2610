// "porady.dat": every tip is one non-empty line without surrounding blanks, at most the number
// the program keeps, and a lone CR ends a line as CR LF and LF do.
#include "app/tips.h"
#include "fuzz/fuzzsupport.h"
#include "util/textcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QByteArray input = fuzz::bytes(data, size);
    const QStringList tips = parseTips(input);
    ZF_FUZZ_CHECK(tips.size() <= Tips::kMaxTips);
    for (const QString& tip : tips) {
        ZF_FUZZ_CHECK(!tip.isEmpty());
        ZF_FUZZ_CHECK(tip == tip.trimmed());
        ZF_FUZZ_CHECK(!tip.contains(QLatin1Char('\r')) && !tip.contains(QLatin1Char('\n')));
    }
    // Line ends of one kind or another give the same tips.
    QByteArray lineFeeds = input;
    lineFeeds.replace("\r\n", "\n");
    lineFeeds.replace('\r', '\n');
    ZF_FUZZ_CHECK(parseTips(lineFeeds) == tips);
    // The file on disk reads as the bytes do.
    ZF_FUZZ_CHECK(readTipFile(fuzz::writeInput(kTipFileName, input)) == tips);
    return 0;
}
