#include "app/fiszka.h"

#include "app/centre.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

TfFiszka::TfFiszka(QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(this)),
      m_onTop(new QCheckBox(QStringLiteral("Okno zawsze na wierzchu"), this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this))
{
    setObjectName(QStringLiteral("TfFiszka"));
    setWindowTitle(QStringLiteral("Fiszka - notatki tymczasowe"));
    setModal(false);
    resize(460, 340);

    m_text->setObjectName(QStringLiteral("mNotatki"));
    m_text->setAccessibleName(QStringLiteral("Notatki tymczasowe"));
    m_onTop->setObjectName(QStringLiteral("cbNaWierzchu"));
    m_ok->setObjectName(QStringLiteral("SBOk"));
    // Enter belongs to the text area; the window closes with "&OK" or Esc only.
    m_ok->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_onTop, &QCheckBox::toggled, this, &TfFiszka::setStayOnTop);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_onTop);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(bottom);
    setTabOrder(m_text, m_onTop);
    setTabOrder(m_onTop, m_ok);
}

void TfFiszka::clearLines()
{
    m_text->clear();
}

void TfFiszka::addLine(const QString& line)
{
    m_text->appendPlainText(line);
}

QString TfFiszka::text() const
{
    return m_text->toPlainText();
}

bool TfFiszka::stayOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfFiszka::setStayOnTop(bool on)
{
    // Changing the flags of a shown window hides it; show it again where it was.
    const bool shown = isVisible();
    const QPoint where = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) {
        move(where);
        show();
    }
}

void TfFiszka::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred the first time; afterwards it stays where the user put it.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
}

} // namespace zf
