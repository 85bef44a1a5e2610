#include "reports/reportengine.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace zf::report {

namespace {

constexpr double kPadX = 0.7; // mm between a frame and its text
constexpr double kPadY = 0.3;
constexpr double kMeasureDpi = 600;

QFont fontOf(const CellStyle& style)
{
    QFont f(style.fontFamily);
    f.setPointSizeF(style.fontSize);
    f.setBold(style.bold);
    f.setItalic(style.italic);
    return f;
}

// Every line end the program hands over (the database lists use carriage returns) as '\n'.
QString normaliseLines(QString text)
{
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

bool isNameChar(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
           c == QLatin1Char('#');
}

class Layout
{
public:
    Layout(const ReportTemplate& t, ReportSource& source, ReportDocument& doc,
           const ReportEngine::Progress& progress)
        : m_t(t), m_source(source), m_doc(doc), m_progress(progress)
    {
        double footers = 0;
        for (const TemplateBand& b : t.bands) {
            if (b.kind == BandKind::PageHeader)
                m_headers.push_back(&b);
            else if (b.kind == BandKind::PageFooter) {
                m_footers.push_back(&b);
                footers += b.height;
            }
        }
        m_limit = t.pageHeight() - t.marginBottom - footers;
    }

    bool run()
    {
        newPage();
        const TemplateBand* pendingHeader = nullptr;
        for (const TemplateBand& band : m_t.bands) {
            if (m_cancelled)
                return false;
            switch (band.kind) {
            case BandKind::PageHeader:
            case BandKind::PageFooter:
                break;
            case BandKind::ColumnHeader:
                pendingHeader = &band;
                break;
            case BandKind::Title:
            case BandKind::Summary:
                printBand(band);
                break;
            case BandKind::Data:
                runData(band, pendingHeader);
                pendingHeader = nullptr;
                break;
            }
        }
        if (m_cancelled)
            return false;
        finishPage();
        return true;
    }

private:
    struct Evaluated
    {
        std::vector<DrawnCell> cells;
        double height = 0;
    };

    void runData(const TemplateBand& band, const TemplateBand* header)
    {
        if (band.newPage && !m_bodyEmpty)
            newPage();
        m_source.first(band.source);
        m_row = 0;
        Evaluated head;
        if (header)
            head = evaluate(*header);
        // A table kept together is evaluated ahead, as far as an empty page could hold it.
        std::vector<Evaluated> held;
        if (band.keepTogether) {
            double height = head.height;
            const double room = m_limit - m_bodyTop;
            while (!m_cancelled && height <= room && !m_source.eof(band.source)) {
                ++m_row;
                held.push_back(evaluate(band));
                height += held.back().height;
                m_source.next(band.source);
            }
            if (height <= room && m_y + height > m_limit && !m_bodyEmpty)
                newPage();
        }
        if (header) {
            // The header stays with the first row; without rows it still must fit on its own.
            double first = 0;
            if (!held.empty())
                first = held.front().height;
            else if (!m_source.eof(band.source))
                first = band.height;
            if (m_y + head.height + first > m_limit && !m_bodyEmpty)
                newPage();
            place(head);
            m_bodyEmpty = false;
            m_activeHeader = header;
        }
        for (const Evaluated& ev : held)
            placeBreaking(ev);
        while (!m_cancelled && !m_source.eof(band.source)) {
            ++m_row;
            printBand(band);
            m_source.next(band.source);
        }
        m_activeHeader = nullptr;
    }

    void printBand(const TemplateBand& band) { placeBreaking(evaluate(band)); }

    void placeBreaking(const Evaluated& ev)
    {
        if (m_y + ev.height > m_limit && !m_bodyEmpty)
            newPage();
        place(ev);
        m_bodyEmpty = false;
    }

    void place(const Evaluated& ev)
    {
        ReportPage& page = m_doc.pages.back();
        for (DrawnCell c : ev.cells) {
            c.rect.translate(m_t.marginLeft, m_y);
            page.cells.push_back(std::move(c));
        }
        m_y += ev.height;
    }

    void newPage()
    {
        if (!m_doc.pages.empty())
            finishPage();
        m_doc.pages.emplace_back();
        if (m_progress && !m_progress(static_cast<int>(m_doc.pages.size())))
            m_cancelled = true;
        m_source.pageStarted();
        m_y = m_t.marginTop;
        for (const TemplateBand* h : m_headers)
            place(evaluate(*h));
        m_bodyTop = m_y;
        if (m_activeHeader)
            place(evaluate(*m_activeHeader));
        m_bodyEmpty = true;
    }

    void finishPage()
    {
        m_y = m_limit;
        for (const TemplateBand* f : m_footers)
            place(evaluate(*f));
    }

    Evaluated evaluate(const TemplateBand& band)
    {
        Evaluated ev;
        ev.height = band.height;
        ev.cells.reserve(band.cells.size());
        const bool hook = m_source.hasCellHook();
        bool stretched = false;
        for (const TemplateCell& cell : band.cells) {
            DrawnCell d{cell.rect, QString(), &cell.style, cell.fill, cell.frame};
            if (hook) {
                // Most cells hold one line: no splitting and joining for them.
                const bool oneLine = !cell.text.contains(QLatin1Char('\n'));
                QStringList lines =
                    oneLine ? QStringList{cell.text} : cell.text.split(QLatin1Char('\n'));
                m_source.cellHook(lines, d.fill, d.frame);
                d.text = substitute(lines.size() == 1 ? lines.front()
                                                      : lines.join(QLatin1Char('\n')));
            } else {
                d.text = substitute(cell.text);
            }
            if (cell.style.stretch) {
                const double need = textHeightMm(d.text, cell.style, cell.rect.width());
                if (need > d.rect.height()) {
                    d.rect.setHeight(need);
                    stretched = true;
                }
                ev.height = std::max(ev.height, d.rect.bottom());
            }
            ev.cells.push_back(std::move(d));
        }
        if (stretched) {
            // Cells that reached the band's bottom keep reaching it, so table lines stay closed.
            for (DrawnCell& d : ev.cells)
                if (std::abs(d.rect.bottom() - band.height) < 0.01)
                    d.rect.setBottom(ev.height);
        }
        return ev;
    }

    QString substitute(const QString& text)
    {
        if (!text.contains(QLatin1Char('[')))
            return normaliseLines(text);
        QString out;
        out.reserve(text.size());
        int i = 0;
        while (i < text.size()) {
            const int open = text.indexOf(QLatin1Char('['), i);
            if (open < 0)
                break;
            int close = open + 1;
            while (close < text.size() && isNameChar(text[close]))
                ++close;
            if (close >= text.size() || text[close] != QLatin1Char(']') || close == open + 1) {
                out += text.mid(i, open + 1 - i);
                i = open + 1;
                continue;
            }
            out += text.mid(i, open - i);
            out += value(text.mid(open + 1, close - open - 1));
            i = close + 1;
        }
        out += text.mid(i);
        return normaliseLines(out);
    }

    QString value(const QString& name)
    {
        if (name == QLatin1String("#LP"))
            return QString::number(m_row);
        if (name == QLatin1String("#STRONA"))
            return QString::number(m_doc.pages.size());
        return m_source.variable(name);
    }

    const ReportTemplate& m_t;
    ReportSource& m_source;
    ReportDocument& m_doc;
    const ReportEngine::Progress& m_progress;
    std::vector<const TemplateBand*> m_headers;
    std::vector<const TemplateBand*> m_footers;
    const TemplateBand* m_activeHeader = nullptr;
    double m_limit = 0;
    double m_bodyTop = 0; // where the body of a page starts, below the page headers
    double m_y = 0;
    bool m_bodyEmpty = true;
    bool m_cancelled = false;
    int m_row = 0;
};

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

double textHeightMm(const QString& text, const CellStyle& style, double width)
{
    static QImage reference = [] {
        QImage img(1, 1, QImage::Format_Mono);
        const int dpm = static_cast<int>(std::lround(kMeasureDpi / 0.0254));
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    const double pxPerMm = kMeasureDpi / 25.4;
    const QFontMetricsF fm(fontOf(style), &reference);
    const double inner = std::max(1.0, (width - 2 * kPadX) * pxPerMm);
    const int flags = style.wrap ? Qt::TextWordWrap : 0;
    const QRectF r = fm.boundingRect(QRectF(0, 0, inner, 1e7), flags, text);
    return r.height() / pxPerMm + 2 * kPadY;
}

bool ReportEngine::run(std::shared_ptr<const ReportTemplate> layout, ReportSource& source,
                       ReportDocument& out, const Progress& progress)
{
    out.pages.clear();
    out.layout = layout;
    if (out.title.isEmpty())
        out.title = layout->name;
    Layout l(*layout, source, out, progress);
    return l.run();
}

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

    const CellStyle* lastStyle = nullptr;
    for (const DrawnCell& c : cells) {
        if (c.text.isEmpty())
            continue;
        if (c.style != lastStyle) {
            painter.setFont(fontOf(*c.style));
            painter.setPen(c.style->textColor);
            lastStyle = c.style;
        }
        const QRectF inner = toDevice(c.rect).adjusted(kPadX * pxPerMm, kPadY * pxPerMm,
                                                       -kPadX * pxPerMm, -kPadY * pxPerMm);
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
