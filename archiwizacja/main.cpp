// The database archiving tool of Zefirant PL+, started by the program's add-on slot 15 as
// "archiwizacja ZF" from the folder "archiwizacja" beside the program.
//
// Arguments: "ZF" means the tool was started by Zefirant PL+. Whether the program is open now,
// holding a local database, the window learns from the program's single-copy lock.
// "--dane <folder>" reads "zefirant.ini" and "config.dat" from another folder than the program's
// data folder ($XDG_DATA_HOME/Orvantis/Zefirant).
#include "app/qtdialogs.h"
#include "app/singleinstance.h"
#include "archiwizacja/archivewindow.h"
#include "archiwizacja/settings.h"
#include "util/accessiblenames.h"
#include "util/polishdesktop.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("archiwizacja"));
    zf::setUpPolishDesktop(app);
    zf::AccessibleNames accessibleNames;
    app.installEventFilter(&accessibleNames);

    const zf::archive::StartArguments arguments =
        zf::archive::parseArguments(QApplication::arguments().mid(1));
    const QString dataFolder =
        arguments.dataFolder.isEmpty() ? zf::archive::defaultDataFolder() : arguments.dataFolder;
    zf::archive::TfArchiwizacja::Inputs inputs;
    inputs.settings = zf::archive::readSettings(dataFolder, &inputs.settingsError);
    inputs.fromZefirant = arguments.fromZefirant;
    inputs.programRunning = [] { return zf::SingleInstance::isHeld(); };

    // The program's own message windows and file choices, so both programs speak alike.
    zf::QtDialogs dialogs;
    zf::archive::TfArchiwizacja window(dialogs, std::move(inputs));
    dialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
