// Add-on installation from ".ppi" descriptions built in a temporary folder, and running tool
// slots with small real scripts. The folders hold blanks, as "Program Files" would.
#include "app/addons.h"
#include "tests/support/scripted_dialogs.h"
#include "util/inifile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace zf {
namespace {

using Result = TAddOns::InstallResult;
using Description = std::map<QString, QString>; // "SECTION/key" -> value

const QString kInstalled = QStringLiteral("Program Zefirant PL+ zawiera już instalowany dodatek");
const QString kCopyFailed = QStringLiteral(
    "Podczas instalacji wystąpił błąd. Dodatek nie został zainstalowany. Spróbuj zamknąć "
    "wszystkie programy, zrestartować komputer i spróbować ponownie");

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<none>");
}

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// A script that records its arguments, one a line, and the folder it was started in.
void writeRecorder(const QString& path)
{
    writeFile(path,
              "#!/bin/sh\n"
              "out=\"$(dirname \"$0\")/args\"\n"
              "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$out.tmp\"\n"
              "mv \"$out.tmp\" \"$out.txt\"\n",
              true);
}

// What the recorder beside `program` wrote, once the detached process has written it.
QStringList recorded(const QString& program)
{
    const QString path = QFileInfo(program).absolutePath() + QStringLiteral("/args.txt");
    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QThread::msleep(20);
    QStringList lines = readAll(path).split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

class AddOnsTest : public ::testing::Test
{
protected:
    QTemporaryDir root{QDir::tempPath() + QStringLiteral("/zf dodatki XXXXXX")};
    QString program = root.path() + QStringLiteral("/program folder");
    QString iniPath = root.path() + QStringLiteral("/data/zefirant.ini");
    QString source = root.path() + QStringLiteral("/nośnik");
    QString addOn = program + QStringLiteral("/kalk");
    test::ScriptedDialogs dialogs;
    ToolSlots tools = readToolSlots(IniFile(iniPath), program);
    TAddOns addOns{tools, iniPath, program, dialogs};
    std::vector<QStringList> menus; // every list handed to the menu

    void SetUp() override
    {
        addOns.onMenuChanged = [this](const QStringList& names) {
            menus.push_back(names);
            // The menu is refilled before the closing message.
            EXPECT_EQ(dialogs.informationTexts().size(), 0);
        };
        writeFile(source + QStringLiteral("/kalk.sh"), "v1");
        writeFile(source + QStringLiteral("/lib/a.txt"), "a1");
        writeFile(source + QStringLiteral("/ustawienia.cfg"), "spec1");
    }

    // The description of version `ver` in slot `menuid`, changed by `changes` (an empty value
    // removes the key).
    QString describe(const QString& ver, const QString& menuid, const Description& changes = {})
    {
        Description d = {{QStringLiteral("CONFIG/menuid"), menuid},
                         {QStringLiteral("CONFIG/ver"), ver},
                         {QStringLiteral("CONFIG/name"), QStringLiteral("Kalkulator walut")},
                         {QStringLiteral("CONFIG/dir"), QStringLiteral("kalk")},
                         {QStringLiteral("CONFIG/rez"), QStringLiteral("R") + ver},
                         {QStringLiteral("CONFIG/mainfile"), QStringLiteral("kalk.sh -w")},
                         {QStringLiteral("CONFIG/comment"), QStringLiteral("Gotowe ") + ver},
                         {QStringLiteral("MAKEDIR/count"), QStringLiteral("2")},
                         {QStringLiteral("MAKEDIR/dir1"), QStringLiteral("dane")},
                         {QStringLiteral("MAKEDIR/dir2"), QStringLiteral("dane\\log")},
                         {QStringLiteral("FILE/count"), QStringLiteral("2")},
                         {QStringLiteral("FILE/file1"), QStringLiteral("kalk.sh")},
                         {QStringLiteral("FILE/file2"), QStringLiteral("lib/a.txt")},
                         {QStringLiteral("SPECFILE/count"), QStringLiteral("1")},
                         {QStringLiteral("SPECFILE/file1"), QStringLiteral("ustawienia.cfg")}};
        for (const auto& [key, value] : changes) {
            if (value.isEmpty())
                d.erase(key);
            else
                d[key] = value;
        }
        const QString path = source + QStringLiteral("/instaluj.ppi");
        QFile::remove(path);
        IniFile ppi(path);
        for (const auto& [key, value] : d)
            ppi.writeString(key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1),
                            value);
        return path;
    }

    Result install(const QString& ppi)
    {
        dialogs.clear();
        dialogs.answer(true);
        dialogs.chooseFile(ppi);
        return addOns.Install();
    }
    QString tool(const char* key)
    {
        return IniFile(iniPath).readString(QStringLiteral("TOOLS"), QLatin1String(key),
                                           QStringLiteral("<none>"));
    }
};

