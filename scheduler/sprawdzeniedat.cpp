#include "scheduler/sprawdzeniedat.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

TfSprawdzenieDat::TfSprawdzenieDat(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_text(new QPlainTextEdit(this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this)),
      m_saveResult(new QPushButton(QStringLiteral("Zapisz wynik"), this))
{
    setObjectName(QStringLiteral("TfSprawdzenieDat"));
    setWindowTitle(QStringLiteral("Sprawdzenie terminów"));
    setModal(true);
    resize(560, 420);

    auto* heading =
        new QLabel(QStringLiteral("Wkrótce upłynie bądź już upłynął termin dla:"), this);
    heading->setObjectName(QStringLiteral("lbNaglowek"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_text->setObjectName(QStringLiteral("memoTerminy"));
    m_text->setAccessibleName(QStringLiteral("Wynik sprawdzania terminów"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_ok->setObjectName(QStringLiteral("SBOk"));
    m_saveResult->setObjectName(QStringLiteral("SBZapiszWynik"));
    m_saveResult->setToolTip(
        QStringLiteral("Zapisz wynik sprawdzania terminów do pliku tekstowego"));
    for (QPushButton* b : {m_ok, m_saveResult})
        b->setAutoDefault(false);

    // Esc closes the window as "Ok" does (QDialog's own rule).
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_saveResult, &QPushButton::clicked, this,
            [this] { SaveReminderResult(m_lines, m_dialogs); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_saveResult);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
}

void TfSprawdzenieDat::setLines(const QStringList& lines)
{
    m_lines = lines;
    m_text->setPlainText(lines.join(QLatin1Char('\n')));
}

void TfSprawdzenieDat::showReminder(const QStringList& lines)
{
    setLines(lines);
    m_ok->setFocus(Qt::OtherFocusReason);
    exec();
}

} // namespace zf
