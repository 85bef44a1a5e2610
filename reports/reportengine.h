#pragma once

#include "reports/reporttemplate.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace zf::report {

// What the engine asks the program while it lays a report out.
class ReportSource
{
public:
    virtual ~ReportSource() = default;
    virtual void first(const QString& source) = 0;
    virtual void next(const QString& source) = 0;
    virtual bool eof(const QString& source) = 0;
    virtual QString variable(const QString& name) = 0;
    virtual void pageStarted() {}
    // Before a cell's variables are read: the program may change the first line, the fill and
    // the frame.
    virtual void cellHook(QStringList& /*lines*/, QColor& /*fill*/, unsigned& /*frame*/) {}
    virtual bool hasCellHook() const { return false; }
};

// One cell as drawn: its place on the page in mm, its final text and look.
struct DrawnCell
{
    QRectF rect;
    QString text;
    const CellStyle* style = nullptr;
    QColor fill;
    unsigned frame = FrameNone;
};

struct ReportPage
{
    std::vector<DrawnCell> cells;
};

// A laid-out report: pages of drawn cells, independent of any device.
class ReportDocument
{
public:
    QString title;
    std::shared_ptr<const ReportTemplate> layout;
    std::vector<ReportPage> pages;

    int pageCount() const { return static_cast<int>(pages.size()); }
    double pageWidth() const { return layout ? layout->pageWidth() : 210.0; }
    double pageHeight() const { return layout ? layout->pageHeight() : 297.0; }
    bool landscape() const { return layout && layout->landscape; }

    // Draws page `index` with `pxPerMm` device pixels per millimetre; the device's logical
    // resolution must match so that point sizes come out right.
    void paintPage(QPainter& painter, int index, double pxPerMm) const;
    // The first cell at or after (page, cell) whose text contains `text`, ignoring case;
    // false when none.
    bool find(const QString& text, int& page, int& cell) const;
    // All of it into a PDF file; false with the reason on failure.
    bool writePdf(const QString& path, QString* error) const;
    // All text of one page, cells in drawing order (tests and find).
    QString pageText(int index) const;
};

// Lays a template out against a source. `progress` is told the pages made so far; returning
// false cancels, and then run() returns false.
class ReportEngine
{
public:
    using Progress = std::function<bool(int pages)>;

    static bool run(std::shared_ptr<const ReportTemplate> layout, ReportSource& source,
                    ReportDocument& out, const Progress& progress = {});
};

// Height in mm that `text` needs in a cell `width` mm wide with the style's font and wrap.
double textHeightMm(const QString& text, const CellStyle& style, double width);

} // namespace zf::report
