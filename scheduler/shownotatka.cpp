#include "scheduler/shownotatka.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

TfShowNotatka::TfShowNotatka(QWidget* parent)
    : QDialog(parent), m_date(new QLabel(this)), m_text(new QPlainTextEdit(this)),
      m_ok(new QPushButton(QStringLiteral("    &OK        "), this)),
      m_remove(new QPushButton(QStringLiteral("  Usuń      "), this))
{
    setObjectName(QStringLiteral("TfShowNotatka"));
    setWindowTitle(QStringLiteral("Notatka"));
    setModal(true);
    resize(420, 240);

    auto* heading = new QLabel(QStringLiteral("Znaleziono notatkę na dziś"), this);
    heading->setObjectName(QStringLiteral("lbNaglowek"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    // The heading says "na dziś" for every due note, also one due in a few days: the date tells.
    m_date->setObjectName(QStringLiteral("lbTermin"));
    m_text->setObjectName(QStringLiteral("memoNotatka"));
    m_text->setAccessibleName(QStringLiteral("Notatka"));
    m_text->setReadOnly(true);
    m_ok->setObjectName(QStringLiteral("SBOk"));
    m_remove->setObjectName(QStringLiteral("SBUsun"));
    for (QPushButton* b : {m_ok, m_remove})
        b->setAutoDefault(false);

    // Esc closes the window as "OK" does (QDialog's own rule).
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (m_delete)
            m_delete();
        // The window closes in every case.
        accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_date);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
}

void TfShowNotatka::showNote(const QString& text, const QString& date,
                             const std::function<void()>& deleteNote)
{
    m_delete = deleteNote;
    m_date->setText(QStringLiteral("Termin notatki: ") + date);
    m_text->setPlainText(text);
    m_ok->setFocus(Qt::OtherFocusReason);
    exec();
    m_delete = nullptr;
}

void TfShowNotatka::setDeleteVisible(bool visible)
{
    m_remove->setVisible(visible);
}

QString TfShowNotatka::dateText() const
{
    return m_date->text();
}

QString TfShowNotatka::text() const
{
    return m_text->toPlainText();
}

} // namespace zf
