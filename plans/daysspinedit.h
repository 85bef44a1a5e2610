#pragma once

#include <QSpinBox>

namespace zf {

// A field for a number of days: the arrows keep within the field's range, but any whole number
// can be typed and a stored value outside the range is shown as it is, so that the check of the
// window, not the field, decides and nothing is clamped unseen.
class TDaysSpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    TDaysSpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    int minimumDays() const { return m_min; }
    int maximumDays() const { return m_max; }
    // The value exactly, however far outside the range.
    void setDays(int value);

    void stepBy(int steps) override;
    QSize sizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_min;
    int m_max;
};

} // namespace zf
