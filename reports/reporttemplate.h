#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

#include <vector>

namespace zf::report {

// Frame lines of a cell, combinable.
enum FrameLine : unsigned {
    FrameNone = 0,
    FrameLeft = 1,
    FrameTop = 2,
    FrameRight = 4,
    FrameBottom = 8,
    FrameAll = 15
};

// How a cell's text looks; shared by every copy of the cell drawn from one template.
struct CellStyle
{
    QString fontFamily;
    double fontSize = 9;
    bool bold = false;
    bool italic = false;
    int align = 0x0001 | 0x0080; // Qt::AlignLeft | Qt::AlignVCenter
    bool wrap = false;
    bool stretch = false; // the cell grows to fit its text, and its band with it
    QColor textColor = Qt::black;
    double lineWidth = 0.2; // mm
};

// One text cell of a band, in millimetres from the band's top left corner.
struct TemplateCell
{
    QRectF rect;
    QString text; // lines separated by '\n', variables as [NAME]
    CellStyle style;
    QColor fill;  // invalid: no fill
    unsigned frame = FrameNone;
};

enum class BandKind { Title, PageHeader, ColumnHeader, Data, PageFooter, Summary };

struct TemplateBand
{
    BandKind kind = BandKind::Title;
    double height = 0; // mm
    QString source;    // data bands: the data source asked for rows
    bool newPage = false;
    // Data bands: the table (its column header and all rows) is not split when it fits on one
    // page; it starts on the next page instead.
    bool keepTogether = false;
    std::vector<TemplateCell> cells;
};

// A report layout read from a ".frf" file (format in reports/templates/README.md).
struct ReportTemplate
{
    QString name;
    bool landscape = false;
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;
    std::vector<TemplateBand> bands;

    // A4 in millimetres, turned as the template says.
    double pageWidth() const { return landscape ? 297.0 : 210.0; }
    double pageHeight() const { return landscape ? 210.0 : 297.0; }

    // Parses the text of a template; on failure returns false and says where in `error`.
    bool parse(const QString& text, QString* error);
    // Reads and parses a file (UTF-8).
    bool load(const QString& path, QString* error);
};

} // namespace zf::report
