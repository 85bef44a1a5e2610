#include "app/finddialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Znajdź"));
    setModal(false);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edFindText"));
    m_text->setMinimumWidth(240);
    // Shown ticked and fixed; the search itself changes the case of a to z only.
    m_matchCase = new QCheckBox(QStringLiteral("Uwzględniaj wielkość liter"), this);
    m_matchCase->setObjectName(QStringLiteral("cbMatchCase"));
    m_matchCase->setChecked(true);
    m_matchCase->setEnabled(false);
    m_next = new QPushButton(QStringLiteral("Znajdź &następny"), this);
    m_next->setObjectName(QStringLiteral("btnFindNext"));
    m_next->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    close->setObjectName(QStringLiteral("btnFindClose"));

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Znajdź:"), this);
    label->setBuddy(m_text);
    row->addWidget(label);
    row->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_matchCase);
    buttons->addStretch();
    buttons->addWidget(m_next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, [this] { emit findNext(m_text->text()); });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

QString TFindDialog::text() const
{
    return m_text->text();
}

void TFindDialog::setText(const QString& text)
{
    m_text->setText(text);
}

} // namespace zf
