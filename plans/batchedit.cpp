#include "plans/batchedit.h"

#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "plans/daysspinedit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

TfBatchEdit::TfBatchEdit(TmyDataBase& db, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_db(db), m_logic(db, dialogs),
      m_grid(new TDBGrid(&db.DBFEmployeesSettingsBatch,
                         {{QStringLiteral("EMPLOYEE"), QStringLiteral("Pracownik"), 300}}, this)),
      m_series(new QComboBox(this)), m_days(new TDaysSpinEdit(0, kMaxDays, this)),
      m_apply(new QPushButton(QStringLiteral("Zastosuj zmiany"), this)),
      m_close(new QPushButton(QStringLiteral("&Zamknij"), this))
{
    setObjectName(QStringLiteral("TfBatchEdit"));
    setWindowTitle(QStringLiteral("Edytuj wymiar urlopu"));
    setModal(true);

    auto* header = new QLabel(QStringLiteral("Edytuj wymiar dla wskazanych"), this);
    header->setObjectName(QStringLiteral("lbHeader"));
    m_grid->setObjectName(QStringLiteral("employeesGrid"));
    m_grid->setAccessibleName(QStringLiteral("Pracownicy w planie"));
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    auto* note = new QLabel(
        QStringLiteral("WAŻNE: Przytrzymaj <ctrl> by zaznaczyć kilku pracowników"), this);
    note->setTextFormat(Qt::PlainText);

    m_series->setObjectName(QStringLiteral("fSERIA"));
    for (const BatchSeries& s : BatchSeriesList())
        m_series->addItem(s.item);
    m_series->setCurrentIndex(0);
    auto* seriesLabel = new QLabel(QStringLiteral("Z&mień:"), this);
    seriesLabel->setBuddy(m_series);

    m_days->setObjectName(QStringLiteral("fDAYS"));
    m_days->setDays(PlanConfig::kDefaultDays);
    auto* daysLabel = new QLabel(QStringLiteral("&Nowa wartość:"), this);
    daysLabel->setBuddy(m_days);

    m_apply->setObjectName(QStringLiteral("SBZastosuj"));
    m_close->setObjectName(QStringLiteral("SBZamknij"));
    m_apply->setAutoDefault(false);
    m_close->setAutoDefault(false);
    connect(m_apply, &QPushButton::clicked, this, &TfBatchEdit::ApplyChanges);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* value = new QHBoxLayout;
    value->addWidget(seriesLabel);
    value->addWidget(m_series, 1);
    value->addWidget(daysLabel);
    value->addWidget(m_days);
    value->addWidget(new QLabel(QStringLiteral("dni"), this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(m_grid, 1);
    layout->addWidget(note);
    layout->addLayout(value);
    layout->addLayout(buttons);
    resize(420, 480);
}

TfBatchEdit::~TfBatchEdit() = default;

bool TfBatchEdit::Execute(int year)
{
    m_year = year;
    m_applied = false;
    exec();
    return m_applied;
}

void TfBatchEdit::showEvent(QShowEvent* event)
{
    if (m_series->currentIndex() < 0)
        m_series->setCurrentIndex(0);
    QDialog::showEvent(event);
    m_grid->setFocus();
}

QStringList TfBatchEdit::selectedEmployees() const
{
    QStringList ids;
    const fb::DataSet& list = m_db.DBFEmployeesSettingsBatch;
    const int column = list.fieldIndex(QStringLiteral("IDEMPLOYEE"));
    if (column < 0)
        return ids;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        ids << list.valueAt(index.row(), column).toString();
    return ids;
}

bool TfBatchEdit::ApplyChanges()
{
    const bool applied =
        m_logic.Apply(m_year, m_days->cleanText(), m_series->currentIndex(), selectedEmployees());
    m_applied = m_applied || applied;
    return applied;
}

} // namespace zf
