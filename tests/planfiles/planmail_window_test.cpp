// "Wyślij e-mailem" of the export window offscreen: the files written, then sent to a real SMTP
// server on the loopback address, the results list and "Wyślij ponownie nieudane".
#include "cipher/cipher.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "planfiles/exportwindow.h"
#include "planfiles/importwindow.h"
#include "planfiles/planfile.h"
#include "planfiles/planmailwindow.h"
#include "tests/planfiles/planfiles_seed.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/planfiles/planfiles_windows.h"
#include "tests/util/smtp_server.h"
#include "util/mailsettings.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace zf;

class TestPlanMailWindow : public test::PlanFilesWindowTest
{
    Q_OBJECT

private:
    static QStringList results(QWidget* w)
    {
        QStringList out;
        auto* list = child<QTreeWidget>(w, "twWyniki");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(0) + QLatin1Char('|') +
                       list->topLevelItem(i)->text(2);
        return out;
    }
    void useServer(const test::SmtpTestServer& server)
    {
        SmtpSettings s;
        s.server = QStringLiteral("127.0.0.1");
        s.port = server.port();
        s.security = SmtpSettings::Security::None;
        s.sender = QStringLiteral("kadry@firma.example");
        QVERIFY(writeMailSettings(db->IniPath(), s));
    }
    // Presses "Wyślij e-mailem" for every employee; `onResults` sees the results window.
    void sendAll(std::function<void(TfPlanMailResults*)> onResults)
    {
        TfExportPlan ex(*db, *dialogs, options);
        ex.progressDelayMs = 0;
        if (onResults)
            test::whenModal<TfPlanMailResults>(
                [onResults](TfPlanMailResults* w) {
                    onResults(w);
                    if (w->isVisible())
                        w->reject();
                },
                20000);
        test::whenModal<TfExportPlan>([&](TfExportPlan* win) {
            QTest::mouseClick(child<QPushButton>(win, "SBPokazWszystkich"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(win, "SBWyslijEmailem"), Qt::LeftButton);
        });
        QVERIFY(ex.Execute(2024, 0));
    }

private slots:
    void init()
    {
        // No mail server from an earlier case.
        QFile::remove(dataFolder() + QStringLiteral("/zefirant.ini"));
        openPlan();
    }

    void cleanup() { closePlan(); }

    void sendingWithoutAServerSaysWhereToSetIt()
    {
        sendAll({});
        QCOMPARE(dialogs->informationTexts().size(), 2);
        QVERIFY(dialogs->informationTexts().at(1).contains(QStringLiteral("zakładka „Poczta”")));
        QVERIFY(QFile::exists(path("adam")));
    }

    void resultsListAndSendingAgainOnlyWhatFailed()
    {
        QVERIFY(db->Write(QStringLiteral("UPDATE EMPLOYEES SET EMAIL='adam@firma.example' "
                                         "WHERE IDEMPLOYEE='A1'"),
                          {}, 1));
        QVERIFY(db->Write(QStringLiteral("UPDATE EMPLOYEES SET EMAIL='beata@firma.example' "
                                         "WHERE IDEMPLOYEE='B2'"),
                          {}, 1));
        test::SmtpTestServer server({QStringLiteral("--refuse"), QStringLiteral("beata")});
        QVERIFY(server.running());
        useServer(server);
        bool seen = false;
        sendAll([&](TfPlanMailResults* w) {
            seen = true;
            const QStringList first{
                QStringLiteral("Adam Adamski (A1)|wysłano"),
                QStringLiteral("Beata Bednarz (B2)|serwer odrzucił wiadomość"),
                QStringLiteral("Cezary Cichy (C3)|brak adresu e-mail w karcie pracownika")};
            QCOMPARE(results(w), first);
            QVERIFY(child<QTreeWidget>(w, "twWyniki")
                        ->topLevelItem(1)
                        ->text(3)
                        .startsWith(QLatin1String("550")));
            QCOMPARE(child<QLabel>(w, "lbPodsumowanie")->text(),
                     QStringLiteral("Wysłano 1 z 3 planów."));
            QTest::mouseClick(child<QPushButton>(w, "SBWyslijPonownie"), Qt::LeftButton);
            QCOMPARE(results(w), first);
        });
        QVERIFY(seen);
        QStringList to;
        for (const QJsonObject& m : server.messages())
            to << m.value(QStringLiteral("rcpt_tos")).toArray().at(0).toString();
        // Adam got his file once; Beata was tried twice and refused both times.
        QCOMPARE(to, QStringList{QStringLiteral("adam@firma.example")});
    }

    // "Dodaj pliki…" of the import window: a saved file from elsewhere lands in the plan folder
    // and "Zaznacz zmienione" selects its employee.
    void addedReturnedFileIsOfferedByTheScan()
    {
        sendAll({});
        QTemporaryDir downloads;
        PlanFileContent c;
        c.year = 2024;
        c.employeeKey = QStringLiteral("B2");
        c.stamp = 77;
        c.selectedDays = {20240902};
        const QString saved = downloads.filePath(QStringLiteral("beata(2).zfpn"));
        QVERIFY(WritePlanFileBytes(saved, BuildPlanFileBytes(c)));
        dialogs->clear();
        dialogs->chooseFile(saved);
        TfImportPlan im(*db, *dialogs, options);
        im.progressDelayMs = 0;
        test::whenModal<TfImportPlan>([&](TfImportPlan* win) {
            QTest::mouseClick(child<QPushButton>(win, "SBDodajPliki"), Qt::LeftButton);
            QCOMPARE(items(win, true), QStringList{QStringLiteral("Beata Bednarz (B2)")});
            win->reject();
        });
        im.Execute(2024, 0);
        QCOMPARE(dialogs->informationTexts().size(), 1);
        QVERIFY(dialogs->informationTexts().at(0).startsWith(
            QStringLiteral("Dodano do katalogu planu:")));
        QByteArray bytes;
        QVERIFY(ReadPlanFileBytes(path("beata"), bytes));
        QCOMPARE(bytes, BuildPlanFileBytes(c));
    }
};

ZF_QTEST_MAIN(TestPlanMailWindow)
#include "planmail_window_test.moc"
