#pragma once

#include <array>
#include <cstdint>

namespace zf {

// One day slot of the year day-state table. Slot d of month m stands for day d of month m
// whether or not the month has that day.
struct DayState
{
    std::uint8_t day = 0; // carried along; nobody relies on it
    bool selectable = false;
    bool selected = false;
    bool unchangeable = false;

    bool operator==(const DayState&) const = default;
};

using MonthDays = std::array<DayState, 31>;
// 12 months x 31 day slots; index [month - 1][day - 1].
using YearDays = std::array<MonthDays, 12>;

// A table whose every slot carries its day number and the given flags.
inline YearDays MakeYearDays(bool selectable, bool selected = false, bool unchangeable = false)
{
    YearDays t{};
    for (auto& month : t)
        for (int d = 0; d < 31; ++d)
            month[d] = DayState{static_cast<std::uint8_t>(d + 1), selectable, selected, unchangeable};
    return t;
}

} // namespace zf
