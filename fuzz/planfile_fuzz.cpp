// Leave-plan file texts: any file of the size read is parsed in under 100 ms; only real days of
// the plan year, each once, come out; and what was read is written by the program's own writer to
// a text that reads back the same, of the plan year.
#include "fuzz/fuzzsupport.h"
#include "planfiles/planfile.h"
#include "util/textcodec.h"

#include <QDate>
#include <QSet>

#include <ctime>

namespace {

// The CPU time of this thread: a fuzzer sharing a busy machine is not slow when it waits.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

void expectRealDaysOnce(const QList<int>& days, int year)
{
    QSet<int> seen;
    for (const int day : days) {
        ZF_FUZZ_CHECK(day / 10000 == year);
        ZF_FUZZ_CHECK(QDate(year, day / 100 % 100, day % 100).isValid());
        ZF_FUZZ_CHECK(!seen.contains(day));
        seen.insert(day);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    constexpr int kYear = 2025;
    const QByteArray text = fuzz::bytes(data, size);
    PlanFileData read;
    const double start = cpuMs();
    const bool parsed = ParsePlanFileText(text, kYear, read);
    // Larger files are never read; one that is must not freeze the program.
    if (text.size() <= kMaxPlanFileSize)
        ZF_FUZZ_CHECK(cpuMs() - start < 100.0);
    if (!parsed)
        return 0;
    expectRealDaysOnce(read.selectedDays, kYear);
    expectRealDaysOnce(read.unchangeableDays, kYear);

    PlanFileContent content;
    content.year = kYear;
    content.employeeKey = read.employeeKey;
    content.name = read.name;
    content.surname = read.surname;
    content.stamp = read.stamp;
    content.selectedDays = read.selectedDays;
    content.unchangeableDays = read.unchangeableDays;
    // The writer takes texts from the database: Windows-1250 and free of "</".
    if (!FieldThatWouldNotReadBack(content).isEmpty() ||
        !isCp1250Encodable(content.employeeKey + content.name + content.surname))
        return 0;
    PlanFileData again;
    ZF_FUZZ_CHECK(ParsePlanFileText(BuildPlanFileText(content), kYear, again));
    ZF_FUZZ_CHECK(IsOfPlanYear(again.year, kYear));
    ZF_FUZZ_CHECK(again.employeeKey == read.employeeKey);
    ZF_FUZZ_CHECK(again.name == read.name);
    ZF_FUZZ_CHECK(again.surname == read.surname);
    ZF_FUZZ_CHECK(again.stamp == read.stamp);
    ZF_FUZZ_CHECK(again.selectedDays == read.selectedDays);
    ZF_FUZZ_CHECK(again.unchangeableDays == read.unchangeableDays);
    return 0;
}
