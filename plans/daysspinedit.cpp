#include "plans/daysspinedit.h"

#include <algorithm>

namespace zf {

namespace {
// What may be typed: far beyond any range, so that the window's check sees the typed number.
constexpr int kTypable = 999999;
} // namespace

TDaysSpinEdit::TDaysSpinEdit(int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), m_min(minimum), m_max(maximum)
{
    setRange(-kTypable, kTypable);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setKeyboardTracking(true);
}

void TDaysSpinEdit::setDays(int value)
{
    if (value < minimum())
        setMinimum(value);
    if (value > maximum())
        setMaximum(value);
    setValue(value);
}

void TDaysSpinEdit::stepBy(int steps)
{
    const long long target = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(target, m_min, m_max)));
    selectAll();
}

QAbstractSpinBox::StepEnabled TDaysSpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled e = StepNone;
    if (value() < m_max)
        e |= StepUpEnabled;
    if (value() > m_min)
        e |= StepDownEnabled;
    return e;
}

QSize TDaysSpinEdit::sizeHint() const
{
    // Wide enough for "-365" and the arrows, not for the typable extremes.
    QSize s = QSpinBox::sizeHint();
    s.setWidth(fontMetrics().horizontalAdvance(QStringLiteral("-99999")) + 36);
    return s;
}

} // namespace zf
