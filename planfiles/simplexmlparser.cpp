#include "planfiles/simplexmlparser.h"

namespace zf {

void TSimpleXMLParser::Clear()
{
    m_text.clear();
    m_length = 0;
    m_position = 0;
}

void TSimpleXMLParser::OpenTag(QByteArrayView name)
{
    m_text.append('<').append(name).append('>');
    m_length = static_cast<int>(m_text.size());
}

void TSimpleXMLParser::CloseTag(QByteArrayView name)
{
    m_text.append("</", 2).append(name).append('>');
    m_length = static_cast<int>(m_text.size());
}

void TSimpleXMLParser::WriteElement(QByteArrayView name, QByteArrayView value)
{
    OpenTag(name);
    const qsizetype lt = value.indexOf('<');
    if (lt < 0) {
        m_text.append(value);
    } else {
        m_text.append(value.first(lt + 1)).append('<').append(value.sliced(lt + 1));
    }
    CloseTag(name);
}

void TSimpleXMLParser::SetText(const QByteArray& text)
{
    m_text = text;
    m_length = static_cast<int>(m_text.size());
    m_position = 1;
}

bool TSimpleXMLParser::AtEnd() const
{
    return m_position >= m_length - 5;
}

bool TSimpleXMLParser::ReadElement(QByteArrayView name, QByteArray& value)
{
    value.clear();
    if (AtEnd())
        return false;
    const qsizetype from = m_position - 1; // 0-based start of the rest
    QByteArray open;
    open.reserve(name.size() + 2);
    open.append('<').append(name).append('>');
    QByteArray close;
    close.reserve(name.size() + 3);
    close.append("</", 2).append(name).append('>');
    const qsizetype openAt = m_text.indexOf(open, from);
    const qsizetype closeAt = openAt < 0 ? -1 : m_text.indexOf(close, from);
    if (openAt < 0 || closeAt < 0) {
        m_position = m_length;
        return false;
    }
    const qsizetype start = openAt + open.size();
    if (closeAt > start)
        value = UnescapeValue(QByteArrayView(m_text).sliced(start, closeAt - start));
    m_position = static_cast<int>(closeAt + close.size()) + 1;
    return true;
}

std::unique_ptr<TSimpleXMLParser> TSimpleXMLParser::ReadSubParser(QByteArrayView name)
{
    QByteArray value;
    if (!ReadElement(name, value))
        return nullptr;
    auto sub = std::make_unique<TSimpleXMLParser>();
    sub->SetText(value);
    return sub;
}

QByteArray TSimpleXMLParser::EscapeValue(QByteArrayView value)
{
    QByteArray out = value.toByteArray();
    const qsizetype lt = out.indexOf('<');
    if (lt >= 0)
        out.insert(lt, '<');
    return out;
}

QByteArray TSimpleXMLParser::UnescapeValue(QByteArrayView value)
{
    QByteArray out = value.toByteArray();
    const qsizetype at = out.indexOf("<<");
    if (at >= 0)
        out.remove(at, 1);
    return out;
}

} // namespace zf
