#pragma once

#include <QString>

#include <optional>

namespace zf {

namespace fb {
class DataSet;
}

// The figures of one employee's entitlement in a plan.
struct EntitlementData
{
    int lastYearDays = 0;
    int thisYearDays = 0;
    int nursingDays = 0;
    int maternityDays = 0;
    int unpaidDays = 0;
    int sickDays = 0;
    int otherDays = 0;
    QString otherDescr;

    bool operator==(const EntitlementData&) const = default;

    // EMPLOYEE aside, the figures of the current row of a plan-employee list; nothing when the
    // list is closed or empty.
    static std::optional<EntitlementData> fromCurrentRow(const fb::DataSet& list);
};

// Every day count lies within 0 to 365; the carried-over days, which copying a plan may make
// negative, within -365 to 365.
constexpr int kMaxDays = 365;
constexpr int kMinLastYearDays = -365;
constexpr int kMaxDescrLength = 255;

// The refusal of figures outside their range, in the entitlement and the batch windows alike.
inline const QString kInvalidEntitlement =
    QStringLiteral("Niepoprawna ilość dni urlopu. Sprawdź pola.");

// Whether "&Zapisz" of the entitlement window may close with these values: each figure within
// its range, or the very value it was filled with, so that a stored figure outside the range is
// never refused, clamped or changed while only other figures are edited.
bool EntitlementAcceptable(const EntitlementData& values, const EntitlementData& filled);

} // namespace zf
