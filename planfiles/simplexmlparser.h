#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace zf {

// The minimal tag reader and writer of leave-plan files. Not an XML processor: it
// knows only "<" name ">" value "</" name ">", with no attributes, entities, whitespace handling
// or line breaks, and finds elements by plain text search. The separate editing program reads
// and writes the same text, so this behaviour is the file format and must stay exactly as it is.
//
// The text is 8-bit (Windows-1250 in plan files); tag names are plain ASCII.
class TSimpleXMLParser
{
public:
    // --- writing --------------------------------------------------------------------------------
    // Empties the text; position and length become 0.
    void Clear();
    // Appends "<" name ">".
    void OpenTag(QByteArrayView name);
    // Appends "</" name ">".
    void CloseTag(QByteArrayView name);
    // Appends "<" name ">", the escaped value, "</" name ">".
    void WriteElement(QByteArrayView name, QByteArrayView value);
    const QByteArray& GetText() const { return m_text; }

    // --- reading --------------------------------------------------------------------------------
    // Takes the text to read; position 1.
    void SetText(const QByteArray& text);
    // True when at most six characters are left from the position on: no element fits in six.
    bool AtEnd() const;
    // The first element of this name from the position on. The opening and the closing tag are
    // each searched from the position; when either is missing nothing more is ever found on this
    // parser. Found: the value (unescaped; empty when the closing tag stands before the end of
    // the opening tag), and the position moves just after the closing tag.
    bool ReadElement(QByteArrayView name, QByteArray& value);
    // A new parser over the element's value (SetText applied), or null when it is not found.
    std::unique_ptr<TSimpleXMLParser> ReadSubParser(QByteArrayView name);

    int Position() const { return m_position; }
    int Length() const { return m_length; }

    // --- escaping -------------------------------------------------------------------------------
    // The first "<" is doubled; later ones stay single.
    static QByteArray EscapeValue(QByteArrayView value);
    // The first "<<" is halved.
    static QByteArray UnescapeValue(QByteArrayView value);

private:
    void useName(QByteArrayView name);
    qsizetype findOpeningTag(qsizetype from);
    void forgetOpeningTag();

    QByteArray m_text;
    int m_length = 0;
    int m_position = 0; // 1-based
    // The tags of the name read last, built once for a list of elements of one name.
    QByteArray m_tagName;
    QByteArray m_openTag;
    QByteArray m_closeTag;
    // The last search for the opening tag: where it started and what it found. A closing tag
    // standing before its opening tag moves the position only past the closing tag, so without
    // this every such element would search the same stretch again (a list of closing tags
    // before one opening tag would cost the square of its length).
    qsizetype m_openFrom = 0;
    qsizetype m_openAt = -1;
};

} // namespace zf
