#pragma once

#include "data/databasecreation.h"

#include <QString>
#include <QStringList>

namespace zf {

class Dialogs;
class TmyDataBase;

// The logic of the database management window: creating a new database or pointing the program
// at an existing one, and keeping the choice as the module's connection settings. The window
// copies its six fields in before an operation and back out after it, then does what the
// outcome says.
class ManageDatabase
{
public:
    // The fields of the window, named as its controls.
    enum class Field
    {
        None,
        crName,
        crUser,
        crPassword,
        opName,
        opUser,
        opPassword
    };

    // What the window does after an operation.
    struct Outcome
    {
        bool close = false;
        Field focus = Field::None;

        static Outcome Close() { return {true, Field::None}; }
        static Outcome Stay(Field focus = Field::None) { return {false, focus}; }
    };

    // The messages and file choices go through `dialogs`, the window's.
    ManageDatabase(TmyDataBase& db, Dialogs& dialogs, QString programFolder, QString dataFolder);

    // The "On show" step: empties the creation fields, proposes the creation file, copies the
    // module's settings into the opening fields and the current-location text.
    void prepareForShow();

    Outcome QuickCreate();
    Outcome CreateDatabase();
    Outcome OpenExisting();

    // The "[...]" buttons: a file choice through the dialogs; a chosen name replaces
    // crName or opName, a cancelled choice changes nothing. True when a name was chosen.
    bool BrowseCreate();
    bool BrowseOpen();

    // "<data folder>/database", where new databases are proposed.
    QString proposedFolder() const;
    // Where the file choices start.
    QString createBrowseStart() const;
    QString openBrowseStart() const;

    static const QString kDialogTitle;
    static const QStringList kDialogFilters;
    static const QString kDefaultSuffix;
    static const QString kNoLocation;

    QString crName;
    QString crUser;
    QString crPassword;
    QString opName;
    QString opUser;
    QString opPassword;
    // The current location, or "<brak>" when it is blank.
    QString currentLocationText;

    // The creation connection; after a successful creation it stays attached to the new
    // database until the next creation.
    DatabaseCreator creator;

private:
    // The three checks shared by creating and opening; the field to fix, or None.
    Field check(const QString& name, const QString& user, const QString& password, Field nameField,
                Field userField, Field passwordField);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    QString m_programFolder;
    QString m_dataFolder;
};

// True for a location on a database server ("host:/path", "inet://host/path"): the text before
// the first colon is a host name, not part of a path. A plain path opens the file in-process.
bool isServerLocation(const QString& location);

} // namespace zf
