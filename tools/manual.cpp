// Build-time tool: renders the user manual, kept as Markdown in the sources, into the A4 PDF
// that ships beside the program.
//
//   zf_manual <manual.md> <output.pdf>
//
// Layout rules, all derived from the Markdown itself:
// - everything before the second level-1 heading is the title page (centred, no page number);
// - every further level-1 heading starts a new page;
// - the list items under the level-1 heading "Spis treści" are matched, in order, to the level-1
//   and level-2 headings that follow (leading chapter numbers ignored) and get their page numbers;
// - "> ..." paragraphs (hints and warnings) and code blocks stand in tinted boxes, tables get
//   a shaded header row that repeats on every page they span;
// - a heading of level 2 or lower is not left at the foot of a page;
// - every page but the title page has a footer with the manual's name and "Strona N z M".
// The run fails when a character of the text has no glyph in the fonts used, so the PDF never
// shows empty boxes. The PDF is written through a temporary file that replaces the output only
// when everything succeeded.

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

const QString kSans = QStringLiteral("DejaVu Sans");
const QString kMono = QStringLiteral("DejaVu Sans Mono");
const QString kFontFolder = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString kTocTitle = QStringLiteral("Spis treści");
const QString kFooterTitle = QStringLiteral("Zefirant PL+ – Instrukcja obsługi");

constexpr int kResolution = 600; // dots per inch of the PDF's device coordinates
constexpr qreal kBodyPointSize = 10.5;
constexpr qreal kMonoPointSize = 9.5;
constexpr qreal kContentsPointSize = 10.0;
constexpr qreal kFooterPointSize = 8.5;
constexpr qreal kFooterHeightMm = 10.0;
const QColor kHeadingColour(0x1f, 0x3a, 0x68);
const QColor kTableHeaderColour(0xdd, 0xe5, 0xf0);
const QColor kTableBorderColour(0x8a, 0x96, 0xa8);
const QColor kNoteColour(0xee, 0xf3, 0xfa);
const QColor kCodeColour(0xf2, 0xf2, 0xf2);

void fail(const QString& message)
{
    std::fprintf(stderr, "zf_manual: %s\n", message.toUtf8().constData());
}

bool readText(const QString& path, QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder(file.readAll());
    if (decoder.hasError()) {
        fail(QStringLiteral("%1 is not valid UTF-8 text").arg(path));
        return false;
    }
    return true;
}

// DejaVu comes from fonts-dejavu-core; fontconfig normally knows it, the files are the fallback.
bool ensureFamily(const QString& family, const QStringList& files)
{
    if (QFontDatabase::families().contains(family))
        return true;
    for (const QString& file : files)
        QFontDatabase::addApplicationFont(kFontFolder + file);
    if (QFontDatabase::families().contains(family))
        return true;
    fail(QStringLiteral("font \"%1\" not found (install the package fonts-dejavu-core)")
             .arg(family));
    return false;
}

// Any letter spacing, however small, switches ligatures off: "fi" stays two letters, so a
// search for "Zefirant" in a PDF viewer finds every occurrence.
QFont makeFont(const QString& family, qreal pointSize)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    return font;
}

// "3.1 Przyciski działów" and "3. Okno główne" are listed in the contents without the number.
QString withoutNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\d+(\\.\\d+)*\\.?\\s+"));
    QString result = text.trimmed();
    result.remove(number);
    return result;
}

// "3. Okno główne" is a chapter (1), "3.1 Menu" a section (2); text without a number is 0.
int numberDepth(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+(\\.\\d+)*)\\.?\\s"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    return match.hasMatch() ? int(match.captured(1).count(QLatin1Char('.'))) + 1 : 0;
}

// Merges the format into the whole block. The importer sizes headings with a size adjustment,
// which would override any point size, so it is removed.
void setBlockCharFormat(QTextDocument& doc, const QTextBlock& block, const QTextCharFormat& format)
{
    QTextCursor cursor(&doc);
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
    cursor.mergeBlockCharFormat(format);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        QTextCharFormat current = fragment.charFormat();
        if (!fragment.isValid() || !current.hasProperty(QTextFormat::FontSizeAdjustment))
            continue;
        current.clearProperty(QTextFormat::FontSizeAdjustment);
        QTextCursor part(&doc);
        part.setPosition(fragment.position());
        part.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        part.setCharFormat(current);
    }
}

