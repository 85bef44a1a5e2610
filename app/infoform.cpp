#include "app/infoform.h"

#include "app/centre.h"
#include "util/dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zf {

namespace {

QStyle::StandardPixmap iconFor(const QString& caption)
{
    if (caption == kCaptionError)
        return QStyle::SP_MessageBoxCritical;
    if (caption == kCaptionWarning)
        return QStyle::SP_MessageBoxWarning;
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

TinfoForm::TinfoForm(QWidget* parent)
    : QDialog(parent), m_icon(new QLabel(this)), m_text(new QLabel(this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this))
{
    setObjectName(QStringLiteral("TinfoForm"));
    setWindowTitle(kCaptionInformation);
    setModal(true);

    m_icon->setObjectName(QStringLiteral("imgIcon"));
    m_icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_text->setObjectName(QStringLiteral("lbText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(340);
    m_text->setMaximumWidth(520);
    // Error messages are often copied into a support request.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_ok->setObjectName(QStringLiteral("SBOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* message = new QHBoxLayout;
    message->setSpacing(16);
    message->addWidget(m_icon, 0, Qt::AlignTop);
    message->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(16);
    layout->addLayout(message);
    layout->addLayout(buttons);
}

void TinfoForm::show(const QString& caption, const QString& text)
{
    if (m_ending)
        return;
    const QString shown = caption.isEmpty() ? kCaptionInformation : caption;
    setWindowTitle(shown);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(iconFor(shown), nullptr, this).pixmap(side, side));
    m_text->setText(text);
    exec();
}

void TinfoForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    adjustSize();
    centreOnScreen(*this);
    m_ok->setFocus();
}

} // namespace zf