TEST_F(AddOnsTest, FirstInstallationCopiesEverythingAndRecordsTheSlot)
{
    IniFile(iniPath).writeString(QStringLiteral("OPTIONS"), QStringLiteral("dataWsteczna"),
                                 QStringLiteral("9"));
    EXPECT_EQ(install(describe(QStringLiteral("1.0"), QStringLiteral("3"))), Result::Installed);

    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Instalacja dodatku"));
    EXPECT_EQ(dialogs.shown().at(1).caption, QStringLiteral("Wskaż plik instalacyjny"));
    EXPECT_EQ(dialogs.shown().back().caption, QStringLiteral("Instalacja powiodła się"));
    EXPECT_EQ(dialogs.informationTexts(), QStringList{QStringLiteral("Gotowe 1.0")});
    EXPECT_EQ(readAll(addOn + QStringLiteral("/kalk.sh")), QStringLiteral("v1"));
    EXPECT_EQ(readAll(addOn + QStringLiteral("/lib/a.txt")), QStringLiteral("a1"));
    EXPECT_EQ(readAll(addOn + QStringLiteral("/ustawienia.cfg")), QStringLiteral("spec1"));
    EXPECT_TRUE(QFileInfo(addOn + QStringLiteral("/dane/log")).isDir());

    const QString command = QLatin1Char('"') + addOn + QStringLiteral("/\"kalk.sh -w");
    EXPECT_EQ(tool("name3"), QStringLiteral("Kalkulator walut"));
    EXPECT_EQ(tool("dir3"), command);
    EXPECT_EQ(tool("ver3"), QStringLiteral("1.0"));
    EXPECT_EQ(tool("rez3"), QStringLiteral("R1.0"));
    EXPECT_EQ(
        IniFile(iniPath).readString(QStringLiteral("OPTIONS"), QStringLiteral("dataWsteczna")),
        QStringLiteral("9"));
    EXPECT_EQ(tools[3].dir, command);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].size(), 16);
    EXPECT_EQ(menus[0][3], QStringLiteral("Kalkulator walut"));
    EXPECT_EQ(menus[0][15], QStringLiteral("Archiwizacja bazy danych"));

    // The recorded command runs the installed program with its argument.
    writeRecorder(addOn + QStringLiteral("/kalk.sh"));
    EXPECT_TRUE(addOns.Run(3));
    EXPECT_EQ(recorded(addOn + QStringLiteral("/kalk.sh")),
              (QStringList{addOn, QStringLiteral("-w")}));
}

TEST_F(AddOnsTest, ALaterVersionCopiesTheFilesButNotTheSpecialOnesAndTheSameIsRefused)
{
    ASSERT_EQ(install(describe(QStringLiteral("1.0"), QStringLiteral("3"))), Result::Installed);
    writeFile(addOn + QStringLiteral("/ustawienia.cfg"), "the user's settings");
    writeFile(source + QStringLiteral("/kalk.sh"), "v2");
    writeFile(source + QStringLiteral("/ustawienia.cfg"), "spec2");

    EXPECT_EQ(install(describe(QStringLiteral("1.0"), QStringLiteral("3"))),
              Result::AlreadyInstalled);
    EXPECT_EQ(dialogs.shown().back().caption, QStringLiteral("Błąd"));
    EXPECT_EQ(dialogs.informationTexts(), QStringList{kInstalled});
    EXPECT_EQ(readAll(addOn + QStringLiteral("/kalk.sh")), QStringLiteral("v1"));

    EXPECT_EQ(install(describe(QStringLiteral("2.0"), QStringLiteral("3"))), Result::Installed);
    EXPECT_EQ(readAll(addOn + QStringLiteral("/kalk.sh")), QStringLiteral("v2"));
    EXPECT_EQ(readAll(addOn + QStringLiteral("/ustawienia.cfg")),
              QStringLiteral("the user's settings"));
    EXPECT_EQ(tool("ver3"), QStringLiteral("2.0"));
    EXPECT_EQ(tools[3].rez, QStringLiteral("R2.0"));
    EXPECT_EQ(menus.size(), 2u);

    // Without "ver" an unused slot counts as holding it already.
    EXPECT_EQ(install(describe(QString(), QStringLiteral("5"))), Result::AlreadyInstalled);
    EXPECT_EQ(tool("name5"), QStringLiteral("<none>"));
}