void styleHeading(QTextDocument& doc, const QTextBlock& block, int level, bool titlePage)
{
    QTextCharFormat chars;
    chars.setFontFamilies({kSans});
    chars.setFontWeight(titlePage && level > 1 ? QFont::Normal : QFont::Bold);
    chars.setForeground(kHeadingColour);
    static constexpr std::array<qreal, 6> sizes = {20.0, 14.5, 12.0, 11.0, 10.5, 10.5};
    static constexpr std::array<qreal, 6> titleSizes = {34.0, 22.0, 16.0, 14.0, 12.0, 12.0};
    const std::size_t index = std::size_t(std::clamp(level, 1, 6) - 1);
    chars.setFontPointSize(titlePage ? titleSizes[index] : sizes[index]);
    setBlockCharFormat(doc, block, chars);

    QTextBlockFormat format = block.blockFormat();
    if (titlePage) {
        format.setAlignment(Qt::AlignHCenter);
        format.setTopMargin(level == 1 ? 0 : 24);
        format.setBottomMargin(level == 1 ? 12 : 36);
    } else if (level == 1) {
        format.setTopMargin(0);
        format.setBottomMargin(14);
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        // A thin rule under the chapter title.
        format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                           QTextLength(QTextLength::PercentageLength, 100));
    } else {
        format.setTopMargin(level == 2 ? 16 : 10);
        format.setBottomMargin(6);
    }
    QTextCursor cursor(block);
    cursor.setBlockFormat(format);
}

bool isCode(const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    return format.hasProperty(QTextFormat::BlockCodeFence) ||
           format.hasProperty(QTextFormat::BlockCodeLanguage) || format.nonBreakableLines();
}

// A "> ..." paragraph: a hint or a warning.
bool isNote(const QTextBlock& block)
{
    return block.blockFormat().intProperty(QTextFormat::BlockQuoteLevel) > 0;
}

// Runs of note paragraphs and of code lines are moved into framed boxes with a tinted
// background and inner padding. Last run first, so the positions of earlier runs stay valid.
void boxRuns(QTextDocument& doc)
{
    struct Run
    {
        int start;
        int end;
        bool code;
    };
    QList<Run> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const bool code = isCode(block);
        if (!code && !isNote(block))
            continue;
        const int end = block.position() + block.length() - 1;
        if (!runs.isEmpty() && runs.last().code == code && runs.last().end + 1 == block.position())
            runs.last().end = end;
        else
            runs.append({block.position(), end, code});
    }
    for (qsizetype i = runs.size() - 1; i >= 0; --i) {
        const Run& run = runs.at(i);
        QTextFrameFormat box;
        box.setBackground(run.code ? kCodeColour : kNoteColour);
        box.setBorder(run.code ? 0 : 0.75);
        box.setBorderBrush(kTableBorderColour);
        box.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        box.setPadding(6);
        box.setTopMargin(6);
        box.setBottomMargin(8);
        QTextCursor cursor(&doc);
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.insertFrame(box);
    }
    // A frame brings an empty paragraph on either side; they take no room.
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.length() > 1 || doc.frameAt(block.position()) != doc.rootFrame())
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(0);
        format.setBottomMargin(0);
        format.setLineHeight(0, QTextBlockFormat::FixedHeight);
        QTextCursor(block).setBlockFormat(format);
    }
}

void styleBody(QTextDocument& doc, const QTextBlock& block, bool titlePage)
{
    QTextBlockFormat format = block.blockFormat();
    format.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
    if (titlePage)
        format.setAlignment(Qt::AlignHCenter);
    const bool code = isCode(block);
    if (code || isNote(block)) {
        // The box drawn around them (boxRuns) gives the room at the sides.
        format.setLeftMargin(0);
        format.setRightMargin(0);
        format.setTopMargin(code ? 0 : 2);
        format.setBottomMargin(code ? 0 : 2);
        if (code)
            format.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
    } else if (!block.textList()) {
        format.setBottomMargin(qMax<qreal>(format.bottomMargin(), 6));
    }
    QTextCursor(block).setBlockFormat(format);

    // Inline code and code blocks in the monospaced DejaVu face.
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat current = fragment.charFormat();
        if (!code && !current.fontFixedPitch())
            continue;
        QTextCharFormat mono;
        mono.setFontFamilies({kMono});
        mono.setFontFixedPitch(true);
        mono.setFontPointSize(kMonoPointSize);
        QTextCursor cursor(&doc);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(mono);
    }
}

