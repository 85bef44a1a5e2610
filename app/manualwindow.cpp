#include "app/manualwindow.h"

#include "util/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfSearchModel>
#include <QPdfView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr qreal kZoomStep = 1.25;
constexpr qreal kZoomMin = 0.25;
constexpr qreal kZoomMax = 5.0;

} // namespace

TfInstrukcja::TfInstrukcja(QWidget* parent)
    : QDialog(parent), m_document(new QPdfDocument(this)), m_view(new QPdfView(this)),
      m_search(new QPdfSearchModel(this)), m_page(new QSpinBox(this)),
      m_pageCount(new QLabel(this)), m_find(new QLineEdit(this)),
      m_findNext(button(this, "btnNastepny", QStringLiteral("&Następny"))),
      m_zoomIn(button(this, "btnPowieksz", QStringLiteral("Po&większ"))),
      m_zoomOut(button(this, "btnPomniejsz", QStringLiteral("Po&mniejsz"))),
      m_fitWidth(button(this, "btnSzerokosc", QStringLiteral("&Dopasuj do szerokości"))),
      m_print(button(this, "btnDrukuj", QStringLiteral("Dru&kuj…"))),
      m_elsewhere(button(this, "btnInnyProgram", QStringLiteral("&Otwórz w innym programie"))),
      m_close(button(this, "btnZamknij", QStringLiteral("&Zamknij")))
{
    setObjectName(QStringLiteral("TfInstrukcja"));
    setWindowTitle(QStringLiteral("Instrukcja obsługi"));
    setModal(false);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(900, 900);

    m_view->setObjectName(QStringLiteral("pdfView"));
    m_view->setDocument(m_document);
    m_view->setPageMode(QPdfView::PageMode::MultiPage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->setAccessibleName(QStringLiteral("Instrukcja obsługi"));
    m_search->setDocument(m_document);

    m_page->setObjectName(QStringLiteral("sePage"));
    m_page->setRange(1, 1);
    auto* pageLabel = new QLabel(QStringLiteral("&Strona:"), this);
    pageLabel->setBuddy(m_page);
    m_page->setAccessibleName(QStringLiteral("Strona"));
    m_pageCount->setObjectName(QStringLiteral("lblLiczbaStron"));
    m_find->setObjectName(QStringLiteral("edSzukaj"));
    auto* findLabel = new QLabel(QStringLiteral("Sz&ukaj:"), this);
    findLabel->setBuddy(m_find);
    m_find->setAccessibleName(QStringLiteral("Szukaj"));

    connect(m_page, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != currentPage())
            goToPage(page - 1);
    });
    connect(m_view->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this,
            &TfInstrukcja::showPageNumber);
    connect(m_zoomIn, &QPushButton::clicked, this, [this] { zoomBy(kZoomStep); });
    connect(m_zoomOut, &QPushButton::clicked, this, [this] { zoomBy(1 / kZoomStep); });
    connect(m_fitWidth, &QPushButton::clicked, this,
            [this] { m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth); });
    connect(m_find, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_found = -1;
        m_search->setSearchString(text);
    });
    connect(m_find, &QLineEdit::returnPressed, this, &TfInstrukcja::findNext);
    connect(m_findNext, &QPushButton::clicked, this, &TfInstrukcja::findNext);
    connect(m_print, &QPushButton::clicked, this, &TfInstrukcja::print);
    connect(m_elsewhere, &QPushButton::clicked, this, [this] {
        if (openElsewhere && !m_path.isEmpty())
            openElsewhere(m_path);
    });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    auto* top = new QHBoxLayout;
    top->addWidget(pageLabel);
    top->addWidget(m_page);
    top->addWidget(m_pageCount);
    top->addSpacing(12);
    top->addWidget(m_zoomOut);
    top->addWidget(m_zoomIn);
    top->addWidget(m_fitWidth);
    top->addSpacing(12);
    top->addWidget(findLabel);
    top->addWidget(m_find, 1);
    top->addWidget(m_findNext);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_print);
    bottom->addWidget(m_elsewhere);
    bottom->addStretch();
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);
}

bool TfInstrukcja::openManual(const QString& path)
{
    m_path = path;
    m_found = -1;
    const bool ok = m_document->load(path) == QPdfDocument::Error::None;
    const int pages = ok ? m_document->pageCount() : 0;
    m_page->setRange(1, qMax(1, pages));
    m_pageCount->setText(QStringLiteral("z %1").arg(pages));
    m_page->setEnabled(pages > 0);
    for (QPushButton* b : {m_findNext, m_zoomIn, m_zoomOut, m_fitWidth, m_print})
        b->setEnabled(pages > 0);
    m_find->setEnabled(pages > 0);
    if (pages > 0)
        goToPage(0);
    return pages > 0;
}

int TfInstrukcja::pageCount() const
{
    return m_document->pageCount();
}

int TfInstrukcja::currentPage() const
{
    return m_view->pageNavigator()->currentPage();
}

void TfInstrukcja::goToPage(int page)
{
    if (page < 0 || page >= pageCount())
        return;
    m_view->pageNavigator()->jump(page, QPointF(), m_view->pageNavigator()->currentZoom());
    showPageNumber(page);
}

void TfInstrukcja::showPageNumber(int page)
{
    const QSignalBlocker block(m_page);
    m_page->setValue(page + 1);
}

qreal TfInstrukcja::zoom() const
{
    return m_view->zoomFactor();
}

void TfInstrukcja::zoomBy(qreal factor)
{
    // Fitting to the width keeps the factor at 1; start from the scale actually shown.
    qreal current = m_view->zoomFactor();
    if (m_view->zoomMode() != QPdfView::ZoomMode::Custom && pageCount() > 0) {
        const qreal pageWidth = m_document->pagePointSize(currentPage()).width() *
                                logicalDpiX() / 72.0;
        if (pageWidth > 0)
            current = (m_view->viewport()->width() - 2 * m_view->documentMargins().left()) /
                      pageWidth;
    }
    m_view->setZoomMode(QPdfView::ZoomMode::Custom);
    m_view->setZoomFactor(qBound(kZoomMin, current * factor, kZoomMax));
}

bool TfInstrukcja::findNext()
{
    const int count = m_search->rowCount(QModelIndex());
    if (count == 0)
        return false;
    m_found = (m_found + 1) % count;
    const QPdfLink hit = m_search->resultAtIndex(m_found);
    m_view->pageNavigator()->jump(hit.page(), hit.location(), m_view->pageNavigator()->currentZoom());
    showPageNumber(hit.page());
    return true;
}

void TfInstrukcja::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Instrukcja obsługi"));
    printer.setFromTo(1, pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgDrukuj"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    int first = 0;
    int last = pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange) {
        first = qMax(0, printer.fromPage() - 1);
        last = qMin(last, printer.toPage() - 1);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        const QRect area = painter.viewport();
        const QSizeF size = m_document->pagePointSize(page);
        const QSize target = size.scaled(area.size(), Qt::KeepAspectRatio).toSize();
        painter.drawImage(QRect(area.topLeft(), target), m_document->render(page, target));
    }
    painter.end();
}

} // namespace zf
