#include "app/about.h"

#include "app/centre.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// A label drawn as a link that opens its address on a click, or on Enter or Space once it has
// the focus.
class LinkLabel : public QLabel
{
public:
    LinkLabel(QWidget* parent, std::function<void()> activate)
        : QLabel(parent), m_activate(std::move(activate))
    {
        setTextFormat(Qt::RichText);
        setTextInteractionFlags(Qt::NoTextInteraction);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            event->accept();
        else
            QLabel::mousePressEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_activate();
        QLabel::mouseReleaseEvent(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            m_activate();
            event->accept();
            return;
        default:
            QLabel::keyPressEvent(event);
        }
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QLabel::focusInEvent(event);
        setFrameShape(QFrame::Box);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QLabel::focusOutEvent(event);
        setFrameShape(QFrame::NoFrame);
    }

private:
    std::function<void()> m_activate;
};

QString linkText(const QString& text)
{
    return QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped());
}

} // namespace

TfAbout::TfAbout(QWidget* parent, UrlOpener opener)
    : QDialog(parent),
      m_open(opener ? std::move(opener)
                    : UrlOpener([](const QUrl& url) { QDesktopServices::openUrl(url); })),
      m_version(new QLabel(QStringLiteral("ver."), this)),
      m_web(new LinkLabel(this, [this] { m_open(QUrl(kWebAddress)); })),
      m_email(new LinkLabel(this, [this] { openEmail(); })),
      m_ok(new QPushButton(QStringLiteral("&OK"), this))
{
    setObjectName(QStringLiteral("TfAbout"));
    setWindowTitle(QStringLiteral("Zefirant PL+"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("O programie"), this);
    heading->setObjectName(QStringLiteral("lbNaglowek"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto* product = new QLabel(QStringLiteral("Zefirant PL+"), this);
    product->setObjectName(QStringLiteral("lbProdukt"));
    QFont productFont = product->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 2);
    product->setFont(productFont);
    product->setAlignment(Qt::AlignCenter);

    auto* purpose =
        new QLabel(QStringLiteral("Planowanie urlopów wypoczynkowych pracowników"), this);
    purpose->setObjectName(QStringLiteral("lbOpis"));
    purpose->setAlignment(Qt::AlignCenter);

    m_version->setObjectName(QStringLiteral("lbWersja"));
    m_version->setTextFormat(Qt::PlainText);
    m_version->setAlignment(Qt::AlignCenter);

    m_web->setObjectName(QStringLiteral("lbWWW"));
    m_web->setText(linkText(QUrl(kWebAddress).host()));
    m_web->setToolTip(kWebAddress);
    m_email->setObjectName(QStringLiteral("lbEmail"));
    m_email->setAccessibleName(QStringLiteral("Email"));

    m_ok->setObjectName(QStringLiteral("SBOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* contact = new QGridLayout;
    contact->addWidget(new QLabel(QStringLiteral("Strona WWW:"), this), 0, 0, Qt::AlignRight);
    contact->addWidget(m_web, 0, 1, Qt::AlignLeft);
    contact->addWidget(new QLabel(QStringLiteral("E-mail:"), this), 1, 0, Qt::AlignRight);
    contact->addWidget(m_email, 1, 1, Qt::AlignLeft);
    auto* contactRow = new QHBoxLayout;
    contactRow->addStretch();
    contactRow->addLayout(contact);
    contactRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(heading);
    layout->addSpacing(12);
    layout->addWidget(product);
    layout->addWidget(purpose);
    layout->addWidget(m_version);
    layout->addSpacing(12);
    layout->addLayout(contactRow);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    setTabOrder(m_ok, m_web);
    setTabOrder(m_web, m_email);
}

void TfAbout::setVersion(const QString& version)
{
    m_version->setText(QStringLiteral("ver. ") + version);
}

void TfAbout::setEmail(const QString& address)
{
    m_emailAddress = address.trimmed();
    m_email->setText(linkText(m_emailAddress));
    m_email->setToolTip(m_emailAddress.isEmpty() ? QString()
                                                 : QStringLiteral("mailto:") + m_emailAddress);
}

void TfAbout::openEmail()
{
    if (!m_emailAddress.isEmpty())
        m_open(QUrl(QStringLiteral("mailto:") + m_emailAddress));
}

void TfAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    m_ok->setFocus();
}

} // namespace zf
