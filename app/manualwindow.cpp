#include "app/manualwindow.h"

#include "util/widgets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfSearchModel>
#include <QPdfView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace zf {

namespace {

constexpr qreal kZoomStep = 1.25;
constexpr qreal kZoomMin = 0.25;
constexpr qreal kZoomMax = 5.0;

} // namespace

TfInstrukcja::TfInstrukcja(QWidget* parent)
    : QDialog(parent), m_document(new QPdfDocument(this)), m_view(new QPdfView(this)),
      m_search(new QPdfSearchModel(this)), m_contents(new QListWidget(this)),
      m_page(new QSpinBox(this)),
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
    resize(1150, 900);

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

    m_contents->setObjectName(QStringLiteral("lstSpisTresci"));
    m_contents->setAccessibleName(QStringLiteral("Spis treści"));
    auto* contentsLabel = new QLabel(QStringLiteral("Spis &treści:"), this);
    contentsLabel->setBuddy(m_contents);
    // A click, Enter or a double click on an entry shows its chapter.
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { goToPage(item->data(Qt::UserRole).toInt()); });
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { goToPage(item->data(Qt::UserRole).toInt()); });

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
        m_foundPage = -1;
        m_foundIndex = -1;
        m_search->setSearchString(text);
    });
    // Enter searches, and goes no further: it must not reach a button of the window.
    m_find->installEventFilter(this);
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
    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(contentsLabel);
    sideLayout->addWidget(m_contents, 1);
    auto* split = new QSplitter(this);
    split->addWidget(side);
    split->addWidget(m_view);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 640});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
    setTabOrder(m_contents, m_view);
}

bool TfInstrukcja::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_find && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            findNext();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The chapters as "Spis treści" lists them, each with its page: the contents' page numbers
// are the PDF's, 1 for the first page. The contents run from the page that has the heading
// to the page before the first chapter; their text may come as one run, with the page
// footers in between.
void TfInstrukcja::readContents()
{
    m_chapters.clear();
    m_contents->clear();
    static const QRegularExpression footer(
        QStringLiteral("Zefirant PL\\+ – Instrukcja obsługi\\s+Strona \\d+ z \\d+"));
    static const QRegularExpression entry(
        QStringLiteral("(\\d+\\.(?:\\d+)?) (\\D.*?) (\\d+)(?=\\s|$)"));
    const QString heading = QStringLiteral("Spis treści");
    int page = 0;
    while (page < pageCount() && !m_document->getAllText(page).text().contains(heading))
        ++page;
    int bodyStart = pageCount();
    for (; page < bodyStart; ++page) {
        QString text = m_document->getAllText(page).text();
        text.replace(footer, QString()).replace(heading, QString());
        text = text.simplified();
        for (auto it = entry.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            const int chapterPage = std::clamp(m.captured(3).toInt() - 1, 0, pageCount() - 1);
            if (m_chapters.empty())
                bodyStart = std::max(page + 1, chapterPage);
            m_chapters.push_back(
                {m.captured(1) + QLatin1Char(' ') + m.captured(2), m.captured(2), chapterPage});
            auto* item = new QListWidgetItem(m_chapters.back().entry, m_contents);
            item->setData(Qt::UserRole, chapterPage);
        }
    }
}

QStringList TfInstrukcja::contents() const
{
    QStringList out;
    for (const Chapter& c : m_chapters)
        out << c.entry;
    return out;
}

int TfInstrukcja::chapterPage(const QString& title) const
{
    for (const Chapter& c : m_chapters)
        if (c.title == title)
            return c.page;
    return -1;
}

bool TfInstrukcja::openChapter(const QString& title)
{
    const int page = chapterPage(title);
    if (page < 0)
        return false;
    goToPage(page);
    for (int row = 0; row < m_contents->count(); ++row)
        if (m_chapters[static_cast<size_t>(row)].title == title)
            m_contents->setCurrentRow(row);
    return true;
}

