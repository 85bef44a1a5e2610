#include "app/gridsearch.h"

#include "data/fb/dataset.h"

namespace zf {

QString upperAsciiOnly(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return out;
}

FindResult findNext(fb::DataSet& list, const std::function<QString(int row)>& rowText,
                    bool& searchStart, const QString& text)
{
    if (list.isEmpty() || list.eof())
        return FindResult::AtEnd;
    const QString wanted = upperAsciiOnly(text);
    list.disableControls();
    if (searchStart)
        searchStart = false;
    else
        list.next();
    while (!list.eof()) {
        if (!wanted.isEmpty() && upperAsciiOnly(rowText(list.currentRow())).contains(wanted)) {
            list.enableControls();
            return FindResult::Found;
        }
        list.next();
    }
    list.first();
    list.enableControls();
    return FindResult::NotFound;
}

} // namespace zf
