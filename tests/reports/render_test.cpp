// The five reports from a real embedded database, laid out, saved as PDF and read back with
// poppler-utils; the preview window offscreen.
#include "reports/dmraporty.h"
#include "reports/previewwindow.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "tests/reports/reports_seed.h"
#include "tests/support/qtest_main.h"
#include "util/filedialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace zf {

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& path)
{
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The document title of the PDF's metadata.
QString pdfTitle(const QString& path)
{
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    return QRegularExpression(QStringLiteral("Title:\\s+([^\\n]*)\\n")).match(info).captured(1);
}

QString pdfText(const QString& path, int page = 0)
{
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
}

// Remembers where each save dialog would have opened.
class RecordingDialogs : public test::ScriptedDialogs
{
public:
    QStringList saveStarts;
    QString saveFileName(const QString& title, const QString& startPath, const QStringList& filters,
                         const QString& defaultSuffix) override
    {
        saveStarts << startPath;
        return ScriptedDialogs::saveFileName(title, startPath, filters, defaultSuffix);
    }
};

// The page as the engine drew it cell by cell, fill, frame and text, before it drew it in
// passes: what the passes must reproduce.
QImage paintCellByCell(const report::ReportDocument& doc, int index, double pxPerMm)
{
    QImage img(qRound(doc.pageWidth() * pxPerMm), qRound(doc.pageHeight() * pxPerMm),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const report::DrawnCell& c : doc.pages[index].cells) {
        const QRectF r(c.rect.x() * pxPerMm, c.rect.y() * pxPerMm, c.rect.width() * pxPerMm,
                       c.rect.height() * pxPerMm);
        if (c.fill.isValid())
            painter.fillRect(r, c.fill);
        if (c.frame != report::FrameNone) {
            QPen pen(Qt::black);
            pen.setWidthF(std::max(1.0, c.style->lineWidth * pxPerMm));
            painter.setPen(pen);
            if (c.frame & report::FrameLeft)
                painter.drawLine(r.topLeft(), r.bottomLeft());
            if (c.frame & report::FrameTop)
                painter.drawLine(r.topLeft(), r.topRight());
            if (c.frame & report::FrameRight)
                painter.drawLine(r.topRight(), r.bottomRight());
            if (c.frame & report::FrameBottom)
                painter.drawLine(r.bottomLeft(), r.bottomRight());
        }
        if (c.text.isEmpty())
            continue;
        // Texts in the layout's 600 dpi, scaled to the image.
        const double layout = 600 / 25.4;
        QFont f(c.style->fontFamily);
        f.setPointSizeF(c.style->fontSize * 600 / img.logicalDpiY());
        f.setBold(c.style->bold);
        f.setItalic(c.style->italic);
        painter.save();
        painter.scale(pxPerMm / layout, pxPerMm / layout);
        painter.setFont(f);
        painter.setPen(c.style->textColor);
        const QRectF t(c.rect.x() * layout, c.rect.y() * layout, c.rect.width() * layout,
                       c.rect.height() * layout);
        painter.drawText(t.adjusted(0.7 * layout, 0.3 * layout, -0.7 * layout, -0.3 * layout),
                         c.style->align | (c.style->wrap ? Qt::TextWordWrap : 0), c.text);
        painter.restore();
    }
    return img;
}

QImage paintByEngine(const report::ReportDocument& doc, int index, double pxPerMm)
{
    QImage img(qRound(doc.pageWidth() * pxPerMm), qRound(doc.pageHeight() * pxPerMm),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    doc.paintPage(painter, index, pxPerMm);
    return img;
}

// The rows of `img` within `r` (inset by 2 pixels, off the frame lines) that hold ink; first
// and last, or {-1, -1} for none.
std::pair<int, int> inkRows(const QImage& img, const QRect& r)
{
    std::pair<int, int> rows{-1, -1};
    const QRect in = r.adjusted(2, 2, -2, -2).intersected(img.rect());
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                if (rows.first < 0)
                    rows.first = y;
                rows.second = y;
                break;
            }
    return rows;
}

} // namespace

