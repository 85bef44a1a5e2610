#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace zf {

// Ends the program in order when the system asks it to (SIGTERM, SIGINT, SIGHUP: a logout, a
// shutdown, Ctrl+C). The Firebird client installs handlers of its own that shut its engine down
// and leave the process running without a database; this one replaces them and hands the request
// to the event loop.
class TerminationHandler : public QObject
{
    Q_OBJECT
public:
    explicit TerminationHandler(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TerminationHandler() override;

    // (Re)installs the signal handlers; call after the database library has set up its own.
    void install();

private:
    std::function<void()> m_onRequest;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace zf
