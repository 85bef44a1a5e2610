// "Mój plan urlopowy": the employees' editor of one leave-plan file written by Zefirant PL+.
//
//   zefirant-plan [FILE]
//
// FILE, when given, is opened before the window is shown, so a protected plan asks for its
// password first; after three wrong passwords the program ends without showing the plan.
// SIGTERM, SIGINT and SIGHUP end it in order: a save under way is finished first, and changes not
// saved are dropped without a question nobody may be there to answer.
#include "app/qtdialogs.h"
#include "planer/planerwindow.h"
#include "util/dates.h"
#include "util/accessiblenames.h"
#include "util/polishdesktop.h"
#include "util/termination.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zefirant-plan"));
    QGuiApplication::setDesktopFileName(QStringLiteral("zefirant-plan"));
    zf::setUpPolishDesktop(app);
    zf::AccessibleNames accessibleNames;
    app.installEventFilter(&accessibleNames);
    zf::setDateSeparator(zf::systemDateSeparator());

    // The office program's own message windows, so both programs speak alike.
    zf::QtDialogs dialogs;
    zf::TfPlaner window(dialogs);
    dialogs.setParent(&window);
    const QString file = QApplication::arguments().value(1);
    if (!file.isEmpty() && window.OpenFile(file) == zf::TPlanEditor::OpenResult::PasswordRefused)
        return 1;
    // exit(), not quit(): quit() would ask the window to close, and so ask about the changes.
    zf::TerminationHandler termination([] { QCoreApplication::exit(0); });
    termination.install();
    window.show();
    return QApplication::exec();
}
