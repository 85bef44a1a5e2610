#include "app/poradadnia.h"

#include "app/centre.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zf {

namespace {
// Shown while there are not two tips to choose from.
const QString kInitialText = QStringLiteral(
    "Program Zefirant PL+ pomaga zaplanować urlopy wypoczynkowe pracowników. Opis wszystkich "
    "funkcji programu znajdziesz w instrukcji obsługi, którą otwiera klawisz F1.");
} // namespace

TfPoradaDnia::TfPoradaDnia(const QString& tipFile, QWidget* parent)
    : TfPoradaDnia(Tips(readTipFile(tipFile)), parent)
{
}

TfPoradaDnia::TfPoradaDnia(Tips tips, QWidget* parent)
    : QDialog(parent), m_tips(std::move(tips)), m_tip(new QLabel(kInitialText, this)),
      m_dontShow(new QCheckBox(QStringLiteral("Nie pokazuj tego więcej"), this)),
      m_next(new QPushButton(QStringLiteral("&Następna porada >>"), this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this))
{
    setObjectName(QStringLiteral("TfPoradaDnia"));
    setWindowTitle(QStringLiteral("Porada dnia"));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgPorada"));
    const int side = 48;
    picture->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(side));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* heading = new QLabel(QStringLiteral("Czy wiesz, że..."), this);
    heading->setObjectName(QStringLiteral("lbNaglowek"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);

    m_tip->setObjectName(QStringLiteral("lbPorada"));
    m_tip->setTextFormat(Qt::PlainText);
    m_tip->setWordWrap(true);
    m_tip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_tip->setMargin(8);
    // A steady area, so the window keeps its size from one short tip to the next.
    m_tip->setFixedWidth(400);
    m_tip->setMinimumHeight(130);
    m_tip->setFrameShape(QFrame::StyledPanel);
    m_tip->setBackgroundRole(QPalette::Base);
    m_tip->setAutoFillBackground(true);

    m_dontShow->setObjectName(QStringLiteral("cbNiePokazuj"));
    m_next->setObjectName(QStringLiteral("SBNastepna"));
    m_ok->setObjectName(QStringLiteral("SBOk"));
    m_ok->setDefault(true);
    connect(m_next, &QPushButton::clicked, this, &TfPoradaDnia::showNextTip);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(heading);
    text->addWidget(m_tip);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_dontShow);
    bottom->addStretch();
    bottom->addWidget(m_next);
    bottom->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(12);
    layout->addLayout(top);
    layout->addLayout(bottom);
    setTabOrder(m_ok, m_next);
    setTabOrder(m_next, m_dontShow);
}

bool TfPoradaDnia::dontShowAgain() const
{
    return m_dontShow->isChecked();
}

void TfPoradaDnia::setDontShowAgain(bool on)
{
    m_dontShow->setChecked(on);
}

QString TfPoradaDnia::tipText() const
{
    return m_tip->text();
}

void TfPoradaDnia::showNextTip()
{
    if (const auto tip = m_tips.next())
        m_tip->setText(*tip);
}

void TfPoradaDnia::showEvent(QShowEvent* event)
{
    showNextTip();
    QDialog::showEvent(event);
    centreOnScreen(*this);
    m_ok->setFocus();
}

} // namespace zf
