// A plan file read for the employees' editor and written back: everything the office writes is
// read, the rewritten text is the office's own text with the new stamp and days, anything else
// in the file stays byte for byte, and a damaged file names what is wrong.
#include "planfiles/planfile.h"
#include "tests/util/print.h"
#include "util/textcodec.h"

#include <limits>

#include <gtest/gtest.h>

namespace zf {
namespace {

PlanFileContent officePlan()
{
    PlanFileContent c;
    c.year = 2027;
    c.employeeKey = QStringLiteral("K<7\"");
    c.name = QStringLiteral("Łucja");
    c.surname = QStringLiteral("Żółć-<Gęś>");
    c.password = QStringLiteral("hasło<1");
    c.lastYearDays = -3;
    c.thisYearDays = 26;
    c.stamp = 41;
    c.freeDays = {20270101, 20270710, 20270711, 20270717, 20270718};
    c.comment = QStringLiteral("Pierwsza linia\r\ndruga <linia> & \"cudzysłów\"\nkoniec");
    c.checkRange = true;
    c.selectedDays = {20270712, 20270713};
    c.unchangeableDays = {20270713, 20271224};
    return c;
}

PlanFileFault faultOf(const QByteArray& text)
{
    EditablePlanFile f;
    return ReadEditablePlanFile(text, f);
}

TEST(EditablePlanFile, ReadsEverythingTheOfficeWrites)
{
    const PlanFileContent c = officePlan();
    EditablePlanFile f;
    ASSERT_EQ(ReadEditablePlanFile(BuildPlanFileText(c), f), PlanFileFault::None);
    const PlanFileContent& r = f.content;
    EXPECT_EQ(r.year, 2027);
    EXPECT_EQ(r.employeeKey, c.employeeKey);
    EXPECT_EQ(r.name, c.name);
    EXPECT_EQ(r.surname, c.surname);
    EXPECT_EQ(r.password, c.password);
    EXPECT_EQ(r.lastYearDays, -3);
    EXPECT_EQ(r.thisYearDays, 26);
    EXPECT_EQ(r.stamp, 41);
    EXPECT_EQ(r.freeDays, c.freeDays);
    EXPECT_EQ(r.comment, c.comment) << "line breaks are kept";
    EXPECT_TRUE(r.checkRange);
    EXPECT_EQ(r.selectedDays, c.selectedDays);
    EXPECT_EQ(r.unchangeableDays, c.unchangeableDays);
    EXPECT_EQ(f.text.mid(f.stampBegin, f.stampEnd - f.stampBegin), QByteArray("41"));

    // The office reads the same stamp and days the editor read.
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(f.text, 2027, office));
    EXPECT_EQ(office.stamp, r.stamp);
    EXPECT_EQ(office.selectedDays, r.selectedDays);
    EXPECT_EQ(office.unchangeableDays, r.unchangeableDays);
}

TEST(EditablePlanFile, RewriteIsTheOfficesTextWithTheNewStampAndDays)
{
    PlanFileContent c = officePlan();
    EditablePlanFile f;
    ASSERT_EQ(ReadEditablePlanFile(BuildPlanFileText(c), f), PlanFileFault::None);

    // Given in any order and twice, written ascending and once, as the office writes days.
    const QByteArray text = RewritePlanFileText(f, 42, {20270823, 20270713, 20270820, 20270713});
    c.stamp = 42;
    c.selectedDays = {20270713, 20270820, 20270823};
    EXPECT_EQ(text, BuildPlanFileText(c));

    c.stamp = 43;
    c.selectedDays = {};
    EXPECT_EQ(RewritePlanFileText(f, 43, {}), BuildPlanFileText(c));
    EXPECT_TRUE(RewritePlanFileText(f, 43, {}).contains("<SELECTEDDAYS></SELECTEDDAYS>"));
}

TEST(EditablePlanFile, EverythingElseStaysByteForByte)
{
    // What no writer of the office produces: an element it does not know, a "<" left single,
    // a DAY that is no date, a stamp with a leading zero, 366 free days.
    PlanFileContent c = officePlan();
    c.freeDays.clear();
    for (int d = 1; d <= 31; ++d)
        c.freeDays << 20270100 + d;
    QByteArray text = BuildPlanFileText(c);
    text.replace("<CHECKSUM>41</CHECKSUM>", "<CHECKSUM>041</CHECKSUM><NOWE>x<y</NOWE>");
    text.replace("<FREEDAYS>", "<FREEDAYS><DAY>20270230</DAY>");
    text.replace("</SELECTEDDAYS>", "<DAY>zly</DAY></SELECTEDDAYS>");
    EditablePlanFile f;
    ASSERT_EQ(ReadEditablePlanFile(text, f), PlanFileFault::None);
    EXPECT_EQ(f.content.stamp, 41);
    EXPECT_EQ(f.content.freeDays.size(), 31) << "the day that does not exist is skipped";

    const QByteArray out = RewritePlanFileText(f, 42, {20270301});
    const qsizetype stampAt = text.indexOf("041");
    const qsizetype daysAt = text.indexOf("<SELECTEDDAYS>") + 14;
    const qsizetype daysEnd = text.indexOf("</SELECTEDDAYS>");
    EXPECT_EQ(out, text.left(stampAt) + "42" + text.mid(stampAt + 3, daysAt - stampAt - 3) +
                       "<DAY>20270301</DAY>" + text.mid(daysEnd));

    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(out, 2027, office));
    EXPECT_EQ(office.stamp, 42);
    EXPECT_EQ(office.selectedDays, QList<int>{20270301});
    EXPECT_EQ(office.unchangeableDays, c.unchangeableDays);
}

