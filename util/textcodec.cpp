#include "util/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zf {

namespace {
constexpr const char* kCodecName = "windows-1250";
}

QByteArray toCp1250(const QString& text)
{
    QStringEncoder encoder(kCodecName);
    return encoder.encode(text);
}

QString fromCp1250(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodecName);
    return decoder.decode(bytes);
}

QString nonCp1250Characters(const QString& text)
{
    QString bad;
    for (int i = 0; i < text.size(); ++i) {
        // Surrogate pairs are outside Windows-1250 as a whole.
        const int len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, len);
        // The C1 control characters have no letter in Windows-1250: the bytes 0x80-0x9F that
        // are not letters there decode to them, and they must never be written back as data.
        if (len == 1 && ch.at(0).unicode() >= 0x80 && ch.at(0).unicode() <= 0x9F) {
            if (!bad.contains(ch))
                bad += ch;
            continue;
        }
        QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
        const QByteArray b = encoder.encode(ch);
        if (encoder.hasError() || b.size() != 1 || fromCp1250(b) != ch) {
            if (!bad.contains(ch))
                bad += ch;
        }
        i += len - 1;
    }
    return bad;
}

bool isCp1250Encodable(const QString& text)
{
    return nonCp1250Characters(text).isEmpty();
}

} // namespace zf
