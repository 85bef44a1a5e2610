// The enciphered schema scripts and the split into statements: the cipher round-trips, the
// deciphered lines hold no line break, and every statement is made of the lines before a "/*".
#include "data/scriptrunner.h"
#include "fuzz/fuzzsupport.h"
#include "cipher/cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QByteArray input = fuzz::bytes(data, size);
    ZF_FUZZ_CHECK(DecryptString(EncryptString(input, kScriptCipherKey), kScriptCipherKey) == input);

    const QStringList lines = decipherScript(input);
    int markers = 0;
    for (const QString& line : lines) {
        ZF_FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')));
        if (line.contains(QLatin1String("/*")))
            ++markers;
    }
    const QStringList statements = scriptStatements(lines);
    ZF_FUZZ_CHECK(statements.size() == markers);
    // The statements together are the lines before the last marker, markers left out.
    QString joined;
    int run = 0;
    for (const QString& line : lines) {
        if (run == markers)
            break;
        if (line.contains(QLatin1String("/*"))) {
            ++run;
            continue;
        }
        joined += line + QLatin1Char('\n');
    }
    ZF_FUZZ_CHECK(statements.join(QString()) == joined);
    for (const QString& s : statements)
        ZF_FUZZ_CHECK(!s.contains(QLatin1String("/*")));
    return 0;
}
