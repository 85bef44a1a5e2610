// The employees' editor on any plan-file text: what its reader accepts, the office's parser reads
// with the same employee, stamp and days; and what its rewriter makes of it with a new stamp and
// another choice of days, the office reads back with exactly that stamp and those days and
// everything else as it was, and the editor can open again.
#include "fuzz/fuzzsupport.h"
#include "planfiles/planfile.h"

#include <QSet>

#include <algorithm>

namespace {

// Another choice from the days the file had: every second one dropped, and the plan year's
// 2 January added, in the order the bytes give.
QList<int> otherChoice(const QList<int>& days, int year, const QByteArray& input)
{
    QList<int> out;
    for (qsizetype i = 0; i < days.size(); i += 2)
        out.append(days.at(i));
    const qsizetype at =
        input.isEmpty() ? 0 : static_cast<unsigned char>(input.at(0)) % (out.size() + 1);
    out.insert(at, year * 10000 + 102);
    return out;
}

QList<int> ascendingOnce(const QList<int>& days)
{
    QList<int> out(days);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QByteArray text = fuzz::bytes(data, size);
    if (text.size() > kMaxPlanFileSize)
        return 0; // never read
    EditablePlanFile file;
    if (ReadEditablePlanFile(text, file) != PlanFileFault::None)
        return 0;
    const PlanFileContent& c = file.content;

    // The office reads the file the editor opened as the editor does.
    PlanFileData office;
    ZF_FUZZ_CHECK(ParsePlanFileText(text, c.year, office));
    ZF_FUZZ_CHECK(IsOfPlanYear(office.year, c.year));
    ZF_FUZZ_CHECK(office.employeeKey == c.employeeKey);
    ZF_FUZZ_CHECK(office.stamp == c.stamp);
    ZF_FUZZ_CHECK(office.selectedDays == c.selectedDays);
    ZF_FUZZ_CHECK(office.unchangeableDays == c.unchangeableDays);

    // Saved with a new stamp and another choice.
    const int stamp = NextPlanFileStamp(c.stamp);
    ZF_FUZZ_CHECK(stamp != c.stamp);
    const QList<int> chosen = otherChoice(c.selectedDays, c.year, text);
    const QByteArray saved = RewritePlanFileText(file, stamp, chosen);
    PlanFileData back;
    ZF_FUZZ_CHECK(ParsePlanFileText(saved, c.year, back));
    ZF_FUZZ_CHECK(back.year == office.year);
    ZF_FUZZ_CHECK(back.employeeKey == c.employeeKey);
    ZF_FUZZ_CHECK(back.name == office.name && back.surname == office.surname);
    ZF_FUZZ_CHECK(back.stamp == stamp);
    ZF_FUZZ_CHECK(back.selectedDays == ascendingOnce(chosen));
    ZF_FUZZ_CHECK(back.unchangeableDays == c.unchangeableDays);

    // The editor opens its own file again, with nothing else changed.
    EditablePlanFile again;
    ZF_FUZZ_CHECK(ReadEditablePlanFile(saved, again) == PlanFileFault::None);
    const PlanFileContent& a = again.content;
    ZF_FUZZ_CHECK(a.stamp == stamp && a.selectedDays == ascendingOnce(chosen));
    ZF_FUZZ_CHECK(a.year == c.year && a.employeeKey == c.employeeKey && a.name == c.name &&
                  a.surname == c.surname && a.password == c.password &&
                  a.lastYearDays == c.lastYearDays && a.thisYearDays == c.thisYearDays &&
                  a.freeDays == c.freeDays && a.comment == c.comment &&
                  a.checkRange == c.checkRange && a.unchangeableDays == c.unchangeableDays);
    // Outside the two values the bytes are the file's own.
    ZF_FUZZ_CHECK(saved.left(file.stampBegin) == text.left(file.stampBegin));
    ZF_FUZZ_CHECK(saved.mid(saved.size() - (text.size() - file.daysEnd)) == text.mid(file.daysEnd));
    return 0;
}
