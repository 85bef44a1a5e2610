// Build step: turns the tip list kept in the sources as UTF-8 into the shipped "porady.dat",
// Windows-1250 with CRLF line ends. A character the code page cannot hold stops the build.

#include "util/textcodec.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s tips-utf8.txt porady.dat\n", argv[0]);
        return 2;
    }
    QFile in(QFile::decodeName(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString bad = zf::nonCp1250Characters(line);
        if (!bad.isEmpty()) {
            std::fprintf(stderr, "%s:%lld: not in Windows-1250: %s\n", argv[1],
                         static_cast<long long>(i + 1), bad.toUtf8().constData());
            return 1;
        }
        out += zf::toCp1250(line);
        out += "\r\n";
    }

    QFile file(QFile::decodeName(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out) != out.size() ||
        !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        // No half-written file may pass for a built one.
        file.remove();
        return 1;
    }
    return 0;
}
