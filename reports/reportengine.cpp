#include "reports/reportengine.h"

#include "reports/cellfont.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

#include <algorithm>
#include <cmath>

namespace zf::report {

using detail::fontOf;
using detail::kLayoutDpi;
using detail::kPadX;
using detail::kPadY;

namespace {

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
            // Every cell that reached the band's bottom, stretched or not, reaches the row's new
            // bottom: the row's cells end at one height and its frame lines stay closed.
            for (size_t i = 0; i < ev.cells.size(); ++i)
                if (std::abs(band.cells[i].rect.bottom() - band.height) < 0.01)
                    ev.cells[i].rect.setBottom(ev.height);
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

} // namespace

double textHeightMm(const QString& text, const CellStyle& style, double width)
{
    static QImage reference = [] {
        QImage img(1, 1, QImage::Format_Mono);
        const int dpm = static_cast<int>(std::lround(kLayoutDpi / 0.0254));
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    const double pxPerMm = kLayoutDpi / 25.4;
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

} // namespace zf::report
