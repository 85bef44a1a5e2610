#include "personnel/osobowa.h"

#include "data/programoptions.h"
#include "data/formeditable.h"
#include "data/mydatabase.h"
#include "personnel/cp1250validator.h"
#include "personnel/filename.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace zf {

namespace {

QLineEdit* textField(QWidget* parent, const char* name, int limit, const QString& hint = {})
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(limit);
    field->setToolTip(hint);
    refuseNonCp1250(field);
    return field;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& hint)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    // Enter belongs to the fields (see the constructor), not to whichever button is default.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

TfOsobowa::TfOsobowa(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                     std::function<void()> editDictionaries, QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_options(options),
      m_editDictionaries(std::move(editDictionaries)), m_id(textField(this, "fIDEMPLOYEE", 20)),
      m_surname(textField(this, "fSURNAME", 50)), m_name(textField(this, "fNAME", 30)),
      m_email(textField(this, "fEMAIL", 100)),
      m_pwd(textField(this, "fPWD", 13,
                      QStringLiteral("Hasło używane do logowania się do planu urlopowego"))),
      m_unitList(new QComboBox(this)),
      m_fileName(textField(
          this, "fFILENAME", 200,
          QStringLiteral("Nazwa pliku pod jaką zapisywany będzie plan urlopów pracownika"))),
      m_showPwd(new QCheckBox(QStringLiteral("Pokaż &hasło"), this)),
      m_dismissed(new QCheckBox(QStringLiteral("Pracownik zwolniony"), this)),
      m_save(button(this, "SBZapisz", QStringLiteral("&Zapisz"), QStringLiteral("Zapisz zmiany"))),
      m_cancel(
          button(this, "SBAnuluj", QStringLiteral("&Anuluj"), QStringLiteral("Anuluj zmiany"))),
      m_dictionaries(
          button(this, "SBSlowniki", QStringLiteral("[...]"), QStringLiteral("Edytuj słowniki"))),
      m_noUnit(
          button(this, "SBBezZespolu", QString(), QStringLiteral("Nie wskazuj żadnego zespołu")))
{
    setObjectName(QStringLiteral("TfOsobowa"));
    setWindowTitle(QStringLiteral("Kartoteka osobowa"));
    setModal(true);

    m_unitList->setObjectName(QStringLiteral("fIDDICUNIT"));
    m_unitList->setMinimumWidth(240);
    m_dismissed->setObjectName(QStringLiteral("fACT"));
    m_dismissed->setToolTip(QStringLiteral("Zaznacz to pole, jeśli pracownik już nie pracuje i nie "
                                           "powinien być uwzględniany w tworzeniu planu"));
    m_noUnit->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    m_dictionaries->setMaximumWidth(fontMetrics().horizontalAdvance(m_dictionaries->text()) + 24);
    m_fileName->installEventFilter(this);
    // The plan file's password is shown masked, as password fields are, until asked for.
    m_pwd->setEchoMode(QLineEdit::Password);
    m_showPwd->setObjectName(QStringLiteral("cbPokazHaslo"));
    m_showPwd->setAccessibleName(QStringLiteral("Pokaż hasło"));
    m_showPwd->setToolTip(QStringLiteral("Pokaż wpisane hasło"));
    connect(m_showPwd, &QCheckBox::toggled, this, [this](bool shown) {
        m_pwd->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });

    for (QLineEdit* field : {m_id, m_surname, m_name, m_pwd, m_email, m_fileName})
        connect(field, &QLineEdit::returnPressed, this, &TfOsobowa::save);
    connect(m_save, &QPushButton::clicked, this, &TfOsobowa::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_noUnit, &QPushButton::clicked, this, [this] { setUnit(-1); });
    connect(m_dictionaries, &QPushButton::clicked, this, [this] {
        if (m_editDictionaries)
            m_editDictionaries();
    });
    connect(&m_db.DBFUnits, &fb::DataSet::changed, this, &TfOsobowa::reloadUnits);

    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, const char* labelName,
                            QWidget* buddy = nullptr) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        // A row of several controls: the label leads to (and names) the one it is about.
        label->setBuddy(buddy ? buddy : field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(QStringLiteral("Numer ewidencyjny"), m_id, "lbIDEMPLOYEE");
    addRow(QStringLiteral("Nazwisko"), m_surname, "lbSURNAME");
    addRow(QStringLiteral("Imię"), m_name, "lbNAME");
    addRow(QStringLiteral("Email"), m_email, "lbEMAIL");
    auto* pwdRow = new QWidget(this);
    auto* pwdLayout = new QHBoxLayout(pwdRow);
    pwdLayout->setContentsMargins(0, 0, 0, 0);
    pwdLayout->addWidget(m_pwd, 1);
    pwdLayout->addWidget(m_showPwd);
    addRow(QStringLiteral("Hasło"), pwdRow, "lbPWD", m_pwd);
    setTabOrder(m_pwd, m_showPwd);
    auto* unitRow = new QWidget(this);
    auto* unitLayout = new QHBoxLayout(unitRow);
    unitLayout->setContentsMargins(0, 0, 0, 0);
    unitLayout->addWidget(m_unitList, 1);
    unitLayout->addWidget(m_dictionaries);
    unitLayout->addWidget(m_noUnit);
    addRow(QStringLiteral("Zespół"), unitRow, "lbIDDICUNIT", m_unitList);
    addRow(QStringLiteral("Nazwa pliku planu"), m_fileName, "lbFILENAME");
    auto* note = new QLabel(QStringLiteral("np. imię_nazwisko (bez rozszerzenia)"), this);
    note->setObjectName(QStringLiteral("lbFILENAMEnote"));
    grid->addWidget(note, row++, 1);
    grid->addWidget(m_dismissed, row++, 1);
    grid->setColumnMinimumWidth(1, 320);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    reloadUnits();
}

void TfOsobowa::setData(const EmployeeData& d)
{
    m_id->setText(d.id);
    m_surname->setText(d.surname);
    m_name->setText(d.name);
    m_email->setText(d.email);
    m_pwd->setText(d.pwd);
    m_showPwd->setChecked(false);
    m_fileName->setText(d.fileName);
    m_fileNameProposed = false;
    m_dismissed->setChecked(d.dismissed);
    setUnit(d.unit);
}

EmployeeData TfOsobowa::data() const
{
    EmployeeData d;
    d.id = m_id->text();
    d.surname = m_surname->text();
    d.name = m_name->text();
    d.email = m_email->text();
    d.pwd = m_pwd->text();
    d.fileName = m_fileName->text();
    d.dismissed = m_dismissed->isChecked();
    const int index = m_unitList->currentIndex();
    d.unit = index >= 0 ? m_unitList->itemData(index).toInt() : m_unit;
    return d;
}

bool TfOsobowa::showModal()
{
    m_accepted = false;
    exec();
    return m_accepted;
}

void TfOsobowa::setNumberEnabled(bool enabled)
{
    m_id->setEnabled(enabled);
}

void TfOsobowa::focusField(CardField field)
{
    QWidget* w = nullptr;
    switch (field) {
    case CardField::Number:
        w = m_id;
        break;
    case CardField::Surname:
        w = m_surname;
        break;
    case CardField::Name:
        w = m_name;
        break;
    case CardField::Email:
        w = m_email;
        break;
    case CardField::Password:
        w = m_pwd;
        break;
    case CardField::Unit:
        w = m_unitList;
        break;
    case CardField::FileName:
        w = m_fileName;
        break;
    case CardField::Dismissed:
        w = m_dismissed;
        break;
    }
    w->setFocus(Qt::OtherFocusReason);
}

void TfOsobowa::setEditable(bool editable)
{
    SetFormEditable(this, editable);
    // Showing the password changes nothing, so a card shown for viewing lets it be shown too.
    m_showPwd->setEnabled(true);
}

void TfOsobowa::showEvent(QShowEvent* event)
{
    m_accepted = false;
    QDialog::showEvent(event);
    QLineEdit* first = m_id->isEnabled() ? m_id : m_surname;
    first->setFocus(Qt::OtherFocusReason);
    first->selectAll();
}

bool TfOsobowa::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_fileName || m_fileName->isReadOnly())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        m_eatClick = false;
        // Only what is typed is filtered; pasted or filled-in text stays as it is.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const QString typed = key->text();
        const QString filtered = filterTypedFileName(typed);
        if (plain && !typed.isEmpty() && filtered != typed) {
            m_fileName->insert(filtered);
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        // Entering the empty field proposes a name, once for a card's data, selected so that
        // typing replaces it. The click that brought the focus is not let through, since it
        // would put the cursor where it landed and drop the selection.
        const QString proposal = ProposedFileName(m_name->text(), m_surname->text());
        if (!m_fileNameProposed && m_fileName->text().isEmpty() && !proposal.isEmpty()) {
            m_fileNameProposed = true;
            m_fileName->setText(proposal);
            m_fileName->selectAll();
            m_eatClick = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        }
    } else if (event->type() == QEvent::MouseButtonPress && m_eatClick) {
        m_eatClick = false;
        return true;
    } else if (event->type() == QEvent::FocusOut) {
        m_eatClick = false;
    }
    return QDialog::eventFilter(watched, event);
}

void TfOsobowa::save()
{
    // A card shown for viewing saves nothing, not even by Enter.
    if (!m_save->isVisibleTo(this))
        return;
    EmployeeData d = data();
    if (!ConfirmEmployeeCard(*this, d, m_options.sprawdzHaslo, m_dialogs))
        return;
    m_id->setText(d.id);
    m_accepted = true;
    accept();
}

void TfOsobowa::reloadUnits()
{
    const int key = data().unit;
    const QSignalBlocker block(m_unitList);
    m_unitList->clear();
    const fb::DataSet& units = m_db.DBFUnits;
    const int keyColumn = units.fieldIndex(QStringLiteral("IDDICTIONARY"));
    const int textColumn = units.fieldIndex(QStringLiteral("DESCRIPTION"));
    if (keyColumn >= 0 && textColumn >= 0)
        for (int row = 0; row < units.recordCount(); ++row)
            m_unitList->addItem(units.valueAt(row, textColumn).toString(),
                                units.valueAt(row, keyColumn).toInt());
    setUnit(key);
}

void TfOsobowa::setUnit(int key)
{
    m_unit = key;
    m_unitList->setCurrentIndex(m_unitList->findData(key));
}

} // namespace zf
