#pragma once

// Header only: the logic libraries that use it already link Qt Gui, zf_util does not.
#include <QColor>

namespace zf {

// A Windows colour value (0x00BBGGRR), as the colour tables and the report templates' hooks
// hold them.
inline QColor fromWindowsColor(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace zf