void styleTables(QTextDocument& doc)
{
    const QList<QTextFrame*> frames = doc.rootFrame()->childFrames();
    for (QTextFrame* frame : frames) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.75);
        format.setBorderBrush(kTableBorderColour);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(4);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setHeaderRowCount(1);
        format.setTopMargin(4);
        format.setBottomMargin(10);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            cellFormat.setBackground(kTableHeaderColour);
            cellFormat.setFontWeight(QFont::Bold);
            cell.setFormat(cellFormat);
        }
    }
}

// Contents entries lose their bullets; chapters stand bold at the margin, sections indented.
// Vertical margins are in 1/96 inch and scaled by the layout, horizontal ones are in device
// units and scaled here.
constexpr qreal kSectionIndent = 22;

void styleContentsItem(QTextDocument& doc, const QTextBlock& block)
{
    const bool chapter = numberDepth(block.text()) <= 1;
    block.textList()->remove(block);
    QTextBlockFormat format = block.blockFormat();
    format.setIndent(0);
    format.setLeftMargin(chapter ? 0 : kSectionIndent * kResolution / 96.0);
    format.setTopMargin(chapter ? 4 : 0);
    format.setBottomMargin(0);
    format.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
    QTextCursor(block).setBlockFormat(format);
    QTextCharFormat chars;
    chars.setFontPointSize(kContentsPointSize);
    if (chapter)
        chars.setFontWeight(QFont::Bold);
    setBlockCharFormat(doc, block, chars);
}

struct Heading
{
    QTextBlock block;
    QString text;
};

// Styles the document and returns the headings of levels 1 and 2 after the contents.
QList<Heading> styleDocument(QTextDocument& doc, QList<QTextBlock>& tocItems)
{
    QList<Heading> headings;
    int level1Seen = 0;
    bool inToc = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1) {
            ++level1Seen;
            inToc = withoutNumber(block.text()) == kTocTitle;
        }
        const bool titlePage = level1Seen < 2;
        if (level > 0)
            styleHeading(doc, block, level, titlePage);
        else
            styleBody(doc, block, titlePage);

        if (inToc && level == 0 && block.textList()) {
            styleContentsItem(doc, block);
            tocItems.append(block);
        } else if (!inToc && !titlePage && (level == 1 || level == 2)) {
            headings.append({block, withoutNumber(block.text())});
        }
    }
    styleTables(doc);
    boxRuns(doc);
    return headings;
}

// The page of one line of a block (the last one when the block has fewer): a block may begin in
// the last few points of a page while its first line is pushed to the next one.
int pageOf(const QTextDocument& doc, const QTextBlock& block, int line = 0)
{
    qreal y = doc.documentLayout()->blockBoundingRect(block).top();
    const QTextLayout* layout = block.layout();
    if (layout && layout->lineCount() > 0) {
        const QTextLine text = layout->lineAt(std::min(line, layout->lineCount() - 1));
        y += text.y() + text.height() / 2;
    }
    return int(y / doc.pageSize().height()) + 1;
}

// Lays the whole document out again. Changing a block after the first layout leaves the layout
// of later blocks stale (some end up with no height at all), so every change is followed by this.
void relayout(QTextDocument& doc)
{
    doc.markContentsDirty(0, doc.characterCount());
    doc.documentLayout()->documentSize();
}

// A heading of level 2 or lower never stays at the foot of a page without two lines of the text
// after it: otherwise the heading goes to the next page. Top to bottom, so each move is final.
void keepHeadingsWithText(QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const QTextBlock next = block.next();
        if (format.headingLevel() < 2 || !next.isValid() ||
            format.pageBreakPolicy() != QTextFormat::PageBreak_Auto)
            continue;
        if (pageOf(doc, block) != pageOf(doc, next, 1)) {
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
            relayout(doc);
        }
    }
}

