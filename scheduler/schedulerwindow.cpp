#include "scheduler/schedulerwindow.h"

#include "data/formeditable.h"
#include "data/mydatabase.h"
#include "data/picklist.h"
#include "personnel/cp1250validator.h"
#include "scheduler/datefield.h"
#include "scheduler/memolimit.h"
#include "util/dates.h"
#include "util/widgets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr int kDescriptionLength = 1000;
constexpr int kOtherLength = 254;

QWidget* row(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
    auto* w = new QWidget(parent);
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    for (QWidget* c : widgets)
        l->addWidget(c, qobject_cast<QComboBox*>(c) ? 1 : 0);
    return w;
}

} // namespace

TfScheduler::TfScheduler(TmyDataBase& db, Dialogs& dialogs, std::function<void()> editKinds,
                         QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_editKinds(std::move(editKinds)),
      m_kindList(new QComboBox(this)),
      m_date(new TDateField(QStringLiteral("fDATESINCE"), QStringLiteral("DTPDATESINCE"), this)),
      m_employeeList(new QComboBox(this)), m_description(new QPlainTextEdit(this)),
      m_other(new QLineEdit(this)), m_active(new QCheckBox(QStringLiteral("Termin aktywny"), this)),
      m_save(button(this, "SBZapisz", QStringLiteral("&Zapisz"), QStringLiteral("Zapisz zmiany"))),
      m_cancel(
          button(this, "SBAnuluj", QStringLiteral("&Anuluj"), QStringLiteral("Anuluj zmiany"))),
      m_dictionaries(
          button(this, "SBSlowniki", QStringLiteral("[...]"), QStringLiteral("Edytuj słowniki"))),
      m_noKind(
          button(this, "SBBezRodzaju", QString(), QStringLiteral("Nie wskazuj żadnego rodzaju"))),
      m_noEmployee(button(this, "SBBezPracownika", QString(),
                          QStringLiteral("Nie wskazuj żadnego pracownika")))
{
    setObjectName(QStringLiteral("TfScheduler"));
    setWindowTitle(QStringLiteral("Edytuj termin"));
    setModal(true);

    m_kindList->setObjectName(QStringLiteral("fIDDICCLASS"));
    m_kindList->setMinimumWidth(260);
    m_employeeList->setObjectName(QStringLiteral("fIDEMPLOYEE"));
    m_employeeList->setMinimumWidth(260);
    m_description->setObjectName(QStringLiteral("fDESCRIPTION"));
    m_description->setTabChangesFocus(true);
    limitMemo(m_description, kDescriptionLength);
    m_other->setObjectName(QStringLiteral("fOTHER"));
    m_other->setMaxLength(kOtherLength);
    refuseNonCp1250(m_other);
    m_active->setObjectName(QStringLiteral("fACT"));
    for (QPushButton* clear : {m_noKind, m_noEmployee})
        clear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    m_dictionaries->setMaximumWidth(fontMetrics().horizontalAdvance(m_dictionaries->text()) + 24);

    for (QObject* watched :
         {static_cast<QObject*>(m_kindList), static_cast<QObject*>(m_employeeList),
          static_cast<QObject*>(m_other), static_cast<QObject*>(m_date->edit())})
        watched->installEventFilter(this);
    connect(m_save, &QPushButton::clicked, this, &TfScheduler::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_noKind, &QPushButton::clicked, this, [this] { setKind(0); });
    connect(m_noEmployee, &QPushButton::clicked, this, [this] { setEmployee(QString()); });
    connect(m_kindList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_kind = m_kindList->itemData(index).toInt();
    });
    connect(m_employeeList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_employee = m_employeeList->itemData(index).toString();
    });
    connect(m_dictionaries, &QPushButton::clicked, this, [this] {
        if (m_editKinds)
            m_editKinds();
        // A kind added there can be chosen at once.
        m_db.Reopen(m_db.DBFTermClass);
    });
    connect(&m_db.DBFTermClass, &fb::DataSet::changed, this, &TfScheduler::reloadKinds);
    connect(&m_db.DBFEmployeesPrompt, &fb::DataSet::changed, this, &TfScheduler::reloadEmployees);

    auto* heading = new QLabel(QStringLiteral("Termin"), this);
    heading->setObjectName(QStringLiteral("lbNaglowek"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* grid = new QGridLayout;
    int line = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, QWidget* buddy) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(buddy);
        grid->addWidget(label, line, 0, Qt::AlignTop);
        grid->addWidget(field, line, 1);
        ++line;
    };
    addRow(QStringLiteral("Rodzaj terminu"), row(this, {m_kindList, m_dictionaries, m_noKind}),
           m_kindList);
    auto* format = new QLabel(QStringLiteral("DD-MM-RRRR"), this);
    format->setObjectName(QStringLiteral("lbFormatDaty"));
    addRow(QStringLiteral("Data terrminu"), row(this, {m_date, format}), m_date->edit());
    m_date->setCaption(QStringLiteral("Data terrminu"));
    addRow(QStringLiteral("Pracownik"), row(this, {m_employeeList, m_noEmployee}), m_employeeList);
    auto* note = new QLabel(
        QStringLiteral("Jeśli brakuje pracownika dopisz go w kartotece osobowej."), this);
    note->setObjectName(QStringLiteral("lbBrakPracownika"));
    grid->addWidget(note, line++, 1);
    addRow(QStringLiteral("Opis"), m_description, m_description);
    addRow(QStringLiteral("Inne"), m_other, m_other);
    grid->addWidget(m_active, line++, 1);
    grid->setColumnMinimumWidth(1, 380);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    // Tab follows the fields from top to bottom, each with its buttons.
    QWidget* order[] = {m_kindList,       m_dictionaries, m_noKind,     m_date->edit(),
                        m_date->picker(), m_employeeList, m_noEmployee, m_description,
                        m_other,          m_active,       m_save,       m_cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    reloadKinds();
    reloadEmployees();
    m_date->setText(emptyDateText());
}

