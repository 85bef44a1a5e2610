#include "app/optionswindow.h"

#include "app/centre.h"
#include "app/mailoptionspage.h"
#include "data/programoptions.h"
#include "util/textcodec.h"
#include "util/widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>

namespace zf {

namespace {

// Passwords are stored as Windows-1250; a character it cannot hold is refused as it is typed
// rather than stored as something else.
class PasswordValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return isCp1250Encodable(input) ? Acceptable : Invalid;
    }
};

QCheckBox* tickBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLineEdit* lineEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLineEdit* passwordEdit(QWidget* parent, const char* name, QValidator* validator)
{
    QLineEdit* edit = lineEdit(parent, name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setValidator(validator);
    // USERS.PWD holds 100 characters; a longer text would only fail in the engine.
    edit->setMaxLength(100);
    return edit;
}

QLineEdit* shownUser(QWidget* parent, const char* name, const QString& user)
{
    QLineEdit* edit = lineEdit(parent, name);
    edit->setText(user);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QLabel* note(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: gray;"));
    return label;
}

} // namespace

TfOpcjeProgramu::TfOpcjeProgramu(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options,
                                 OptionsStore& store, QWidget* parent)
    : QDialog(parent), m_logic(db, dialogs, options, store)
{
    setObjectName(QStringLiteral("TfOpcjeProgramu"));
    setWindowTitle(QStringLiteral("Opcje programu"));
    setModal(true);
    auto* validator = new PasswordValidator(this);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcOpcje"));

    // --- "Opcje Programu" ---------------------------------------------------------------------
    m_optionsPage = new QWidget(m_pages);
    m_optionsPage->setObjectName(QStringLiteral("tsOpcje"));
    m_pokazujPoradeDnia =
        tickBox(m_optionsPage, "cbPokazujPoradeDnia",
                QStringLiteral("Pokazuj poradę dnia podczas uruchomienia programu"));
    m_pytajPrzedKasowaniem = tickBox(m_optionsPage, "cbPytajPrzedKasowaniem",
                                     QStringLiteral("Pytaj przed kasowaniem danych w tabelach"));
    m_pytajPrzedZamknieciem = tickBox(m_optionsPage, "cbPytajPrzedZamknieciem",
                                      QStringLiteral("Pytaj przed zamknięciem programu"));
    m_sprawdzajNotatki = tickBox(m_optionsPage, "cbSprawdzajNotatki",
                                 QStringLiteral("Włącz funkcję sprawdzania notatek"));
    m_sprawdzajTerminy = tickBox(m_optionsPage, "cbSprawdzajTerminy",
                                 QStringLiteral("Włącz funckję sprawdzania terminów"));
    m_sprawdzZakresUrlopu = tickBox(
        m_optionsPage, "cbSprawdzZakresUrlopu",
        QStringLiteral("Sprawdzaj grafik pod kątem maksymalnej ilości dni przysługującego urlopy"));
    m_sprawdzHaslo = tickBox(m_optionsPage, "cbSprawdzHaslo",
                             QStringLiteral("Sprawdź czy podano hasło dla pracownika"));
    m_sprawdzajKodeksPracy = tickBox(m_optionsPage, "cbSprawdzajKodeksPracy",
                                     QStringLiteral("Sprawdzaj plan z &Kodeksem pracy"));
    m_sprawdzajKodeksPracy->setToolTip(
        QStringLiteral("Podgląd planu, edycja grafiku, zatwierdzanie i zestawienie wskazują "
                       "pracowników bez 14 kolejnych dni urlopu (art. 162 KP) i z zaległym "
                       "urlopem niezaplanowanym do 30 września (art. 168 KP)"));
    m_dataWsteczna = lineEdit(m_optionsPage, "eDataWsteczna");
    m_dataWstecznaMin = lineEdit(m_optionsPage, "eDataWstecznaMin");
    for (QLineEdit* e : {m_dataWsteczna, m_dataWstecznaMin})
        e->setMaximumWidth(80);
    m_disallowEdit = tickBox(m_optionsPage, "cbDisallowEdit",
                             QStringLiteral("Zablokuj możliwość edycji zatwierdzonego grafiku "
                                            "pracownikowi logującemu się numerem ewidencyjnym"));

    auto* days = new QGridLayout;
    auto* beforeLabel =
        new QLabel(QStringLiteral("Ile dni przed terminem informować "), m_optionsPage);
    beforeLabel->setBuddy(m_dataWsteczna);
    auto* afterLabel = new QLabel(QStringLiteral("Ile dni po terminie informować "), m_optionsPage);
    afterLabel->setBuddy(m_dataWstecznaMin);
    days->addWidget(beforeLabel, 0, 0);
    days->addWidget(m_dataWsteczna, 0, 1);
    days->addWidget(afterLabel, 1, 0);
    days->addWidget(m_dataWstecznaMin, 1, 1);
    QLabel* endless = note(m_optionsPage, QStringLiteral("Wartość 0 oznacza bezterminowo"));
    endless->setWordWrap(false);
    days->addWidget(endless, 1, 2);
    days->setColumnStretch(3, 1);

    auto* optionsLayout = new QVBoxLayout(m_optionsPage);
    for (QCheckBox* box :
         {m_pokazujPoradeDnia, m_pytajPrzedKasowaniem, m_pytajPrzedZamknieciem, m_sprawdzajNotatki,
          m_sprawdzajTerminy, m_sprawdzZakresUrlopu, m_sprawdzHaslo, m_sprawdzajKodeksPracy})
        optionsLayout->addWidget(box);
    optionsLayout->addSpacing(8);
    optionsLayout->addLayout(days);
    optionsLayout->addSpacing(8);
    optionsLayout->addWidget(m_disallowEdit);
    optionsLayout->addStretch();
    m_pages->addTab(m_optionsPage, QStringLiteral("Opcje Programu"));

    // --- "Zmiana hasła" -------------------------------------------------------------------------
    auto* passwordPage = new QWidget(m_pages);
    passwordPage->setObjectName(QStringLiteral("tsHaslo"));

    auto* adminGroup = new QGroupBox(
        QStringLiteral("Administrator: Zmiana hasła dostępu do programu: "), passwordPage);
    adminGroup->setObjectName(QStringLiteral("gbAdmin"));
    m_adminCurrent = passwordEdit(adminGroup, "eAdminBiezace", validator);
    m_adminNew = passwordEdit(adminGroup, "eAdminNowe", validator);
    m_adminRepeat = passwordEdit(adminGroup, "eAdminPowtorz", validator);
    QPushButton* adminChange = button(adminGroup, "SBZmienAdmin", QStringLiteral("Z&mień hasło"));
    auto* adminGrid = new QGridLayout(adminGroup);
    adminGrid->addWidget(new QLabel(QStringLiteral("Użytkownik"), adminGroup), 0, 0);
    adminGrid->addWidget(shownUser(adminGroup, "eAdminLogin", QStringLiteral("admin")), 0, 1);
    adminGrid->addWidget(note(adminGroup, QStringLiteral("Administrator posiada pełne uprawnienia "
                                                         "i może dokonywać zmian w programie")),
                         0, 2, 4, 1, Qt::AlignTop);
    const std::pair<const char*, QLineEdit*> adminFields[] = {{"Hasło bieżące", m_adminCurrent},
                                                              {"Nowe hasło", m_adminNew},
                                                              {"Powtórz hasło", m_adminRepeat}};
    int row = 1;
    for (const auto& [caption, field] : adminFields) {
        auto* label = new QLabel(QString::fromUtf8(caption), adminGroup);
        label->setBuddy(field);
        adminGrid->addWidget(label, row, 0);
        adminGrid->addWidget(field, row, 1);
        ++row;
    }
    adminGrid->addWidget(adminChange, row, 1);
    adminGrid->setColumnStretch(2, 1);

    auto* employeeGroup = new QGroupBox(
        QStringLiteral("Pracownik: Zmiana hasła dostępu do programu: "), passwordPage);
    employeeGroup->setObjectName(QStringLiteral("gbPracownik"));
    m_employeeNew = passwordEdit(employeeGroup, "ePracNowe", validator);
    m_employeeRepeat = passwordEdit(employeeGroup, "ePracPowtorz", validator);
    QPushButton* employeeChange =
        button(employeeGroup, "SBZmienPrac", QStringLiteral("Zmień &hasło"));
    auto* employeeGrid = new QGridLayout(employeeGroup);
    employeeGrid->addWidget(new QLabel(QStringLiteral("Użytkownik"), employeeGroup), 0, 0);
    employeeGrid->addWidget(shownUser(employeeGroup, "ePracLogin", QStringLiteral("pracownik")), 0,
                            1);
    employeeGrid->addWidget(
        note(employeeGroup, QStringLiteral("Pracownik posiada organiczone uprawnienia i może "
                                           "jedynie przeglądać dane bez ich modyfikacji")),
        0, 2, 3, 1, Qt::AlignTop);
    const std::pair<const char*, QLineEdit*> employeeFields[] = {
        {"Nowe hasło", m_employeeNew}, {"Powtórz hasło", m_employeeRepeat}};
    row = 1;
    for (const auto& [caption, field] : employeeFields) {
        auto* label = new QLabel(QString::fromUtf8(caption), employeeGroup);
        label->setBuddy(field);
        employeeGrid->addWidget(label, row, 0);
        employeeGrid->addWidget(field, row, 1);
        ++row;
    }
    employeeGrid->addWidget(employeeChange, row, 1);
    employeeGrid->setColumnStretch(2, 1);

    // Both groups' fields in one column.
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("Hasło bieżące")) + 12;
    adminGrid->setColumnMinimumWidth(0, labelWidth);
    employeeGrid->setColumnMinimumWidth(0, labelWidth);

    m_allowEmplLogin =
        tickBox(passwordPage, "cbAllowEmplLogin",
                QStringLiteral("Pozwól logować się do programu pracownikom na podstawie numeru "
                               "ewidencyjnego / hasła z kartoteki osobowej"));

    auto* passwordLayout = new QVBoxLayout(passwordPage);
    passwordLayout->addWidget(adminGroup);
    passwordLayout->addWidget(employeeGroup);
    passwordLayout->addWidget(m_allowEmplLogin);
    passwordLayout->addStretch();
    m_pages->addTab(passwordPage, QStringLiteral("Zmiana hasła"));
    m_mailPage = new TfMailOptionsPage(dialogs, store.iniPath(), m_pages);
    m_pages->addTab(m_mailPage, QStringLiteral("Poczta"));

    // --- buttons --------------------------------------------------------------------------------
    QPushButton* save = button(this, "SBZapisz", QStringLiteral("&Zapisz"));
    QPushButton* cancel = button(this, "SBAnuluj", QStringLiteral("&Anuluj"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &TfOpcjeProgramu::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(adminChange, &QPushButton::clicked, this, &TfOpcjeProgramu::onAdminPassword);
    connect(employeeChange, &QPushButton::clicked, this, &TfOpcjeProgramu::onEmployeePassword);
    resize(620, 460);
}

bool TfOpcjeProgramu::ShowOptions()
{
    refill();
    centreOnScreen(*this);
    exec();
    return m_saved;
}

void TfOpcjeProgramu::refill()
{
    m_saved = false;
    const OptionsForm f = m_logic.Load();
    m_mailPage->load();
    m_allowEmplLogin->setChecked(f.allowEmplLogin);
    m_disallowEdit->setChecked(f.disallowEdit);
    m_pages->setCurrentWidget(m_optionsPage);
    m_pokazujPoradeDnia->setChecked(f.pokazujPoradeDnia);
    m_pytajPrzedKasowaniem->setChecked(f.pytajPrzedKasowaniem);
    m_pytajPrzedZamknieciem->setChecked(f.pytajPrzedZamknieciem);
    m_sprawdzajNotatki->setChecked(f.sprawdzajNotatki);
    m_sprawdzajTerminy->setChecked(f.sprawdzajTerminy);
    m_sprawdzZakresUrlopu->setChecked(f.sprawdzZakresUrlopu);
    m_sprawdzHaslo->setChecked(f.sprawdzHaslo);
    m_sprawdzajKodeksPracy->setChecked(f.sprawdzajKodeksPracy);
    m_dataWsteczna->setText(f.dataWsteczna);
    m_dataWstecznaMin->setText(f.dataWstecznaMin);
    for (QLineEdit* e :
         {m_adminCurrent, m_adminNew, m_adminRepeat, m_employeeNew, m_employeeRepeat})
        e->clear();
}

OptionsForm TfOpcjeProgramu::form() const
{
    OptionsForm f;
    f.pokazujPoradeDnia = m_pokazujPoradeDnia->isChecked();
    f.pytajPrzedKasowaniem = m_pytajPrzedKasowaniem->isChecked();
    f.pytajPrzedZamknieciem = m_pytajPrzedZamknieciem->isChecked();
    f.sprawdzajNotatki = m_sprawdzajNotatki->isChecked();
    f.sprawdzajTerminy = m_sprawdzajTerminy->isChecked();
    f.sprawdzZakresUrlopu = m_sprawdzZakresUrlopu->isChecked();
    f.sprawdzHaslo = m_sprawdzHaslo->isChecked();
    f.sprawdzajKodeksPracy = m_sprawdzajKodeksPracy->isChecked();
    f.dataWsteczna = m_dataWsteczna->text();
    f.dataWstecznaMin = m_dataWstecznaMin->text();
    f.disallowEdit = m_disallowEdit->isChecked();
    f.allowEmplLogin = m_allowEmplLogin->isChecked();
    return f;
}

void TfOpcjeProgramu::onSave()
{
    if (!m_mailPage->save()) {
        m_pages->setCurrentWidget(m_mailPage);
        return;
    }
    m_logic.Save(form());
    m_saved = true;
    accept();
}

void TfOpcjeProgramu::focusIfRefused(OptionsLogic::PasswordResult result, QLineEdit* field)
{
    if (result != OptionsLogic::PasswordResult::Mismatch &&
        result != OptionsLogic::PasswordResult::TooShort)
        return;
    field->selectAll();
    field->setFocus();
}

void TfOpcjeProgramu::onAdminPassword()
{
    focusIfRefused(m_logic.ChangeAdminPassword(m_adminCurrent->text(), m_adminNew->text(),
                                               m_adminRepeat->text()),
                   m_adminNew);
}

void TfOpcjeProgramu::onEmployeePassword()
{
    focusIfRefused(m_logic.ChangeEmployeePassword(m_employeeNew->text(), m_employeeRepeat->text()),
                   m_employeeNew);
}

} // namespace zf
