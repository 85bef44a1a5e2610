#pragma once

#include "plans/calendar/calendarselector.h"
#include "plans/laborcode.h"
#include "plans/overview.h"
#include "plans/staffing.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QStaticText>

class QLabel;

namespace zf {

// The overview grid `DrawGrid`: a header row, four fixed columns (name, entitlement, remaining,
// edit icon) and one column per day of the year, painted cell by cell from OverviewData. Only
// the cells in view are painted, so a screenful costs the same for any number of employees.
// With the Labour Code checks a fifth, narrow fixed column "KP" stands before the edit icon.
class TOverviewGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int kFixedColumns = 4;
    static constexpr int kFixedWidths[kFixedColumns] = {200, 60, 55, 22};
    // The "KP" column, after "Pozost." when the checks are shown.
    static constexpr int kLaborCodeColumn = 3;
    static constexpr int kLaborCodeWidth = 26;
    static constexpr int kDayWidth = 45;
    static constexpr int kRowHeight = 17;

    explicit TOverviewGrid(QWidget* parent = nullptr);

    // The data stays owned by the caller and must outlive the next paint.
    void setData(const OverviewData* data);
    // The units' summary rows under the employees; null or empty for none. Owned by the caller.
    void setStaffing(const std::vector<UnitStaffing>* rows);
    // The entries' verdicts (same index as the list) for the "KP" column; null for no column.
    // Owned by the caller.
    void setLaborCode(const std::vector<LaborCodeCheck>* checks);
    bool showsLaborCode() const { return m_laborCode != nullptr; }
    // Fixed columns in use (4, or 5 with "KP") and the column of the edit icon.
    int fixedColumns() const;
    int editColumn() const { return fixedColumns() - 1; }
    int columnCount() const;
    int rowCount() const;

    // Day columns wholly in view, and the day shown first (1 = 1 January).
    int visibleDayColumns() const;
    int firstVisibleDay() const;
    void setFirstVisibleDay(int day);
    int firstVisibleRow() const;
    void setFirstVisibleRow(int row);

    // Grid column and row under a viewport point; {-1, -1} outside every cell.
    QPoint cellAt(const QPoint& pos) const;
    // The cell's rectangle in viewport coordinates; empty when it is out of view.
    QRect cellRect(int column, int row) const;
    // The hint shown over a cell (grid column and row): a staffing day below its threshold, or
    // the "KP" cell of an employee who breaks a rule and its title; empty for the others.
    QString hintAt(const QPoint& cell) const;

    static QPixmap EditIcon();

signals:
    // A click on the edit icon of list entry `index`.
    void editRequested(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The wheel moves through the days; through the rows only when they do not all fit, and
    // never with Shift held. A touchpad's sideways swipe moves through the days too.
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    int fixedWidth() const;
    int fixedColumnWidth(int column) const;
    int columnLeft(int column) const;
    void updateScrollBars();
    void paintHeaderCell(QPainter& p, const QRect& r, const QString& text, Qt::Alignment align);
    int entryCount() const;
    int staffingCount() const;
    void paintStaffingDayCell(QPainter& p, const QRect& r, const UnitStaffing& s, int day,
                              int weekday);
    void paintDayCell(QPainter& p, const QRect& r, const THolidayPlanEntry& e, int day,
                      int weekday, const QString& weekdayText);
    // A weekday name laid out once: a screenful draws the same few names thousands of times.
    const QStaticText& dayText(const QString& text, bool bold);

    const OverviewData* m_data = nullptr;
    const std::vector<UnitStaffing>* m_staffing = nullptr;
    const std::vector<LaborCodeCheck>* m_laborCode = nullptr;
    QFont m_font;
    QFont m_bold;
    QHash<QString, QStaticText> m_dayTexts[2]; // normal, bold
    QPixmap m_freeIcon;
    QPixmap m_leaveIcon;
    QPixmap m_fixedLeaveIcon;
    QPixmap m_editIcon;
    QPixmap m_warningIcon;
    // Wheel turns too small for a whole column or row yet (touchpads send many small ones).
    QPoint m_wheelRest;
};

} // namespace zf
