// Helper of the lifecycle test, which kills it while it works: creates plan <target> as a copy of
// plan <source> in the database <path>, as "Utwórz z istniejącego" does. Prints "ready" when the
// year is asked (the copy starts right after) and "done" with the created year at the end.
//
//   plans_copy_child <path> <user> <password> <source> <target> <folder> <data folder>
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/planlifecycle.h"
#include "util/dialogs.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

// Nobody to answer: what would be shown goes to stderr for the test's failure message.
class ConsoleDialogs final : public zf::Dialogs
{
public:
    void information(const QString& caption, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
    bool question(const QString&, const QString& text) override
    {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return false;
    }
    bool prompt(const QString&, const QString&, QString&, bool) override { return false; }
    QString openFileName(const QString&, const QString&, const QStringList&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QStringList&,
                         const QString&) override
    {
        return {};
    }
    QString existingDirectory(const QString&, const QString&) override { return {}; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 8) {
        std::fprintf(stderr,
                     "usage: %s <path> <user> <password> <source> <target> <folder> "
                     "<data folder>\n",
                     argv[0]);
        return 2;
    }
    const QString& data = args[7];
    ConsoleDialogs dialogs;
    zf::TmyDataBase db({data, QString(), {data + QStringLiteral("/no-installer")}}, dialogs);
    if (!db.Connect(args[1], args[2], args[3])) {
        std::fprintf(stderr, "cannot connect to %s\n", qPrintable(args[1]));
        return 2;
    }
    zf::ProgramOptions options;
    zf::PlanLifecycle life(db, dialogs, options);
    life.setCopySource(args[4].toInt(), args[6]);
    bool asked = false;
    const int created = life.CreatePlan([&]() -> std::optional<int> {
        if (asked)
            return std::nullopt;
        asked = true;
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        return args[5].toInt();
    });
    std::printf("done %d\n", created);
    std::fflush(stdout);
    return created == args[5].toInt() ? 0 : 1;
}
