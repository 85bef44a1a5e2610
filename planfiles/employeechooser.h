#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zf {

class TmyDataBase;

// The part the export and import windows share: the unit filter ("Pokaż pracowników
// zespołu:", "Pokaż wszystkich pracowników") above the list of the plan's employees, each item
// showing EMPLOYEE and carrying IDEMPLOYEE, with multiple selection.
class EmployeeChooser : public QWidget
{
    Q_OBJECT
public:
    EmployeeChooser(TmyDataBase& db, const QString& listLabel, QWidget* parent = nullptr);

    // The units of DSUnits in the drop-down; the filter stays as it was when still listed.
    void LoadUnits();
    // The chosen unit's key, -1 for none.
    int unitFilter() const;
    // Shows the unit of this key, or none for a key of 0 or below (or one not listed).
    void setUnitFilter(int unit);

    // The plan's employees (OpenSettings for the year and the unit filter), every item selected.
    void LoadEmployees(int year);

    int count() const;
    QStringList selectedKeys() const;
    void selectAll();
    void deselectAll();
    // Selects the items whose key is in the set (others keep their state).
    void selectKeys(const QSet<QString>& keys);
    QListWidget* list() const { return m_list; }

signals:
    // The filter was chosen from the drop-down or cleared with the button.
    void filterChanged();

private:
    TmyDataBase& m_db;
    QComboBox* m_units = nullptr;
    QPushButton* m_showAll = nullptr;
    QListWidget* m_list = nullptr;
};

} // namespace zf
