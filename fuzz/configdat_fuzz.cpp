// "config.dat" and the installer's settings: read without a fault whatever they hold, and a
// password read from "config.dat" is written back to the same record.
#include "data/configfiles.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QByteArray input = fuzz::bytes(data, size);
    const QString dat = fuzz::writeInput(QStringLiteral("config.dat"), input);
    QString error;
    if (const std::optional<QString> password = configdat::read(dat, &error)) {
        ZF_FUZZ_CHECK(input.size() == configdat::kRecordSize);
        ZF_FUZZ_CHECK(password->size() <= 255);
        const QString again = fuzz::folder() + QStringLiteral("/again.dat");
        ZF_FUZZ_CHECK(configdat::write(again, *password, &error));
        const std::optional<QString> back = configdat::read(again, &error);
        ZF_FUZZ_CHECK(back && *back == *password);
        QFile::remove(again);
    } else {
        ZF_FUZZ_CHECK(!error.isEmpty());
    }

    const QString ini = fuzz::writeInput(QStringLiteral("DataBaseDemo.ini"), input);
    if (const auto settings = installersettings::read(ini, &error)) {
        ZF_FUZZ_CHECK(!settings->location.contains(QChar(0)));
    }
    fuzz::expectOnly({QStringLiteral("config.dat"), QStringLiteral("DataBaseDemo.ini")});
    return 0;
}
