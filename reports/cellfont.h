#pragma once

// What the layout and the drawing of a cell share: its font and the room around its text.
#include "reports/reporttemplate.h"

#include <QFont>

namespace zf::report::detail {

constexpr double kPadX = 0.7; // mm between a frame and its text
constexpr double kPadY = 0.3;
// Text is laid out at this resolution whatever the device: the screen's few pixels per letter
// would round the glyphs and line heights differently, and a line that the page had room for
// would no longer fit its cell in the preview.
constexpr double kLayoutDpi = 600;

inline QFont fontOf(const CellStyle& style)
{
    QFont f(style.fontFamily);
    f.setPointSizeF(style.fontSize);
    f.setBold(style.bold);
    f.setItalic(style.italic);
    return f;
}

} // namespace zf::report::detail
