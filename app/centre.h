#pragma once

class QWidget;

namespace zf {

// Moves a top-level window to the middle of the screen it is on (the primary one before it has
// been shown), keeping it inside the available area.
void centreOnScreen(QWidget& window);

} // namespace zf