// Writes "<tab><page>" at the end of each contents item; an item without a heading is reported.
void fillContents(QTextDocument& doc, const QList<QTextBlock>& items,
                  const QList<Heading>& headings, qreal rightTab, bool report)
{
    qsizetype next = 0;
    for (const QTextBlock& item : items) {
        QString text = item.text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab >= 0)
            text.truncate(tab);
        qsizetype found = -1;
        for (qsizetype i = next; i < headings.size(); ++i) {
            if (headings.at(i).text == withoutNumber(text)) {
                found = i;
                break;
            }
        }
        QTextCursor cursor(&doc);
        cursor.setPosition(item.position() + text.size());
        cursor.setPosition(item.position() + item.length() - 1, QTextCursor::KeepAnchor);
        if (found < 0) {
            if (report)
                fail(QStringLiteral("warning: contents entry \"%1\" has no heading").arg(text));
            cursor.removeSelectedText();
            continue;
        }
        next = found + 1;
        const int page = pageOf(doc, headings.at(found).block);
        cursor.insertText(QLatin1Char('\t') + QString::number(page));

        QTextBlockFormat format = item.blockFormat();
        // Tabs count from the start of the line, after the left margin.
        const qreal position = rightTab - format.leftMargin() * 96.0 / kResolution;
        format.setTabPositions({QTextOption::Tab(position, QTextOption::RightTab)});
        QTextCursor(item).setBlockFormat(format);
    }
}

// The page numbers of the contents could move headings; repeat until they stand still.
void numberContents(QTextDocument& doc, const QList<QTextBlock>& items,
                    const QList<Heading>& headings, qreal rightTab)
{
    QList<int> before;
    for (int round = 0; round < 4; ++round) {
        fillContents(doc, items, headings, rightTab, round == 0);
        relayout(doc);
        QList<int> pages;
        for (const Heading& heading : headings)
            pages.append(pageOf(doc, heading.block));
        if (pages == before)
            return;
        before = pages;
    }
}

// Every block with text must have been laid out, or its text would silently be missing.
bool checkLayout(const QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!block.text().trimmed().isEmpty() &&
            doc.documentLayout()->blockBoundingRect(block).height() <= 0) {
            fail(QStringLiteral("block \"%1\" was not laid out").arg(block.text().left(60)));
            return false;
        }
    }
    return true;
}

bool isLayoutCharacter(char32_t c)
{
    return c < 0x20 || c == QChar::ObjectReplacementCharacter || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::Nbsp;
}

// Every character must come from the DejaVu face its format names: the fallback fonts of the
// build machine are not what the manual is meant to show, and may be missing elsewhere.
bool checkGlyphs(const QTextDocument& doc)
{
    QSet<QString> problems;
    const QFont base = doc.defaultFont();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QFont font = fragment.charFormat().font().resolve(base);
            const QString family = QFontInfo(font).family();
            if (!family.startsWith(QLatin1String("DejaVu"))) {
                problems.insert(
                    QStringLiteral("font %1 replaced by %2").arg(font.family(), family));
                continue;
            }
            // The raw font is that face alone, without the fallbacks a text layout would use.
            const QRawFont raw = QRawFont::fromFont(font);
            for (const char32_t c : fragment.text().toUcs4()) {
                if (!isLayoutCharacter(c) && !raw.supportsCharacter(c)) {
                    problems.insert(QStringLiteral("U+%1 (%2) has no glyph in %3")
                                        .arg(uint(c), 4, 16, QLatin1Char('0'))
                                        .arg(QString::fromUcs4(&c, 1), family));
                }
            }
        }
    }
    for (const QString& problem : problems)
        fail(problem);
    return problems.isEmpty();
}

// How far to draw the title page down: a third of the page, as far as its content allows.
qreal titlePageOffset(const QTextDocument& doc, const QSizeF& body)
{
    qreal bottom = 0;
    for (QTextBlock block = doc.begin(); block.isValid() && pageOf(doc, block) == 1;
         block = block.next())
        bottom = doc.documentLayout()->blockBoundingRect(block).bottom();
    return qBound<qreal>(0, body.height() * 0.3, body.height() - bottom);
}

