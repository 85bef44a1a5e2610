#include "app/centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

void centreOver(QWidget& window, const QWidget* owner)
{
    // An owner the window system has not placed yet has no position worth centring on.
    const QWindow* handle = owner ? owner->windowHandle() : nullptr;
    if (!owner || !owner->isVisible() || !handle || !handle->isExposed()) {
        centreOnScreen(window);
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveTop(std::max(frame.top(), area.top()));
        frame.moveLeft(std::max(frame.left(), area.left()));
    }
    window.move(frame.topLeft());
}

} // namespace zf
