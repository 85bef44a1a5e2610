#include "personnel/biblioteka.h"

#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "personnel/cp1250validator.h"
#include "util/widgets.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace zf {

namespace {

} // namespace

// --- TfEditBibliotekaAll ------------------------------------------------------------------------

TfEditBibliotekaAll::TfEditBibliotekaAll(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_label(new QLabel(QStringLiteral("Opis"), this)), m_text(new QLineEdit(this)),
      m_hiddenLabel(new QLabel(QStringLiteral("Uzupełnienie"), this)),
      m_hidden(new QLineEdit(this)),
      m_minimumLabel(new QLabel(QStringLiteral("&Minimalna obsada"), this)),
      m_minimum(new QSpinBox(this)),
      m_save(button(this, "SBZapisz", QStringLiteral("&Zapisz"), QStringLiteral("Zapisz zmiany"))),
      m_cancel(button(this, "SBAnuluj", QStringLiteral("&Anuluj"), QStringLiteral("Anuluj zmiany")))
{
    setObjectName(QStringLiteral("TfEditBibliotekaAll"));
    setModal(true);
    m_label->setObjectName(QStringLiteral("lbOpis"));
    m_label->setBuddy(m_text);
    m_text->setObjectName(QStringLiteral("FOpis"));
    m_text->setMaxLength(100);
    m_text->setMinimumWidth(360);
    refuseNonCp1250(m_text);
    m_hiddenLabel->setObjectName(QStringLiteral("lbUzup1"));
    m_hidden->setObjectName(QStringLiteral("FUzup1"));
    m_hidden->setMaxLength(20);
    m_hiddenLabel->hide();
    m_hidden->hide();
    m_minimumLabel->setObjectName(QStringLiteral("lbMinObsada"));
    m_minimumLabel->setBuddy(m_minimum);
    m_minimum->setObjectName(QStringLiteral("FMinObsada"));
    m_minimum->setRange(0, 9999);
    m_minimum->setSpecialValueText(QStringLiteral("brak"));
    m_minimum->setToolTip(QStringLiteral(
        "Najmniejsza liczba pracowników zespołu obecnych w każdym dniu roboczym; 0 - bez progu"));
    m_minimumLabel->hide();
    m_minimum->hide();

    connect(m_text, &QLineEdit::returnPressed, this, &TfEditBibliotekaAll::save);
    connect(m_save, &QPushButton::clicked, this, &TfEditBibliotekaAll::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_label);
    layout->addWidget(m_text);
    layout->addWidget(m_hiddenLabel);
    layout->addWidget(m_hidden);
    layout->addWidget(m_minimumLabel);
    layout->addWidget(m_minimum);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

bool TfEditBibliotekaAll::editEntry(const QString& caption, const QString& label,
                                    DictionaryEntry& entry)
{
    setWindowTitle(caption);
    m_label->setText(label);
    m_text->setText(entry.description);
    m_hidden->setText(entry.additional1);
    m_accepted = false;
    exec();
    if (!m_accepted)
        return false;
    entry.description = m_text->text();
    entry.additional1 = m_hidden->text();
    return true;
}

void TfEditBibliotekaAll::setMinimumStaff(bool shown, int value, bool editable)
{
    m_minimumLabel->setVisible(shown);
    m_minimum->setVisible(shown);
    m_minimum->setValue(value);
    m_minimum->setReadOnly(!editable);
    m_minimum->setEnabled(editable);
}

int TfEditBibliotekaAll::minimumStaff() const
{
    return m_minimum->value();
}

void TfEditBibliotekaAll::showEvent(QShowEvent* event)
{
    m_accepted = false;
    QDialog::showEvent(event);
    m_text->setFocus(Qt::OtherFocusReason);
    m_text->selectAll();
}

void TfEditBibliotekaAll::save()
{
    if (!ConfirmDictionaryEntry(m_text->text(), m_dialogs)) {
        m_text->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_accepted = true;
    accept();
}

// --- TfBiblioteka -------------------------------------------------------------------------------

TfBiblioteka::TfBiblioteka(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                           DictionaryEditor& editor, QWidget* parent)
    : QDialog(parent), m_db(db), m_logic(db, dialogs, options), m_editor(editor),
      m_choice(new QComboBox(this)), m_pages(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("TfBiblioteka"));
    setWindowTitle(QStringLiteral("Biblioteka"));
    setModal(true);
    resize(560, 420);

    auto* choiceLabel = new QLabel(QStringLiteral("Wybierz słownik"), this);
    choiceLabel->setObjectName(QStringLiteral("lbWybierz"));
    choiceLabel->setBuddy(m_choice);
    m_choice->setObjectName(QStringLiteral("cbSlownik"));
    m_choice->installEventFilter(this);
    m_pages->setObjectName(QStringLiteral("pcSlowniki"));

    const struct
    {
        const char* action;
        QString text;
        QKeySequence key;
    } commands[] = {
        {"pmDodaj", QStringLiteral("Dodaj pozycję"), QKeySequence(Qt::Key_Insert)},
        {"pmEdytuj", QStringLiteral("Edytuj pozycję"), QKeySequence(Qt::Key_F2)},
        {"pmUsun", QStringLiteral("Usuń pozycję"), QKeySequence(Qt::Key_Delete)},
        {"pmKopiuj", QStringLiteral("Kopiuj pozycję"), QKeySequence(Qt::CTRL | Qt::Key_C)},
    };
    std::vector<QAction*> actions;
    for (const auto& c : commands) {
        auto* a = new QAction(c.text, this);
        a->setObjectName(QString::fromLatin1(c.action));
        a->setShortcut(c.key);
        // The keys act in the grids, as the grids' context menu does.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        actions.push_back(a);
    }
    connect(actions[0], &QAction::triggered, this, [this] { AddEntry(false); });
    connect(actions[1], &QAction::triggered, this, &TfBiblioteka::EditEntry);
    connect(actions[2], &QAction::triggered, this, &TfBiblioteka::DeleteEntry);
    connect(actions[3], &QAction::triggered, this, [this] { AddEntry(true); });

    static const char* const gridNames[] = {"dbgZespoly", "dbgTerminy"};
    int index = 0;
    for (const DictionaryType& type : DictionaryTypes()) {
        m_choice->addItem(type.title, type.idType);
        auto* grid = new TDBGrid(&db.DBFDictionary,
                                 {{QStringLiteral("DESCRIPTION"), type.title, 400}}, m_pages);
        grid->setObjectName(QString::fromLatin1(gridNames[index++]));
        grid->setAccessibleName(type.title);
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        for (QAction* a : actions)
            grid->addAction(a);
        connect(grid, &TDBGrid::editRequested, this, &TfBiblioteka::EditEntry);
        m_pages->addWidget(grid);
        m_grids.push_back(grid);
    }
    connect(m_choice, &QComboBox::currentIndexChanged, this, &TfBiblioteka::selectDictionary);

    auto* add =
        button(this, "SBDodaj", QStringLiteral("Dodaj"), QStringLiteral("Dodaj nową pozycję"));
    auto* edit = button(this, "SBEdytuj", QStringLiteral("Edytuj"),
                        QStringLiteral("Edytuj wskazaną pozycję"));
    auto* remove =
        button(this, "SBUsun", QStringLiteral("Usuń"), QStringLiteral("Usuń wskazaną pozycję"));
    auto* copy = button(this, "SBKopiuj", QStringLiteral("Kopiuj"),
                        QStringLiteral("Stwórz kopię zaznaczonej pozycji"));
    auto* close = button(this, "SBZamknij", QStringLiteral("Zamknij"));
    connect(add, &QPushButton::clicked, this, [this] { AddEntry(false); });
    connect(edit, &QPushButton::clicked, this, &TfBiblioteka::EditEntry);
    connect(remove, &QPushButton::clicked, this, &TfBiblioteka::DeleteEntry);
    connect(copy, &QPushButton::clicked, this, [this] { AddEntry(true); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(choiceLabel);
    top->addWidget(m_choice, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, edit, remove, copy})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_pages, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
}

void TfBiblioteka::ShowDictionaries(int position)
{
    {
        // Showing the window selects the dictionary; no need to do it twice.
        const QSignalBlocker block(m_choice);
        const int count = static_cast<int>(DictionaryTypes().size());
        m_choice->setCurrentIndex(position >= 1 && position <= count ? position - 1 : 0);
    }
    exec();
}

int TfBiblioteka::position() const
{
    return m_choice->currentIndex() + 1;
}

TDBGrid* TfBiblioteka::grid(int position) const
{
    if (position < 1 || position > static_cast<int>(m_grids.size()))
        return nullptr;
    return m_grids[static_cast<size_t>(position - 1)];
}

void TfBiblioteka::selectDictionary()
{
    if (!isVisible())
        return;
    const int index = qMax(0, m_choice->currentIndex());
    m_pages->setCurrentIndex(index);
    m_logic.Open(index + 1);
    m_grids[static_cast<size_t>(index)]->setFocus(Qt::OtherFocusReason);
}

namespace {

int currentKey(fb::DataSet& list)
{
    return list.isEmpty() ? 0 : list.asInteger(QStringLiteral("IDDICTIONARY"));
}

} // namespace

int TfBiblioteka::prepareMinimumStaff(bool existing)
{
    auto* editor = dynamic_cast<TfEditBibliotekaAll*>(&m_editor);
    if (!editor)
        return 0;
    const bool units = DictionaryTypeAt(position()).idType == QStringLiteral("ZESPO");
    int value = 0;
    const int key = existing ? currentKey(m_db.DBFDictionary) : 0;
    if (units && key > 0)
        value = ReadMinimumStaff(m_db, key);
    editor->setMinimumStaff(units, value, !m_db.loginState().restricted);
    return value;
}

void TfBiblioteka::storeMinimumStaff(int before, int previousKey, bool added)
{
    auto* editor = dynamic_cast<TfEditBibliotekaAll*>(&m_editor);
    if (!editor || !editor->accepted() || m_db.loginState().restricted ||
        DictionaryTypeAt(position()).idType != QStringLiteral("ZESPO"))
        return;
    const int value = editor->minimumStaff();
    const int key = currentKey(m_db.DBFDictionary);
    // The list stands on the entry just written; a failed insert leaves it where it was.
    if (key <= 0 || (added && key == previousKey) || (!added && value == before))
        return;
    StoreMinimumStaff(m_db, key, value);
}

void TfBiblioteka::AddEntry(bool copy)
{
    const int previousKey = currentKey(m_db.DBFDictionary);
    const int before = prepareMinimumStaff(copy);
    m_logic.AddEntry(m_editor, position(), copy);
    storeMinimumStaff(before, previousKey, true);
}

void TfBiblioteka::EditEntry()
{
    if (m_db.DBFDictionary.isEmpty())
        return;
    const int previousKey = currentKey(m_db.DBFDictionary);
    const int before = prepareMinimumStaff(true);
    m_logic.EditEntry(m_editor, position());
    storeMinimumStaff(before, previousKey, false);
}

void TfBiblioteka::DeleteEntry()
{
    m_logic.DeleteEntry();
}

void TfBiblioteka::done(int result)
{
    m_logic.Close();
    QDialog::done(result);
}

void TfBiblioteka::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    selectDictionary();
}

bool TfBiblioteka::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_choice) {
        if (event->type() == QEvent::FocusOut) {
            // Its own drop-down list and other windows take the focus only for a while.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                selectDictionary();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                selectDictionary();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zf
