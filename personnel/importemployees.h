#pragma once

#include "personnel/importgrid.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace zf {

class Dialogs;
class FileNameCheck;
class TmyDataBase;

// One sheet row as verification prepared it; the import uses only these. `error` is "ERR"
// until the row passes.
struct PreparedEmployee
{
    QString number;
    QString name;
    QString surname;
    QString unit; // the unit's key as text, "-1" for none
    QString email;
    QString password;
    QString fileName;
    QString act;
    QString error = QStringLiteral("ERR");
};

// The logic of the employee import window: loading a CSV sheet, assigning its columns to the
// employee's fields, verifying every row, importing the rows that passed in one transaction,
// saving the annotated sheet, and the configuration remembered in the INI file beside the
// program. The window copies its controls in before an operation and back out after it.
class EmployeeImport
{
public:
    // The eight assignments, in the order of the lists cb1 ... cb8.
    enum Field
    {
        Number,
        FirstName,
        Surname,
        Unit,
        Email,
        Password,
        FileName,
        Dismissed,
        FieldCount
    };

    EmployeeImport(TmyDataBase& db, Dialogs& dialogs, QString programFolder, QString dataFolder);

    // --- the controls, named as in the window -------------------------------------------------
    // Position chosen in each list: 0 is "Brak danych", n the sheet's column n.
    std::array<int, FieldCount> cb{};
    QString separator = QStringLiteral(";");
    QString symbolZW = QStringLiteral("T");
    bool pominPierwszy = false;
    bool nieCzysc = true;

    // --- the action buttons ("Zw&eryfikuj", "Importuj", "Zapisz log") -------------------------
    bool verifyEnabled = false;
    bool importEnabled = false;
    bool saveEnabled = false;

    ImportGrid& grid() { return m_grid; }
    const ImportGrid& grid() const { return m_grid; }

    // Every showing before the first successful load starts from the default controls and an
    // empty sheet; later showings keep the sheet until another is loaded.
    void PrepareForShow();

    // "Załaduj &arkusz .CSV": the separator check, the file choice, then LoadSheetFile.
    bool LoadSheet();
    // Loading a chosen file; false when nothing was loaded (the old sheet stays as it was).
    bool LoadSheetFile(const QString& path);
    // "Zw&eryfikuj".
    void VerifySheet();
    // "Importuj": all verified rows in one transaction, or none.
    void ImportSheet();
    // "Zapisz log": the file choice, then SaveSheetTo.
    void SaveSheet();
    bool SaveSheetTo(const QString& path);

    // A field assignment, the skip-first check box or the dismissed symbol changed: the sheet
    // must be verified again before an import.
    void SettingsChanged();

    // Closing the window: asks whether to remember the configuration and writes it.
    void Close();
    bool SaveConfiguration();
    void RestoreConfiguration();

    // "Brak danych" followed by the titles of the sheet's columns: the items of each list.
    QStringList Choices() const;
    // Line (from 0) where verification and import start.
    int firstDataLine() const { return pominPierwszy ? 1 : 0; }
    const PreparedEmployee& prepared(int line) const { return m_prepared.at(line); }
    bool verificationFoundErrors() const { return m_verifyErrors; }
    // Rows stored by the last import (0 after a failed one).
    int importedCount() const { return m_imported; }
    bool sheetIsUtf8() const { return m_utf8; }
    // Where the configuration is written: "zefirant.ini" in the data folder.
    QString iniPath() const;
    // Where it is read: the data folder, or beside the program when only that has it.
    QString configurationToRead() const;

    // Called once a new sheet is in, before the question whether to restore the configuration,
    // so the window shows the sheet and its lists while it asks.
    std::function<void()> onSheetLoaded;

    static const QString kNoData;      // "Brak danych"
    static const QString kIniFileName; // "zefirant.ini"
    static const QString kIniSection;  // "IMPORTS1"
    static const QString kOpenTitle;
    static const QStringList kFilters;
    static const QString kSaveTitle;
    static constexpr int kCodeFormat = 802;
    static constexpr int kCodeOpen = 809;
    // A failure of the import that no row caused (the statement, the commit).
    static constexpr int kCodeImport = 810;

private:
    // What verification checks against, read once for the whole sheet.
    struct Lookups
    {
        QSet<QString> numbers;   // without trailing blanks, as the engine compares them
        QSet<QString> fileNames; // case-folded
        QHash<QString, int> units;
    };
    std::optional<Lookups> readLookups(QString& error);
    // The remark of a refused row, or nothing when the row passed and `out` is filled.
    std::optional<QString> checkRow(int line, const Lookups& lookups, const FileNameCheck& files,
                                    QSet<QString>& sheetFiles, PreparedEmployee& out) const;
    QString fieldValue(int line, Field field) const;
    bool isAssigned(Field field) const { return cb[field] > 0; }
    bool loadFile(const QString& path);
    bool separatorValid();

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    QString m_programFolder;
    QString m_dataFolder;
    ImportGrid m_grid;
    std::vector<PreparedEmployee> m_prepared;
    bool m_verifyErrors = false;
    int m_imported = 0;
    bool m_utf8 = false;
    QString m_lastFolder;
};

} // namespace zf
