#include "data/managedbwindow.h"

#include "data/mydatabase.h"
#include "util/widgets.h"

#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zf {

namespace {

const QString kHelpText = QStringLiteral(
    "Plik bazy danych należy utworzyć na komputerze, który będzie pełnił rolę serwera baz "
    "danych. Na tym komputerze musi być zainstalowany i uruchomiony serwer Firebird.\n\n"
    "Na pozostałych komputerach jako lokalizację bazy podaje się adres lub nazwę sieciową "
    "serwera, dwukropek i ścieżkę do pliku bazy na serwerze, np.:\n"
    "serwer-kadr:/var/lib/firebird/data/zefirant.fdb\n\n"
    "Na samym serwerze podaje się localhost, dwukropek i ścieżkę do pliku, np.:\n"
    "localhost:/var/lib/firebird/data/zefirant.fdb\n"
    "Zwykła ścieżka otworzyłaby plik z pominięciem serwera, a wtedy pozostałe komputery nie "
    "mogłyby z niego korzystać.");

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLineEdit* edit(const QString& name, bool masked, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (masked) {
        e->setEchoMode(QLineEdit::Password);
        e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    }
    return e;
}

} // namespace

TfManageDB::TfManageDB(TmyDataBase& db, Dialogs& dialogs, const QString& programFolder,
                       const QString& dataFolder, QWidget* parent)
    : QDialog(parent), m_logic(db, dialogs, programFolder, dataFolder)
{
    setObjectName(QStringLiteral("TfManageDB"));
    setWindowTitle(QStringLiteral("Zefirant PL+"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Konfiguracja bazy danych"), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pageControl"));

    // --- quick creation ---------------------------------------------------------------------
    m_tabQuick = new QWidget(m_tabs);
    m_tabQuick->setObjectName(QStringLiteral("tabQuick"));
    auto* btnQuickCreate =
        button(m_tabQuick, "btnQuickCreate", QStringLiteral("Stwórz bazę danych"),
               QStringLiteral("Konfiguruj bazę"));
    auto* currentCaption =
        new QLabel(QStringLiteral("Bieżąca lokalizacja bazy danych:"), m_tabQuick);
    m_currentLocation = wrappedLabel(ManageDatabase::kNoLocation, m_tabQuick);
    m_currentLocation->setObjectName(QStringLiteral("lblCurrentLocation"));
    m_currentLocation->setTextFormat(Qt::PlainText);
    m_currentLocation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont locationFont = m_currentLocation->font();
    locationFont.setBold(true);
    m_currentLocation->setFont(locationFont);

    auto* quickLayout = new QVBoxLayout(m_tabQuick);
    quickLayout->addWidget(wrappedLabel(
        QStringLiteral("Kliknij na przycisk poniżej by w szybki sposób założyć bazę danych z "
                       "domyślnymi ustawieniami:"),
        m_tabQuick));
    auto* quickButtonRow = new QHBoxLayout;
    quickButtonRow->addStretch();
    quickButtonRow->addWidget(btnQuickCreate);
    quickButtonRow->addStretch();
    quickLayout->addLayout(quickButtonRow);
    quickLayout->addSpacing(12);
    quickLayout->addWidget(currentCaption);
    quickLayout->addWidget(m_currentLocation);
    quickLayout->addStretch();
    quickLayout->addWidget(wrappedLabel(
        QStringLiteral("Opcje zaawansowane (np. inne hasło serwera baz danych, praca w sieci) "
                       "znajdują się na zakładce „Zaawansowane”."),
        m_tabQuick));
    m_tabs->addTab(m_tabQuick, QStringLiteral("  Szybkie zakładanie bazy   "));

    // --- advanced ----------------------------------------------------------------------------
    m_tabAdvanced = new QWidget(m_tabs);
    m_tabAdvanced->setObjectName(QStringLiteral("tabAdvanced"));

    auto* createGroup = new QGroupBox(
        QStringLiteral(" Stwórz bazę na komputerze, który będzie serwerem baz danych: "),
        m_tabAdvanced);
    createGroup->setObjectName(QStringLiteral("grpCreate"));
    m_crName = edit(QStringLiteral("crName"), false, createGroup);
    m_crUser = edit(QStringLiteral("crUser"), false, createGroup);
    m_crPassword = edit(QStringLiteral("crPassword"), true, createGroup);
    auto* btnBrowseCreate =
        button(createGroup, "btnBrowseCreate", QStringLiteral("[...]"),
               QStringLiteral("Wskaż lokalizację gdzie zostanie umieszczony plik bazy danych"));
    auto* btnCreate = button(createGroup, "btnCreate", QStringLiteral("Stwórz bazę danych"));

    auto* openGroup =
        new QGroupBox(QStringLiteral(" Wskaż istniejącą bazę umieszczoną na serwerze baz danych: "),
                      m_tabAdvanced);
    openGroup->setObjectName(QStringLiteral("grpOpen"));
    m_opName = edit(QStringLiteral("opName"), false, openGroup);
    m_opUser = edit(QStringLiteral("opUser"), false, openGroup);
    m_opPassword = edit(QStringLiteral("opPassword"), true, openGroup);
    auto* btnBrowseOpen =
        button(openGroup, "btnBrowseOpen", QStringLiteral("[...]"),
               QStringLiteral("Wskaż lokalizację istniejącej lokalnej bazy danych"));
    auto* btnOpen = button(openGroup, "btnOpen", QStringLiteral("Otwórz istniejącą"));

    // Both groups share the widths of the label and note columns so their fields line up.
    const QFontMetrics metrics(font());
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("Nazwa i lokalizacja")) + 12;
    const int noteWidth = metrics.horizontalAdvance(QStringLiteral("domyślnie:  lanternox")) + 12;
    btnBrowseCreate->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("[...]")) + 24);
    btnBrowseOpen->setFixedWidth(btnBrowseCreate->width());
    const auto fillGroup =
        [labelWidth, noteWidth](QGroupBox* group, QLineEdit* name, QPushButton* browse,
                                QLineEdit* user, const QString& userNote, QLineEdit* password,
                                const QString& passwordNote, QPushButton* action) {
            auto* grid = new QGridLayout(group);
            grid->setColumnMinimumWidth(0, labelWidth);
            grid->setColumnStretch(1, 1);
            grid->setColumnMinimumWidth(2, noteWidth);
            const auto addRow = [grid, group](int row, const QString& caption, QLineEdit* field) {
                auto* label = new QLabel(caption, group);
                label->setBuddy(field);
                grid->addWidget(label, row, 0);
                grid->addWidget(field, row, 1);
            };
            addRow(0, QStringLiteral("Nazwa i lokalizacja"), name);
            grid->addWidget(browse, 0, 2, Qt::AlignLeft);
            addRow(1, QStringLiteral("Użytkownik"), user);
            if (!userNote.isEmpty())
                grid->addWidget(new QLabel(userNote, group), 1, 2);
            addRow(2, QStringLiteral("Hasło"), password);
            if (!passwordNote.isEmpty())
                grid->addWidget(new QLabel(passwordNote, group), 2, 2);
            grid->addWidget(action, 3, 1, 1, 2, Qt::AlignRight);
        };
    fillGroup(createGroup, m_crName, btnBrowseCreate, m_crUser,
              QStringLiteral("domyślnie:  SYSDBA"), m_crPassword,
              QStringLiteral("domyślnie:  lanternox"), btnCreate);
    fillGroup(openGroup, m_opName, btnBrowseOpen, m_opUser, QString(), m_opPassword, QString(),
              btnOpen);

    m_help = new QPlainTextEdit(kHelpText, m_tabAdvanced);
    m_help->setObjectName(QStringLiteral("memoHelp"));
    m_help->setReadOnly(true);
    m_help->setAccessibleName(QStringLiteral("Pomoc: lokalizacja bazy na serwerze"));
    m_help->setMinimumHeight(metrics.lineSpacing() * 10 + 8);

    auto* advancedLayout = new QVBoxLayout(m_tabAdvanced);
    advancedLayout->addWidget(createGroup);
    advancedLayout->addWidget(openGroup);
    advancedLayout->addWidget(m_help, 1);
    m_tabs->addTab(m_tabAdvanced, QStringLiteral("    Zaawansowane   "));

    // --- window -----------------------------------------------------------------------------
    auto* btnClose = button(this, "btnClose", QStringLiteral("&Zamknij"));
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addStretch();
    bottomRow->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottomRow);
    setMinimumWidth(600);

    setTabOrder(m_tabs, btnQuickCreate);
    setTabOrder(btnQuickCreate, m_crName);
    setTabOrder(m_crName, btnBrowseCreate);
    setTabOrder(btnBrowseCreate, m_crUser);
    setTabOrder(m_crUser, m_crPassword);
    setTabOrder(m_crPassword, btnCreate);
    setTabOrder(btnCreate, m_opName);
    setTabOrder(m_opName, btnBrowseOpen);
    setTabOrder(btnBrowseOpen, m_opUser);
    setTabOrder(m_opUser, m_opPassword);
    setTabOrder(m_opPassword, btnOpen);
    setTabOrder(btnOpen, m_help);
    setTabOrder(m_help, btnClose);

    connect(btnQuickCreate, &QPushButton::clicked, this, &TfManageDB::QuickCreate);
    connect(btnCreate, &QPushButton::clicked, this, &TfManageDB::CreateDatabase);
    connect(btnOpen, &QPushButton::clicked, this, &TfManageDB::OpenExisting);
    connect(btnBrowseCreate, &QPushButton::clicked, this, &TfManageDB::BrowseCreate);
    connect(btnBrowseOpen, &QPushButton::clicked, this, &TfManageDB::BrowseOpen);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfManageDB::ShowDatabaseManagement()
{
    exec();
}

