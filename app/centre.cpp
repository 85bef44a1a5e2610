#include "app/centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zf {

void centreOnScreen(QWidget& window)
{
    QScreen* screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    // A window larger than the screen keeps its title bar reachable.
    frame.moveTop(std::max(frame.top(), area.top()));
    frame.moveLeft(std::max(frame.left(), area.left()));
    window.move(frame.topLeft());
}

} // namespace zf
