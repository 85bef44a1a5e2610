#include "bench/loadclerk.h"

#include "bench/benchsupport.h"
#include "bench/serverbench.h"
#include "data/mydatabase.h"
#include "planfiles/workingwithxml.h"
#include "plans/editcalendar.h"
#include "plans/planconfig.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <random>

namespace zf::bench::load {

namespace {

long long steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The messages shown during one operation, nothing asked back.
class RecordingDialogs : public ConsoleDialogs
{
public:
    void information(const QString& caption, const QString& text) override
    {
        shown.push_back({caption, text});
    }
    std::vector<std::pair<QString, QString>> shown;
};

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    return text.left(160);
}

// Ten working days of the plan year, different for each clerk and save.
QList<int> savePattern(std::mt19937& rng)
{
    QList<int> days;
    std::uniform_int_distribution<int> pick(1, 365);
    while (days.size() < 10) {
        const int n = AddDays(MakeDateNumber(1, 1, kYear), pick(rng) - 1);
        if (YearPart(n) == kYear && DayOfWeekIso(n) < 6 && !days.contains(n))
            days.append(n);
    }
    std::sort(days.begin(), days.end());
    return days;
}

class Clerk
{
public:
    Clerk(int index, const QString& location, const QString& root)
        : m_index(index), m_location(location), m_rng(static_cast<unsigned>(1000 + index)),
          m_db(DatabasePaths{root + QStringLiteral("/Orvantis/Zefirant"),
                             QStringLiteral(ZF_BENCH_PROGRAM_FOLDER),
                             {root + QStringLiteral("/no-installer")}},
               m_dialogs)
    {
        QDir().mkpath(m_db.paths().dataFolder + QStringLiteral("/debug"));
    }

    bool connect()
    {
        return m_db.Connect(m_location, kUser, qEnvironmentVariable("ZF_TEST_SERVER_PASSWORD"));
    }

    void run(int seconds, QTextStream& out)
    {
        QElapsedTimer clock;
        clock.start();
        std::uniform_int_distribution<int> which(0, 99);
        std::uniform_int_distribution<int> pause(kPauseMinMs, kPauseMaxMs);
        while (clock.elapsed() < seconds * 1000LL) {
            const int w = which(m_rng);
            if (w < 40)
                leave(out);
            else if (w < 55)
                timed(out, QStringLiteral("batch change"), [&] { return batch(); });
            else if (w < 70)
                timed(out, QStringLiteral("note"), [&] { return note(); });
            else if (w < 85)
                timed(out, QStringLiteral("plan status"), [&] {
                    return m_db.SetPlanStatus(kStatusYear, 1 + static_cast<int>(m_rng() % 3));
                });
            else
                timed(out, QStringLiteral("import 50 files"), [&] { return import(); });
            QThread::msleep(static_cast<unsigned long>(pause(m_rng)));
        }
    }

private:
    template <typename F> bool timed(QTextStream& out, const QString& op, F&& body)
    {
        m_dialogs.shown.clear();
        QElapsedTimer t;
        t.start();
        const bool ok = body();
        out << "L\t" << op << '\t' << msSince(t) << '\n';
        bool reported = false;
        for (const auto& [caption, text] : m_dialogs.shown) {
            const bool raw = isEngineText(text);
            // "Gotowe!" and the like are no failures.
            if (!raw && caption == QStringLiteral("Informacja"))
                continue;
            out << "E\t" << op << '\t' << (raw ? "raw" : "pl") << '\t' << oneLine(text) << '\n';
            reported = true;
        }
        if (!ok && !reported)
            out << "E\t" << op << "\tpl\t(failed, nothing shown)\n";
        return ok;
    }

