#pragma once

#include <QList>
#include <QString>

namespace zf {

class Dialogs;
class TmyDataBase;

// The plan files carry no year in their names: two plans in one folder would overwrite each
// other's files, and with them what the employees saved. Each plan gets a folder of its own.

// A folder of its own for the plan of `year`: next to `otherFolder`, the folder of the plan of
// `otherYear`, with that year in its name replaced by this one; or "Plan urlopowy <year>" inside
// it when its name holds no year. Empty when there is no other folder.
QString ProposedPlanFolder(int year, const QString& otherFolder, int otherYear);
// Whether two folder texts name one folder (separators, "." and ".." parts, links).
bool SameFolder(const QString& a, const QString& b);

// The plan folders in the database, read for the questions below.
class PlanFolders
{
public:
    static constexpr int kCodeRead = 102131;
    static const QString kSharedQuestion;

    PlanFolders(TmyDataBase& db, Dialogs& dialogs);

    // The years of the other plans whose folder is `folder`; empty also on a reported error.
    QList<int> PlansUsing(const QString& folder, int exceptYear);
    // A folder of its own for a new plan of `year`, from the folder of the nearest other plan
    // that has one; empty when none has.
    QString ProposeFor(int year);
    // True when no other plan uses `folder`, or the clerk, told why, chose to share it.
    bool MayUse(const QString& folder, int year);

private:
    struct Plan
    {
        int year;
        QString folder;
    };
    QList<Plan> plans();

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
};

} // namespace zf
