// The tag reader and writer: the cases the editing program relies on.
#include "planfiles/simplexmlparser.h"
#include "tests/util/print.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

QByteArray read(TSimpleXMLParser& p, const char* name, bool* found = nullptr)
{
    QByteArray value("unchanged");
    const bool ok = p.ReadElement(name, value);
    if (found)
        *found = ok;
    return ok ? value : QByteArray("<missing>");
}

// --- the tag reader and writer -------------------------------------------------------------------

TEST(SimpleXmlParser, WritesOneLineWithOnlyTheFirstLessThanDoubled)
{
    TSimpleXMLParser w;
    w.OpenTag("A");
    w.WriteElement("B", "x<y<z");
    w.WriteElement("C", "&amp;&#60;");
    w.WriteElement("D", "");
    w.CloseTag("A");
    EXPECT_EQ(w.GetText(), QByteArray("<A><B>x<<y<z</B><C>&amp;&#60;</C><D></D></A>"));
    w.Clear();
    EXPECT_EQ(w.GetText(), QByteArray());
    EXPECT_EQ(w.Length(), 0);
}

TEST(SimpleXmlParser, ReadsBackEveryValueUnchanged)
{
    const QByteArray values[] = {"x<y<z", "<", "<<", "a<<b", "&amp;&#60;", "", "<B>"};
    for (const QByteArray& v : values) {
        TSimpleXMLParser w;
        w.WriteElement("B", v);
        TSimpleXMLParser r;
        r.SetText(w.GetText());
        EXPECT_EQ(read(r, "B"), v) << v.constData();
    }
}

TEST(SimpleXmlParser, ReadsInDocumentOrderAndAMissStopsEverything)
{
    TSimpleXMLParser r;
    r.SetText("<NAME>Jan</NAME><IDEMPLOYEE>7</IDEMPLOYEE><SURNAME>Nowak</SURNAME>");
    EXPECT_EQ(read(r, "IDEMPLOYEE"), QByteArray("7"));
    bool found = true;
    read(r, "NAME", &found);
    EXPECT_FALSE(found);
    read(r, "SURNAME", &found);
    EXPECT_FALSE(found) << "after a miss the parser finds nothing more";
}

TEST(SimpleXmlParser, NameDoesNotMatchSurname)
{
    TSimpleXMLParser r;
    r.SetText("<SURNAME>Nowak</SURNAME><NAME>Jan</NAME>");
    EXPECT_EQ(read(r, "NAME"), QByteArray("Jan"));
}

TEST(SimpleXmlParser, ClosingTagBeforeTheOpeningGivesAnEmptyValue)
{
    TSimpleXMLParser r;
    r.SetText("</X>....<X>abc");
    bool found = false;
    EXPECT_EQ(read(r, "X", &found), QByteArray());
    EXPECT_TRUE(found);
}

TEST(SimpleXmlParser, SixCharactersHoldNoElementSevenDo)
{
    for (const QByteArray& text : {QByteArray(), QByteArray("<a></a"), QByteArray("<a>x")}) {
        TSimpleXMLParser r;
        r.SetText(text);
        EXPECT_TRUE(r.AtEnd());
        bool found = true;
        read(r, "a", &found);
        EXPECT_FALSE(found);
    }
    TSimpleXMLParser r;
    r.SetText("<a></a>");
    bool found = false;
    EXPECT_EQ(read(r, "a", &found), QByteArray());
    EXPECT_TRUE(found);
    EXPECT_TRUE(r.AtEnd());

    // Six characters after the last element read: nothing more is found.
    TSimpleXMLParser tail;
    tail.SetText("<a>1</a><b></b");
    EXPECT_EQ(read(tail, "a"), QByteArray("1"));
    EXPECT_TRUE(tail.AtEnd());
}

TEST(SimpleXmlParser, SubParserReadsInsideTheElement)
{
    TSimpleXMLParser r;
    r.SetText("<L><DAY>1</DAY><DAY>2</DAY></L><DAY>3</DAY>");
    auto sub = r.ReadSubParser("L");
    ASSERT_TRUE(sub);
    EXPECT_EQ(read(*sub, "DAY"), QByteArray("1"));
    EXPECT_EQ(read(*sub, "DAY"), QByteArray("2"));
    bool found = true;
    read(*sub, "DAY", &found);
    EXPECT_FALSE(found);
    EXPECT_FALSE(r.ReadSubParser("L"));
}

} // namespace
} // namespace zf
