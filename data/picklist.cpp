#include "data/picklist.h"

#include "data/fb/dataset.h"

#include <QComboBox>

namespace zf {

void FillPickList(QComboBox* box, const fb::DataSet& list, const QString& keyField,
                  const QString& textField, PickKey keys)
{
    box->clear();
    const int key = list.fieldIndex(keyField);
    const int text = list.fieldIndex(textField);
    if (key < 0 || text < 0)
        return;
    for (int r = 0; r < list.recordCount(); ++r) {
        const QVariant value = list.valueAt(r, key);
        box->addItem(list.valueAt(r, text).toString(),
                     keys == PickKey::Integer ? QVariant(value.toInt())
                     : keys == PickKey::Text  ? QVariant(value.toString())
                                              : value);
    }
}

} // namespace zf
