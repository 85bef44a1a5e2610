#pragma once

#include <QObject>

#include <functional>

namespace zf {

// Hints of the whole program: a tooltip stays visible for 20 seconds, and the hint of the control
// under the mouse is handed to the status bar.
class THintHandler : public QObject
{
    Q_OBJECT
public:
    static constexpr int kHintDurationMs = 20000;

    explicit THintHandler(std::function<void(const QString&)> showInStatusBar,
                          QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_showInStatusBar;
};

} // namespace zf