    // The leave editor: opened on one of the shared employees, ten days ticked, saved.
    void leave(QTextStream& out)
    {
        const QString employee =
            employeeKey(static_cast<int>(m_rng() % static_cast<unsigned>(kSharedEmployees)));
        EditCalendarState state;
        if (!timed(out, QStringLiteral("leave open"),
                   [&] { return LoadEditCalendar(m_db, kYear, employee, state) && state.found; }))
            return;
        Save save;
        save.employee = employee;
        save.days = savePattern(m_rng);
        for (auto& month : state.days)
            for (DayState& d : month)
                d.selected = false;
        for (const int n : save.days)
            state.days[static_cast<size_t>(MonthPart(n) - 1)][static_cast<size_t>(DayPart(n) - 1)]
                .selected = true;
        save.startNs = steadyNs();
        save.confirmed = timed(out, QStringLiteral("leave save"), [&] {
            return SaveEditCalendar(m_db, kYear, employee, state.days, 0, false) ==
                   SaveCalendarResult::Saved;
        });
        save.endNs = steadyNs();
        QStringList days;
        for (const int n : save.days)
            days << QString::number(n);
        out << "S\t" << save.employee << '\t' << save.startNs << '\t' << save.endNs << '\t'
            << (save.confirmed ? 1 : 0) << '\t' << days.join(QLatin1Char(',')) << '\n';
    }

    bool batch()
    {
        QStringList selected;
        const int first = kBatchFirst + static_cast<int>(m_rng() % 25);
        for (int i = 0; i < kBatchSize; ++i)
            selected << employeeKey(first + i);
        // The window opens on the plan's list, then applies.
        m_db.OpenSettingsBatch(kYear);
        BatchEdit edit(m_db, m_dialogs);
        return edit.Apply(kYear, QString::number(20 + static_cast<int>(m_rng() % 10)), 0,
                          selected);
    }

    bool note()
    {
        NoteSlots notes;
        if (!m_db.LoadNotes(notes))
            return false;
        const int slot = m_index % kNoteSlotCount;
        notes[static_cast<size_t>(slot)].text =
            QStringLiteral("Notatka urzędnika %1, %2").arg(m_index).arg(++m_notes);
        NoteSlotSet changed;
        changed.set(static_cast<size_t>(slot));
        return m_db.SaveNotes(notes, changed);
    }

    bool import()
    {
        QStringList keys;
        for (int i = 0; i < kImportFiles; ++i)
            keys << employeeKey(kImportFirst + m_index * kImportFiles + i);
        TWorkingWithXML xml(m_db, kYear);
        return xml.ImportPlanFiles(keys) && !xml.lastRun().stopped;
    }

    int m_index;
    QString m_location;
    std::mt19937 m_rng;
    RecordingDialogs m_dialogs;
    TmyDataBase m_db;
    int m_notes = 0;
};

} // namespace

bool isEngineText(const QString& text)
{
    // The program's report of an unexpected error carries the engine's text after this.
    if (text.contains(QStringLiteral("Orginalny komunikat")))
        return true;
    static const QRegularExpression words(
        QStringLiteral("deadlock|conflict|violation|Dynamic SQL|lock time-?out|SQLCODE|"
                       "unsuccessful|concurrent|Error while|Statement failed|Unable to|"
                       "connection (lost|shutdown|rejected)|attempt to store"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(text).hasMatch();
}

ClerkReport readReport(const QString& path)
{
    ClerkReport report;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return report;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QStringList p = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (p.value(0) == QStringLiteral("L") && p.size() == 3) {
            report.timings.push_back({p[1], p[2].toDouble()});
        } else if (p.value(0) == QStringLiteral("E") && p.size() == 4) {
            report.failures.push_back({p[1], p[2] == QStringLiteral("raw"), p[3]});
        } else if (p.value(0) == QStringLiteral("S") && p.size() == 6) {
            Save s;
            s.employee = p[1];
            s.startNs = p[2].toLongLong();
            s.endNs = p[3].toLongLong();
            s.confirmed = p[4] == QStringLiteral("1");
            for (const QString& n : p[5].split(QLatin1Char(','), Qt::SkipEmptyParts))
                s.days.append(n.toInt());
            report.saves.push_back(s);
        }
    }
    return report;
}

int clerkMain(int argc, char** argv)
{
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zf-clerk-XXXXXX"));
    if (!root.isValid() || argc < 6)
        return 1;
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.path()));
    QCoreApplication app(argc, argv);
    const int index = QByteArray(argv[2]).toInt();
    QFile file(QFile::decodeName(argv[5]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream out(&file);
    Clerk clerk(index, QString::fromLocal8Bit(argv[3]), root.path());
    if (!clerk.connect()) {
        std::fprintf(stderr, "clerk %d: cannot connect\n", index);
        return 1;
    }
    clerk.run(QByteArray(argv[4]).toInt(), out);
    return 0;
}

} // namespace zf::bench::load
