// The export run of TWorkingWithXML: every chosen employee's file from three reads of the whole
// plan, put in place together.
#include "planfiles/workingwithxml.h"
#include "planfiles/workingwithxml_reader.h"

#include "cipher/cipher.h"
#include "util/ovtools.h"

#include <QHash>

#include <algorithm>

namespace zf {

using namespace planfilesql;

bool TWorkingWithXML::WritePlanFiles(const QStringList& keys, const QString& comment,
                                     bool includeDays, bool checkRange)
{
    m_run = PlanFilesRun{};
    m_run.total = static_cast<int>(keys.size());
    const auto stop = [this](const QString& at) {
        m_run.stopped = true;
        m_run.stoppedAt = at;
        return false;
    };
    if (!LoadPlanSettings(comment, checkRange))
        return stop({});
    if (!text::DirectoryExists(m_planFolder)) {
        m_db.ReportUnexpectedError(kMsgFolder + m_planFolder, false, kCodeFolder);
        return stop({});
    }
    if (!mayGenerateWithoutFreeDays()) {
        m_run.cancelled = true;
        return false;
    }

    QHash<QString, Stored> stored;
    if (!loadEmployees(keys, includeDays, stored))
        return stop({});

    // On a shared Windows folder two names that differ only in case are one file: such a pair
    // is refused before anything is written.
    {
        QHash<QString, QString> byName;
        for (const QString& key : keys) {
            const auto e = stored.constFind(key);
            if (e == stored.cend())
                continue; // reported when its turn comes
            const QString folded = e->fileName.toCaseFolded();
            const auto other = byName.constFind(folded);
            if (other != byName.cend() && *other != key) {
                m_db.ReportUnexpectedError(
                    kMsgWrite + PlanFilePath(m_planFolder, e->fileName) +
                        QStringLiteral(" (pracownicy %1 i %2 mają pliki planu o tej samej "
                                       "nazwie, różniącej się najwyżej wielkością liter)")
                            .arg(storedText(*other, stored.value(*other)),
                                 storedText(key, *e)),
                    false, kCodeWrite);
                return stop(storedText(key, *e));
            }
            byName.insert(folded, key);
        }
    }

    QHash<QString, ExistingPlanFile> looked;
    QSet<QString> keep;
    if (!lookAtExistingFiles(keys, stored, looked, keep))
        return false;

    // The files are put in place together at the end, or where the run stops, so that the
    // employees done so far have theirs before any message is shown.
    PlanFileBatch batch;
    QStringList texts; // of the employees in the batch, and their files
    QStringList paths;
    const auto putInPlace = [&]() {
        const int placed = batch.commit();
        m_run.done = placed;
        if (!batch.synced() && placed > 0) {
            m_db.ReportUnexpectedError(kMsgNotSynced + m_planFolder, false, kCodeWrite);
            m_run.stopped = true;
            m_run.stoppedAt = texts.value(placed);
            return false;
        }
        if (placed == texts.size())
            return true;
        m_db.ReportUnexpectedError(kMsgWrite + paths.at(placed), false, kCodeWrite);
        m_run.stopped = true;
        m_run.stoppedAt = texts.at(placed);
        return false;
    };
    for (int i = 0; i < m_run.total; ++i) {
        const QString& key = keys.at(i);
        const auto e = stored.constFind(key);
        if (e == stored.cend()) {
            if (!putInPlace())
                return false;
            m_db.ReportUnexpectedError(missingEmployeeMessage(key), false, kCodeWrite);
            return stop(key);
        }
        setCurrent(key, *e);
        if (!reportProgress(i, m_run.total, employeeText())) {
            putInPlace();
            return false;
        }
        if (keep.contains(key))
            continue;
        // Saved by its employee while the clerk was reading the question, say.
        const auto seen = looked.constFind(key);
        if (seen != looked.cend() && !UnchangedSinceLook(EmployeeFilePath(), *seen)) {
            m_run.leftAlone.append(employeeText() +
                                   QStringLiteral(": zmieniony w czasie generowania"));
            keep.insert(key);
            continue;
        }
        Failure failure;
        if (!writeLoaded(&batch, failure)) {
            if (!putInPlace())
                return false;
            m_db.ReportUnexpectedError(failure.message, false, failure.code);
            return stop(employeeText());
        }
        texts.append(employeeText());
        paths.append(EmployeeFilePath());
    }
    return putInPlace();
}

QString TWorkingWithXML::storedText(const QString& key, const Stored& e)
{
    return e.name + QLatin1Char(' ') + e.surname + QStringLiteral(" (") + key + QLatin1Char(')');
}

void TWorkingWithXML::setCurrent(const QString& key, const Stored& e)
{
    PlanFileContent& c = m_content;
    c.employeeKey = key;
    c.name = e.name;
    c.surname = e.surname;
    c.password = e.password;
    c.lastYearDays = e.lastYearDays;
    c.thisYearDays = e.thisYearDays;
    c.stamp = e.stamp;
    c.selectedDays = e.selectedDays;
    c.unchangeableDays = e.unchangeableDays;
    m_fileName = e.fileName;
}

TWorkingWithXML::Stored TWorkingWithXML::current() const
{
    const PlanFileContent& c = m_content;
    return Stored{c.name,         c.surname, m_fileName,     c.password,        c.lastYearDays,
                  c.thisYearDays, c.stamp,   c.selectedDays, c.unchangeableDays};
}

bool TWorkingWithXML::loadEmployees(const QStringList& keys, bool includeDays,
                                    QHash<QString, Stored>& out)
{
    // Three statements per employee against three reads of every employee of the plan (about a
    // second at 10,000): one by one wins by far for the few chosen by hand.
    constexpr int kOneByOneUpTo = 16;
    if (keys.size() > kOneByOneUpTo)
        return loadAllEmployees(includeDays, out);
    out.clear();
    for (const QString& key : keys) {
        if (out.contains(key))
            continue;
        switch (loadEmployee(key, includeDays)) {
        case Failed:
            return false;
        case Missing:
            continue; // reported when its turn comes
        case Loaded:
            break;
        }
        out.insert(key, current());
    }
    return true;
}

bool TWorkingWithXML::loadAllEmployees(bool includeDays, QHash<QString, Stored>& out)
{
    out.clear();
    Reader& r = *m_reader;
    for (fb::Statement* st : {&r.allEmployees, &r.allChosenDays, &r.allFixedDays})
        st->setParam(QStringLiteral("IDYEAR"), m_content.year);
    if (!r.read(m_db, kCodeOpenSingleSettings, r.allEmployees, [&](fb::Statement& s) {
            while (s.fetch()) {
                Stored& e = out[toText(s.value(0))];
                e.name = toText(s.value(1));
                e.surname = toText(s.value(2));
                e.fileName = toText(s.value(3));
                e.password = toText(s.value(4));
                e.lastYearDays = toInt(s.value(5));
                e.thisYearDays = toInt(s.value(6));
                e.stamp = toInt(s.value(7));
            }
        }))
        return false;
    if (!includeDays)
        return true;
    // Rows come grouped by employee more often than not: the last one found is kept.
    const auto collect = [&out](QList<int> Stored::*list) {
        return [&out, list](fb::Statement& s) {
            QString lastKey;
            Stored* last = nullptr;
            while (s.fetch()) {
                const QString key = toText(s.value(0));
                if (!last || key != lastKey) {
                    lastKey = key;
                    const auto found = out.find(key);
                    last = found == out.end() ? nullptr : &*found;
                }
                if (last)
                    (last->*list).append(toInt(s.value(1)));
            }
        };
    };
    if (!r.read(m_db, kCodeOpenChosenDays, r.allChosenDays, collect(&Stored::selectedDays)) ||
        !r.read(m_db, kCodeOpenFixedDays, r.allFixedDays, collect(&Stored::unchangeableDays)))
        return false;
    // Ascending, as the single employee's statements give them.
    for (Stored& e : out) {
        std::sort(e.selectedDays.begin(), e.selectedDays.end());
        std::sort(e.unchangeableDays.begin(), e.unchangeableDays.end());
    }
    return true;
}

} // namespace zf
