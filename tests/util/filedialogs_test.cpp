// Save dialogs open in the folder last saved into, else in Documents, with the proposed name.
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "util/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

using namespace zf;

class FileDialogsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_started; // the folder the program was started from
    QString documents() const { return m_home.path() + QStringLiteral("/Documents"); }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toUtf8());
        QDir::setCurrent(m_started.path());
    }

    void aBareNameGoesToDocumentsOrHome()
    {
        // No Documents folder: the home folder, never the folder the program started in.
        QCOMPARE(proposedSavePath(QStringLiteral("Pracownicy.csv")),
                 m_home.path() + QStringLiteral("/Pracownicy.csv"));
        QVERIFY(QDir().mkpath(documents()));
        QCOMPARE(proposedSavePath(QStringLiteral("Pracownicy.csv")),
                 documents() + QStringLiteral("/Pracownicy.csv"));
        QCOMPARE(proposedSavePath(QString()), documents());
        // A path that names its folder is the caller's choice.
        QCOMPARE(proposedSavePath(QStringLiteral("/srv/kopie/baza.fbk")),
                 QStringLiteral("/srv/kopie/baza.fbk"));
    }

    void theDialogProposesTheNameThereAndRemembersTheFolderChosen()
    {
        QVERIFY(QDir().mkpath(documents()));
        QTemporaryDir elsewhere;
        QString shownFolder;
        QString shownFile;
        test::whenModal<QFileDialog>([&](QFileDialog* d) {
            shownFolder = d->directory().absolutePath();
            shownFile = d->selectedFiles().value(0);
            d->selectFile(elsewhere.filePath(QStringLiteral("raport.csv")));
            static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, as the "Zapisz" button
        });
        const QString chosen = askSaveFileName(nullptr, QStringLiteral("Zapisz"),
                                               QStringLiteral("Grafik urlopowy 2027.csv"),
                                               {QStringLiteral("Arkusz .CSV (*.csv)")},
                                               QStringLiteral("csv"));
        QCOMPARE(shownFolder, documents());
        QCOMPARE(shownFile, documents() + QStringLiteral("/Grafik urlopowy 2027.csv"));
        QCOMPARE(chosen, elsewhere.filePath(QStringLiteral("raport.csv")));
        // The next save starts where the last one went.
        QCOMPARE(lastSaveFolder(), elsewhere.path());
        QCOMPARE(proposedSavePath(QStringLiteral("Terminy.csv")),
                 elsewhere.filePath(QStringLiteral("Terminy.csv")));

        // A cancelled dialog changes nothing; a folder chosen counts as the last one used.
        test::whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
        QVERIFY(askSaveFileName(nullptr, QStringLiteral("Zapisz"), QStringLiteral("x.csv"), {},
                                QStringLiteral("csv"))
                    .isEmpty());
        QCOMPARE(lastSaveFolder(), elsewhere.path());
        QTemporaryDir folder;
        test::whenModal<QFileDialog>([&](QFileDialog* d) {
            shownFolder = d->directory().absolutePath();
            // The folder shown is the one chosen, as after a double click into it.
            d->setDirectory(folder.path());
            static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, as the "Zapisz" button
        });
        QCOMPARE(askExistingDirectory(nullptr, QStringLiteral("Folder"), QString()), folder.path());
        QCOMPARE(shownFolder, elsewhere.path());
        QCOMPARE(lastSaveFolder(), folder.path());
    }
};

ZF_QTEST_MAIN(FileDialogsTest)
#include "filedialogs_test.moc"