void drawFooter(QPainter& painter, const QRectF& area, int page, int pageCount)
{
    painter.save();
    painter.setPen(QPen(kTableBorderColour, 0));
    painter.drawLine(QLineF(area.left(), area.top(), area.right(), area.top()));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setFont(makeFont(kSans, kFooterPointSize));
    const QString number = QStringLiteral("Strona %1 z %2").arg(page).arg(pageCount);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, kFooterTitle);
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, number);
    painter.restore();
}

bool render(const QString& markdown, const QString& outputPath)
{
    if (!ensureFamily(kSans,
                      {QStringLiteral("DejaVuSans.ttf"), QStringLiteral("DejaVuSans-Bold.ttf"),
                       QStringLiteral("DejaVuSans-Oblique.ttf"),
                       QStringLiteral("DejaVuSans-BoldOblique.ttf")}) ||
        !ensureFamily(kMono, {QStringLiteral("DejaVuSansMono.ttf"),
                              QStringLiteral("DejaVuSansMono-Bold.ttf")}))
        return false;

    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(QStringLiteral("cannot write %1: %2").arg(outputPath, file.errorString()));
        return false;
    }
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 12), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Zefirant PL+ – Instrukcja obsługi"));
    writer.setCreator(QStringLiteral("zf_manual"));

    const qreal footerHeight = kFooterHeightMm / 25.4 * kResolution;
    const QSizeF body(writer.width(), writer.height() - footerHeight);

    QTextDocument doc;
    doc.setDefaultFont(makeFont(kSans, kBodyPointSize));
    doc.setDocumentMargin(0);
    // Raw HTML is off: "<brak>" in a caption is text, not a tag.
    doc.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                              QTextDocument::MarkdownNoHTML));
    QList<QTextBlock> tocItems;
    const QList<Heading> headings = styleDocument(doc, tocItems);
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setPageSize(body);
    relayout(doc);
    keepHeadingsWithText(doc);

    // Tab positions are in 1/96 inch from the left edge of the text area; the page number
    // stands flush with the right margin.
    const qreal rightTab = body.width() * 96.0 / kResolution - 1;
    numberContents(doc, tocItems, headings, rightTab);

    relayout(doc);
    if (!checkLayout(doc) || !checkGlyphs(doc))
        return false;

    // The title page's few lines stand a third of the way down; the layout itself gives the
    // first block of a page no top margin, so the page is drawn lower instead.
    const qreal titleOffset = titlePageOffset(doc, body);
    const int pageCount = doc.pageCount();
    QPainter painter;
    if (!painter.begin(&writer)) {
        fail(QStringLiteral("cannot start the PDF %1").arg(outputPath));
        return false;
    }
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0 && !writer.newPage()) {
            fail(QStringLiteral("cannot add page %1 to %2").arg(page + 1).arg(outputPath));
            painter.end();
            return false;
        }
        painter.save();
        painter.translate(0, -page * body.height() + (page == 0 ? titleOffset : 0));
        // One device dot less at both edges: a block starting a hair above the page break
        // belongs to the next page and must not be drawn (clipped, but still text) here too.
        const QRectF view(0, page * body.height() + 1, body.width(), body.height() - 2);
        doc.drawContents(&painter, view);
        painter.restore();
        if (page > 0) {
            const QRectF footer(0, body.height() + footerHeight * 0.35, body.width(),
                                footerHeight * 0.65);
            drawFooter(painter, footer, page + 1, pageCount);
        }
    }
    if (!painter.end() || !file.commit()) {
        fail(QStringLiteral("cannot write %1: %2").arg(outputPath, file.errorString()));
        return false;
    }
    std::printf("zf_manual: %s: %d pages\n", outputPath.toUtf8().constData(), pageCount);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // A build machine has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() != 2) {
        fail(QStringLiteral("usage: zf_manual <manual.md> <output.pdf>"));
        return 2;
    }
    QString markdown;
    if (!readText(args.at(0), markdown))
        return 1;
    return render(markdown, args.at(1)) ? 0 : 1;
}
