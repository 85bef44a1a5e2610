#include "plans/newplan.h"

#include "util/clock.h"
#include "util/dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zf {

const QString TfNewPlan::kWrongYear = QStringLiteral("Niepoprawny rok.");

TfNewPlan::TfNewPlan(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_idYear(new QSpinBox(this))
{
    setObjectName(QStringLiteral("fNewPlan"));
    setWindowTitle(QStringLiteral("Stwórz nowy plan urlopowy"));
    m_idYear->setObjectName(QStringLiteral("idYear"));
    m_idYear->setRange(1999, 2999);
    m_idYear->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    auto* label = new QLabel(QStringLiteral("&Podaj rok planu urlopowego"), this);
    label->setBuddy(m_idYear);

    auto* save = new QPushButton(QStringLiteral("&Zapisz"), this);
    save->setObjectName(QStringLiteral("SBZapisz"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("SBAnuluj"));
    connect(save, &QPushButton::clicked, this, &TfNewPlan::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_idYear);
    layout->addLayout(buttons);
    setTabOrder(m_idYear, save);
    setTabOrder(save, cancel);
    // The window manager cuts a caption wider than the window: room for the caption and the
    // title bar's icon and buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarReserveLines *
                                                                       fontMetrics().height());
}

std::optional<int> TfNewPlan::Execute()
{
    m_confirmed = false;
    m_year = 0;
    m_idYear->setValue(clock().today().year());
    m_idYear->selectAll();
    m_idYear->setFocus();
    exec();
    return m_confirmed ? std::optional<int>(m_year) : std::nullopt;
}

void TfNewPlan::save()
{
    // What is typed counts, even before the spin box has taken it as its value.
    bool ok = false;
    const int year = m_idYear->text().trimmed().toInt(&ok);
    if (!ok || year < 1999 || year > 2999) {
        m_dialogs.information(kCaptionError, kWrongYear);
        return;
    }
    m_year = year;
    m_confirmed = true;
    accept();
}

} // namespace zf
