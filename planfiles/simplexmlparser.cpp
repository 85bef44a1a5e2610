#include "planfiles/simplexmlparser.h"

namespace zf {

void TSimpleXMLParser::Clear()
{
    forgetOpeningTag();
    m_text.clear();
    m_length = 0;
    m_position = 0;
}

void TSimpleXMLParser::OpenTag(QByteArrayView name)
{
    forgetOpeningTag();
    m_text.append('<').append(name).append('>');
    m_length = static_cast<int>(m_text.size());
}

void TSimpleXMLParser::CloseTag(QByteArrayView name)
{
    forgetOpeningTag();
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
    forgetOpeningTag();
    m_text = text;
    m_length = static_cast<int>(m_text.size());
    m_position = 1;
}

void TSimpleXMLParser::forgetOpeningTag()
{
    m_openFrom = 0;
    m_openAt = -1;
}

void TSimpleXMLParser::useName(QByteArrayView name)
{
    if (!m_tagName.isNull() && name == m_tagName)
        return;
    m_tagName = name.toByteArray();
    m_openTag = '<' + m_tagName + '>';
    m_closeTag = "</" + m_tagName + '>';
    forgetOpeningTag();
}

qsizetype TSimpleXMLParser::findOpeningTag(qsizetype from)
{
    // The search from m_openFrom met no opening tag before m_openAt, so one from any place up
    // to m_openAt finds the same.
    if (m_openAt >= 0 && from >= m_openFrom && from <= m_openAt)
        return m_openAt;
    m_openFrom = from;
    m_openAt = m_text.indexOf(m_openTag, from);
    return m_openAt;
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
    useName(name);
    const qsizetype openAt = findOpeningTag(from);
    const qsizetype closeAt = openAt < 0 ? -1 : m_text.indexOf(m_closeTag, from);
    if (openAt < 0 || closeAt < 0) {
        m_position = m_length;
        return false;
    }
    const qsizetype start = openAt + m_openTag.size();
    if (closeAt > start)
        value = UnescapeValue(QByteArrayView(m_text).sliced(start, closeAt - start));
    m_position = static_cast<int>(closeAt + m_closeTag.size()) + 1;
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
