#pragma once

#include <QString>

class QComboBox;

namespace zf {

namespace fb {
class DataSet;
}

// How a pick list holds its rows' keys as item data.
enum class PickKey
{
    AsStored, // the column's value as read
    Integer,  // as int, so findData matches an int key the window holds
    Text,     // as text, likewise for text keys
};

// Refills `box` with the list's rows: the text of `textField` shown, the value of `keyField` as
// the item's data. A missing field leaves the box empty. What stays chosen is the caller's.
void FillPickList(QComboBox* box, const fb::DataSet& list, const QString& keyField,
                  const QString& textField, PickKey keys = PickKey::AsStored);

} // namespace zf
