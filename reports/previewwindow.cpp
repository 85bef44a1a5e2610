#include "reports/previewwindow.h"

#include "reports/dmraporty.h"
#include "util/dialogs.h"
#include "util/filedialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cmath>

namespace zf {

namespace {

// Screen pixels per millimetre at 100 %.
constexpr double kScreenPxPerMm = 96.0 / 25.4;
const QList<int> kZoomSteps = {25, 50, 75, 100, 125, 150, 200, 300};

QPushButton* toolButton(QWidget* parent, const QString& caption, const QString& name)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfWydruk::TfWydruk(Dialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("fWydruk"));
    setWindowTitle(QStringLiteral("Zefirant wydruk"));
    resize(1000, 760);

    auto* skalaLabel = new QLabel(QStringLiteral("&Skala:"), this);
    cbSkala = new QComboBox(this);
    cbSkala->setObjectName(QStringLiteral("cbSkala"));
    for (int z : kZoomSteps)
        cbSkala->addItem(QStringLiteral("%1%").arg(z), z);
    skalaLabel->setBuddy(cbSkala);
    SBPomniejsz = toolButton(this, QStringLiteral("Po&mniejsz"), QStringLiteral("SBPomniejsz"));
    SBPowieksz = toolButton(this, QStringLiteral("Po&większ"), QStringLiteral("SBPowieksz"));
    SBPierwsza = toolButton(this, QStringLiteral("|<"), QStringLiteral("SBPierwsza"));
    SBPoprzednia = toolButton(this, QStringLiteral("<"), QStringLiteral("SBPoprzednia"));
    auto* stronaLabel = new QLabel(QStringLiteral("S&trona:"), this);
    fStrona = new QSpinBox(this);
    fStrona->setObjectName(QStringLiteral("fStrona"));
    fStrona->setMinimum(1);
    stronaLabel->setBuddy(fStrona);
    lbStron = new QLabel(this);
    lbStron->setObjectName(QStringLiteral("lbStron"));
    SBNastepna = toolButton(this, QStringLiteral(">"), QStringLiteral("SBNastepna"));
    SBOstatnia = toolButton(this, QStringLiteral(">|"), QStringLiteral("SBOstatnia"));
    SBPierwsza->setToolTip(QStringLiteral("Pierwsza strona"));
    SBPoprzednia->setToolTip(QStringLiteral("Poprzednia strona"));
    SBNastepna->setToolTip(QStringLiteral("Następna strona"));
    SBOstatnia->setToolTip(QStringLiteral("Ostatnia strona"));
    auto* szukajLabel = new QLabel(QStringLiteral("Sz&ukaj:"), this);
    fSzukaj = new QLineEdit(this);
    fSzukaj->setObjectName(QStringLiteral("fSzukaj"));
    szukajLabel->setBuddy(fSzukaj);
    SBSzukaj = toolButton(this, QStringLiteral("Znajdź &dalej"), QStringLiteral("SBSzukaj"));
    SBDrukuj = toolButton(this, QStringLiteral("D&rukuj..."), QStringLiteral("SBDrukuj"));
    SBZapiszPDF = toolButton(this, QStringLiteral("Zapisz &PDF..."), QStringLiteral("SBZapiszPDF"));
    SBZamknij = toolButton(this, QStringLiteral("&Zamknij"), QStringLiteral("SBZamknij"));

    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{
             skalaLabel, cbSkala, SBPomniejsz, SBPowieksz, SBPierwsza, SBPoprzednia, stronaLabel,
             fStrona, lbStron, SBNastepna, SBOstatnia, szukajLabel, fSzukaj, SBSzukaj})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(SBDrukuj);
    bar->addWidget(SBZapiszPDF);
    bar->addWidget(SBZamknij);

    pageView = new QLabel;
    pageView->setObjectName(QStringLiteral("pageView"));
    pageView->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("sbPodglad"));
    m_scroll->setAccessibleName(QStringLiteral("Podgląd wydruku"));
    m_scroll->setWidget(pageView);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    cbSkala->setCurrentIndex(kZoomSteps.indexOf(100));
    connect(cbSkala, &QComboBox::currentIndexChanged, this,
            [this](int i) { setZoom(cbSkala->itemData(i).toInt() / 100.0); });
    connect(SBPowieksz, &QPushButton::clicked, this,
            [this] { cbSkala->setCurrentIndex(std::min(cbSkala->currentIndex() + 1, cbSkala->count() - 1)); });
    connect(SBPomniejsz, &QPushButton::clicked, this,
            [this] { cbSkala->setCurrentIndex(std::max(cbSkala->currentIndex() - 1, 0)); });
    connect(SBPierwsza, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(SBPoprzednia, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(SBNastepna, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(SBOstatnia, &QPushButton::clicked, this,
            [this] { showPage(m_doc.pageCount() - 1); });
    connect(fStrona, &QSpinBox::valueChanged, this, [this](int v) { showPage(v - 1); });
    connect(SBSzukaj, &QPushButton::clicked, this, [this] {
        if (!findNext(fSzukaj->text()))
            m_dialogs.information(kCaptionInformation,
                                  QStringLiteral("Nie znaleziono tekstu \"%1\".").arg(fSzukaj->text()));
    });
    connect(fSzukaj, &QLineEdit::returnPressed, SBSzukaj, &QPushButton::click);
    connect(fSzukaj, &QLineEdit::textChanged, this, [this] {
        m_foundPage = -1;
        m_foundCell = -1;
    });
    connect(SBDrukuj, &QPushButton::clicked, this, &TfWydruk::print);
    connect(SBZapiszPDF, &QPushButton::clicked, this, &TfWydruk::saveAsPdf);
    connect(SBZamknij, &QPushButton::clicked, this, &QDialog::accept);
}

void TfWydruk::setDocument(const report::ReportDocument& doc)
{
    m_doc = doc;
    m_foundPage = -1;
    m_foundCell = -1;
    m_page = -1;
    const QSignalBlocker block(fStrona);
    fStrona->setMaximum(std::max(1, m_doc.pageCount()));
    lbStron->setText(QStringLiteral("z %1").arg(m_doc.pageCount()));
    showPage(0);
}

void TfWydruk::showPage(int index)
{
    if (m_doc.pageCount() == 0)
        return;
    index = std::clamp(index, 0, m_doc.pageCount() - 1);
    if (index != m_page) {
        m_page = index;
        m_foundCell = m_foundPage == index ? m_foundCell : -1;
    }
    {
        const QSignalBlocker block(fStrona);
        fStrona->setValue(m_page + 1);
    }
    SBPierwsza->setEnabled(m_page > 0);
    SBPoprzednia->setEnabled(m_page > 0);
    SBNastepna->setEnabled(m_page < m_doc.pageCount() - 1);
    SBOstatnia->setEnabled(m_page < m_doc.pageCount() - 1);
    render();
}

void TfWydruk::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.1, 5.0);
    render();
}

