#include "personnel/importemployees.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "personnel/filename.h"
#include "personnel/importcsv.h"
#include "util/csvexport.h"
#include "util/dialogs.h"
#include "util/inifile.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFileInfo>

namespace zf {

namespace {

const QString kBadSeparator = QStringLiteral("Niepoprawny separator kolumn!");
const QString kBadFormat = QStringLiteral("Niepoprawny format arkusza .CSV");
const QString kOpenError = QStringLiteral(
    "Błąd podczas otwierania pliku. Jeśli plik otwarty jest w innym programie (Np. MS Excel), "
    "zamknij go i spróbuj załadować go ponownie. ");
const QString kEmptySheet =
    QStringLiteral("Arkusz .CSV jest pusty. Wskaż plik zawierający dane pracowników.");
const QString kSeparatorMissing = QStringLiteral(
    "Separator kolumn „%1” nie występuje w arkuszu, więc każdy wiersz jest jedną kolumną. "
    "Sprawdź separator kolumn i załaduj arkusz ponownie.");
const QString kRestoreQuestion =
    QStringLiteral("Arkusz załadowany poprawnie. Czy przywrócić poprzednią konfigurację imporu?");
const QString kVerifyErrors = QStringLiteral(
    "Wykryto błędy weryfikacji danych. Sprawdź komentarz w kolumnie po prawo w tabeli .CSV");
const QString kVerifyOk =
    QStringLiteral("Nie wykryto problemów. Arkusz .CSV wydaje się być poprawny.");
const QString kImportQuestion =
    QStringLiteral("Zalecamy wykonanie archiwizacji bazy danych przed dokonaniem importu. ");
const QString kImportWithErrors = QStringLiteral(
    "W zweryfikowanym arkuszu wykryto błędy. Czy kontynuować import danych z pominięciem "
    "usterek?");
const QString kImportContinue = QStringLiteral("Czy kontynuować import danych?");
const QString kImportDone = QStringLiteral("Operacja zakończona");
const QString kImportFailed =
    QStringLiteral(" Podczas importu pojawiły się błędy. Prosze sprawdzić ich opis w tabeli .CSV");
const QString kImportCount = QStringLiteral(". Dodano wierszy: ");
const QString kSaved = QStringLiteral("Arkusz wynikowy zapisano.");
const QString kSaveFailed = QStringLiteral("Wystąpił błąd podczas zapisu arkusza wynikowego.");
const QString kRememberQuestion = QStringLiteral("Czy zapamiętać konfigurację imporu?");
const QString kConfigNotSaved =
    QStringLiteral("Nie udało się zapisać konfiguracji importu w pliku ");

const QString kDatabaseError = QStringLiteral("Błąd bazy danych ");
const QString kDuplicateNumber =
    QStringLiteral("Istnieje już osoba o podanym numerze ewidencyjnym");

// A cell of the grid is one line: engine messages come in several.
QString oneLine(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

// A row's remark after a database error: a lock conflict with another copy of the program in the
// program's own words, any other error with the engine's.
QString databaseRemark(const QString& engineMessage, bool lockConflict)
{
    return lockConflict ? ErrorLog::kConflictMessage : kDatabaseError + oneLine(engineMessage);
}

QString cbKey(int field)
{
    return QStringLiteral("cb") + QString::number(field + 1);
}

} // namespace

const QString EmployeeImport::kNoData = QStringLiteral("Brak danych");
const QString EmployeeImport::kIniFileName = QStringLiteral("zefirant.ini");
const QString EmployeeImport::kIniSection = QStringLiteral("IMPORTS1");
const QString EmployeeImport::kOpenTitle = QStringLiteral("Otwórz arkusz .CSV");
const QStringList EmployeeImport::kFilters = {QStringLiteral("Arkusz .CSV (*.csv)"),
                                              QStringLiteral("Wszystkie pliki (*.*)")};
const QString EmployeeImport::kSaveTitle = QStringLiteral("Zapisz wyniku importu do arkusza .CSV");

EmployeeImport::EmployeeImport(TmyDataBase& db, Dialogs& dialogs, QString programFolder,
                               QString dataFolder)
    : m_db(db), m_dialogs(dialogs), m_programFolder(std::move(programFolder)),
      m_dataFolder(std::move(dataFolder))
{
}

QString EmployeeImport::iniPath() const
{
    // Installed, the program folder belongs to root: the choices go to the user's data folder.
    return m_dataFolder + QLatin1Char('/') + kIniFileName;
}

QString EmployeeImport::configurationToRead() const
{
    // Earlier versions wrote beside the program; that is read until the data folder has its own.
    const QString legacy = m_programFolder + QLatin1Char('/') + kIniFileName;
    if (!IniFile(iniPath()).sectionExists(kIniSection) &&
        IniFile(legacy).sectionExists(kIniSection))
        return legacy;
    return iniPath();
}

QStringList EmployeeImport::Choices() const
{
    QStringList items{kNoData};
    if (m_grid.isLoaded())
        for (int c = 0; c < m_grid.sheetColumns(); ++c)
            items << ImportGrid::ColumnTitle(c);
    return items;
}

void EmployeeImport::PrepareForShow()
{
    if (m_grid.isLoaded())
        return;
    separator = QStringLiteral(";");
    symbolZW = QStringLiteral("T");
    pominPierwszy = false;
    m_grid.clear();
    m_prepared.clear();
    cb.fill(0);
    verifyEnabled = importEnabled = saveEnabled = false;
}

void EmployeeImport::SettingsChanged()
{
    // More than one grid column means a sheet is loaded.
    if (m_grid.gridColumns() > 1)
        verifyEnabled = true;
    importEnabled = false;
    saveEnabled = false;
}

// --- loading ---------------------------------------------------------------------------------

bool EmployeeImport::separatorValid()
{
    // A double quote cannot separate columns: it opens quoted fields.
    if (separator.isEmpty() || separator.at(0) == QLatin1Char('"')) {
        m_dialogs.information(kCaptionError, kBadSeparator);
        return false;
    }
    return true;
}

bool EmployeeImport::LoadSheet()
{
    if (!separatorValid())
        return false;
    const QString path = m_dialogs.openFileName(kOpenTitle, m_lastFolder, kFilters);
    if (path.isEmpty())
        return false;
    return loadFile(path);
}

bool EmployeeImport::LoadSheetFile(const QString& path)
{
    if (!separatorValid())
        return false;
    return loadFile(path);
}

bool EmployeeImport::loadFile(const QString& path)
{
    verifyEnabled = importEnabled = saveEnabled = false;
    m_lastFolder = QFileInfo(path).absolutePath();

    CsvSheetFile file = ReadCsvSheetFile(path, separator.at(0));
    switch (file.status) {
    case CsvSheetFile::Status::Ok:
        break;
    case CsvSheetFile::Status::OpenFailed:
        m_db.ReportUnexpectedError(kOpenError + file.error, true, kCodeOpen);
        return false;
    case CsvSheetFile::Status::NotText:
    case CsvSheetFile::Status::TooManyColumns:
        m_db.ReportUnexpectedError(kBadFormat, true, kCodeFormat);
        return false;
    case CsvSheetFile::Status::Empty:
        m_dialogs.information(kCaptionWarning, kEmptySheet);
        return false;
    }

    const bool keepAssignments =
        m_grid.isLoaded() && nieCzysc && m_grid.sheetColumns() == file.columns;
    m_utf8 = file.utf8;
    m_prepared.assign(file.lines.size(), PreparedEmployee{});
    m_grid.setSheet(std::move(file.lines), file.columns);
    m_verifyErrors = false;
    m_imported = 0;
    if (!keepAssignments)
        cb.fill(0);
    verifyEnabled = true;
    if (onSheetLoaded)
        onSheetLoaded();

    // With the wrong separator no saved configuration fits: say so instead of offering it.
    if (!file.separatorFound)
        m_dialogs.information(kCaptionWarning, kSeparatorMissing.arg(separator.at(0)));
    else if (m_dialogs.question(kCaptionQuestion, kRestoreQuestion))
        RestoreConfiguration();
    return true;
}

// --- verification ----------------------------------------------------------------------------

void EmployeeImport::VerifySheet()
{
    m_verifyErrors = false;
    m_prepared.assign(m_grid.lineCount(), PreparedEmployee{});
    const int first = firstDataLine();
    // Every verification starts from clean marks: an "Ok" of an earlier one means nothing now.
    for (int line = 0; line < m_grid.lineCount(); ++line)
        m_grid.setStatus(line, QString(), QString());

    // The file-name test tries names out in this folder.
    QDir().mkpath(m_dataFolder + QStringLiteral("/debug"));
    const FileNameCheck files(m_dataFolder); // the folder is tried out once for the whole sheet

    QString error;
    const std::optional<Lookups> lookups = readLookups(error);
    if (!lookups)
        m_db.ReportUnexpectedError(error, true, kCodeFormat);

    QSet<QString> sheetFiles;
    for (int line = first; line < m_grid.lineCount(); ++line) {
        std::optional<QString> remark;
        if (lookups)
            remark = checkRow(line, *lookups, files, sheetFiles, m_prepared[line]);
        else
            remark = databaseRemark(error, fb::isLockConflictMessage(error));
        if (remark) {
            m_grid.setStatus(line, ImportGrid::kStatusErrors, *remark);
            m_verifyErrors = true;
        } else {
            m_grid.setStatus(line, ImportGrid::kStatusOk, QString());
        }
    }
    m_grid.statusesChanged();

    if (m_verifyErrors)
        m_dialogs.information(kCaptionWarning, kVerifyErrors);
    else
        m_dialogs.information(kCaptionInformation, kVerifyOk);
    verifyEnabled = false;
    importEnabled = true;
    saveEnabled = true;
}

// --- import ----------------------------------------------------------------------------------

void EmployeeImport::ImportSheet()
{
    if (!m_dialogs.question(kCaptionWarning, kImportQuestion + (m_verifyErrors ? kImportWithErrors
                                                                               : kImportContinue)))
        return;

    int count = 0;
    bool failed = false;
    int line = -1;
    try {
        fb::TransactionGuard guard(m_db.DBFTransaction);
        fb::Statement& st = m_db.DBFWorkingSQL;
        st.setTransaction(&m_db.DBFTransaction);
        st.close();
        st.setSql(TmyDataBase::DBFUEmployees.insertSql);
        st.prepare();
        for (int i = firstDataLine(); i < static_cast<int>(m_prepared.size()); ++i) {
            const PreparedEmployee& p = m_prepared[i];
            if (!p.error.isEmpty())
                continue;
            line = i;
            bool isNumber = false;
            const int unit = p.unit.toInt(&isNumber);
            st.setParam(QStringLiteral("IDEMPLOYEE"), p.number);
            st.setParam(QStringLiteral("PWD"), p.password);
            st.setParam(QStringLiteral("IDDICUNIT"), isNumber ? unit : -1);
            st.setParam(QStringLiteral("SURNAME"), p.surname);
            st.setParam(QStringLiteral("NAME"), p.name);
            st.setParam(QStringLiteral("EMAIL"), p.email);
            st.setParam(QStringLiteral("FILENAME"), p.fileName);
            st.setParam(QStringLiteral("ACT"), p.act);
            st.execute();
            ++count;
        }
        line = -1;
        guard.commit();
    } catch (const fb::Error& e) {
        // Leaving the guard's scope rolled everything back: nothing of this run is stored.
        failed = true;
        count = 0;
        if (line >= 0)
            m_grid.setStatus(line, ImportGrid::kStatusErrors,
                             e.isDuplicateKey() ? kDuplicateNumber
                                                : databaseRemark(e.message(), e.isLockConflict()));
        else
            m_db.ReportUnexpectedError(e.message(), true, kCodeImport);
    } catch (const Exception& e) {
        failed = true;
        count = 0;
        m_db.ReportUnexpectedError(e.message(), true, kCodeImport);
    }
    m_db.DBFWorkingSQL.close();
    m_grid.statusesChanged();
    m_imported = count;

    // "Operacja zakończona" is a sentence of its own before the next one.
    m_dialogs.information(kCaptionInformation,
                          kImportDone + (failed ? QLatin1Char('.') + kImportFailed : QString()) +
                              kImportCount + QString::number(count) + QLatin1Char('.'));
}

// --- the annotated sheet ---------------------------------------------------------------------

void EmployeeImport::SaveSheet()
{
    const QString path =
        m_dialogs.saveFileName(kSaveTitle, m_lastFolder, kFilters, QStringLiteral(".csv"));
    if (path.isEmpty())
        return;
    if (SaveSheetTo(path))
        m_dialogs.information(kCaptionInformation, kSaved);
    else
        m_dialogs.information(kCaptionInformation, kSaveFailed);
}

bool EmployeeImport::SaveSheetTo(const QString& path)
{
    QList<QStringList> table = m_grid.gridTable();
    // Quotes doubled inside the quoted cells, so loading the saved sheet gives every cell back
    // exactly, line breaks included.
    for (qsizetype row = 1; row < table.size(); ++row)
        for (QString& cell : table[row])
            cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return WriteCsvSheetFile(table, path, m_utf8);
}

// --- configuration ---------------------------------------------------------------------------

void EmployeeImport::Close()
{
    if (!m_dialogs.question(kCaptionQuestion, kRememberQuestion))
        return;
    if (!SaveConfiguration())
        m_dialogs.information(kCaptionError, kConfigNotSaved + iniPath());
}

bool EmployeeImport::SaveConfiguration()
{
    QDir().mkpath(m_dataFolder);
    IniFile ini(iniPath());
    bool ok = true;
    for (int field = 0; field < FieldCount; ++field)
        ok = ini.writeInteger(kIniSection, cbKey(field), cb[field]) && ok;
    ok = ini.writeBool(kIniSection, QStringLiteral("pominPierwszy"), pominPierwszy) && ok;
    ok = ini.writeString(kIniSection, QStringLiteral("symbolZW"), symbolZW) && ok;
    return ok;
}

void EmployeeImport::RestoreConfiguration()
{
    const IniFile ini(configurationToRead());
    const int items = static_cast<int>(Choices().size());
    for (int field = 0; field < FieldCount; ++field) {
        const int position = ini.readInteger(kIniSection, cbKey(field), 0);
        // A position the lists do not have (a narrower sheet) means no column.
        cb[field] = position >= 0 && position < items ? position : 0;
    }
    pominPierwszy = ini.readBool(kIniSection, QStringLiteral("pominPierwszy"), false);
    symbolZW = ini.readString(kIniSection, QStringLiteral("symbolZW"), QStringLiteral("T"));
    SettingsChanged();
}

} // namespace zf
