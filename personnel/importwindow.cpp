#include "personnel/importwindow.h"

#include "util/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace zf {

namespace {

struct FieldList
{
    const char* name;
    QString label;
    bool required;
};

const std::array<FieldList, EmployeeImport::FieldCount> kFieldLists = {{
    {"cb1", QStringLiteral("Numer ewidencyjny"), true},
    {"cb2", QStringLiteral("Imię"), false},
    {"cb3", QStringLiteral("Nazwisko"), true},
    {"cb4", QStringLiteral("Zespół"), false},
    {"cb5", QStringLiteral("Email"), false},
    {"cb6", QStringLiteral("Hasło"), true},
    {"cb7", QStringLiteral("Nazwa pliku planu"), true},
    {"cb8", QStringLiteral("Pracownik zwolniony?"), false},
}};

constexpr int kSheetColumnWidth = 100;
constexpr int kStatusColumnWidth = 100;
constexpr int kRemarkColumnWidth = 200;

QComboBox* editableList(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    return c;
}

} // namespace

TfImportPracownik::TfImportPracownik(TmyDataBase& db, Dialogs& dialogs,
                                     const QString& programFolder, const QString& dataFolder,
                                     QWidget* parent)
    : QDialog(parent), m_logic(db, dialogs, programFolder, dataFolder)
{
    setObjectName(QStringLiteral("TfImportPracownik"));
    setWindowTitle(QStringLiteral("Import pracowników"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Import pracowników z arkusza .CSV"), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);

    // --- settings -----------------------------------------------------------------------------
    auto* settings = new QGroupBox(QStringLiteral("Ustawienia"), this);
    settings->setObjectName(QStringLiteral("grpSettings"));
    m_separator = editableList(QStringLiteral("separator"),
                               {QStringLiteral(";"), QStringLiteral(",")}, settings);
    m_separator->lineEdit()->setMaxLength(1);
    m_separator->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMM")) + 32);
    m_symbolZW = editableList(QStringLiteral("symbolZW"),
                              {QStringLiteral("T"), QStringLiteral("TAK"), QStringLiteral("TRUE"),
                               QStringLiteral("YES"), QStringLiteral("+"), QStringLiteral("1")},
                              settings);
    m_symbolZW->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMM")) + 32);
    m_pominPierwszy = new QCheckBox(QStringLiteral("Pomiń pierwszy wiersz"), settings);
    m_pominPierwszy->setObjectName(QStringLiteral("pominPierwszy"));
    m_pominPierwszy->setToolTip(
        QStringLiteral("Pomiń podczas importu pierwszy wiersz arkusza (np. nagłówki kolumn)"));
    m_nieCzysc = new QCheckBox(QStringLiteral("Nie czyść ustawień po wczytaniu .CSV"), settings);
    m_nieCzysc->setObjectName(QStringLiteral("nieCzysc"));
    m_nieCzysc->setChecked(true);

    auto* settingsLayout = new QGridLayout(settings);
    auto* separatorLabel = new QLabel(QStringLiteral("Separator kolumn"), settings);
    separatorLabel->setBuddy(m_separator);
    auto* symbolLabel =
        new QLabel(QStringLiteral("Symbol oznaczający pracownika zwolnionego"), settings);
    symbolLabel->setBuddy(m_symbolZW);
    settingsLayout->addWidget(separatorLabel, 0, 0);
    settingsLayout->addWidget(m_separator, 0, 1, Qt::AlignLeft);
    settingsLayout->addWidget(symbolLabel, 1, 0);
    settingsLayout->addWidget(m_symbolZW, 1, 1, Qt::AlignLeft);
    settingsLayout->addWidget(m_pominPierwszy, 2, 0, 1, 2);
    settingsLayout->addWidget(m_nieCzysc, 3, 0, 1, 2);
    settingsLayout->setRowStretch(4, 1);

    // --- field assignments ----------------------------------------------------------------------
    auto* fields = new QGroupBox(QStringLiteral("Przypisanie kolumn arkusza"), this);
    fields->setObjectName(QStringLiteral("grpFields"));
    auto* fieldsLayout = new QGridLayout(fields);
    const int listWidth = fontMetrics().horizontalAdvance(QStringLiteral("Kolumna #0000")) + 48;
    for (int i = 0; i < EmployeeImport::FieldCount; ++i) {
        const FieldList& f = kFieldLists[static_cast<std::size_t>(i)];
        auto* list = new QComboBox(fields);
        list->setObjectName(QString::fromLatin1(f.name));
        list->addItem(EmployeeImport::kNoData);
        list->setMinimumWidth(listWidth);
        auto* label = new QLabel(f.required ? f.label + QStringLiteral(" *)") : f.label, fields);
        label->setBuddy(list);
        const int row = i % 4;
        const int column = (i / 4) * 2;
        fieldsLayout->addWidget(label, row, column);
        fieldsLayout->addWidget(list, row, column + 1);
        m_cb[static_cast<std::size_t>(i)] = list;
    }
    fieldsLayout->setColumnStretch(1, 1);
    fieldsLayout->setColumnStretch(3, 1);
    fieldsLayout->setColumnMinimumWidth(
        2, fontMetrics().horizontalAdvance(QStringLiteral("Pracownik zwolniony?")) + 24);
    auto* requiredNote = new QLabel(QStringLiteral("*) pole wymagane"), fields);
    fieldsLayout->addWidget(requiredNote, 4, 0, 1, 4);

    auto* top = new QHBoxLayout;
    top->addWidget(settings);
    top->addWidget(fields, 1);

    // --- buttons ------------------------------------------------------------------------------
    m_load = button(this, "SBZaladuj", QStringLiteral("Załaduj &arkusz .CSV"),
                    QStringLiteral("Wczytaj arkusz .CSV do modułu importującego dane"));
    m_verify = button(this, "SBZweryfikuj", QStringLiteral("Zw&eryfikuj"),
                      QStringLiteral("Weryfikuje poprawność arkusza"));
    m_import = button(this, "SBImportuj", QStringLiteral("Importuj"));
    m_save = button(this, "SBZapiszLog", QStringLiteral("Zapisz log"),
                    QStringLiteral("Zapisz arkusz .CSV wraz z informacjami o wyniku importu"));
    m_close = button(this, "SBZamknij", QStringLiteral("&Zamknij"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_load);
    buttons->addWidget(m_verify);
    buttons->addWidget(m_import);
    buttons->addWidget(m_save);
    buttons->addStretch();
    buttons->addWidget(m_close);

    // --- the sheet
    // --------------------------------------------------------------------------------
    auto* csvLabel = new QLabel(QStringLiteral("Obraz załadowanego arkusza:"), this);
    m_csv = new QTableView(this);
    m_csv->setObjectName(QStringLiteral("CSV"));
    m_csv->setAccessibleName(QStringLiteral("Zawartość pliku CSV"));
    csvLabel->setBuddy(m_csv);
    m_csv->setModel(&m_logic.grid());
    m_csv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_csv->setWordWrap(false);
    m_csv->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_csv->horizontalHeader()->setSectionsMovable(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addWidget(csvLabel);
    layout->addWidget(m_csv, 1);
    resize(960, 640);

    connect(m_load, &QPushButton::clicked, this, &TfImportPracownik::LoadSheet);
    connect(m_verify, &QPushButton::clicked, this, &TfImportPracownik::VerifySheet);
    connect(m_import, &QPushButton::clicked, this, &TfImportPracownik::ImportSheet);
    connect(m_save, &QPushButton::clicked, this, &TfImportPracownik::SaveSheet);
    connect(m_close, &QPushButton::clicked, this, &TfImportPracownik::reject);
    for (QComboBox* list : m_cb)
        connect(list, &QComboBox::currentIndexChanged, this, &TfImportPracownik::settingsEdited);
    connect(m_pominPierwszy, &QCheckBox::toggled, this, &TfImportPracownik::settingsEdited);
    connect(m_symbolZW, &QComboBox::editTextChanged, this, &TfImportPracownik::settingsEdited);
    connect(&m_logic.grid(), &QAbstractItemModel::modelReset, this, &TfImportPracownik::layoutGrid);
    m_logic.onSheetLoaded = [this] { logicToFields(); };

    layoutGrid();
    updateButtons();
}

void TfImportPracownik::ShowEmployeeImport()
{
    exec();
}

void TfImportPracownik::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_logic.PrepareForShow();
        logicToFields();
        m_csv->setFocus();
    }
    QDialog::showEvent(event);
}

void TfImportPracownik::reject()
{
    fieldsToLogic();
    m_logic.Close();
    QDialog::reject();
}

bool TfImportPracownik::escapeCloses() const
{
    const QWidget* focus = focusWidget();
    if (!focus)
        return true;
    if (focus == m_csv || m_csv->isAncestorOf(focus) || focus == m_pominPierwszy)
        return true;
    for (const QComboBox* list : m_cb)
        if (focus == list)
            return true;
    return false;
}

void TfImportPracownik::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (escapeCloses())
            reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfImportPracownik::fieldsToLogic()
{
    for (int i = 0; i < EmployeeImport::FieldCount; ++i)
        m_logic.cb[static_cast<std::size_t>(i)] =
            std::max(0, m_cb[static_cast<std::size_t>(i)]->currentIndex());
    m_logic.separator = m_separator->currentText();
    m_logic.symbolZW = m_symbolZW->currentText();
    m_logic.pominPierwszy = m_pominPierwszy->isChecked();
    m_logic.nieCzysc = m_nieCzysc->isChecked();
}

void TfImportPracownik::logicToFields()
{
    const QStringList choices = m_logic.Choices();
    for (int i = 0; i < EmployeeImport::FieldCount; ++i) {
        QComboBox* list = m_cb[static_cast<std::size_t>(i)];
        const QSignalBlocker blocker(list);
        // The items depend on the number of columns only.
        if (list->count() != choices.size()) {
            list->clear();
            list->addItems(choices);
        }
        list->setCurrentIndex(m_logic.cb[static_cast<std::size_t>(i)]);
    }
    {
        const QSignalBlocker blocker(m_separator);
        m_separator->setCurrentText(m_logic.separator);
    }
    {
        const QSignalBlocker blocker(m_symbolZW);
        m_symbolZW->setCurrentText(m_logic.symbolZW);
    }
    {
        const QSignalBlocker blocker(m_pominPierwszy);
        m_pominPierwszy->setChecked(m_logic.pominPierwszy);
    }
    m_nieCzysc->setChecked(m_logic.nieCzysc);
    updateButtons();
}

void TfImportPracownik::updateButtons()
{
    m_verify->setEnabled(m_logic.verifyEnabled);
    m_import->setEnabled(m_logic.importEnabled);
    m_save->setEnabled(m_logic.saveEnabled);
}

void TfImportPracownik::layoutGrid()
{
    const ImportGrid& grid = m_logic.grid();
    // Row 0 holds the titles, which the header shows and keeps in sight while scrolling.
    m_csv->setRowHidden(0, true);
    if (!grid.isLoaded()) {
        m_csv->setColumnWidth(0, kSheetColumnWidth);
        return;
    }
    for (int c = 0; c < grid.sheetColumns(); ++c)
        m_csv->setColumnWidth(c, kSheetColumnWidth);
    m_csv->setColumnWidth(grid.statusColumn(), kStatusColumnWidth);
    m_csv->setColumnWidth(grid.remarkColumn(), kRemarkColumnWidth);
}

void TfImportPracownik::settingsEdited()
{
    fieldsToLogic();
    m_logic.SettingsChanged();
    updateButtons();
}

void TfImportPracownik::LoadSheet()
{
    fieldsToLogic();
    m_logic.LoadSheet();
    logicToFields();
}

void TfImportPracownik::VerifySheet()
{
    fieldsToLogic();
    m_logic.VerifySheet();
    logicToFields();
}

void TfImportPracownik::ImportSheet()
{
    fieldsToLogic();
    m_logic.ImportSheet();
    logicToFields();
}

void TfImportPracownik::SaveSheet()
{
    fieldsToLogic();
    m_logic.SaveSheet();
    logicToFields();
}

} // namespace zf
