#include "planfiles/employeechooser.h"

#include "data/mydatabase.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {
constexpr int kKeyRole = Qt::UserRole;
}

EmployeeChooser::EmployeeChooser(TmyDataBase& db, const QString& listLabel, QWidget* parent)
    : QWidget(parent), m_db(db)
{
    auto* unitLabel = new QLabel(QStringLiteral("Pokaż pracowników zespołu:"), this);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("cbZespol"));
    m_units->setMinimumContentsLength(24);
    unitLabel->setBuddy(m_units);
    m_showAll = new QPushButton(QStringLiteral("Pokaż wszystkich pracowników"), this);
    m_showAll->setObjectName(QStringLiteral("SBPokazWszystkich"));
    m_showAll->setAutoDefault(false);

    auto* label = new QLabel(listLabel, this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbPracownicy"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    label->setBuddy(m_list);
    auto* note = new QLabel(
        QStringLiteral("*) Aby zaznaczyć kilku pracowników użyj klawiszy <ctrl> lub <shift>"), this);
    note->setTextFormat(Qt::PlainText);

    auto* filter = new QGridLayout;
    filter->addWidget(unitLabel, 0, 0);
    filter->addWidget(m_units, 0, 1);
    filter->addWidget(m_showAll, 0, 2);
    filter->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(filter);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addWidget(note);

    connect(m_units, &QComboBox::activated, this, [this] { emit filterChanged(); });
    connect(m_showAll, &QPushButton::clicked, this, [this] {
        setUnitFilter(-1);
        emit filterChanged();
    });
}

void EmployeeChooser::LoadUnits()
{
    const int current = unitFilter();
    m_units->clear();
    m_db.OpenUnits();
    const fb::DataSet& units = m_db.DBFUnits;
    const int key = units.fieldIndex(QStringLiteral("IDDICTIONARY"));
    const int text = units.fieldIndex(QStringLiteral("DESCRIPTION"));
    if (key >= 0 && text >= 0)
        for (int row = 0; row < units.recordCount(); ++row)
            m_units->addItem(units.valueAt(row, text).toString(),
                             units.valueAt(row, key).toInt());
    setUnitFilter(current);
}

int EmployeeChooser::unitFilter() const
{
    return m_units->currentIndex() < 0 ? -1 : m_units->currentData().toInt();
}

void EmployeeChooser::setUnitFilter(int unit)
{
    m_units->setCurrentIndex(unit > 0 ? m_units->findData(unit) : -1);
}

void EmployeeChooser::LoadEmployees(int year)
{
    m_list->clear();
    m_db.OpenSettings(year, unitFilter());
    const fb::DataSet& settings = m_db.DBFEmployeesSettings;
    const int key = settings.fieldIndex(QStringLiteral("IDEMPLOYEE"));
    const int text = settings.fieldIndex(QStringLiteral("EMPLOYEE"));
    if (key >= 0 && text >= 0) {
        for (int row = 0; row < settings.recordCount(); ++row) {
            auto* item = new QListWidgetItem(settings.valueAt(row, text).toString(), m_list);
            item->setData(kKeyRole, settings.valueAt(row, key).toString());
        }
    }
    selectAll();
}

int EmployeeChooser::count() const
{
    return m_list->count();
}

QStringList EmployeeChooser::selectedKeys() const
{
    QStringList keys;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->isSelected())
            keys << m_list->item(i)->data(kKeyRole).toString();
    return keys;
}

void EmployeeChooser::selectAll()
{
    m_list->selectAll();
}

void EmployeeChooser::deselectAll()
{
    m_list->clearSelection();
}

void EmployeeChooser::selectKeys(const QSet<QString>& keys)
{
    for (int i = 0; i < m_list->count(); ++i)
        if (keys.contains(m_list->item(i)->data(kKeyRole).toString()))
            m_list->item(i)->setSelected(true);
}

} // namespace zf
