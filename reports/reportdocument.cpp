// A laid-out report drawn on a device, searched and saved as PDF.
#include "reports/reportengine.h"

#include "reports/cellfont.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace zf::report {

using detail::fontOf;
using detail::kLayoutDpi;
using detail::kPadX;
using detail::kPadY;

namespace {

// One frame line of a cell in device pixels: at `at` (x of a vertical line, y of a horizontal
// one) from `from` to `to`.
struct FrameSegment
{
    double width;
    bool vertical;
    double at, from, to;
};

// Lines of the same width that continue one another are drawn as one: a table's frame becomes
// a line per row and per column instead of four per cell, and shared edges are drawn once.
// Square caps make the merged line cover exactly what its pieces covered. The result holds one
// list of lines per width, in the order the widths first appear.
std::vector<std::pair<double, std::vector<QLineF>>> mergeSegments(
    const std::vector<FrameSegment>& segments)
{
    constexpr double kTouch = 1e-3; // device pixels
    struct Run
    {
        size_t width; // index into the result
        bool vertical;
        double at;
        std::vector<std::pair<double, double>> pieces;
    };
    std::vector<std::pair<double, std::vector<QLineF>>> out;
    std::vector<Run> runs;
    // Lines of one width and direction at one place (to a 1/1024 pixel) form a run.
    std::unordered_map<quint64, size_t> runOf;
    for (const FrameSegment& s : segments) {
        size_t w = 0;
        while (w < out.size() && out[w].first != s.width)
            ++w;
        if (w == out.size())
            out.push_back({s.width, {}});
        const quint64 key = (quint64(w) << 48) ^ (quint64(s.vertical) << 47) ^
                            quint64(std::llround(s.at * 1024));
        const auto [it, added] = runOf.try_emplace(key, runs.size());
        if (added)
            runs.push_back({w, s.vertical, s.at, {}});
        runs[it->second].pieces.emplace_back(s.from, s.to);
    }
    for (Run& run : runs) {
        // Cells come row by row, so the pieces are nearly in order already.
        std::sort(run.pieces.begin(), run.pieces.end());
        std::vector<QLineF>& lines = out[run.width].second;
        const auto addLine = [&](double from, double to) {
            lines.push_back(run.vertical ? QLineF(run.at, from, run.at, to)
                                         : QLineF(from, run.at, to, run.at));
        };
        double from = run.pieces.front().first;
        double to = run.pieces.front().second;
        for (const auto& [a, b] : run.pieces) {
            if (a > to + kTouch) {
                addLine(from, to);
                from = a;
            }
            to = std::max(to, b);
        }
        addLine(from, to);
    }
    return out;
}

} // namespace

void ReportDocument::paintPage(QPainter& painter, int index, double pxPerMm) const
{
    if (index < 0 || index >= pageCount())
        return;
    const std::vector<DrawnCell>& cells = pages[index].cells;
    const auto toDevice = [pxPerMm](const QRectF& r) {
        return QRectF(r.x() * pxPerMm, r.y() * pxPerMm, r.width() * pxPerMm,
                      r.height() * pxPerMm);
    };
    // Every change of pen or brush costs a PDF device a new graphics state, and a schedule page
    // has thousands of cells: the page is drawn in three passes, fills, frame lines and texts,
    // each with as few changes as its colours and widths need. Cells never overlap, so only
    // the lines' place above every fill is new, and it keeps the tables' lines whole.
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    std::vector<std::pair<QRgb, std::vector<QRectF>>> fills;
    std::vector<FrameSegment> segments;
    for (const DrawnCell& c : cells) {
        const QRectF r = toDevice(c.rect);
        if (c.fill.isValid()) {
            const QRgb rgb = c.fill.rgba();
            auto it = std::find_if(fills.begin(), fills.end(),
                                   [rgb](const auto& f) { return f.first == rgb; });
            if (it == fills.end())
                it = fills.insert(fills.end(), {rgb, {}});
            it->second.push_back(r);
        }
        if (c.frame == FrameNone)
            continue;
        const double width = std::max(1.0, c.style->lineWidth * pxPerMm);
        if (c.frame & FrameLeft)
            segments.push_back({width, true, r.left(), r.top(), r.bottom()});
        if (c.frame & FrameTop)
            segments.push_back({width, false, r.top(), r.left(), r.right()});
        if (c.frame & FrameRight)
            segments.push_back({width, true, r.right(), r.top(), r.bottom()});
        if (c.frame & FrameBottom)
            segments.push_back({width, false, r.bottom(), r.left(), r.right()});
    }

    painter.setPen(Qt::NoPen);
    for (const auto& [rgb, rects] : fills) {
        painter.setBrush(QColor::fromRgba(rgb));
        painter.drawRects(rects.data(), static_cast<int>(rects.size()));
    }
    painter.setBrush(Qt::NoBrush);
    for (const auto& [width, lines] : mergeSegments(segments)) {
        QPen pen(Qt::black);
        pen.setWidthF(width);
        painter.setPen(pen);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }

    // Texts are laid out in the layout's pixels, scaled to the device's: lines break and wrap
    // where the layout measured them on the screen, on paper and in the PDF alike. A font's
    // point size is turned into pixels by the device's resolution, hence its size below.
    const double layoutPxPerMm = kLayoutDpi / 25.4;
    const int deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    const double fontScale = deviceDpi > 0 ? kLayoutDpi / deviceDpi : 1.0;
    painter.scale(pxPerMm / layoutPxPerMm, pxPerMm / layoutPxPerMm);
    const CellStyle* lastStyle = nullptr;
    for (const DrawnCell& c : cells) {
        if (c.text.isEmpty())
            continue;
        if (c.style != lastStyle) {
            QFont font = fontOf(*c.style);
            font.setPointSizeF(c.style->fontSize * fontScale);
            painter.setFont(font);
            painter.setPen(c.style->textColor);
            lastStyle = c.style;
        }
        const QRectF inner(
            (c.rect.x() + kPadX) * layoutPxPerMm, (c.rect.y() + kPadY) * layoutPxPerMm,
            (c.rect.width() - 2 * kPadX) * layoutPxPerMm,
            (c.rect.height() - 2 * kPadY) * layoutPxPerMm);
        painter.drawText(inner, c.style->align | (c.style->wrap ? Qt::TextWordWrap : 0), c.text);
    }
    painter.restore();
}

bool ReportDocument::find(const QString& text, int& page, int& cell) const
{
    if (text.isEmpty())
        return false;
    for (int p = std::max(0, page); p < pageCount(); ++p) {
        const auto& cells = pages[p].cells;
        for (int c = p == page ? std::max(0, cell) : 0; c < static_cast<int>(cells.size()); ++c) {
            if (cells[c].text.contains(text, Qt::CaseInsensitive)) {
                page = p;
                cell = c;
                return true;
            }
        }
    }
    return false;
}

QString ReportDocument::pageText(int index) const
{
    QStringList parts;
    if (index >= 0 && index < pageCount())
        for (const DrawnCell& c : pages[index].cells)
            if (!c.text.isEmpty())
                parts << c.text;
    return parts.join(QLatin1Char('\n'));
}

bool ReportDocument::writePdf(const QString& path, QString* error) const
{
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Zefirant PL+"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("Nie można zapisać pliku \"%1\".").arg(path);
        return false;
    }
    const double pxPerMm = writer.resolution() / 25.4;
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        paintPage(painter, i, pxPerMm);
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("Nie można zapisać pliku \"%1\".").arg(path);
        return false;
    }
    return true;
}

} // namespace zf::report
