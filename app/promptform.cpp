#include "app/promptform.h"

#include "app/centre.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {
const QString kDefaultCaption = QStringLiteral("Wprowadź");
// The mask character is "*" whatever the style would draw.
const QString kMaskStyle = QStringLiteral("QLineEdit { lineedit-password-character: 42; }");
} // namespace

TpromptForm::TpromptForm(QWidget* parent)
    : QDialog(parent), m_label(new QLabel(this)), m_answer(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("&Ok"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Anuluj"), this))
{
    setObjectName(QStringLiteral("TpromptForm"));
    setWindowTitle(kDefaultCaption);
    setModal(true);

    m_label->setObjectName(QStringLiteral("lbLabel"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setBuddy(m_answer);
    m_answer->setObjectName(QStringLiteral("eAnswer"));
    m_answer->setMinimumWidth(320);
    m_answer->setStyleSheet(kMaskStyle);
    m_ok->setObjectName(QStringLiteral("SBOk"));
    m_cancel->setObjectName(QStringLiteral("SBAnuluj"));
    m_ok->setDefault(true);

    const auto confirm = [this] {
        m_result = true;
        accept();
    };
    connect(m_ok, &QPushButton::clicked, this, confirm);
    connect(m_answer, &QLineEdit::returnPressed, this, confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_label);
    layout->addWidget(m_answer);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setTabOrder(m_answer, m_ok);
    setTabOrder(m_ok, m_cancel);
}

bool TpromptForm::prompt(const QString& caption, const QString& label, const QString& initial)
{
    setWindowTitle(caption.isEmpty() ? kDefaultCaption : caption);
    m_label->setText(label);
    m_answer->setEchoMode(m_masked ? QLineEdit::Password : QLineEdit::Normal);
    m_answer->setText(initial);
    m_result = false;
    exec();
    m_masked = false;
    return m_result;
}

QString TpromptForm::answer() const
{
    return m_answer->text();
}

void TpromptForm::showEvent(QShowEvent* event)
{
    m_result = false;
    QDialog::showEvent(event);
    adjustSize();
    centreOnScreen(*this);
    m_answer->selectAll();
    m_answer->setFocus();
}

} // namespace zf