class TestReportsRender : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<test::TestDatabase> t;
    std::unique_ptr<TDMRaporty> dm;
    std::unique_ptr<report::ReportDocument> last;
    QTemporaryDir dir;

    PlanReportFilters plan(int month, const QString& name) const
    {
        PlanReportFilters f;
        f.year = test::kSeedYear;
        f.month = month;
        f.monthName = name;
        return f;
    }
    QString savePdf(const QString& name)
    {
        const QString path = dir.filePath(name);
        QString error;
        [&] { QVERIFY2(last && last->writePdf(path, &error), qPrintable(error)); }();
        return path;
    }

private slots:
    void init()
    {
        setDateSeparator(QLatin1Char('-'));
        t = std::make_unique<test::TestDatabase>();
        test::seedReportPlan(*t);
        dm = std::make_unique<TDMRaporty>(t->db(), t->dialogs(), test::programFolder());
        dm->show = [this](const report::ReportDocument& d) {
            last = std::make_unique<report::ReportDocument>(d);
        };
        last.reset();
    }

    void monthlySchedule()
    {
        QVERIFY(dm->GrafikMiesiac(plan(2, QStringLiteral("Luty"))));
        QVERIFY(last);
        QCOMPARE(last->title, QStringLiteral("Grafik urlopów Luty 2023"));
        QVERIFY(last->landscape());
        const QString pdf = savePdf(QStringLiteral("miesiac.pdf"));
        QCOMPARE(pdfTitle(pdf), QStringLiteral("Grafik urlopów Luty 2023"));
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("GRAFIK URLOPÓW – Luty 2023")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Żaneta Kowalska (P1)")));
        QVERIFY(text.contains(QStringLiteral("Jędrzej Nowak (P2)")));
        QVERIFY(text.contains(QStringLiteral("Strona 1")));
        // February 2023 has no 29th: its header cell is blank, the 28th stays.
        const QString cells = last->pageText(0);
        QVERIFY(cells.contains(QStringLiteral("\n28\n")));
        QVERIFY(!cells.contains(QStringLiteral("\n29\n")));
        QVERIFY(cells.contains(QStringLiteral("\nV\n"))); // 10 February
    }

    void longListsBreakPagesAndRepeatHeaders()
    {
        for (int i = 0; i < 40; ++i) {
            const QString id = QStringLiteral("X%1").arg(i, 2, 10, QLatin1Char('0'));
            t->exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) VALUES "
                                   "('%1', 'Zieliński', 'Michał %1')")
                        .arg(id));
            t->exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                                   "THISYEARDAYS) VALUES (2023, '%1', 26)")
                        .arg(id));
        }
        QVERIFY(dm->GrafikMiesiac(plan(1, QStringLiteral("Styczeń"))));
        QVERIFY(last->pageCount() >= 2);
        const QString pdf = savePdf(QStringLiteral("dlugi.pdf"));
        QCOMPARE(pdfPages(pdf), last->pageCount());
        const QString second = pdfText(pdf, 2);
        QVERIFY2(second.contains(QStringLiteral("Pracownik")), qPrintable(second));
        QVERIFY(second.contains(QStringLiteral("GRAFIK URLOPÓW – Styczeń 2023")));
        QVERIFY(second.contains(QStringLiteral("Strona 2")));
        // Every employee printed once.
        QString all;
        for (int p = 0; p < last->pageCount(); ++p)
            all += last->pageText(p);
        QCOMPARE(all.count(QStringLiteral("Zieliński")), 40);
    }

    void yearlySchedule()
    {
        QVERIFY(dm->GrafikRok(plan(0, QStringLiteral("(Cały rok)"))));
        QCOMPARE(dm->employeeCount, 2);
        const QString pdf = savePdf(QStringLiteral("rok.pdf"));
        QCOMPARE(pdfPages(pdf), last->pageCount());
        const QString text = pdfText(pdf);
        for (const QString& month : {QStringLiteral("Styczeń 2023"), QStringLiteral("Luty 2023"),
                                     QStringLiteral("Październik 2023"),
                                     QStringLiteral("Grudzień 2023")})
            QVERIFY2(text.contains(month), qPrintable(month));
        QCOMPARE(text.count(QStringLiteral("Żaneta Kowalska (P1)")), 12);
        QVERIFY(text.contains(QStringLiteral("V!")));
    }

    void pagesPaintAsTheyDidCellByCell_data()
    {
        QTest::addColumn<int>("month");
        QTest::newRow("grafik roczny") << 0;
        QTest::newRow("grafik luty") << 2;
    }

    void pagesPaintAsTheyDidCellByCell()
    {
        QFETCH(int, month);
        // Enough rows for a second page, with weekends, blanked month ends and leave days.
        for (int i = 0; i < 30; ++i) {
            const QString id = QStringLiteral("R%1").arg(i, 2, 10, QLatin1Char('0'));
            t->exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) VALUES "
                                   "('%1', 'Lis', 'Ola')")
                        .arg(id));
            t->exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                                   "THISYEARDAYS) VALUES (2023, '%1', 26)")
                        .arg(id));
            t->exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                   "SELECTEDDAY) VALUES (2023, '%1', %2)")
                        .arg(id)
                        .arg(20230200 + 1 + i % 28));
        }
        QVERIFY(month ? dm->GrafikMiesiac(plan(month, QStringLiteral("Luty")))
                      : dm->GrafikRok(plan(0, QString())));
        QVERIFY(last->pageCount() >= 2);
        const double pxPerMm = 300 / 25.4;
        for (int p = 0; p < 2; ++p) {
            const QImage before = paintCellByCell(*last, p, pxPerMm);
            const QImage now = paintByEngine(*last, p, pxPerMm);
            QCOMPARE(now.size(), before.size());
            // The same pixels, except that a frame line a later white cell used to cover half
            // of is now drawn whole: only line pixels may have been gained.
            int differing = 0;
            for (int y = 0; y < now.height(); ++y) {
                const QRgb* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
                const QRgb* b = reinterpret_cast<const QRgb*>(now.constScanLine(y));
                for (int x = 0; x < now.width(); ++x) {
                    if (a[x] == b[x])
                        continue;
                    ++differing;
                    if (qRgb(0, 0, 0) != (b[x] | 0xFF000000) || a[x] != qRgb(255, 255, 255))
                        QFAIL(qPrintable(QStringLiteral("page %1: pixel %2,%3 was %4, is %5")
                                             .arg(p + 1)
                                             .arg(x)
                                             .arg(y)
                                             .arg(a[x], 8, 16)
                                             .arg(b[x], 8, 16)));
                }
            }
            QVERIFY2(differing < now.width() * now.height() / 1000, qPrintable(QString::number(differing)));
        }
    }

    void summaryOfLeaveDays()
    {
        QVERIFY(dm->Zestawienie(plan(0, QStringLiteral("(Cały rok)"))));
        QCOMPARE(dm->monthNumber, 0);
        const QString pdf = savePdf(QStringLiteral("zestawienie.pdf"));
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Opis dodatkowych dni urlopu:")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Pobyt w szpitalu / choroba: 2")));
        QVERIFY(text.contains(QStringLiteral("Inne: 3 (szkolenie BHP)")));
        QVERIFY(text.contains(QStringLiteral("10-02-2023")));
        QVERIFY(!text.contains(QStringLiteral("06-01-2023"))); // stored as non-working
        // Totals: last year 2, this year 46, left 25 + 19.
        QVERIFY(text.contains(QStringLiteral("Razem:")));
        QVERIFY2(last->pageText(0).contains(QStringLiteral("Razem:\n2\n46\n44")),
                 qPrintable(last->pageText(0)));
        // "Uwagi": both employees lack 14 days in a row; the article is never broken in two.
        QVERIFY(last->pageText(0).contains(QStringLiteral("Uwagi")));
        QCOMPARE(
            last->pageText(0).count(QStringLiteral("brak 14 dni z rzędu (art.\u00A0162\u00A0KP)")),
            2);
        static const QRegularExpression article(
            QStringLiteral("\\(art\\.[ \u00A0]162[ \u00A0]KP\\)"));
        QCOMPARE(text.count(article), 2);
    }

    void summaryOfAUnitNamesOnlyItsEmployeesRules()
    {
        PlanReportFilters f = plan(0, QStringLiteral("(Cały rok)"));
        f.unit = test::kSeedUnit;
        f.unitName = QStringLiteral("Dział kadr");
        QVERIFY(dm->Zestawienie(f));
        const QString page = last->pageText(0);
        QVERIFY(page.contains(QStringLiteral("Żaneta Kowalska (P1)")));
        QVERIFY(!page.contains(QStringLiteral("Jędrzej Nowak (P2)")));
        QCOMPARE(page.count(QStringLiteral("162\u00A0KP)")), 1);
        // With the checks off the column stays, empty.
        ProgramOptions off;
        off.sprawdzajKodeksPracy = false;
        dm->options = &off;
        QVERIFY(dm->Zestawienie(f));
        QVERIFY(last->pageText(0).contains(QStringLiteral("Uwagi")));
        QCOMPARE(last->pageText(0).count(QStringLiteral("KP)")), 0);
        dm->options = nullptr;
    }

    void forms()
    {
        FormTexts f;
        f.employee = QStringLiteral("Żaneta Kowalska");
        f.printDate = QStringLiteral("02-01-2023");
        f.kind = QStringLiteral("Urlopu wypoczynkowego");
        f.from = QStringLiteral("03-01-2023");
        f.to = QStringLiteral("13-01-2023");
        f.days = QStringLiteral("8");
        QCOMPARE(dm->WniosekUrlopowy(f), TDMRaporty::FormField::None);
        QString pdf = savePdf(QStringLiteral("wniosek.pdf"));
        QCOMPARE(pdfPages(pdf), 1);
        QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("WNIOSEK URLOPOWY")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Urlopu wypoczynkowego")));
        QVERIFY(text.contains(QStringLiteral("od dnia 03-01-2023 do dnia 13-01-2023")));
        QVERIFY(text.contains(QStringLiteral("Żaneta Kowalska")));

        QVERIFY(dm->OswiadczenieOpiekuna(QStringLiteral("Jędrzej Nowak"),
                                         QStringLiteral("05-01-2023")));
        pdf = savePdf(QStringLiteral("oswiadczenie.pdf"));
        QCOMPARE(pdfPages(pdf), 1);
        text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("OŚWIADCZENIE")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Jędrzej Nowak")));
        QVERIFY(text.contains(QStringLiteral("dnia 05-01-2023")));
        QVERIFY(text.contains(QStringLiteral("art. 188 Kodeksu pracy")));
    }

    void cancelledRunShowsNothing()
    {
        int asked = 0;
        dm->progress = [&asked](int pages) {
            ++asked;
            return pages < 2;
        };
        QVERIFY(!dm->GrafikRok(plan(0, QString())));
        QVERIFY(!last);
        QCOMPARE(asked, 2);
        QVERIFY(t->dialogs().shown().empty());
    }

    void previewWindow()
    {
        QVERIFY(dm->GrafikRok(plan(0, QString())));
        QVERIFY(last->pageCount() >= 2);
        TfWydruk w(t->dialogs());
        w.setDocument(*last);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Zefirant wydruk"));
        QCOMPARE(w.currentPage(), 0);
        QVERIFY(!w.SBPoprzednia->isEnabled());
        w.SBNastepna->click();
        QCOMPARE(w.currentPage(), 1);
        w.SBOstatnia->click();
        QCOMPARE(w.currentPage(), last->pageCount() - 1);
        QVERIFY(!w.SBNastepna->isEnabled());
        w.SBPierwsza->click();
        QCOMPARE(w.currentPage(), 0);

        const int width = w.pageView->pixmap().width();
        w.SBPowieksz->click();
        QCOMPARE(w.zoom(), 1.25);
        QVERIFY(w.pageView->pixmap().width() > width);
        w.SBPomniejsz->click();
        w.SBPomniejsz->click();
        QCOMPARE(w.zoom(), 0.75);

        // Find walks on through the pages; a missing text is told.
        w.fSzukaj->setText(QStringLiteral("grudzień"));
        int december = 0;
        while (!last->pageText(december).contains(QStringLiteral("Grudzień")))
            ++december;
        QVERIFY(december > 0);
        w.SBSzukaj->click();
        QCOMPARE(w.currentPage(), december);
        w.fSzukaj->setText(QStringLiteral("nie ma takiego tekstu"));
        w.SBSzukaj->click();
        QCOMPARE(t->dialogs().informationTexts().size(), 1);

        const QString path = dir.filePath(QStringLiteral("z_podgladu.pdf"));
        t->dialogs().chooseFile(path);
        w.SBZapiszPDF->click();
        QCOMPARE(pdfPages(path), last->pageCount());
        w.SBZamknij->click();
        QVERIFY(!w.isVisible());
    }

    // The summary's row of an employee with many dates grows in its dates' cell; every cell of
    // the row, the remarks' stretched to a smaller need among them, ends at the same bottom.
    void theCellsOfAGrownRowEndAtOneHeight()
    {
        for (int day = 1; day <= 12; ++day)
            t->exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                   "SELECTEDDAY) VALUES (2023, 'P2', %1)")
                        .arg(20230700 + day));
        QVERIFY(dm->Zestawienie(plan(0, QStringLiteral("(Cały rok)"))));
        const auto& cells = last->pages.at(0).cells;
        const auto nowak = std::find_if(cells.begin(), cells.end(), [](const report::DrawnCell& c) {
            return c.text.startsWith(QStringLiteral("Jędrzej Nowak"));
        });
        QVERIFY(nowak != cells.end());
        int inRow = 0;
        for (const report::DrawnCell& c : cells) {
            if (std::abs(c.rect.top() - nowak->rect.top()) > 0.01)
                continue;
            ++inRow;
            QVERIFY2(std::abs(c.rect.bottom() - nowak->rect.bottom()) < 0.01, qPrintable(c.text));
        }
        QCOMPARE(inRow, 7);
        QVERIFY(nowak->rect.height() > 12 * 3.0); // twelve dates, one a line
    }

    // The preview at 100 % and the PDF rendered at the screen's resolution: every cell shows
    // its lines from the same first to the same last, none cut off at the cell's bottom.
    void previewDrawsWhatThePdfHolds()
    {
        for (int day = 1; day <= 24; ++day)
            t->exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                   "SELECTEDDAY) VALUES (2023, 'P2', %1)")
                        .arg(20230700 + day));
        QVERIFY(dm->Zestawienie(plan(0, QStringLiteral("(Cały rok)"))));
        QVERIFY(last->pageText(0).contains(QStringLiteral("24-07-2023")));
        TfWydruk w(t->dialogs());
        w.setDocument(*last);
        w.show();
        const QImage preview = w.pageView->pixmap().toImage();
        const QString pdf = savePdf(QStringLiteral("podglad.pdf"));
        const QString png = dir.filePath(QStringLiteral("podglad"));
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"),
                                         QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                         pdf, png});
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        QVERIFY(qAbs(page.width() - preview.width()) <= 1);
        QVERIFY(qAbs(page.height() - preview.height()) <= 1);
        const double pxPerMm = 96 / 25.4;
        int compared = 0;
        for (const report::DrawnCell& c : last->pages[0].cells) {
            if (c.text.isEmpty())
                continue;
            const QRect r = QRectF(c.rect.x() * pxPerMm, c.rect.y() * pxPerMm,
                                   c.rect.width() * pxPerMm, c.rect.height() * pxPerMm)
                                .toAlignedRect();
            const auto inPreview = inkRows(preview, r);
            const auto inPdf = inkRows(page, r);
            QVERIFY2(qAbs(inPreview.first - inPdf.first) <= 2 &&
                         qAbs(inPreview.second - inPdf.second) <= 2,
                     qPrintable(QStringLiteral("\"%1\": rows %2-%3 in the preview, %4-%5 in the PDF")
                                    .arg(c.text.left(30))
                                    .arg(inPreview.first)
                                    .arg(inPreview.second)
                                    .arg(inPdf.first)
                                    .arg(inPdf.second)));
            ++compared;
        }
        QVERIFY(compared > 20);
    }

    void pdfIsNamedAfterTheReportAndItsYear()
    {
        struct Case
        {
            std::function<bool()> print;
            QString name;
        };
        FormTexts form;
        form.employee = QStringLiteral("Żaneta Kowalska");
        // Printed in December for a leave in January: the leave's year names it.
        form.printDate = QStringLiteral("20-12-2023");
        form.kind = QStringLiteral("Urlopu wypoczynkowego");
        form.from = QStringLiteral("03-01-2024");
        form.to = QStringLiteral("04-01-2024");
        const Case cases[] = {
            {[&] { return dm->GrafikRok(plan(0, QString())); }, QStringLiteral("Grafik urlopów 2023")},
            {[&] { return dm->Zestawienie(plan(0, QString())); },
             QStringLiteral("Zestawienie dni urlopów 2023")},
            {[&] { return dm->WniosekUrlopowy(form) == TDMRaporty::FormField::None; },
             QStringLiteral("Wniosek urlopowy 2024")},
        };
        for (const Case& c : cases) {
            QVERIFY(c.print());
            QCOMPARE(last->title, c.name);
            const QString pdf = savePdf(c.name + QStringLiteral(".pdf"));
            QCOMPARE(pdfTitle(pdf), c.name);
        }
    }

    void saveDialogProposesTheNameInTheDocumentsFolderThenTheLastFolder()
    {
        QVERIFY(dm->GrafikRok(plan(0, QString())));
        rememberSaveFolder(QString());
        RecordingDialogs dialogs;
        TfWydruk w(dialogs);
        w.setDocument(*last);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Zefirant wydruk"));
        // The Documents folder, or the home folder where there is none.
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(documents).isDir())
            documents = QDir::homePath();
        QDir(dir.path()).mkpath(QStringLiteral("wydruki"));
        const QString chosen = dir.filePath(QStringLiteral("wydruki/roczny.pdf"));
        dialogs.chooseFile(chosen);
        w.SBZapiszPDF->click();
        QCOMPARE(dialogs.saveStarts.size(), 1);
        QCOMPARE(dialogs.saveStarts[0],
                 QDir(documents).filePath(QStringLiteral("Grafik urlopów 2023.pdf")));
        QCOMPARE(pdfPages(chosen), last->pageCount());
        // The next report, also in a new window, is proposed beside the last one saved.
        QVERIFY(dm->Zestawienie(plan(0, QString())));
        TfWydruk next(dialogs);
        next.setDocument(*last);
        dialogs.chooseFile(dir.filePath(QStringLiteral("wydruki/z.pdf")));
        next.SBZapiszPDF->click();
        QCOMPARE(dialogs.saveStarts.last(),
                 dir.filePath(QStringLiteral("wydruki/Zestawienie dni urlopów 2023.pdf")));
        // A folder that is gone falls back to the documents.
        QDir(dir.filePath(QStringLiteral("wydruki"))).removeRecursively();
        dialogs.chooseFile(dir.filePath(QStringLiteral("z.pdf")));
        next.SBZapiszPDF->click();
        QCOMPARE(dialogs.saveStarts.last(),
                 QDir(documents).filePath(QStringLiteral("Zestawienie dni urlopów 2023.pdf")));
    }
};

} // namespace zf

ZF_QTEST_MAIN(zf::TestReportsRender)
#include "render_test.moc"
