// Non-working-day text files: a line gives a real date or none, and reading a file marks only
// real days of the year asked for, never clearing what was marked before.
#include "fuzz/fuzzsupport.h"
#include "plans/nonworkingdays.h"
#include "util/dates.h"

#include <QDate>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zf;
    const QByteArray input = fuzz::bytes(data, size);
    const int date = CalendarLineDate(input.left(64));
    ZF_FUZZ_CHECK(date == 0 || IsValidDateNumber(date));

    constexpr int kYear = 2024;
    YearDays days = MakeYearDays(true);
    days[0][0].selected = true; // marked before: stays
    ZF_FUZZ_CHECK(ReadCalendarFile(fuzz::writeInput(QStringLiteral("dni.txt"), input), kYear, days));
    ZF_FUZZ_CHECK(days[0][0].selected);
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d)
            if (days[m - 1][d - 1].selected && !(m == 1 && d == 1))
                ZF_FUZZ_CHECK(QDate(kYear, m, d).isValid());
    fuzz::expectOnly({QStringLiteral("dni.txt")});
    return 0;
}
