// The row check of the employee import: the dictionaries it looks names up in and the remarks
// a row of the sheet gets.
#include "personnel/importemployees.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "personnel/filename.h"
#include "personnel/importcsv.h"
#include "util/textcodec.h"

namespace zf {

namespace {

// Remarks of the row check.
const QString kNoNumber = QStringLiteral("Brak numeru ewidencyjnego");
const QString kNumberExists =
    QStringLiteral("Pracownik o podanym numerze ewidencyjnym już istnieje");
const QString kBadNumber = QStringLiteral("Niepoprawny nr ewid.");
const QString kNoSurname = QStringLiteral("Brak nazwiska");
const QString kNoUnit = QStringLiteral("Brak wskazanego zespołu w słownikach");
const QString kNoPassword = QStringLiteral("Brak hasła");
const QString kNoFileName = QStringLiteral("Brak nazwy pliku planu");
const QString kBadFileName = QStringLiteral("Niepoprawna nazwa pliku planu");
const QString kFileNameTaken =
    QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi");
const QString kNotCp1250 = QStringLiteral("Znaki spoza strony kodowej Windows-1250: ");
const QString kLineBreak = QStringLiteral("Komórka zawiera znak nowego wiersza");
const QString kTooLong = QStringLiteral("Zbyt długi tekst w polu %1 (najwyżej %2 znaków)");

const QString kSqlEmployees = QStringLiteral("SELECT IDEMPLOYEE, FILENAME FROM EMPLOYEES");
const QString kSqlUnits = QStringLiteral(
    "SELECT IDDICTIONARY, DESCRIPTION FROM DICTIONARY WHERE IDTYPE=\"ZESPO\" ORDER BY "
    "IDDICTIONARY");

// The personnel number column holds 20 characters; a longer number cannot even be looked up.
constexpr int kNumberLength = 20;

// The engine compares texts as if padded with blanks, so trailing blanks never count.
QString withoutTrailingBlanks(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

// The whole text at once; the character-by-character search only names what failed.
bool fitsCp1250(const QString& s)
{
    for (const QChar c : s)
        if (c.unicode() >= 0x80)
            return isCp1250Encodable(s);
    return true;
}

bool hasLineBreak(const QString& s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

} // namespace

std::optional<EmployeeImport::Lookups> EmployeeImport::readLookups(QString& error)
{
    Lookups lookups;
    try {
        fb::TransactionGuard guard(m_db.DBFMySqlTransaction);
        fb::Statement& st = m_db.mySQL;
        st.setTransaction(&m_db.DBFMySqlTransaction);
        st.close();
        st.setSql(kSqlEmployees);
        st.execute();
        while (st.fetch()) {
            lookups.numbers.insert(withoutTrailingBlanks(st.value(0).toString()));
            lookups.fileNames.insert(FileNameKey(st.value(1).toString()));
        }
        st.close();
        st.setSql(kSqlUnits);
        st.execute();
        while (st.fetch()) {
            const QString text = withoutTrailingBlanks(st.value(1).toString());
            if (!lookups.units.contains(text))
                lookups.units.insert(text, st.value(0).toInt());
        }
        st.close();
        guard.commit();
    } catch (const Exception& e) {
        m_db.mySQL.close();
        m_db.DBFMySqlTransaction.rollbackQuietly();
        error = e.message();
        return std::nullopt;
    }
    return lookups;
}

QString EmployeeImport::fieldValue(int line, Field field) const
{
    return isAssigned(field) ? m_grid.cell(line, cb[field] - 1) : QString();
}

std::optional<QString> EmployeeImport::checkRow(int line, const Lookups& lookups,
                                                const FileNameCheck& files,
                                                QSet<QString>& sheetFiles,
                                                PreparedEmployee& out) const
{
    PreparedEmployee p;

    if (!isAssigned(Number))
        return kNoNumber;
    p.number = fieldValue(line, Number); // used as it stands, blanks included
    if (p.number.trimmed().isEmpty())
        return kNoNumber;
    const QString numberKey = withoutTrailingBlanks(p.number);
    // The card refuses a quote in a number and cannot save an employee stored with one.
    const bool controls = std::any_of(p.number.cbegin(), p.number.cend(),
                                      [](QChar c) { return c.unicode() < 0x20; });
    if (numberKey.size() > kNumberLength || !fitsCp1250(p.number) ||
        p.number.contains(QLatin1Char('"')) || controls)
        return kBadNumber;
    if (lookups.numbers.contains(numberKey))
        return kNumberExists;

    p.name = fieldValue(line, FirstName).trimmed();

    if (!isAssigned(Surname))
        return kNoSurname;
    p.surname = fieldValue(line, Surname).trimmed();

    p.unit = QStringLiteral("-1");
    const QString unitText = fieldValue(line, Unit).trimmed();
    if (!unitText.isEmpty()) {
        const auto unit = lookups.units.constFind(unitText);
        if (unit == lookups.units.cend())
            return kNoUnit;
        p.unit = QString::number(unit.value());
    }

    p.email = fieldValue(line, Email).trimmed();

    p.password = fieldValue(line, Password).trimmed();
    if (p.password.isEmpty())
        return kNoPassword;

    p.fileName = fieldValue(line, FileName).trimmed();
    if (p.fileName.isEmpty())
        return kNoFileName;
    // Two employees must never share a plan file, and no name may reach out of the plan folder.
    if (!files.isValid(p.fileName))
        return kBadFileName;
    const QString fileKey = FileNameKey(p.fileName);
    if (lookups.fileNames.contains(fileKey) || sheetFiles.contains(fileKey))
        return kFileNameTaken;

    // A UTF-8 sheet may hold characters the database cannot store; they are never replaced.
    const QString texts = p.name + p.surname + p.email + p.password + p.fileName;
    if (!fitsCp1250(texts))
        return kNotCp1250 + nonCp1250Characters(texts);
    // A cell of several lines is whole on reading; no field of the card holds a line break.
    if (hasLineBreak(texts))
        return kLineBreak;
    // Longer than its column, the text would only fail in the engine and stop the whole import.
    const std::pair<const QString*, std::pair<const char*, int>> lengths[] = {
        {&p.name, {"imię", 30}},        {&p.surname, {"nazwisko", 50}},
        {&p.email, {"e-mail", 100}},    {&p.password, {"hasło", 13}},
        {&p.fileName, {"nazwa pliku planu", 200}}};
    for (const auto& [value, column] : lengths)
        if (value->size() > column.second)
            return kTooLong.arg(QString::fromUtf8(column.first)).arg(column.second);

    // An empty symbol marks nobody: otherwise every empty cell would dismiss an employee.
    const QString symbol = symbolZW.toUpper();
    const bool dismissed = isAssigned(Dismissed) && !symbol.trimmed().isEmpty() &&
                           fieldValue(line, Dismissed).toUpper() == symbol;
    p.act = dismissed ? QStringLiteral("N") : QStringLiteral("T");

    p.error.clear();
    sheetFiles.insert(fileKey);
    out = p;
    return std::nullopt;
}

} // namespace zf
