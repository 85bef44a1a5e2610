#include "util/ovtools.h"

#include <QFile>

namespace zf {

namespace {
constexpr qint64 kPieceSize = 1024;
}

QString TOVTools::ExcludeTrailingBackslash(const QString& path)
{
    if (path == QLatin1String("/"))
        return path;
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path.left(path.size() - 1);
    return path;
}

bool TOVTools::SaveTextToFile(const QByteArray& text, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (qint64 at = 0; at < text.size(); at += kPieceSize) {
        const qint64 length = std::min(kPieceSize, text.size() - at);
        if (file.write(text.constData() + at, length) != length)
            return false;
    }
    // Buffered bytes may still fail to reach the disk (a full disk shows only here).
    if (!file.flush())
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

bool TOVTools::LoadFileToText(const QString& path, QByteArray& text)
{
    text.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char piece[kPieceSize];
    for (;;) {
        const qint64 got = file.read(piece, kPieceSize);
        if (got < 0) {
            text.clear();
            return false;
        }
        if (got == 0)
            break;
        text.append(piece, got);
    }
    return true;
}

} // namespace zf
