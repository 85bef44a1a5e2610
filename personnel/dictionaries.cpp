#include "personnel/dictionaries.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "util/dialogs.h"

namespace zf {

namespace {

const QString kKeyField = QStringLiteral("IDDICTIONARY");
constexpr int kDictionaryKeys = 1; // GET_KEY type of dictionary entries

Params entryParams(const QString& idType, const DictionaryEntry& entry)
{
    return {{QStringLiteral("IDTYPE"), idType},
            {QStringLiteral("DESCRIPTION"), entry.description},
            {QStringLiteral("ADDITIONAL1"), entry.additional1},
            {QStringLiteral("ADDITIONAL2"), QString()}};
}

} // namespace

const QString Dictionaries::kNoKey =
    QStringLiteral("Nie udało się pobrać nowego klucza dla słowników");

const std::array<DictionaryType, 2>& DictionaryTypes()
{
    static const std::array<DictionaryType, 2> types = {{
        {QStringLiteral("ZESPO"), QStringLiteral("Nazwy zespołów"),
         QStringLiteral("Nazwa zespołu")},
        {QStringLiteral("TERMT"), QStringLiteral("Rodzaj terminów"),
         QStringLiteral("Rodzaj terminu")},
    }};
    return types;
}

const DictionaryType& DictionaryTypeAt(int position)
{
    const auto& types = DictionaryTypes();
    if (position < 1 || position > static_cast<int>(types.size()))
        return types.front();
    return types[static_cast<size_t>(position - 1)];
}

bool ConfirmDictionaryEntry(const QString& description, Dialogs& dialogs)
{
    if (text::TrimLength(description) > 0)
        return true;
    dialogs.information(kCaptionWarning, QStringLiteral("Nie wypełniono pola"));
    return false;
}

Dictionaries::Dictionaries(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options)
    : m_db(db), m_dialogs(dialogs), m_options(options)
{
}

void Dictionaries::Open(int position)
{
    m_db.OpenDictionary(DictionaryTypeAt(position).idType);
}

void Dictionaries::Close()
{
    m_db.DBFDictionary.close();
}

void Dictionaries::showEntry(int position, int key)
{
    Open(position);
    m_db.LocateByInteger(m_db.DBFDictionary, kKeyField, key);
}

void Dictionaries::AddEntry(DictionaryEditor& editor, int position, bool copy)
{
    try {
        fb::DataSet& list = m_db.DBFDictionary;
        if (copy && list.isEmpty())
            return;
        DictionaryEntry entry;
        if (copy) {
            entry.description = list.asString(QStringLiteral("DESCRIPTION"));
            entry.additional1 = list.asString(QStringLiteral("ADDITIONAL1"));
        }
        const DictionaryType& type = DictionaryTypeAt(position);
        if (!editor.editEntry(type.title, type.label, entry))
            return;
        const int key = m_db.GetKey(kDictionaryKeys);
        if (key == -1) {
            m_db.ReportUnexpectedError(kNoKey, true, kCodeWrite);
            return;
        }
        Params params = entryParams(type.idType, entry);
        params.emplace_back(kKeyField, key);
        if (m_db.Write(TmyDataBase::DBFUDictionary.insertSql, params, kCodeWrite))
            showEntry(position, key);
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeWrite);
    }
}

void Dictionaries::EditEntry(DictionaryEditor& editor, int position)
{
    try {
        fb::DataSet& list = m_db.DBFDictionary;
        if (list.isEmpty())
            return;
        const int key = list.asInteger(kKeyField);
        DictionaryEntry entry{list.asString(QStringLiteral("DESCRIPTION")),
                              list.asString(QStringLiteral("ADDITIONAL1"))};
        const DictionaryType& type = DictionaryTypeAt(position);
        if (!editor.editEntry(type.title, type.label, entry))
            return;
        Params params = entryParams(type.idType, entry);
        params.emplace_back(QStringLiteral("KEYIDDICTIONARY"), key);
        if (m_db.Write(TmyDataBase::DBFUDictionary.updateSql, params, kCodeWrite))
            showEntry(position, key);
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeWrite);
    }
}

void Dictionaries::DeleteEntry()
{
    try {
        fb::DataSet& list = m_db.DBFDictionary;
        if (list.isEmpty())
            return;
        if (m_options.pytajPrzedKasowaniem &&
            !m_dialogs.question(kCaptionQuestion,
                                QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?")))
            return;
        const int key = list.asInteger(kKeyField);
        if (m_db.Write(TmyDataBase::DBFUDictionary.deleteSql,
                       {{QStringLiteral("KEYIDDICTIONARY"), key}}, kCodeDelete))
            m_db.Reopen(list);
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeDelete);
    }
}

namespace {
constexpr int kCodeMinimumStaff = 151913;
}

int ReadMinimumStaff(TmyDataBase& db, int unit)
{
    int value = 0;
    db.Utility(kCodeMinimumStaff, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT MINSTAFF FROM UNITSTAFFING WHERE IDDICUNIT=:IDDICUNIT"));
        st.setParam(QStringLiteral("IDDICUNIT"), unit);
        st.execute();
        if (st.fetch())
            value = st.value(0).toInt();
        st.close();
    });
    return value;
}

bool StoreMinimumStaff(TmyDataBase& db, int unit, int minimum)
{
    if (minimum <= 0)
        return db.Write(QStringLiteral("DELETE FROM UNITSTAFFING WHERE IDDICUNIT=:IDDICUNIT"),
                        {{QStringLiteral("IDDICUNIT"), unit}}, kCodeMinimumStaff);
    return db.Write(
        QStringLiteral("UPDATE OR INSERT INTO UNITSTAFFING (IDDICUNIT, MINSTAFF) VALUES "
                       "(:IDDICUNIT, :MINSTAFF) MATCHING (IDDICUNIT)"),
        {{QStringLiteral("IDDICUNIT"), unit}, {QStringLiteral("MINSTAFF"), minimum}},
        kCodeMinimumStaff);
}

} // namespace zf
