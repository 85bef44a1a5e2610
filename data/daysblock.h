#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One employee's chosen and unchangeable days replaced inside one EXECUTE BLOCK, so that a save
// or an import is a statement or a few, not one per day: over an office network each statement
// is a round trip. Used by the leave editor's save and the plan files' import.
namespace zf::daysblock {

// The days as the block takes them: the chosen days, "/", the unchangeable ones, each date
// number (yyyymmdd) in eight digits.
QByteArray DaysText(const QList<int>& chosen, const QList<int>& unchangeable);

// The longest text of a year: every day chosen and unchangeable.
inline constexpr int kYearDaysChars = 2 * 366 * 8 + 1;

// The declaration of the block's sub-procedure ZF_REPLACE_DAYS (Y year, K employee, D days as
// DaysText gives them, declared as `daysType`), to stand between the block's AS and its BEGIN.
// It deletes his days of the year and inserts those of D.
QString ReplaceDaysProcedure(const QString& daysType);

// An error inside a block ends with where in the block it happened; the clerk and the log get
// the engine's text as the same statements outside a block give it.
QString WithoutBlockLines(const QString& message);

} // namespace zf::daysblock
