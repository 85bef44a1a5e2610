#include "app/questionform.h"

#include "app/centre.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zf {

namespace {
const QString kDefaultCaption = QStringLiteral("Zdecyduj");
}

TquestionForm::TquestionForm(QWidget* parent)
    : QDialog(parent), m_icon(new QLabel(this)), m_text(new QLabel(this)),
      m_yes(new QPushButton(QStringLiteral("&Tak"), this)),
      m_no(new QPushButton(QStringLiteral("&Nie"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Anuluj"), this))
{
    setObjectName(QStringLiteral("TquestionForm"));
    setWindowTitle(kDefaultCaption);
    setModal(true);

    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setObjectName(QStringLiteral("imgIcon"));
    m_icon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(side, side));
    m_text->setObjectName(QStringLiteral("lbText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(340);
    m_text->setMaximumWidth(520);
    m_yes->setObjectName(QStringLiteral("SBTak"));
    m_no->setObjectName(QStringLiteral("SBNie"));
    m_cancel->setObjectName(QStringLiteral("SBAnuluj"));
    m_cancel->hide();
    m_yes->setDefault(true);
    connect(m_yes, &QPushButton::clicked, this, [this] {
        m_answer = true;
        m_choice = Choice::Yes;
        accept();
    });
    connect(m_no, &QPushButton::clicked, this, [this] {
        m_choice = Choice::No;
        reject();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* message = new QHBoxLayout;
    message->setSpacing(16);
    message->addWidget(m_icon, 0, Qt::AlignTop);
    message->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(16);
    layout->addLayout(message);
    layout->addLayout(buttons);
    setTabOrder(m_yes, m_no);
    setTabOrder(m_no, m_cancel);
}

bool TquestionForm::ask(const QString& caption, const QString& text)
{
    setWindowTitle(caption.isEmpty() ? kDefaultCaption : caption);
    m_text->setText(text);
    m_answer = false;
    exec();
    return m_answer;
}

TquestionForm::Choice TquestionForm::askWithCancel(const QString& caption, const QString& text)
{
    m_cancel->show();
    const bool yes = ask(caption, text);
    m_cancel->hide();
    if (yes)
        return Choice::Yes;
    return m_choice == Choice::No ? Choice::No : Choice::Cancel;
}

void TquestionForm::showEvent(QShowEvent* event)
{
    m_answer = false;
    m_choice = Choice::Cancel;
    QDialog::showEvent(event);
    adjustSize();
    centreOnScreen(*this);
    m_yes->setFocus();
}

} // namespace zf
