// The tag reader and writer: the cases the editing program relies on, a reference reader written
// straight from the format's rules that the real one must agree with on random texts, and the
// crafted list that used to cost the square of its length.
#include "planfiles/planfile.h"
#include "planfiles/simplexmlparser.h"
#include "tests/util/print.h"

#include <QList>

#include <gtest/gtest.h>

#include <memory>
#include <random>

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

// --- the reference reader ------------------------------------------------------------------------

// The rules as they stand, with nothing clever: the rest of the text is cut off at every search,
// and both tags are searched from its start.
class ReferenceReader
{
public:
    explicit ReferenceReader(const QByteArray& text) : m_text(text) {}

    bool atEnd() const { return m_position >= m_text.size() - 5; }
    qsizetype position() const { return m_position; }

    bool read(const QByteArray& name, QByteArray& value)
    {
        value.clear();
        if (atEnd())
            return false;
        const QByteArray rest = m_text.mid(m_position - 1);
        const QByteArray open = '<' + name + '>';
        const QByteArray close = "</" + name + '>';
        const qsizetype openAt = rest.indexOf(open);
        const qsizetype closeAt = rest.indexOf(close);
        if (openAt < 0 || closeAt < 0) {
            m_position = m_text.size();
            return false;
        }
        const qsizetype start = openAt + open.size();
        if (closeAt > start) {
            value = rest.mid(start, closeAt - start);
            const qsizetype twice = value.indexOf("<<");
            if (twice >= 0)
                value.remove(twice, 1);
        }
        m_position += closeAt + close.size();
        return true;
    }

private:
    QByteArray m_text;
    qsizetype m_position = 1;
};

// Texts made of the pieces that matter: tags of names that contain one another (the empty name
// too), lone brackets and a little text, so that closing tags often stand before their opening tags.
QByteArray randomText(std::mt19937& gen)
{
    static const char* const pieces[] = {"<A>", "</A>", "<B>", "</B>", "<AB>", "</AB>", "<>",
                                         "</>", "<",    "<<",  ">",    "/",    "A",    "yz"};
    std::uniform_int_distribution<int> count(0, 40);
    std::uniform_int_distribution<int> piece(0, int(std::size(pieces)) - 1);
    QByteArray text;
    for (int n = count(gen); n > 0; --n)
        text += pieces[piece(gen)];
    return text;
}

TEST(SimpleXmlParser, AgreesWithTheReferenceOnTwentyThousandRandomTexts)
{
    const QByteArray names[] = {"A", "B", "AB", ""};
    std::mt19937 gen(20240702);
    std::uniform_int_distribution<int> nameOf(0, 3);
    std::uniform_int_distribution<int> action(0, 9);
    int found = 0;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray text = randomText(gen);
        TSimpleXMLParser real;
        real.SetText(text);
        ReferenceReader reference(text);
        std::unique_ptr<TSimpleXMLParser> sub;
        TSimpleXMLParser* current = &real;
        // Mostly the same name again, as the DAY lists are read, sometimes another one, and now
        // and then a step into the element's value.
        QByteArray name = names[nameOf(gen)];
        for (int step = 0; step < 12; ++step) {
            const int a = action(gen);
            if (a == 0)
                name = names[nameOf(gen)];
            QByteArray value("real"), expected("reference");
            const bool ok = current->ReadElement(name, value);
            ASSERT_EQ(ok, reference.read(name, expected)) << text.constData() << " step " << step;
            ASSERT_EQ(value, expected) << text.constData() << " step " << step;
            ASSERT_EQ(current->Position(), reference.position()) << text.constData();
            ASSERT_EQ(current->AtEnd(), reference.atEnd()) << text.constData();
            found += ok ? 1 : 0;
            if (ok && a == 1) {
                sub = std::make_unique<TSimpleXMLParser>();
                sub->SetText(value);
                current = sub.get();
                reference = ReferenceReader(value);
            }
        }
    }
    EXPECT_GT(found, 10000) << "the texts must hold elements to read";
}

// --- the crafted list ----------------------------------------------------------------------------

// Closing tags before one opening tag: each is read as an empty element, and each read used to
// search again for the one opening tag at the far end.
TEST(SimpleXmlParser, ManyClosingTagsBeforeOneOpeningTagAreReadInOnePass)
{
    constexpr int kClosing = 60 * 1024 / 6;
    QByteArray list;
    for (int i = 0; i < kClosing; ++i)
        list += "</DAY>";
    list += "<DAY>20240702</DAY>";

    TSimpleXMLParser r;
    r.SetText(list);
    int empty = 0;
    QByteArray value;
    while (r.ReadElement("DAY", value) && value.isEmpty())
        ++empty;
    EXPECT_EQ(empty, kClosing);
    EXPECT_EQ(value, QByteArray("20240702"));
    EXPECT_FALSE(r.ReadElement("DAY", value));

    // The same list in a plan file of the largest size read: only the one real day comes out.
    const QByteArray text = "<ZEFIRANT><IDYEAR>2024</IDYEAR><SETTINGS><EMPLOYEE><IDEMPLOYEE>1"
                            "</IDEMPLOYEE><NAME>A</NAME><SURNAME>B</SURNAME></EMPLOYEE><CHECKSUM>3"
                            "</CHECKSUM></SETTINGS><SELECTEDDAYS>" +
                            list +
                            "</SELECTEDDAYS><UNCHANGEABLEDAYS></DAY></DAY><DAY>20241224</DAY>"
                            "</UNCHANGEABLEDAYS></ZEFIRANT>";
    ASSERT_LE(text.size(), kMaxPlanFileSize);
    PlanFileData d;
    ASSERT_TRUE(ParsePlanFileText(text, 2024, d));
    EXPECT_EQ(d.selectedDays, QList<int>{20240702});
    EXPECT_EQ(d.unchangeableDays, QList<int>{20241224});
}

} // namespace
} // namespace zf