TEST(EditablePlanFile, NamesWhatIsMissingOrWrong)
{
    const QByteArray good = BuildPlanFileText(officePlan());
    const auto without = [&](const char* tag) {
        QByteArray t = good;
        t.replace(QByteArray("<") + tag + ">", QByteArray("<") + tag + "X>");
        return t;
    };
    const auto with = [&](const char* from, const char* to) {
        QByteArray t = good;
        t.replace(from, to);
        return t;
    };
    using F = PlanFileFault;
    const std::pair<QByteArray, F> cases[] = {
        {QByteArray(), F::NoYear},
        {QByteArray("\xAA\x13\x99 losowe bajty \x01\x02"), F::NoYear},
        {without("IDYEAR"), F::NoYear},
        {with("<IDYEAR>2027<", "<IDYEAR>1998<"), F::BadYear},
        {with("<IDYEAR>2027<", "<IDYEAR>3000<"), F::BadYear},
        {with("<IDYEAR>2027<", "<IDYEAR> 2027<"), F::BadYear},
        {without("IDEMPLOYEE"), F::NoEmployeeKey},
        {without("NAME"), F::NoName},
        {without("SURNAME"), F::NoSurname},
        {without("PWD"), F::NoPassword},
        {without("THISYEARDAYS"), F::NoEntitlement},
        {with("<LASTYEARDAYS>-3<", "<LASTYEARDAYS>-3.5<"), F::BadEntitlement},
        {without("CHECKSUM"), F::NoStamp},
        {with("<CHECKSUM>41<", "<CHECKSUM>41a<"), F::BadStamp},
        {with("<CHECKSUM>41<", "<CHECKSUM>2147483648<"), F::BadStamp},
        {with("<CHECKSUM>41<", "<CHECKSUM><"), F::BadStamp},
        {without("FREEDAYS"), F::NoFreeDays},
        {without("COMMENT"), F::NoComment},
        {without("CHECKRANGE"), F::NoCheckRange},
        {with("<CHECKRANGE>1<", "<CHECKRANGE>T<"), F::BadCheckRange},
        {without("SELECTEDDAYS"), F::NoSelectedDays},
        {good.left(good.indexOf("</SELECTEDDAYS>") + 5), F::NoSelectedDays},
        {good.left(good.indexOf("<PWD>") + 3), F::NoPassword},
        {without("UNCHANGEABLEDAYS"), F::None},
        {good.left(good.size() - 1), F::Truncated},
        {good.left(good.indexOf("</UNCHANGEABLEDAYS>") + 3), F::Truncated},
    };
    for (const auto& [text, fault] : cases)
        EXPECT_EQ(faultOf(text), fault) << text.constData();
}

TEST(EditablePlanFile, RefusesATagInsideAValueThatWouldMoveTheDays)
{
    // The office's reader takes "<SELECTEDDAYS>" inside the comment for the list: new days
    // written there would overwrite the comment and the check-range option.
    for (const QList<int>& days : {QList<int>{}, QList<int>{20270712}}) {
        PlanFileContent c = officePlan();
        c.comment = QStringLiteral("patrz <SELECTEDDAYS>");
        c.selectedDays = days;
        const QByteArray text = BuildPlanFileText(c);
        PlanFileData office;
        ASSERT_TRUE(ParsePlanFileText(text, 2027, office)) << "the office wrote and reads it";
        EXPECT_EQ(faultOf(text), PlanFileFault::Misplaced);
    }
    // A settings element whose own opening tag is damaged is found further on, inside the chosen
    // days the editor rewrites (found by the fuzz run): saved once, the file would not open again.
    QByteArray text = BuildPlanFileText(officePlan());
    text.replace("<FREEDAYS>", "<FREEDAYS?");
    text.replace("<SELECTEDDAYS>", "<SELECTEDDAYS><FREEDAYS></FREEDAYS>");
    EXPECT_EQ(faultOf(text), PlanFileFault::Misplaced);
}

TEST(EditablePlanFile, NextStampAlwaysDiffers)
{
    constexpr int max = std::numeric_limits<int>::max();
    constexpr int min = std::numeric_limits<int>::min();
    EXPECT_EQ(NextPlanFileStamp(41), 42);
    EXPECT_EQ(NextPlanFileStamp(-1), 0);
    EXPECT_EQ(NextPlanFileStamp(max), min);
    EXPECT_EQ(NextPlanFileStamp(min), min + 1);

    PlanFileContent c = officePlan();
    c.stamp = max;
    EditablePlanFile f;
    ASSERT_EQ(ReadEditablePlanFile(BuildPlanFileText(c), f), PlanFileFault::None);
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(RewritePlanFileText(f, NextPlanFileStamp(f.content.stamp), {}),
                                  2027, office));
    EXPECT_EQ(office.stamp, min);
}

} // namespace
} // namespace zf
