#include "scheduler/datefield.h"

#include "util/dates.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>

namespace zf {

namespace {

// "99-99-9999" with the program's separator, blanks for what is not typed.
QString dateMask()
{
    const QString s(dateSeparator());
    return QStringLiteral("99") + s + QStringLiteral("99") + s + QStringLiteral("9999; ");
}

} // namespace

TDateField::TDateField(const QString& fieldName, const QString& pickerName, QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_picker(new QDateEdit(this))
{
    m_edit->setObjectName(fieldName);
    m_edit->setInputMask(dateMask());
    m_edit->setFixedWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) +
                          16);
    m_picker->setObjectName(pickerName);
    m_picker->setCalendarPopup(true);
    m_picker->setDisplayFormat(dateTextFormat());
    connect(m_picker, &QDateEdit::dateChanged, this,
            [this](const QDate& d) { setText(d.toString(dateTextFormat())); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    layout->addWidget(m_picker);
    layout->addStretch();
}

QString TDateField::text() const
{
    return m_edit->displayText();
}

void TDateField::setText(const QString& text)
{
    // The separator is fixed at start-up, after the windows may have been made.
    const QString mask = dateMask();
    if (m_edit->inputMask() != mask)
        m_edit->setInputMask(mask);
    m_edit->setText(text);
}

void TDateField::showTextInPicker()
{
    const QSignalBlocker block(m_picker);
    m_picker->setDisplayFormat(dateTextFormat());
    m_picker->setDate(DateTextToDate(text()));
}

} // namespace zf
