// Build-time tool: turns the SQL scripts kept as UTF-8 text in the sources into the enciphered
// Windows-1250 files the program ships, and back for inspection.
//
//   zf_encipher <input UTF-8 text> <output file>
//   zf_encipher --decipher <enciphered file> <output UTF-8 text>

#include "cipher/cipher.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

void fail(const QString& message)
{
    std::fprintf(stderr, "zf_encipher: %s\n", message.toUtf8().constData());
}

bool readWhole(const QString& path, QByteArray& data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    data = file.readAll();
    return true;
}

// Through a temporary file, so a failed run never leaves a half-written script for the build.
bool writeWhole(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);

    const bool decipher = !args.isEmpty() && args.first() == QLatin1String("--decipher");
    if (decipher)
        args.removeFirst();
    if (args.size() != 2) {
        fail(QStringLiteral("usage: zf_encipher [--decipher] <input file> <output file>"));
        return 2;
    }

    QByteArray input;
    if (!readWhole(args.at(0), input))
        return 1;

    QByteArray output;
    if (decipher) {
        output = zf::decipherScriptText(input);
    } else {
        const zf::ScriptCipherResult result = zf::encipherScriptText(input);
        if (!result.ok) {
            fail(QStringLiteral("%1: %2").arg(args.at(0), result.error));
            return 1;
        }
        output = result.data;
    }
    return writeWhole(args.at(1), output) ? 0 : 1;
}
