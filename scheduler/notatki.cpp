#include "scheduler/notatki.h"

#include "data/programoptions.h"
#include "scheduler/datefield.h"
#include "scheduler/memolimit.h"
#include "util/dialogs.h"
#include "util/widgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr int kTypedLength = 250;

} // namespace

TfNotatki::TfNotatki(Dialogs& dialogs, const ProgramOptions& options, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_options(options), m_number(new QLineEdit(this)),
      m_date(new TDateField(QStringLiteral("edTermin"), QStringLiteral("DTPTermin"), this)),
      m_text(new QPlainTextEdit(this)),
      m_previous(button(this, "SBPoprzednia", QStringLiteral("&<<"),
                        QStringLiteral("Poprzednia notatka z listy notatek"))),
      m_next(button(this, "SBNastepna", QStringLiteral("&>>"),
                    QStringLiteral("Następna notatka z listy notatek"))),
      m_clear(button(this, "SBWyczysc", QStringLiteral("  Wyczyść   "),
                     QStringLiteral("Czyści bieżącą notatkę"))),
      m_ok(button(this, "SBOk", QStringLiteral("    &OK        ")))
{
    setObjectName(QStringLiteral("TfNotatki"));
    setWindowTitle(QStringLiteral("Notatki"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Edytuj notatki"), this);
    heading->setObjectName(QStringLiteral("lbNaglowek"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_number->setObjectName(QStringLiteral("edNumer"));
    m_number->setReadOnly(true);
    m_number->setMaximumWidth(48);
    m_number->setToolTip(QStringLiteral("Numer edytowanej notatki z listy notatek (od 1 do 30)"));
    m_date->edit()->setToolTip(QStringLiteral(
        "Termin od kiedy notatka nabiera ważności. Po tej dacie program bedzie wyświetlał "
        "przypomnienie o notatce"));
    m_date->edit()->installEventFilter(this);
    m_text->setObjectName(QStringLiteral("memoNotatka"));
    m_text->setAccessibleName(QStringLiteral("Treść notatki"));
    m_text->setTabChangesFocus(true);
    limitMemo(m_text, kTypedLength);

    connect(m_previous, &QPushButton::clicked, this, &TfNotatki::previous);
    connect(m_next, &QPushButton::clicked, this, &TfNotatki::next);
    connect(m_clear, &QPushButton::clicked, this, &TfNotatki::clearSlot);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Numer notatki:"), m_number);
    form->addRow(QStringLiteral("Termin notatki:"), m_date);
    m_date->setCaption(QStringLiteral("Termin notatki:"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    resize(460, 320);
}

void TfNotatki::editNotes(NoteSlots& notes, int slot)
{
    m_book.begin(notes, slot);
    showSlot();
    m_text->setFocus(Qt::OtherFocusReason);
    exec();
    notes = m_book.held();
}

void TfNotatki::done(int result)
{
    storeSlot();
    QDialog::done(result);
}

bool TfNotatki::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_date->edit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfNotatki::showSlot()
{
    const NoteSlot& s = m_book.currentSlot();
    m_number->setText(QString::number(m_book.current()));
    m_date->setText(s.date);
    m_date->showTextInPicker();
    setMemoText(m_text, s.text);
}

void TfNotatki::storeSlot()
{
    m_book.store(m_date->text(), m_text->toPlainText());
}

void TfNotatki::previous()
{
    storeSlot();
    m_book.previous();
    showSlot();
}

void TfNotatki::next()
{
    storeSlot();
    m_book.next();
    showSlot();
}

void TfNotatki::clearSlot()
{
    if (m_options.pytajPrzedKasowaniem &&
        !m_dialogs.question(kCaptionQuestion, Notes::kClearQuestion))
        return;
    m_date->setText(QString());
    setMemoText(m_text, QString());
    m_book.clearCurrent();
}

} // namespace zf
