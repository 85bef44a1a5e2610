#pragma once

#include <QString>

#include <array>

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

// One dictionary of the table DICTIONARY, told apart by IDTYPE.
struct DictionaryType
{
    QString idType;
    QString title; // drop-down item, grid column title, caption of the edit window
    QString label; // field label of the edit window
};

// In the order of the drop-down "Wybierz słownik"; positions count from 1.
const std::array<DictionaryType, 2>& DictionaryTypes();
// The type at a position; positions outside the list give the first one.
const DictionaryType& DictionaryTypeAt(int position);

struct DictionaryEntry
{
    QString description;
    QString additional1; // held hidden: empty for new entries, kept by edits and copies
};

// The small edit window of an entry, as the operations need it.
class DictionaryEditor
{
public:
    virtual ~DictionaryEditor() = default;
    // Shows the entry modally under the caption and label of its type; true with the edited
    // entry when closed by "&Zapisz".
    virtual bool editEntry(const QString& caption, const QString& label,
                           DictionaryEntry& entry) = 0;
};

// "&Zapisz" of the edit window: a text of blanks only is refused with "Nie wypełniono pola".
bool ConfirmDictionaryEntry(const QString& description, Dialogs& dialogs);

// The operations of the dictionary window over the shared list DBFDictionary.
class Dictionaries
{
public:
    Dictionaries(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options);

    // Opens the list of the type at `position`.
    void Open(int position);
    void Close();

    void AddEntry(DictionaryEditor& editor, int position, bool copy);
    void EditEntry(DictionaryEditor& editor, int position);
    void DeleteEntry();

    static const QString kNoKey;
    static constexpr int kCodeWrite = 50;
    static constexpr int kCodeDelete = 51;

private:
    void showEntry(int position, int key);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
};

// A unit's minimum staffing ("Minimalna obsada"): 0 when it has none, or after a reported error.
int ReadMinimumStaff(TmyDataBase& db, int unit);
// Stores `minimum` for the unit; 0 or below removes the threshold. True when committed.
bool StoreMinimumStaff(TmyDataBase& db, int unit, int minimum);

} // namespace zf
