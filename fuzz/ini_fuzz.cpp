// "zefirant.ini" as a user may leave it: what is written reads back, a deleted key is gone,
// other sections keep their values, and nothing is written beside the file.
#include "fuzz/fuzzsupport.h"
#include "util/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QString path = fuzz::writeInput(QStringLiteral("zefirant.ini"), fuzz::bytes(data, size));
    IniFile ini(path);
    const QString section = QStringLiteral("TOOLS");
    const QString key = QStringLiteral("name3");
    const QString other = QStringLiteral("OPTIONS");
    const bool otherExisted = ini.keyExists(other, QStringLiteral("version"));
    const QString otherValue = ini.readString(other, QStringLiteral("version"));

    const QString value = QStringLiteral("Kalkulator – wersja ż");
    ZF_FUZZ_CHECK(ini.writeString(section, key, value));
    ZF_FUZZ_CHECK(ini.readString(section, key) == value);
    ZF_FUZZ_CHECK(ini.keyExists(section.toLower(), key.toUpper()));
    ZF_FUZZ_CHECK(ini.writeInteger(section, QStringLiteral("ver3"), -17));
    ZF_FUZZ_CHECK(ini.readInteger(section, QStringLiteral("ver3"), 0) == -17);
    ZF_FUZZ_CHECK(ini.readString(section, key) == value);

    ZF_FUZZ_CHECK(ini.deleteKey(section, key));
    ZF_FUZZ_CHECK(!ini.keyExists(section, key));
    ZF_FUZZ_CHECK(ini.readString(section, key, QStringLiteral("-")) == QStringLiteral("-"));
    if (section.compare(other, Qt::CaseInsensitive) != 0) {
        ZF_FUZZ_CHECK(ini.keyExists(other, QStringLiteral("version")) == otherExisted);
        ZF_FUZZ_CHECK(ini.readString(other, QStringLiteral("version")) == otherValue);
    }
    ZF_FUZZ_CHECK(ini.eraseSection(section));
    ZF_FUZZ_CHECK(!ini.keyExists(section, QStringLiteral("ver3")));
    fuzz::expectOnly({QStringLiteral("zefirant.ini")});
    return 0;
}