void TfWydruk::render()
{
    if (m_page < 0 || m_page >= m_doc.pageCount())
        return;
    const double pxPerMm = kScreenPxPerMm * m_zoom * devicePixelRatioF();
    QImage img(static_cast<int>(std::lround(m_doc.pageWidth() * pxPerMm)),
               static_cast<int>(std::lround(m_doc.pageHeight() * pxPerMm)),
               QImage::Format_RGB32);
    const int dpm = static_cast<int>(std::lround(pxPerMm * 1000));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    m_doc.paintPage(p, m_page, pxPerMm);
    if (m_foundPage == m_page && m_foundCell >= 0) {
        const QRectF r = m_doc.pages[m_page].cells[m_foundCell].rect;
        QPen pen(QColor(220, 30, 30));
        pen.setWidthF(2 * m_zoom);
        p.setPen(pen);
        p.setBrush(QColor(255, 230, 0, 80));
        p.drawRect(QRectF(r.x() * pxPerMm, r.y() * pxPerMm, r.width() * pxPerMm,
                          r.height() * pxPerMm));
    }
    p.end();
    QPixmap pixmap = QPixmap::fromImage(img);
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    pageView->setPixmap(pixmap);
}

bool TfWydruk::findNext(const QString& text)
{
    int page = m_foundPage < 0 ? m_page : m_foundPage;
    int cell = m_foundPage < 0 ? 0 : m_foundCell + 1;
    if (!m_doc.find(text, page, cell))
        return false;
    m_foundPage = page;
    m_foundCell = cell;
    m_page = -1;
    showPage(page);
    return true;
}

QString TfWydruk::proposedPdfPath() const
{
    // A unit's or a form's name may hold characters a file name cannot.
    QString name = m_doc.title.isEmpty() ? QStringLiteral("Wydruk") : m_doc.title;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QDir(lastSaveFolder()).filePath(name + QStringLiteral(".pdf"));
}

void TfWydruk::saveAsPdf()
{
    const QString path = m_dialogs.saveFileName(QStringLiteral("Zapisz wydruk jako PDF"),
                                                proposedPdfPath(),
                                                {QStringLiteral("Dokumenty PDF (*.pdf)")},
                                                QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    rememberSaveFolder(path);
    QString error;
    if (!m_doc.writePdf(path, &error))
        m_dialogs.information(kCaptionError, error);
}

void TfWydruk::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_doc.title);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      m_doc.landscape() ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    printer.setFromTo(1, std::max(1, m_doc.pageCount()));
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_dialogs.information(kCaptionError, QStringLiteral("Nie można rozpocząć wydruku."));
        return;
    }
    int from = 0;
    int to = m_doc.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange) {
        from = std::max(0, printer.fromPage() - 1);
        to = std::min(to, printer.toPage() - 1);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = m_page;
    }
    const double pxPerMm = printer.resolution() / 25.4;
    for (int i = from; i <= to; ++i) {
        if (i > from)
            printer.newPage();
        m_doc.paintPage(painter, i, pxPerMm);
    }
    painter.end();
}

TReportPreview::TReportPreview(TDMRaporty& dm, Dialogs& dialogs, QWidget* parent)
    : m_window(std::make_unique<TfWydruk>(dialogs, parent))
{
    dm.show = [this](const report::ReportDocument& doc) {
        if (m_progress)
            m_progress->reset();
        m_window->setDocument(doc);
        m_window->exec();
    };
    dm.progress = [this, parent](int pages) {
        if (pages == 1 || !m_progress) {
            m_progress = std::make_unique<QProgressDialog>(
                QStringLiteral("Przygotowanie wydruku..."), QStringLiteral("Anuluj"), 0, 0,
                parent);
            m_progress->setObjectName(QStringLiteral("fPostep"));
            m_progress->setWindowTitle(QStringLiteral("Zefirant wydruk"));
            m_progress->setWindowModality(Qt::WindowModal);
            m_progress->setMinimumDuration(500);
        }
        m_progress->setLabelText(QStringLiteral("Przygotowanie wydruku: strona %1").arg(pages));
        m_progress->setValue(0);
        QApplication::processEvents();
        const bool cancelled = m_progress->wasCanceled();
        if (cancelled)
            m_progress->reset();
        return !cancelled;
    };
}

TReportPreview::~TReportPreview() = default;

} // namespace zf
