#include "data/gridcsv.h"

#include "data/fb/dataset.h"
#include "util/csvexport.h"

namespace zf {

namespace {

// Keeps the grids still while the list is walked, and puts the list back on every path.
class WalkGuard
{
public:
    explicit WalkGuard(fb::DataSet& list) : m_list(list), m_row(list.currentRow())
    {
        m_list.disableControls();
    }
    ~WalkGuard()
    {
        m_list.setCurrentRow(m_row);
        m_list.enableControls();
    }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

private:
    fb::DataSet& m_list;
    int m_row;
};

} // namespace

QList<QStringList> GridCsvTable(fb::DataSet& list,
                                const std::vector<fb::DataSetModel::Column>& columns)
{
    QList<QStringList> table;
    QStringList titles;
    std::vector<int> fields;
    for (const auto& column : columns) {
        titles << column.title;
        fields.push_back(list.fieldIndex(column.field));
    }
    table << titles;

    WalkGuard guard(list);
    list.first();
    while (!list.eof()) {
        QStringList cells;
        for (const int field : fields)
            cells << TOVExportToCSV::DataCellText(
                field < 0 ? QString() : list.displayTextAt(list.currentRow(), field));
        table << cells;
        list.next();
    }
    return table;
}

} // namespace zf
