#include "data/fb/error.h"

#include "util/textcodec.h"

namespace zf::fb {

QString Status::message() const
{
    QString text;
    const ISC_STATUS* p = m_vector;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &p) > 0) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += fromCp1250(QByteArray(buffer));
    }
    return text;
}

Error Status::error() const
{
    return Error(message(), static_cast<int>(isc_sqlcode(m_vector)), m_vector[1]);
}

void Status::check() const
{
    if (failed())
        throw error();
}

} // namespace zf::fb