TfInstrukcja::~TfInstrukcja()
{
    // The view's scroll bar moves the page while the view is destroyed; by then this window is
    // no longer one to show a page number in.
    disconnect(m_view->pageNavigator(), nullptr, this, nullptr);
}

bool TfInstrukcja::openManual(const QString& path)
{
    m_path = path;
    m_foundPage = -1;
    m_foundIndex = -1;
    const bool ok = m_document->load(path) == QPdfDocument::Error::None;
    const int pages = ok ? m_document->pageCount() : 0;
    m_page->setRange(1, qMax(1, pages));
    m_pageCount->setText(QStringLiteral("z %1").arg(pages));
    m_page->setEnabled(pages > 0);
    for (QPushButton* b : {m_findNext, m_zoomIn, m_zoomOut, m_fitWidth, m_print})
        b->setEnabled(pages > 0);
    m_find->setEnabled(pages > 0);
    readContents();
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

void TfInstrukcja::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Shown, the view lays its pages out and scrolls on its own: back to the page asked for,
    // now and once the layout has settled.
    const int page = m_wantedPage;
    goToPage(page);
    QTimer::singleShot(0, this, [this, page] {
        if (m_wantedPage == page && currentPage() != page)
            goToPage(page);
    });
}

void TfInstrukcja::goToPage(int page)
{
    if (page < 0 || page >= pageCount())
        return;
    m_wantedPage = page;
    m_view->pageNavigator()->jump(page, QPointF(), m_view->pageNavigator()->currentZoom());
    showPageNumber(page);
}

void TfInstrukcja::showPageNumber(int page)
{
    const QSignalBlocker block(m_page);
    m_page->setValue(page + 1);
}

// The scale shown: fitting to the width keeps the view's factor at 1.
qreal TfInstrukcja::zoom() const
{
    qreal current = m_view->zoomFactor();
    if (m_view->zoomMode() != QPdfView::ZoomMode::Custom && pageCount() > 0) {
        const qreal pageWidth = m_document->pagePointSize(currentPage()).width() *
                                logicalDpiX() / 72.0;
        if (pageWidth > 0)
            current = (m_view->viewport()->width() - 2 * m_view->documentMargins().left()) /
                      pageWidth;
    }
    return current;
}

void TfInstrukcja::zoomBy(qreal factor)
{
    const qreal current = zoom();
    m_view->setZoomMode(QPdfView::ZoomMode::Custom);
    m_view->setZoomFactor(qBound(kZoomMin, current * factor, kZoomMax));
}

bool TfInstrukcja::findNext()
{
    if (m_find->text().isEmpty() || pageCount() == 0)
        return false;
    // Page by page: the model searches a page when asked for its hits, so a search started
    // right after typing finds what the model's background search has not reached yet.
    int page = m_foundPage < 0 ? currentPage() : m_foundPage;
    int index = m_foundPage < 0 ? 0 : m_foundIndex + 1;
    for (int step = 0; step <= pageCount(); ++step) {
        const QList<QPdfLink> hits = m_search->resultsOnPage(page);
        if (index < hits.size()) {
            m_foundPage = page;
            m_foundIndex = index;
            const QPdfLink& hit = hits[index];
            m_view->pageNavigator()->jump(hit.page(), hit.location(),
                                          m_view->pageNavigator()->currentZoom());
            showPageNumber(hit.page());
            return true;
        }
        page = (page + 1) % pageCount();
        index = 0;
    }
    return false;
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

TManualKey::TManualKey(std::function<void(QWidget* window)> open, QObject* parent)
    : QObject(parent), m_open(std::move(open))
{
}

bool TManualKey::eventFilter(QObject* watched, QEvent* event)
{
    // A window's own F1 shortcut, where it has one, takes the key before it is pressed.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier && m_open) {
            m_open(static_cast<QWidget*>(watched)->window());
            return true;
        }
    }
    return false;
}

} // namespace zf
