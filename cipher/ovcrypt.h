#pragma once

#include <QByteArray>

namespace zf {

// The key that hides the database password in "config.dat".
inline constexpr char kPasswordCryptKey[] = "Qm7#rT!x2@Lp9&Wd4*Ze";

// Adds a repeating key to a text, byte by byte, modulo 256. Used only to keep the stored
// database password from being read at a glance.
class TOVCrypt
{
public:
    TOVCrypt() = default;
    explicit TOVCrypt(const QByteArray& key) : m_key(key) {}

    const QByteArray& key() const { return m_key; }
    void setKey(const QByteArray& key) { m_key = key; }

    const QByteArray& cryptogram() const { return m_cryptogram; }
    void setCryptogram(const QByteArray& cryptogram) { m_cryptogram = cryptogram; }

    // Both work on the cryptogram in place; with an empty key they leave it unchanged.
    void Encrypt();
    void Decrypt();

private:
    void apply(int sign);

    QByteArray m_key;
    QByteArray m_cryptogram;
};

} // namespace zf
