#pragma once

class QWidget;

namespace zf {

// Moves a top-level window to the middle of the screen it is on (the primary one before it has
// been shown), keeping it inside the available area.
void centreOnScreen(QWidget& window);

// Moves a window to the middle of `owner` when the owner is on screen (exposed), else of the
// screen; it stays inside the available area either way.
void centreOver(QWidget& window, const QWidget* owner);

} // namespace zf
