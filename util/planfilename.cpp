#include "util/planfilename.h"

#include <algorithm>

namespace zf {

bool IsSafePlanFileName(const QString& fileName)
{
    if (fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
        fileName.contains(QLatin1String("..")))
        return false;
    return std::none_of(fileName.begin(), fileName.end(),
                        [](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
}

} // namespace zf
