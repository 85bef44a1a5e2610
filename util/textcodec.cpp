#include "util/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstdint>

namespace zf {

namespace {
constexpr const char* kCodecName = "windows-1250";

// Windows-1250 is one byte per character, so both directions are table look-ups. The tables are
// taken once from Qt's own converter, so they agree with it byte for byte; building a converter
// per value was most of the time of every bulk read.
struct Cp1250Tables
{
    std::array<char16_t, 256> toUnicode{};
    // The byte of each UTF-16 code unit; `mapped` says whether it has one at all (0 is a
    // byte too).
    std::array<std::uint8_t, 0x10000> toByte{};
    std::array<bool, 0x10000> mapped{};
};

const Cp1250Tables& tables()
{
    static const Cp1250Tables t = [] {
        Cp1250Tables built;
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(all);
        Q_ASSERT(text.size() == 256);
        for (int b = 0; b < 256 && b < text.size(); ++b) {
            const char16_t u = text.at(b).unicode();
            built.toUnicode[static_cast<std::size_t>(b)] = u;
            if (u != QChar::ReplacementCharacter) {
                built.toByte[u] = static_cast<std::uint8_t>(b);
                built.mapped[u] = true;
            }
        }
        return built;
    }();
    return t;
}
} // namespace

QByteArray toCp1250(const QString& text)
{
    const Cp1250Tables& t = tables();
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar c : text) {
        if (!t.mapped[c.unicode()]) {
            // What has no byte is rare; Qt decides how it is replaced or dropped.
            QStringEncoder encoder(kCodecName);
            return encoder.encode(text);
        }
        *dst++ = static_cast<char>(t.toByte[c.unicode()]);
    }
    return out;
}

QString fromCp1250(QByteArrayView bytes)
{
    const Cp1250Tables& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char b : bytes)
        *dst++ = QChar(t.toUnicode[static_cast<unsigned char>(b)]);
    return out;
}

QString nonCp1250Characters(const QString& text)
{
    const Cp1250Tables& t = tables();
    QString bad;
    for (int i = 0; i < text.size(); ++i) {
        // Surrogate pairs are outside Windows-1250 as a whole.
        const int len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const char16_t u = text.at(i).unicode();
        // The C1 control characters have no letter in Windows-1250: the bytes 0x80-0x9F that
        // are not letters there decode to them, and they must never be written back as data.
        const bool ok = len == 1 && t.mapped[u] && !(u >= 0x80 && u <= 0x9F);
        if (!ok) {
            const QString ch = text.mid(i, len);
            if (!bad.contains(ch))
                bad += ch;
        }
        i += len - 1;
    }
    return bad;
}

bool isCp1250Encodable(const QString& text)
{
    const Cp1250Tables& t = tables();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!t.mapped[u] || (u >= 0x80 && u <= 0x9F))
            return false;
    }
    return true;
}

} // namespace zf
