// The leave-plan file's text and bytes: the element order the editing program relies on, the
// stamp, year and day rules of reading back, and paths.
#include "cipher/cipher.h"
#include "planfiles/planfile.h"
#include "tests/util/print.h"
#include "util/textcodec.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

// --- the file ------------------------------------------------------------------------------------

PlanFileContent sample()
{
    PlanFileContent c;
    c.year = 2024;
    c.employeeKey = QStringLiteral("007");
    c.name = QStringLiteral("Żaneta");
    c.surname = QStringLiteral("Łęcka");
    c.password = QStringLiteral("ąę<x");
    c.lastYearDays = -2;
    c.thisYearDays = 26;
    c.stamp = -5;
    c.freeDays = {20240101, 20240106};
    c.comment = QStringLiteral("Proszę\r\nwypełnić");
    c.checkRange = true;
    c.selectedDays = {20240702, 20240703};
    c.unchangeableDays = {20241224};
    return c;
}

TEST(PlanFile, TextHasTheElementsInTheirOrderInWindows1250)
{
    const QByteArray expected = toCp1250(QStringLiteral(
        "<ZEFIRANT><IDYEAR>2024</IDYEAR><SETTINGS><EMPLOYEE><IDEMPLOYEE>007</IDEMPLOYEE>"
        "<NAME>Żaneta</NAME><SURNAME>Łęcka</SURNAME><PWD>ąę<<x</PWD><LASTYEARDAYS>-2"
        "</LASTYEARDAYS><THISYEARDAYS>26</THISYEARDAYS></EMPLOYEE><CHECKSUM>-5</CHECKSUM>"
        "<FREEDAYS><DAY>20240101</DAY><DAY>20240106</DAY></FREEDAYS><COMMENT>Proszę\r\nwypełnić"
        "</COMMENT><CHECKRANGE>1</CHECKRANGE></SETTINGS><SELECTEDDAYS><DAY>20240702</DAY>"
        "<DAY>20240703</DAY></SELECTEDDAYS><UNCHANGEABLEDAYS><DAY>20241224</DAY>"
        "</UNCHANGEABLEDAYS></ZEFIRANT>"));
    EXPECT_EQ(BuildPlanFileText(sample()), expected);
    // "Ż" is one byte 0xAF in Windows-1250.
    EXPECT_TRUE(BuildPlanFileText(sample()).contains("<NAME>\xAF"));

    PlanFileContent empty = sample();
    empty.freeDays.clear();
    empty.selectedDays.clear();
    empty.unchangeableDays.clear();
    empty.checkRange = false;
    const QByteArray text = BuildPlanFileText(empty);
    EXPECT_TRUE(text.contains("<FREEDAYS></FREEDAYS>"));
    EXPECT_TRUE(text.contains("<CHECKRANGE>0</CHECKRANGE>"));
    EXPECT_TRUE(text.endsWith("<SELECTEDDAYS></SELECTEDDAYS><UNCHANGEABLEDAYS>"
                              "</UNCHANGEABLEDAYS></ZEFIRANT>"));
}

TEST(PlanFile, BytesAreTheTextEncipheredSoTheFirstIs0xAA)
{
    const QByteArray bytes = BuildPlanFileBytes(sample());
    EXPECT_EQ(bytes.size(), BuildPlanFileText(sample()).size());
    // "<" (0x3C) under the high byte of 38467 (0x96).
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)), 0xAA);
    EXPECT_EQ(DecryptString(bytes, kPlanFileCipherKey), BuildPlanFileText(sample()));
}

TEST(PlanFile, ReadsBackWhatWasWritten)
{
    PlanFileData d;
    ASSERT_TRUE(ParsePlanFileText(BuildPlanFileText(sample()), 2024, d));
    EXPECT_EQ(d.employeeKey, QStringLiteral("007"));
    EXPECT_EQ(d.name, QStringLiteral("Żaneta"));
    EXPECT_EQ(d.surname, QStringLiteral("Łęcka"));
    EXPECT_EQ(d.stamp, -5);
    EXPECT_EQ(d.selectedDays, (QList<int>{20240702, 20240703}));
    EXPECT_EQ(d.unchangeableDays, (QList<int>{20241224}));
}

TEST(PlanFile, YearIsReadOnItsOwnAndOnlyThePlanYearIsOurs)
{
    PlanFileData d;
    ASSERT_TRUE(ParsePlanFileText(BuildPlanFileText(sample()), 2024, d));
    EXPECT_EQ(d.year, QByteArray("2024"));
    EXPECT_TRUE(IsOfPlanYear(d.year, 2024));
    EXPECT_FALSE(IsOfPlanYear(d.year, 2025));

    // Wherever IDYEAR stands, or when it is missing, the rest reads as before.
    const QByteArray rest = "<IDEMPLOYEE>1</IDEMPLOYEE><NAME>A</NAME><SURNAME>B</SURNAME>"
                            "<CHECKSUM>3</CHECKSUM><SELECTEDDAYS><DAY>20240301</DAY>"
                            "</SELECTEDDAYS>";
    ASSERT_TRUE(ParsePlanFileText(rest + "<IDYEAR>2024</IDYEAR>", 2024, d));
    EXPECT_EQ(d.year, QByteArray("2024"));
    EXPECT_EQ(d.selectedDays, QList<int>{20240301});
    ASSERT_TRUE(ParsePlanFileText(rest, 2024, d));
    EXPECT_TRUE(d.year.isEmpty());
    EXPECT_FALSE(IsOfPlanYear(d.year, 2024));

    for (const char* other : {"2023", " 2024", "2024 ", "+2024", "2024.0", "20240", "rok"})
        EXPECT_FALSE(IsOfPlanYear(other, 2024)) << other;
}