void TfManageDB::showEvent(QShowEvent* event)
{
    // Every showing starts from the module's settings; nothing typed earlier survives.
    if (!event->spontaneous()) {
        m_logic.prepareForShow();
        logicToFields();
        m_currentLocation->setText(m_logic.currentLocationText);
        m_tabs->setCurrentWidget(m_tabQuick);
    }
    QDialog::showEvent(event);
}

void TfManageDB::fieldsToLogic()
{
    m_logic.crName = m_crName->text();
    m_logic.crUser = m_crUser->text();
    m_logic.crPassword = m_crPassword->text();
    m_logic.opName = m_opName->text();
    m_logic.opUser = m_opUser->text();
    m_logic.opPassword = m_opPassword->text();
}

void TfManageDB::logicToFields()
{
    m_crName->setText(m_logic.crName);
    m_crUser->setText(m_logic.crUser);
    m_crPassword->setText(m_logic.crPassword);
    m_opName->setText(m_logic.opName);
    m_opUser->setText(m_logic.opUser);
    m_opPassword->setText(m_logic.opPassword);
}

QLineEdit* TfManageDB::editOf(ManageDatabase::Field field) const
{
    using F = ManageDatabase::Field;
    switch (field) {
    case F::crName:
        return m_crName;
    case F::crUser:
        return m_crUser;
    case F::crPassword:
        return m_crPassword;
    case F::opName:
        return m_opName;
    case F::opUser:
        return m_opUser;
    case F::opPassword:
        return m_opPassword;
    case F::None:
        break;
    }
    return nullptr;
}

void TfManageDB::apply(const ManageDatabase::Outcome& outcome)
{
    logicToFields();
    if (outcome.close) {
        accept();
        return;
    }
    if (QLineEdit* e = editOf(outcome.focus)) {
        m_tabs->setCurrentWidget(m_tabAdvanced);
        e->setFocus();
        e->selectAll();
    }
}

void TfManageDB::QuickCreate()
{
    fieldsToLogic();
    apply(m_logic.QuickCreate());
}

void TfManageDB::CreateDatabase()
{
    fieldsToLogic();
    apply(m_logic.CreateDatabase());
}

void TfManageDB::OpenExisting()
{
    fieldsToLogic();
    apply(m_logic.OpenExisting());
}

void TfManageDB::BrowseCreate()
{
    fieldsToLogic();
    if (m_logic.BrowseCreate())
        m_crName->setText(m_logic.crName);
}

void TfManageDB::BrowseOpen()
{
    fieldsToLogic();
    if (m_logic.BrowseOpen())
        m_opName->setText(m_logic.opName);
}

} // namespace zf
