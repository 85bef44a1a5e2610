#include "scheduler/datefield.h"

#include "util/dates.h"

#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

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
    m_edit->installEventFilter(this);
    m_picker->setObjectName(pickerName);
    m_picker->setCalendarPopup(true);
    m_picker->setDisplayFormat(dateTextFormat());
    // Every day a valid date text can name, so the picker never shows another one.
    m_picker->setMinimumDate(QDate(1000, 1, 1));
    m_picker->setToolTip(QStringLiteral("Wybierz datę z kalendarza"));
    connect(m_picker, &QDateEdit::dateChanged, this,
            [this](const QDate& d) { setText(d.toString(dateTextFormat())); });
    connect(m_edit, &QLineEdit::textChanged, this, &TDateField::followText);
    // A label's buddy and Tab land in the field, not in the picker.
    setFocusProxy(m_edit);
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

void TDateField::setCaption(const QString& caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    m_edit->setAccessibleName(name);
    m_picker->setAccessibleName(name + QStringLiteral(" (kalendarz)"));
}

void TDateField::followText()
{
    const QString t = text();
    // Half typed, or a day the month does not have: the picker keeps its day.
    if (!IsValidDateText(t) || !IsValidDateNumber(DateTextToNumber(t)))
        return;
    const QSignalBlocker block(m_picker);
    m_picker->setDisplayFormat(dateTextFormat());
    m_picker->setDate(DateTextToDate(t));
}

bool TDateField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit || m_edit->isReadOnly())
        return QWidget::eventFilter(watched, event);
    // A full mask takes no more digits at its end, where Tab and a click beside the text put
    // the cursor: entering the field selects it all, and a digit typed at the end starts a new
    // date, so the digits typed always fill day, month and year. The selection is deferred: a
    // mouse press that gave the focus places the cursor after this.
    if (event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, m_edit, [e = m_edit] {
            if (e->hasFocus())
                e->selectAll();
        });
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().front().isDigit() && !m_edit->hasSelectedText() &&
            m_edit->cursorPosition() >= m_edit->displayText().size())
            m_edit->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zf
