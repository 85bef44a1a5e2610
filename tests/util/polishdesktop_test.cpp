// Qt's own texts in Polish, the date separator still the system's, captions without a suffix.
#include "tests/support/qtest_main.h"
#include "util/dates.h"
#include "util/polishdesktop.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>

class PolishDesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void qtTextsAreLoadedInPolish()
    {
        QDialogButtonBox english(QDialogButtonBox::Cancel);
        QCOMPARE(english.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));

        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QChar separator = zf::systemDateSeparator();
        QVERIFY(zf::setUpPolishDesktop(*QCoreApplication::instance()));

        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
        QVERIFY(box.button(QDialogButtonBox::Yes)->text().contains(QStringLiteral("Tak")));
        // The date pickers take their month names from the default locale.
        QCOMPARE(QLocale().standaloneMonthName(1), QStringLiteral("styczeń"));
        // The separator still follows the system's format, not the Polish one.
        QCOMPARE(zf::systemDateSeparator(), separator);
        QCOMPARE(separator, QLatin1Char('/'));
    }

    void theDisplayNameIsNotFixed()
    {
        // Qt appends a display name set by the program to every caption; following the
        // application's name shows it was never set.
        QCoreApplication::setApplicationName(QStringLiteral("sonda"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("sonda"));
    }
};

ZF_QTEST_MAIN(PolishDesktopTest)
#include "polishdesktop_test.moc"
