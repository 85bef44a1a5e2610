// The "Poczta" page of the options offscreen, with no secret service (the session bus address
// leads nowhere): the settings in "zefirant.ini" without the password, the refusal of a wrong
// sender, and "Wyślij wiadomość próbną" against a real SMTP server on the loopback address.
#include "app/mailoptionspage.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/util/smtp_server.h"
#include "util/mailsettings.h"
#include "util/secretstore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace zf;
using test::child;

class TestMailOptionsPage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("zefirant.ini")); }
    static void type(QWidget* page, const char* name, const QString& text)
    {
        child<QLineEdit>(page, name)->setText(text);
    }
    QByteArray iniBytes() const
    {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void settingsAreSavedAndThePasswordIsNot()
    {
        test::ScriptedDialogs dialogs;
        TfMailOptionsPage page(dialogs, ini());
        page.load();
        type(&page, "eSerwerPoczty", QStringLiteral("smtp.firma.example"));
        child<QComboBox>(&page, "cbZabezpieczenie")->setCurrentIndex(2);
        QCOMPARE(child<QSpinBox>(&page, "sePort")->value(), 465); // the usual port followed
        type(&page, "eUzytkownik", QStringLiteral("kadry"));
        type(&page, "eHasloPoczty", QStringLiteral("SekretneHaslo9"));
        type(&page, "eNadawca", QStringLiteral("zła-nazwa"));
        QVERIFY(!page.save());
        QCOMPARE(dialogs.informationTexts().size(), 1);
        QVERIFY(iniBytes().isEmpty());

        type(&page, "eNadawca", QStringLiteral("kadry@firma.example"));
        QVERIFY(page.save());
        const SmtpSettings s = readMailSettings(ini());
        QCOMPARE(s.server, QStringLiteral("smtp.firma.example"));
        QCOMPARE(s.port, 465);
        QCOMPARE(s.security, SmtpSettings::Security::SslTls);
        QCOMPARE(s.user, QStringLiteral("kadry"));
        QCOMPARE(s.sender, QStringLiteral("kadry@firma.example"));
        QVERIFY(!iniBytes().contains("SekretneHaslo9"));
        // No secret store: said so, and the password kept for this run.
        QVERIFY(dialogs.informationTexts().last().contains(QStringLiteral("schowka haseł")));
        SmtpSettings run = s;
        QVERIFY(MailPasswords::fill(run, dialogs));
        QCOMPARE(run.password, QStringLiteral("SekretneHaslo9"));
        QVERIFY(child<QLineEdit>(&page, "eHasloPoczty")->text().isEmpty());
    }

    void testMessageGoesToTheSenderOrSaysWhy()
    {
        test::SmtpTestServer server;
        QVERIFY(server.running());
        test::ScriptedDialogs dialogs;
        TfMailOptionsPage page(dialogs, ini());
        page.load();
        type(&page, "eSerwerPoczty", QStringLiteral("127.0.0.1"));
        child<QComboBox>(&page, "cbZabezpieczenie")->setCurrentIndex(0);
        child<QSpinBox>(&page, "sePort")->setValue(server.port());
        type(&page, "eUzytkownik", QString());
        type(&page, "eNadawca", QStringLiteral("kadry@firma.example"));
        QTest::mouseClick(child<QPushButton>(&page, "SBWiadomoscProbna"), Qt::LeftButton);
        QCOMPARE(dialogs.informationTexts(),
                 QStringList{QStringLiteral(
                     "Wiadomość próbna została wysłana na adres kadry@firma.example.")});
        QCOMPARE(server.messages().size(), 1);
        QCOMPARE(server.messages().at(0).value(QStringLiteral("to")).toString(),
                 QStringLiteral("kadry@firma.example"));

        server.stop();
        dialogs.clear();
        QTest::mouseClick(child<QPushButton>(&page, "SBWiadomoscProbna"), Qt::LeftButton);
        QCOMPARE(dialogs.informationTexts().size(), 1);
        QVERIFY(dialogs.informationTexts().at(0).contains(QString::number(server.port())));
    }
};

ZF_QTEST_MAIN(TestMailOptionsPage)
#include "mailoptionspage_test.moc"
