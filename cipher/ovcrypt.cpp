#include "cipher/ovcrypt.h"

namespace zf {

void TOVCrypt::Encrypt()
{
    apply(+1);
}

void TOVCrypt::Decrypt()
{
    apply(-1);
}

void TOVCrypt::apply(int sign)
{
    if (m_key.isEmpty())
        return;
    const qsizetype keyLength = m_key.size();
    for (qsizetype i = 0; i < m_cryptogram.size(); ++i) {
        const int c = static_cast<unsigned char>(m_cryptogram.at(i));
        const int k = static_cast<unsigned char>(m_key.at(i % keyLength));
        m_cryptogram[i] = static_cast<char>((c + sign * k) & 0xFF);
    }
}

} // namespace zf
