#include "cipher/cipher.h"

#include "util/textcodec.h"

#include <QStringDecoder>
#include <QStringList>

namespace zf {

namespace {

constexpr quint32 kMultiplier = 52845;
constexpr quint32 kIncrement = 22719;

// The running key advances with the enciphered byte in both directions, which is what makes
// deciphering with the same key exact. Unsigned 32-bit arithmetic: (k + c) * 52845 overflows int.
quint16 nextKey(quint16 k, unsigned char enciphered)
{
    return static_cast<quint16>((quint32(k) + enciphered) * kMultiplier + kIncrement);
}

QString describeCharacters(const QString& chars)
{
    QStringList parts;
    for (int i = 0; i < chars.size(); ++i) {
        const bool pair = chars.at(i).isHighSurrogate() && i + 1 < chars.size();
        const char32_t code =
            pair ? QChar::surrogateToUcs4(chars.at(i), chars.at(i + 1)) : chars.at(i).unicode();
        const QString hex = QString::number(quint32(code), 16).toUpper();
        parts << QStringLiteral("'%1' (U+%2)").arg(chars.mid(i, pair ? 2 : 1),
                                                   hex.rightJustified(4, QLatin1Char('0')));
        if (pair)
            ++i;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QByteArray EncryptString(const QByteArray& text, quint16 key)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    quint16 k = key;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text.at(i) ^ static_cast<char>(k >> 8));
        out[i] = static_cast<char>(c);
        k = nextKey(k, c);
    }
    return out;
}

QByteArray DecryptString(const QByteArray& text, quint16 key)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    quint16 k = key;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text.at(i));
        out[i] = static_cast<char>(c ^ (k >> 8));
        k = nextKey(k, c);
    }
    return out;
}

ScriptCipherResult encipherScriptText(const QByteArray& utf8Text)
{
    ScriptCipherResult result;
    static const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray body = utf8Text.startsWith(bom) ? utf8Text.mid(bom.size()) : utf8Text;

    // Line by line, so that a fault can be pointed at. A byte-order mark anywhere else is kept
    // and then refused like any other character without a Windows-1250 byte.
    QString text;
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless
                                                         | QStringDecoder::Flag::ConvertInitialBom);
        const QString line = decoder.decode(lines.at(n));
        if (decoder.hasError()) {
            result.error = QStringLiteral("line %1: not valid UTF-8").arg(n + 1);
            return result;
        }
        const QString bad = nonCp1250Characters(line);
        if (!bad.isEmpty()) {
            result.error = QStringLiteral("line %1: no Windows-1250 byte for %2")
                               .arg(n + 1)
                               .arg(describeCharacters(bad));
            return result;
        }
        if (n > 0)
            text += QLatin1Char('\n');
        text += line;
    }
    result.data = EncryptString(toCp1250(text), kScriptCipherKey);
    result.ok = true;
    return result;
}

QByteArray decipherScriptText(const QByteArray& enciphered)
{
    return fromCp1250(DecryptString(enciphered, kScriptCipherKey)).toUtf8();
}

} // namespace zf