TEST(PlanFile, StampMustBeAWholeNumberOfTheIntegerRange)
{
    const struct
    {
        const char* text;
        bool ok;
        int value;
    } cases[] = {{"-5", true, -5},           {"0", true, 0},
                 {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
                 {"2147483648", false, 0},   {"12a", false, 0},
                 {"", false, 0},             {"-", false, 0},
                 {" 12", false, 0},          {"99999999999", false, 0}};
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_EQ(ParseStamp(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        // The whole file: a bad stamp makes it damaged.
        const QByteArray text = QByteArray("<IDEMPLOYEE>1</IDEMPLOYEE><NAME></NAME><SURNAME>"
                                           "</SURNAME><CHECKSUM>") +
                                c.text + "</CHECKSUM><SELECTEDDAYS></SELECTEDDAYS>";
        PlanFileData d;
        EXPECT_EQ(ParsePlanFileText(text, 2024, d), c.ok) << c.text;
    }
}

TEST(PlanFile, KeepsOnlyRealDatesOfThePlanYearEachOnce)
{
    const QByteArray text =
        "<IDEMPLOYEE>1</IDEMPLOYEE><NAME>A</NAME><SURNAME>B</SURNAME><CHECKSUM>3</CHECKSUM>"
        "<SELECTEDDAYS><DAY>20240301</DAY><DAY>20240230</DAY><DAY>20230301</DAY><DAY>x</DAY>"
        "<DAY>020240302</DAY><DAY>20240301</DAY><DAY>20240229</DAY></SELECTEDDAYS>";
    PlanFileData d;
    ASSERT_TRUE(ParsePlanFileText(text, 2024, d));
    EXPECT_EQ(d.selectedDays, (QList<int>{20240301, 20240229}));
    EXPECT_TRUE(d.unchangeableDays.isEmpty()) << "no UNCHANGEABLEDAYS is no fixed days";
}

TEST(PlanFile, MissingPiecesMakeTheFileDamaged)
{
    const QByteArray full = BuildPlanFileText(sample());
    for (const char* element : {"IDEMPLOYEE", "NAME", "SURNAME", "CHECKSUM", "SELECTEDDAYS"}) {
        QByteArray text = full;
        text.replace(QByteArray("</") + element + '>', "</XX>");
        PlanFileData d;
        EXPECT_FALSE(ParsePlanFileText(text, 2024, d)) << element;
    }
    PlanFileData d;
    EXPECT_FALSE(ParsePlanFileText(DecryptString("garbage bytes here", 1), 2024, d));
}

TEST(PlanFile, RefusesValuesThatWouldNotReadBack)
{
    EXPECT_EQ(FieldThatWouldNotReadBack(sample()), QString());
    PlanFileContent c = sample();
    c.comment = QStringLiteral("<SELECTEDDAYS></SELECTEDDAYS>");
    EXPECT_EQ(FieldThatWouldNotReadBack(c), QStringLiteral("Komentarz"));
    // What that comment would do: the days read back would be gone.
    PlanFileData d;
    ASSERT_TRUE(ParsePlanFileText(BuildPlanFileText(c), 2024, d));
    EXPECT_TRUE(d.selectedDays.isEmpty());
    c = sample();
    c.surname = QStringLiteral("a</b");
    EXPECT_EQ(FieldThatWouldNotReadBack(c), QStringLiteral("Nazwisko"));
}

TEST(PlanFile, PathKeepsToThePlanFolder)
{
    EXPECT_EQ(PlanFilePath(QStringLiteral("/plany"), QStringLiteral("jan")),
              QStringLiteral("/plany/jan.zfpn"));
    EXPECT_EQ(PlanFilePath(QStringLiteral("/plany/"), QStringLiteral("jan")),
              QStringLiteral("/plany/jan.zfpn"));
    EXPECT_EQ(PlanFilePath(QStringLiteral("/plany\\"), QString()), QStringLiteral("/plany/.zfpn"));
    EXPECT_TRUE(IsSafePlanFileName(QStringLiteral("jan.kowalski")));
    EXPECT_TRUE(IsSafePlanFileName(QString()));
    for (const char* bad : {"../jan", "a/b", "a\\b", "..", "x..y", "a\tb", "a\x7f"})
        EXPECT_FALSE(IsSafePlanFileName(QString::fromLatin1(bad))) << bad;
}

} // namespace
} // namespace zf
