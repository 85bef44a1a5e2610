#pragma once

#include "data/fb/datasetmodel.h"

#include <QList>
#include <QStringList>

#include <vector>

namespace zf {

namespace fb {
class DataSet;
}

// The table the "do CSV" command exports from a list shown with the given columns: row 0 the
// column titles unchanged, then one row per list row with the display text of each column's
// field made safe by TOVExportToCSV::DataCellText. The list is walked with its controls
// disabled, and its current row is the same afterwards.
QList<QStringList> GridCsvTable(fb::DataSet& list,
                                const std::vector<fb::DataSetModel::Column>& columns);

} // namespace zf