TEST_F(AddOnsTest, SlotNumbersTakeTheLowEightBits)
{
    struct Case
    {
        QString menuid;
        int slot; // -1: refused without a word
    };
    const Case cases[] = {{QStringLiteral("256"), 0},   {QStringLiteral("16"), -1},
                          {QStringLiteral("-1"), -1},   {QString(), -1},
                          {QStringLiteral("$10F"), 15}, {QStringLiteral("abc"), -1}};
    for (const Case& c : cases) {
        const Result r = install(describe(c.menuid + QStringLiteral("v"), c.menuid,
                                          {{QStringLiteral("CONFIG/menuid"), c.menuid}}));
        const std::string title = c.menuid.toStdString();
        if (c.slot < 0) {
            EXPECT_EQ(r, Result::SlotRefused) << title;
            EXPECT_TRUE(dialogs.informationTexts().isEmpty()) << title;
            continue;
        }
        EXPECT_EQ(r, Result::Installed) << title;
        EXPECT_EQ(tools[c.slot].name, QStringLiteral("Kalkulator walut")) << title;
        EXPECT_EQ(tool(qPrintable(QStringLiteral("ver%1").arg(c.slot))),
                  c.menuid + QLatin1Char('v'));
    }
    EXPECT_EQ(tool("ver1") + tool("name4"), QStringLiteral("<none><none>"));
    // Slot 15 shows the add-on until the next start, then the archiving tool again.
    EXPECT_EQ(readToolSlots(IniFile(iniPath), program)[15].name,
              QStringLiteral("Archiwizacja bazy danych"));
    EXPECT_EQ(tool("name15"), QStringLiteral("Kalkulator walut"));
}

TEST_F(AddOnsTest, FaultyDescriptionsChangeNothing)
{
    struct Case
    {
        const char* title;
        Description changes;
        QString message; // a part of it
    };
    const QString missing = QStringLiteral("brakuje nazwy pliku");
    const QString outside = QStringLiteral("wychodzi poza folder dodatku");
    const Case cases[] = {
        {"count above the files",
         {{QStringLiteral("FILE/count"), QStringLiteral("3")}},
         missing + QStringLiteral(" \"file3\"")},
        {"special count above",
         {{QStringLiteral("SPECFILE/count"), QStringLiteral("2")}},
         QStringLiteral("w sekcji \"SPECFILE\" ") + missing},
        {"no folder",
         {{QStringLiteral("CONFIG/dir"), QString()}},
         QStringLiteral("nie podaje folderu dodatku")},
        {"folder outside", {{QStringLiteral("CONFIG/dir"), QStringLiteral("../poza")}}, outside},
        {"file climbing out",
         {{QStringLiteral("FILE/file2"), QStringLiteral("lib/../../../x")}},
         outside},
        {"absolute file",
         {{QStringLiteral("FILE/file1"), QStringLiteral("/etc/hostname")}},
         outside},
        {"subfolder outside",
         {{QStringLiteral("MAKEDIR/dir1"), QStringLiteral("..\\..\\x")}},
         outside},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(install(describe(QStringLiteral("1.0"), QStringLiteral("3"), c.changes)),
                  Result::BadDescription)
            << c.title;
        ASSERT_EQ(dialogs.informationTexts().size(), 1) << c.title;
        EXPECT_TRUE(dialogs.informationTexts().at(0).contains(c.message)) << c.title;
        EXPECT_TRUE(dialogs.informationTexts().at(0).endsWith(
            QStringLiteral("Dodatek nie został zainstalowany.")))
            << c.title;
        EXPECT_FALSE(QFileInfo::exists(addOn)) << c.title;
        EXPECT_FALSE(QFileInfo::exists(root.path() + QStringLiteral("/poza"))) << c.title;
        EXPECT_FALSE(QFileInfo::exists(iniPath)) << c.title;
    }
    EXPECT_TRUE(menus.empty());
}

TEST_F(AddOnsTest, ACopyFailureRecordsNothing)
{
    IniFile(iniPath).writeString(QStringLiteral("TOOLS"), QStringLiteral("name3"),
                                 QStringLiteral("Stary"));
    tools[3].name = QStringLiteral("Stary");
    EXPECT_EQ(install(describe(QStringLiteral("1.0"), QStringLiteral("3"),
                               {{QStringLiteral("FILE/file2"), QStringLiteral("brak.txt")}})),
              Result::CopyFailed);
    EXPECT_EQ(dialogs.shown().back().caption, QStringLiteral("Błąd"));
    EXPECT_EQ(dialogs.informationTexts(), QStringList{kCopyFailed});
    EXPECT_EQ(tool("name3"), QStringLiteral("Stary"));
    EXPECT_EQ(tool("ver3"), QStringLiteral("<none>"));
    EXPECT_EQ(tools[3].name, QStringLiteral("Stary"));
    EXPECT_TRUE(menus.empty());
}

