#pragma once

#include "planfiles/planfile.h"
#include "plans/laborcode.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace zf {

class Dialogs;

// The employees' editor of one leave-plan file: opening, deciphering and checking it with the
// office's own plan-file code, the plan password, the employee's choice of days, and saving it
// back so that the office's "Zaznacz zmienione" finds it and "Wczytaj wypełnione" reads it.
// Everything it tells or asks goes through Dialogs; a refusal never changes the file.
class TPlanEditor
{
public:
    enum class OpenResult
    {
        Opened,
        Failed,          // unreadable, damaged or foreign; told
        Cancelled,       // the password was not given
        PasswordRefused, // three wrong passwords; told
    };
    static constexpr int kPasswordTries = 3;

    explicit TPlanEditor(Dialogs& dialogs);

    // Reads the file, checks it and asks for its password when it has one. On anything but
    // Opened the plan open before stays as it was.
    OpenResult Open(const QString& path);
    // Forgets the plan, saved or not.
    void Close();

    bool isOpen() const { return m_open; }
    // The file as it was given to Open.
    const QString& path() const { return m_path; }
    // The plan as read; after a save, the stamp and chosen days as written.
    const PlanFileContent& plan() const { return m_file.content; }
    int year() const { return m_file.content.year; }
    // Carried over plus this year's days.
    int entitlement() const;

    bool isFree(int day) const { return m_free.contains(day); }
    bool isFixed(int day) const { return m_fixed.contains(day); }
    bool isChosen(int day) const { return m_chosen.contains(day); }
    const QSet<int>& freeDays() const { return m_free; }
    // Ascending.
    QList<int> chosenDays() const;
    int chosenCount() const { return static_cast<int>(m_chosen.size()); }
    int remaining() const { return entitlement() - chosenCount(); }
    // The choice checked against the Labour Code as the office checks it: the file's
    // non-working days, the chosen days as leave (unchangeable leave days among them), the
    // entitlement of the file.
    LaborCodeCheck laborCode() const;

    // Takes the employee's choice. Unchangeable days keep the state the office gave them, and
    // non-working days and days outside the plan's year are never chosen; false when the choice
    // had to be corrected so (chosenDays() tells how).
    bool SetChosenDays(const QList<int>& days);
    // A change since the file was opened or last saved.
    bool modified() const { return m_open && m_chosen != m_savedChosen; }

    // "Zapisz": the entitlement check, the question when another program changed the file
    // meanwhile, then a write that replaces the file only when complete. True when saved.
    bool Save();
    // Before the plan is closed or another one opened: "Zapisać zmiany?" with "Tak", "Nie" and
    // "Anuluj" when there are changes. "Tak" saves through `save` (Save() when none is given).
    // False when the plan must stay open: "Anuluj", or the save was refused or failed.
    bool ConfirmClose(const std::function<bool()>& save = {});

private:
    OpenResult askPassword(const QString& password, const QString& shownPath);
    // True when the file is as read or last written, or the employee agrees to replace it;
    // `theirStamp` is the stamp of a plan file that replaced it.
    bool mayOverwrite(std::optional<int>& theirStamp);
    void failOpen(const QString& text);

    Dialogs& m_dialogs;
    bool m_open = false;
    QString m_path;
    EditablePlanFile m_file;
    // The file's bytes as read or last written: anything else on disk was put there by another
    // program.
    QByteArray m_onDisk;
    QSet<int> m_free;
    QSet<int> m_fixed;
    QSet<int> m_fixedChosen;
    QSet<int> m_chosen;
    QSet<int> m_savedChosen;
};

} // namespace zf
