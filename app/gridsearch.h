#pragma once

#include <QString>

#include <functional>

namespace zf {

namespace fb {
class DataSet;
}

// Upper case for the letters a to z only: the search of the grids leaves Polish letters as
// they are.
QString upperAsciiOnly(const QString& text);

enum class FindResult { Found, NotFound, AtEnd };

// "Find next" in a list: the row text is the joined shown texts of the grid's columns. With
// `searchStart` set the current row is tested first (and the flag is cleared); otherwise the
// search starts with the next row. When nothing is found the list goes back to its first row.
FindResult findNext(fb::DataSet& list, const std::function<QString(int row)>& rowText,
                    bool& searchStart, const QString& text);

} // namespace zf