TEST_F(AddOnsTest, AnUnwritableIniFileIsNotReportedAsSuccess)
{
    writeFile(root.path() + QStringLiteral("/plik"), "");
    TAddOns blocked(tools, root.path() + QStringLiteral("/plik/zefirant.ini"), program, dialogs);
    dialogs.answer(true);
    dialogs.chooseFile(describe(QStringLiteral("1.0"), QStringLiteral("3")));
    EXPECT_EQ(blocked.Install(), Result::NotRecorded);
    EXPECT_EQ(dialogs.shown().back().caption, QStringLiteral("Błąd"));
    EXPECT_TRUE(tools[3].name.isEmpty());
}

TEST_F(AddOnsTest, NoAndCancelEndTheCommand)
{
    dialogs.answer(false);
    EXPECT_EQ(addOns.Install(), Result::Cancelled);
    EXPECT_EQ(install(QString()), Result::Cancelled);
    EXPECT_TRUE(dialogs.informationTexts().isEmpty());
}

TEST_F(AddOnsTest, RunningSplitsTheCommandLineAsAShellWould)
{
    const QString script = root.path() + QStringLiteral("/narzędzie z odstępem/zapis");
    writeRecorder(script);
    tools[4] = {QStringLiteral("Zapis"),
                quotedProgramPath(script) +
                    QStringLiteral(" \"dwa słowa\" pojedyncze  \"\"\"cytat\"\"\" ''"),
                {},
                {}};
    EXPECT_TRUE(addOns.Run(4));
    EXPECT_EQ(recorded(script),
              (QStringList{QFileInfo(script).absolutePath(), QStringLiteral("dwa słowa"),
                           QStringLiteral("pojedyncze"), QStringLiteral("\"cytat\""),
                           QStringLiteral("''")}));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(AddOnsTest, TheArchivingToolAndTheCompanionsOfHash)
{
    const QString archiver = program + QStringLiteral("/archiwizacja/archiwizacja");
    writeRecorder(archiver);
    EXPECT_TRUE(addOns.Run(15));
    EXPECT_EQ(recorded(archiver),
              (QStringList{QFileInfo(archiver).absolutePath(), QStringLiteral("ZF")}));

    const QString calculator = program + QStringLiteral("/dodatki/kalkulator/kalkulator");
    writeRecorder(calculator);
    for (int n : {0, 1, 2})
        tools[n] = {QStringLiteral("Narzędzie %1").arg(n), QStringLiteral("#"), {}, {}};

    EXPECT_TRUE(addOns.Run(0));
    EXPECT_EQ(recorded(calculator), QStringList{QFileInfo(calculator).absolutePath()});
    EXPECT_EQ(QProcess::splitCommand(tools[0].dir), QStringList{calculator});

    // Not installed: the user learns which program is missing.
    EXPECT_FALSE(addOns.Run(1));
    EXPECT_TRUE(dialogs.informationTexts().value(0).contains(
        program + QStringLiteral("/dodatki/kalendarz/kalendarz")));
    EXPECT_FALSE(addOns.Run(2));
    EXPECT_EQ(tools[2].dir, QStringLiteral("#"));
    EXPECT_EQ(dialogs.informationTexts().size(), 2);
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Informacja"));
}

TEST_F(AddOnsTest, AProgramThatIsMissingOrCannotStartIsExplained)
{
    const QString notExecutable = root.path() + QStringLiteral("/zwykły plik");
    writeFile(notExecutable, "text");
    tools[6] = {QStringLiteral("Brak"), QStringLiteral("/nie/ma/takiego programu"), {}, {}};
    tools[7] = {QStringLiteral("Zwykły"), quotedProgramPath(notExecutable), {}, {}};
    tools[8] = {QStringLiteral("Pusty"), QStringLiteral("  "), {}, {}};
    for (int n : {6, 7, 8})
        EXPECT_FALSE(addOns.Run(n)) << n;
    const QStringList texts = dialogs.informationTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("\"Brak\": /nie/ma/takiego")));
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Nie udało się uruchomić")));
    EXPECT_TRUE(texts[2].contains(QStringLiteral("\"Pusty\"")));
}

} // namespace
} // namespace zf
