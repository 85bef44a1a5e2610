// "Wyślij do działu kadr…" of the plan window offscreen: the saved file handed to the mail
// composer (a stand-in xdg-email that records its arguments), the question when the plan has
// changes, and the message with the file's place when no composer is there.
#include "planer/planerwindow.h"
#include "plans/calendar/calendarselector.h"
#include "plans/calendar/yearcalendarselector.h"
#include "tests/planer/planer_files.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zf;
using test::child;

class TestSendToOffice : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    QString planPath;
    QString argsPath;

    std::unique_ptr<TfPlaner> openSample()
    {
        planPath = folder->filePath(QStringLiteral("łucja.zfpn"));
        if (!WritePlanFileBytes(planPath, BuildPlanFileBytes(test::samplePlan())))
            qWarning("plan file not written");
        auto w = std::make_unique<TfPlaner>(*dialogs);
        if (w->OpenFile(planPath) != TPlanEditor::OpenResult::Opened)
            qWarning("sample plan not opened");
        w->SetMailTool(QStringLiteral("xdg-email"), {folder->filePath(QStringLiteral("bin"))});
        return w;
    }
    static void tick(TfPlaner& w, int month, int day)
    {
        TCalendarSelector* m = w.selector()->month(month);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(m, Qt::LeftButton, {}, m->boxRect(day).center());
        QCoreApplication::processEvents();
    }
    QStringList recordedArguments() const
    {
        QFile f(argsPath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        QDir(folder->path()).mkpath(QStringLiteral("bin"));
        argsPath = folder->filePath(QStringLiteral("xdg-email.args"));
        QFile tool(folder->filePath(QStringLiteral("bin/xdg-email")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                   argsPath.toUtf8() + ".tmp\"\nmv \"" + argsPath.toUtf8() + ".tmp\" \"" +
                   argsPath.toUtf8() + "\"\n");
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void cleanup()
    {
        dialogs.reset();
        folder.reset();
    }

    void changedPlanIsSavedThenHandedToTheComposer()
    {
        auto w = openSample();
        tick(*w, 8, 2);
        QVERIFY(w->editor().modified());
        dialogs->answer(true);
        QTest::mouseClick(child<QPushButton>(w.get(), "SBWyslijDoKadr"), Qt::LeftButton);
        QVERIFY(!w->editor().modified());
        QVERIFY(test::clearTextOf(planPath).contains("20270802"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argsPath), 10000);
        const QStringList args = recordedArguments();
        const qsizetype attach = args.indexOf(QStringLiteral("--attach"));
        QVERIFY(attach >= 0);
        QCOMPARE(args.value(attach + 1), QFileInfo(planPath).absoluteFilePath());
        const qsizetype subject = args.indexOf(QStringLiteral("--subject"));
        QCOMPARE(args.value(subject + 1),
                 QStringLiteral("Plan urlopowy na rok 2027 – Łucja Wiśniewska"));
        QVERIFY(dialogs->informationTexts().isEmpty());
    }

    void refusingToSaveSendsNothing()
    {
        auto w = openSample();
        const QByteArray before = test::readAll(planPath);
        tick(*w, 8, 2);
        dialogs->answer(false);
        QTest::mouseClick(child<QPushButton>(w.get(), "SBWyslijDoKadr"), Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(!QFile::exists(argsPath));
        QCOMPARE(test::readAll(planPath), before);
        QVERIFY(w->editor().modified());
    }

    void withoutAComposerTheEditorSaysWhereTheFileIs()
    {
        auto w = openSample();
        w->SetMailTool(QStringLiteral("xdg-email"), {folder->filePath(QStringLiteral("pusty"))});
        QTest::mouseClick(child<QPushButton>(w.get(), "SBWyslijDoKadr"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dialogs->informationTexts().size(), 1, 10000);
        QVERIFY(dialogs->informationTexts().at(0).contains(QFileInfo(planPath).absoluteFilePath()));
    }
};

ZF_QTEST_MAIN(TestSendToOffice)
#include "sendtooffice_test.moc"
