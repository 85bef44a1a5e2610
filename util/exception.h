#pragma once

#include <QString>

#include <stdexcept>

namespace zf {

// Base of the program's own exceptions: carries a message text.
class Exception : public std::runtime_error
{
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};

} // namespace zf
