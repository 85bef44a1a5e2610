#pragma once

#include <QObject>

class QWidget;

#include <functional>

namespace zf {

// Hints of the whole program: a tooltip stays visible for 20 seconds, and the hint of the control
// of the main window under the mouse is handed to the status bar.
class THintHandler : public QObject
{
    Q_OBJECT
public:
    static constexpr int kHintDurationMs = 20000;

    explicit THintHandler(std::function<void(const QString&)> showInStatusBar,
                          QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool inStatusBarsWindow(const QWidget* widget);

    std::function<void(const QString&)> m_showInStatusBar;
};

} // namespace zf