void TfScheduler::setData(const DeadlineData& d)
{
    setKind(d.kind);
    m_active->setChecked(d.active);
    m_date->setText(d.date);
    setEmployee(d.employee);
    QString description = d.description;
    description.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setMemoText(m_description, description);
    m_other->setText(d.other);
}

DeadlineData TfScheduler::data() const
{
    DeadlineData d;
    d.kind = m_kind;
    d.date = m_date->text();
    d.employee = m_employee;
    d.description = m_description->toPlainText();
    d.other = m_other->text();
    d.active = m_active->isChecked();
    return d;
}

bool TfScheduler::showModal()
{
    m_accepted = false;
    exec();
    return m_accepted;
}

void TfScheduler::setEditable(bool editable)
{
    SetFormEditable(this, editable);
}

void TfScheduler::focusDate()
{
    m_date->edit()->setFocus(Qt::OtherFocusReason);
}

void TfScheduler::showEvent(QShowEvent* event)
{
    m_accepted = false;
    QDialog::showEvent(event);
    m_kindList->setFocus(Qt::OtherFocusReason);
    m_date->showTextInPicker();
    m_dictionaries->setVisible(m_save->isVisibleTo(this));
}

bool TfScheduler::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape)
        return QDialog::eventFilter(watched, event);
    // An open drop-down list takes the keys itself (they do not reach the pick list then).
    if (auto* list = qobject_cast<QComboBox*>(watched); list && list->view()->isVisible())
        return QDialog::eventFilter(watched, event);
    if (enter)
        save();
    else
        reject();
    return true;
}

void TfScheduler::save()
{
    // An editor shown for viewing saves nothing, not even by Enter.
    if (!m_save->isVisibleTo(this))
        return;
    if (!ConfirmDeadline(*this, data(), m_dialogs))
        return;
    m_accepted = true;
    accept();
}

void TfScheduler::reloadKinds()
{
    const int key = m_kind;
    {
        const QSignalBlocker block(m_kindList);
        FillPickList(m_kindList, m_db.DBFTermClass, QStringLiteral("IDDICTIONARY"),
                     QStringLiteral("DESCRIPTION"), PickKey::Integer);
    }
    setKind(key);
}

void TfScheduler::reloadEmployees()
{
    const QString id = m_employee;
    {
        const QSignalBlocker block(m_employeeList);
        FillPickList(m_employeeList, m_db.DBFEmployeesPrompt, QStringLiteral("IDEMPLOYEE"),
                     QStringLiteral("EMPLOYEE"), PickKey::Text);
    }
    setEmployee(id);
}

void TfScheduler::setKind(int key)
{
    m_kind = key;
    const QSignalBlocker block(m_kindList);
    m_kindList->setCurrentIndex(m_kindList->findData(key));
}

void TfScheduler::setEmployee(const QString& id)
{
    m_employee = id;
    const QSignalBlocker block(m_employeeList);
    m_employeeList->setCurrentIndex(id.isEmpty() ? -1 : m_employeeList->findData(id));
}

} // namespace zf
