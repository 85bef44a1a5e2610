#include "app/about.h"
#include "app/centre.h"
#include "app/fiszka.h"
#include "app/hints.h"
#include "app/infoform.h"
#include "app/poradadnia.h"
#include "app/promptform.h"
#include "app/qtdialogs.h"
#include "app/questionform.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "util/textcodec.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace zf {
namespace {

template <class T> T* child(QWidget* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

QPushButton* button(QWidget* w, const char* name)
{
    return child<QPushButton>(w, name);
}

// Keys go where the user's keys would go: to the focused control of the window.
QWidget* keyTarget(QWidget* w)
{
    QWidget* focus = QApplication::focusWidget();
    return focus && w->isAncestorOf(focus) ? focus : w;
}

// Types a name into the file dialog's name field, as the user would, and confirms it.
// (QFileDialog::selectFile leaves the field alone while it has the focus.)
void chooseName(QFileDialog* d, const QString& name)
{
    auto* field = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(field);
    // The dialog reads its folder in a thread of its own; let it finish first, or the typed
    // name may be taken against a folder that is not there yet.
    // Once loaded, it selects the proposed file and writes its name into the field, which would
    // overwrite a name typed before that.
    if (auto* model = d->findChild<QFileSystemModel*>()) {
        const QModelIndex root = model->index(d->directory().absolutePath());
        QTRY_VERIFY_WITH_TIMEOUT(!model->canFetchMore(root) && model->rowCount(root) > 0, 3000);
    }
    QTest::qWait(50);
    field->setText(name);
    // QFileDialog keeps accept() protected; QDialog's is public and virtual.
    static_cast<QDialog*>(d)->accept();
}

// What a modal window looked like while it was shown.
struct Seen
{
    bool shown = false;
    QString caption;
    QString text;
    bool closedByAction = false;
};

// Performs the action on a shown window; a window the action did not close is closed by force,
// so a fault shows as a failed check rather than a hanging test.
template <class W>
void answerModal(Seen& seen, const char* textLabel, std::function<void(W*)> action)
{
    test::whenModal<W>([&seen, textLabel, action](W* w) {
        seen.shown = true;
        seen.caption = w->windowTitle();
        if (auto* label = child<QLabel>(w, textLabel))
            seen.text = label->text();
        action(w);
        seen.closedByAction = !w->isVisible();
        if (w->isVisible())
            w->reject();
    });
}

// Answers every message box shown while it lives. It ends with its scope, so no answer is left
// waiting to close a window of a later case.
class MessageBoxWatch
{
public:
    explicit MessageBoxWatch(std::function<void(QMessageBox*)> act)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->isVisible()) {
                m_texts << box->text();
                act(box);
            }
        });
        m_timer.start();
    }

    const QStringList& texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

bool touch(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

} // namespace

class SmallDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void informationShowsCaptionAndText_data();
    void informationShowsCaptionAndText();
    void informationIsNotShownWhileEnding();

    void questionAnswers_data();
    void questionAnswers();
    void questionCaption();
    void choiceAnswersTheButtonsPlace();

    void promptMaskedThenUnmasked();
    void promptSelectsTheWholeTextAndFocusesTheField();
    void promptCancelled_data();
    void promptCancelled();
    void promptCaption();

    void tipNextChangesTheTip();
    void tipEveryShowingShowsAnotherTip();
    void tipWithOneTipKeepsItsText();
    void tipDontShowAgainBox();

    void scratchPadKeepsItsTextWhenHidden();
    void scratchPadStayOnTopFollowsTheTickBox();

    void aboutShowsTheVersion();
    void aboutLinksOpenTheirAddresses();

    void openFileChoosesOnlyAnExistingFile();
    void saveFileAddsTheSuffixAndAsksBeforeOverwriting();
    void directoryChoice();

    void onlyTheMainWindowsHintsReachTheStatusBar();
    void centredOverTheOwner();

private:
    TinfoForm m_info;
    TquestionForm m_question;
    TpromptForm m_prompt;
    QtDialogs m_dialogs{m_info, m_question, m_prompt};
};

// --- Information window -----------------------------------------------------------------------

void SmallDialogsTest::informationShowsCaptionAndText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shownCaption");
    QTest::addColumn<QString>("close");
    QTest::newRow("given caption, OK")
        << QStringLiteral("Błąd") << QStringLiteral("Błąd") << QStringLiteral("SBOk");
    QTest::newRow("default caption, Enter")
        << QString() << QStringLiteral("Informacja") << QStringLiteral("enter");
    QTest::newRow("Uwaga, Esc") << QStringLiteral("Uwaga") << QStringLiteral("Uwaga")
                                << QStringLiteral("esc");
}

void SmallDialogsTest::informationShowsCaptionAndText()
{
    QFETCH(QString, caption);
    QFETCH(QString, shownCaption);
    QFETCH(QString, close);
    const QString text = QStringLiteral("Eksport zakończony poprawnie");

    Seen seen;
    answerModal<TinfoForm>(seen, "lbText", [close](TinfoForm* w) {
        if (close == QLatin1String("enter"))
            QTest::keyClick(keyTarget(w), Qt::Key_Return);
        else if (close == QLatin1String("esc"))
            QTest::keyClick(keyTarget(w), Qt::Key_Escape);
        else
            QTest::mouseClick(button(w, "SBOk"), Qt::LeftButton);
    });
    m_dialogs.information(caption, text);

    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, shownCaption);
    QCOMPARE(seen.text, text);
    QVERIFY(seen.closedByAction);
}

void SmallDialogsTest::informationIsNotShownWhileEnding()
{
    // Closes any modal window that turns up, and notes that one did.
    bool shown = false;
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, this, [&shown] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            shown = true;
            w->close();
        }
    });
    watch.start();

    m_dialogs.setEnding(true);
    QVERIFY(m_dialogs.ending());
    m_dialogs.information(QStringLiteral("Informacja"), QStringLiteral("Za późno"));
    m_info.show(QStringLiteral("Informacja"), QStringLiteral("Też za późno"));
    QVERIFY(!shown);
    QVERIFY(!m_info.isVisible());

    m_dialogs.setEnding(false);
    m_dialogs.information(QStringLiteral("Informacja"), QStringLiteral("Znowu widać"));
    QVERIFY(shown);
}

// --- Choice of several buttons ---------------------------------------------------------------

void SmallDialogsTest::choiceAnswersTheButtonsPlace()
{
    const QStringList buttons = {QStringLiteral("&Pomiń te pliki"), QStringLiteral("&Nadpisz"),
                                 QStringLiteral("&Anuluj")};
    const auto ask = [&](const std::function<void(QMessageBox*)>& act) {
        MessageBoxWatch watch(act);
        const int answer = m_dialogs.choose(QStringLiteral("Pytanie"), QStringLiteral("Co?"),
                                            buttons, 0);
        return std::make_pair(answer, watch.texts());
    };
    QStringList accessible;
    const auto enter = ask([&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons())
            accessible << b->accessibleName();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(enter.first, 0);
    QCOMPARE(enter.second, QStringList{QStringLiteral("Co?")});
    QVERIFY(accessible.contains(QStringLiteral("Pomiń te pliki")));
    const auto second = ask([](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QStringLiteral("&Nadpisz"))
                b->click();
    });
    QCOMPARE(second.first, 1);
    const auto esc = ask([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(esc.first, 2);
}

// --- Question window --------------------------------------------------------------------------

void SmallDialogsTest::questionAnswers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("expected");
    // Each row follows the answer of the row before, so a stale "Tak" would show.
    QTest::newRow("Tak") << QStringLiteral("SBTak") << true;
    QTest::newRow("Esc after Tak") << QStringLiteral("esc") << false;
    QTest::newRow("Enter takes Tak") << QStringLiteral("enter") << true;
    QTest::newRow("Nie") << QStringLiteral("SBNie") << false;
    QTest::newRow("Tab then Enter takes Nie") << QStringLiteral("tab enter") << false;
}

void SmallDialogsTest::questionAnswers()
{
    QFETCH(QString, action);
    QFETCH(bool, expected);
    const QString text = QStringLiteral("Czy zakończyć pracę i zamknąć program?");

    Seen seen;
    answerModal<TquestionForm>(seen, "lbText", [action](TquestionForm* w) {
        if (action == QLatin1String("esc")) {
            QTest::keyClick(keyTarget(w), Qt::Key_Escape);
        } else if (action == QLatin1String("enter")) {
            QTest::keyClick(keyTarget(w), Qt::Key_Return);
        } else if (action == QLatin1String("tab enter")) {
            QTest::keyClick(keyTarget(w), Qt::Key_Tab);
            QTest::keyClick(keyTarget(w), Qt::Key_Return);
        } else {
            QTest::mouseClick(button(w, action.toLatin1().constData()), Qt::LeftButton);
        }
    });
    const bool answer = m_dialogs.question(QStringLiteral("Pytanie"), text);

    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, QStringLiteral("Pytanie"));
    QCOMPARE(seen.text, text);
    QVERIFY(seen.closedByAction);
    QCOMPARE(answer, expected);
}

void SmallDialogsTest::questionCaption()
{
    Seen seen;
    answerModal<TquestionForm>(seen, "lbText", [](TquestionForm* w) {
        QTest::mouseClick(button(w, "SBNie"), Qt::LeftButton);
    });
    QVERIFY(!m_question.ask(QString(), QStringLiteral("Usunąć?")));
    QCOMPARE(seen.caption, QStringLiteral("Zdecyduj"));
    QCOMPARE(button(&m_question, "SBTak")->text(), QStringLiteral("&Tak"));
    QCOMPARE(button(&m_question, "SBNie")->text(), QStringLiteral("&Nie"));
}

// --- Prompt window ----------------------------------------------------------------------------

void SmallDialogsTest::promptMaskedThenUnmasked()
{
    QString echoed;
    QLineEdit::EchoMode mode = QLineEdit::Normal;
    const auto typeAndEnter = [&echoed, &mode](TpromptForm* w) {
        auto* field = child<QLineEdit>(w, "eAnswer");
        QTest::keyClicks(field, QStringLiteral("tajne"));
        echoed = field->displayText();
        mode = field->echoMode();
        QTest::keyClick(field, Qt::Key_Return);
    };

    Seen seen;
    answerModal<TpromptForm>(seen, "lbLabel", typeAndEnter);
    QString value;
    QVERIFY(m_dialogs.prompt(QStringLiteral("Hasło"), QStringLiteral("Podaj hasło"), value, true));
    QVERIFY(seen.closedByAction);
    QCOMPARE(seen.text, QStringLiteral("Podaj hasło"));
    QCOMPARE(mode, QLineEdit::Password);
    QCOMPARE(echoed, QStringLiteral("*****"));
    QCOMPARE(value, QStringLiteral("tajne"));

    // The masking lasts for one prompt only, also when asked on the window itself.
    m_prompt.setMasked(true);
    answerModal<TpromptForm>(seen, "lbLabel", typeAndEnter);
    QVERIFY(m_prompt.prompt(QString(), QStringLiteral("Hasło"), QString()));
    QCOMPARE(echoed, QStringLiteral("*****"));
    QVERIFY(!m_prompt.masked());

    answerModal<TpromptForm>(seen, "lbLabel", typeAndEnter);
    value.clear();
    QVERIFY(m_dialogs.prompt(QStringLiteral("Nazwa"), QStringLiteral("Nazwa"), value, false));
    QCOMPARE(mode, QLineEdit::Normal);
    QCOMPARE(echoed, QStringLiteral("tajne"));
    QCOMPARE(value, QStringLiteral("tajne"));
}

void SmallDialogsTest::promptSelectsTheWholeTextAndFocusesTheField()
{
    QString selected;
    bool focused = false;
    Seen seen;
    answerModal<TpromptForm>(seen, "lbLabel", [&selected, &focused](TpromptForm* w) {
        auto* field = child<QLineEdit>(w, "eAnswer");
        selected = field->selectedText();
        focused = QApplication::focusWidget() == field;
        // Typing replaces the selected text.
        QTest::keyClicks(keyTarget(w), QStringLiteral("Raporty"));
        QTest::mouseClick(button(w, "SBOk"), Qt::LeftButton);
    });
    QString value = QStringLiteral("Nowy folder");
    QVERIFY(m_dialogs.prompt(QStringLiteral("Wprowadź nazwę podkatalogu"),
                             QStringLiteral("Nazwa podkatalogu"), value, false));
    QCOMPARE(seen.caption, QStringLiteral("Wprowadź nazwę podkatalogu"));
    QCOMPARE(selected, QStringLiteral("Nowy folder"));
    QVERIFY(focused);
    QCOMPARE(value, QStringLiteral("Raporty"));
}

void SmallDialogsTest::promptCancelled_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Anuluj") << false;
    QTest::newRow("Esc") << true;
}

void SmallDialogsTest::promptCancelled()
{
    QFETCH(bool, byEscape);
    Seen seen;
    answerModal<TpromptForm>(seen, "lbLabel", [byEscape](TpromptForm* w) {
        QTest::keyClicks(child<QLineEdit>(w, "eAnswer"), QStringLiteral("porzucone"));
        if (byEscape)
            QTest::keyClick(keyTarget(w), Qt::Key_Escape);
        else
            QTest::mouseClick(button(w, "SBAnuluj"), Qt::LeftButton);
    });
    QString value = QStringLiteral("bez zmian");
    QVERIFY(!m_dialogs.prompt(QStringLiteral("Wprowadź"), QStringLiteral("Tekst"), value, true));
    QVERIFY(seen.closedByAction);
    QVERIFY(!m_prompt.result());
    QCOMPARE(value, QStringLiteral("bez zmian"));
    QVERIFY(!m_prompt.masked());
}

void SmallDialogsTest::promptCaption()
{
    Seen seen;
    answerModal<TpromptForm>(seen, "lbLabel", [](TpromptForm* w) {
        QTest::keyClick(child<QLineEdit>(w, "eAnswer"), Qt::Key_Return);
    });
    QVERIFY(m_prompt.prompt(QString(), QStringLiteral("Tekst"), QStringLiteral("bez zmian")));
    QCOMPARE(seen.caption, QStringLiteral("Wprowadź"));
    QCOMPARE(m_prompt.answer(), QStringLiteral("bez zmian"));
    QCOMPARE(button(&m_prompt, "SBOk")->text(), QStringLiteral("&Ok"));
    QCOMPARE(button(&m_prompt, "SBAnuluj")->text(), QStringLiteral("&Anuluj"));
}

// --- Tip of the day ---------------------------------------------------------------------------

void SmallDialogsTest::tipNextChangesTheTip()
{
    const QStringList list{QStringLiteral("pierwsza"), QStringLiteral("druga"),
                           QStringLiteral("trzecia"), QStringLiteral("czwarta")};
    TfPoradaDnia window{Tips(list)};
    QCOMPARE(window.windowTitle(), QStringLiteral("Porada dnia"));

    QStringList shown;
    bool closed = false;
    test::whenModal<TfPoradaDnia>([&shown, &closed](TfPoradaDnia* w) {
        auto* label = child<QLabel>(w, "lbPorada");
        shown << label->text();
        for (int i = 0; i < 20; ++i) {
            QTest::mouseClick(button(w, "SBNastepna"), Qt::LeftButton);
            shown << label->text();
        }
        QTest::keyClick(keyTarget(w), Qt::Key_Escape);
        closed = !w->isVisible();
        if (!closed)
            w->reject();
    });
    window.exec();

    QVERIFY(closed);
    QCOMPARE(shown.size(), 21);
    for (int i = 0; i < shown.size(); ++i) {
        QVERIFY2(list.contains(shown.at(i)), qPrintable(shown.at(i)));
        if (i > 0)
            QVERIFY2(shown.at(i) != shown.at(i - 1), qPrintable(QString::number(i)));
    }
}

void SmallDialogsTest::tipEveryShowingShowsAnotherTip()
{
    // Read from a Windows-1250 tip file, as at start-up; two tips alternate strictly.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("porady.dat"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            toCp1250(QStringLiteral("Fiszka to brudnopis.\r\nNotatnik mieści 30 notatek.\r\n")));
    }
    TfPoradaDnia window(path);
    QCOMPARE(window.tips().count(), 2);

    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        test::whenModal<TfPoradaDnia>([&shown](TfPoradaDnia* w) {
            shown << child<QLabel>(w, "lbPorada")->text();
            QTest::mouseClick(button(w, "SBOk"), Qt::LeftButton);
            if (w->isVisible())
                w->reject();
        });
        window.exec();
    }
    QCOMPARE(shown.size(), 4);
    QVERIFY(shown.at(0) == QStringLiteral("Fiszka to brudnopis.") ||
            shown.at(0) == QStringLiteral("Notatnik mieści 30 notatek."));
    QVERIFY(shown.at(1) != shown.at(0));
    QCOMPARE(shown.at(2), shown.at(0));
    QCOMPARE(shown.at(3), shown.at(1));
}

void SmallDialogsTest::tipWithOneTipKeepsItsText()
{
    TfPoradaDnia window{Tips({QStringLiteral("jedyna porada")})};
    const QString initial = window.tipText();
    QVERIFY(!initial.isEmpty());

    QString onShow;
    QString afterNext;
    test::whenModal<TfPoradaDnia>([&onShow, &afterNext](TfPoradaDnia* w) {
        auto* label = child<QLabel>(w, "lbPorada");
        onShow = label->text();
        QTest::mouseClick(button(w, "SBNastepna"), Qt::LeftButton);
        afterNext = label->text();
        w->reject();
    });
    window.exec();
    QCOMPARE(onShow, initial);
    QCOMPARE(afterNext, initial);
}

void SmallDialogsTest::tipDontShowAgainBox()
{
    TfPoradaDnia window{Tips()};
    auto* box = child<QCheckBox>(&window, "cbNiePokazuj");
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Nie pokazuj tego więcej"));
    window.setDontShowAgain(true);
    QVERIFY(box->isChecked());

    // The user's tick is what the callers read after the window closes.
    test::whenModal<TfPoradaDnia>([](TfPoradaDnia* w) {
        QTest::mouseClick(child<QCheckBox>(w, "cbNiePokazuj"), Qt::LeftButton);
        QTest::mouseClick(button(w, "SBOk"), Qt::LeftButton);
    });
    window.exec();
    QVERIFY(!window.dontShowAgain());
}

// --- Scratch pad ------------------------------------------------------------------------------

void SmallDialogsTest::scratchPadKeepsItsTextWhenHidden()
{
    TfFiszka pad;
    QCOMPARE(pad.windowTitle(), QStringLiteral("Fiszka - notatki tymczasowe"));
    pad.addLine(QStringLiteral("stara treść"));
    pad.clearLines();
    pad.addLine(QStringLiteral("To jest notatnik, w którym możesz zapisywać informacje "
                               "tymczasowe."));
    pad.addLine(QStringLiteral("Zawartość tego notatnika czyszczona jest po zakończeniu pracy."));
    const QString lines = pad.text();
    QVERIFY(!lines.contains(QStringLiteral("stara treść")));
    QCOMPARE(lines.count(QLatin1Char('\n')), 1);

    pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pad));
    // It does not block: no modal window is up while it shows.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    auto* text = child<QPlainTextEdit>(&pad, "mNotatki");
    text->moveCursor(QTextCursor::End);
    text->setFocus();
    // Enter is a new line in the text, not the end of the window.
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, QStringLiteral("tel. 123"));
    QVERIFY(pad.isVisible());

    QTest::mouseClick(button(&pad, "SBOk"), Qt::LeftButton);
    QVERIFY(!pad.isVisible());
    pad.show();
    QCOMPARE(pad.text(), lines + QStringLiteral("\ntel. 123"));

    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!pad.isVisible());
    pad.show();
    QCOMPARE(pad.text(), lines + QStringLiteral("\ntel. 123"));
    pad.hide();
}

void SmallDialogsTest::scratchPadStayOnTopFollowsTheTickBox()
{
    TfFiszka pad;
    pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pad));
    auto* box = child<QCheckBox>(&pad, "cbNaWierzchu");
    QCOMPARE(box->text(), QStringLiteral("Okno zawsze na wierzchu"));
    QVERIFY(!pad.stayOnTop());

    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QVERIFY(pad.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(pad.isVisible());

    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QVERIFY(!pad.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(pad.isVisible());
    pad.hide();
}

// --- About window -----------------------------------------------------------------------------

void SmallDialogsTest::aboutShowsTheVersion()
{
    TfAbout about;
    about.setVersion(QStringLiteral("2.5"));
    QCOMPARE(about.windowTitle(), QStringLiteral("Zefirant PL+"));
    QCOMPARE(child<QLabel>(&about, "lbWersja")->text(), QStringLiteral("ver. 2.5"));
    QCOMPARE(child<QLabel>(&about, "lbNaglowek")->text(), QStringLiteral("O programie"));

    bool closed = false;
    test::whenModal<TfAbout>([&closed](TfAbout* w) {
        QTest::mouseClick(button(w, "SBOk"), Qt::LeftButton);
        closed = !w->isVisible();
        if (!closed)
            w->reject();
    });
    about.exec();
    QVERIFY(closed);
}

void SmallDialogsTest::aboutLinksOpenTheirAddresses()
{
    QList<QUrl> opened;
    TfAbout about(nullptr, [&opened](const QUrl& url) { opened << url; });
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    auto* email = child<QLabel>(&about, "lbEmail");
    auto* web = child<QLabel>(&about, "lbWWW");
    email->setFocus();
    QTest::keyClick(email, Qt::Key_Return);
    QVERIFY2(opened.isEmpty(), "no address, nothing to open");

    about.setEmail(QStringLiteral("pomoc@orvantis.pl"));
    QTRY_VERIFY(email->width() > 0);
    QTest::mouseClick(email, Qt::LeftButton);
    QTest::mouseClick(web, Qt::LeftButton);
    email->setFocus();
    QTest::keyClick(email, Qt::Key_Return);
    QCOMPARE(opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:pomoc@orvantis.pl")),
                                  QUrl(TfAbout::kWebAddress),
                                  QUrl(QStringLiteral("mailto:pomoc@orvantis.pl"))}));
    QCOMPARE(QUrl(TfAbout::kWebAddress).scheme(), QStringLiteral("https"));
    about.hide();
}

// --- File choices -----------------------------------------------------------------------------

void SmallDialogsTest::openFileChoosesOnlyAnExistingFile()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("instaluj.ppi"));
    QVERIFY(touch(existing));
    const QStringList filters{QStringLiteral("Pliki instalacyjne (*.ppi)")};

    test::whenModal<QFileDialog>([&existing](QFileDialog* d) { chooseName(d, existing); });
    QCOMPARE(m_dialogs.openFileName(QStringLiteral("Wskaż plik instalacyjny"), dir.path(), filters),
             existing);

    // A name that does not exist is refused with a message; the dialog stays until cancelled.
    MessageBoxWatch warnings([](QMessageBox* box) { box->accept(); });
    bool stayedOpen = false;
    test::whenModal<QFileDialog>([&](QFileDialog* d) {
        chooseName(d, dir.filePath(QStringLiteral("brak.ppi")));
        stayedOpen = d->isVisible();
        d->reject();
    });
    QCOMPARE(m_dialogs.openFileName(QStringLiteral("Wskaż plik instalacyjny"), dir.path(), filters),
             QString());
    QCOMPARE(warnings.texts().size(), 1);
    QVERIFY2(warnings.texts().first().contains(QStringLiteral("brak.ppi")),
             qPrintable(warnings.texts().first()));
    QVERIFY(stayedOpen);
}

void SmallDialogsTest::saveFileAddsTheSuffixAndAsksBeforeOverwriting()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("Pracownicy.csv"));
    QVERIFY(touch(existing));
    const QString title = QStringLiteral("Eksportuj dane do arkusza .CSV");
    const QStringList filters{QStringLiteral("Arkusz .CSV (*.csv)"),
                              QStringLiteral("Wszystkie pliki (*.*)")};

    // A new name typed without suffix gets ".csv"; no question.
    {
        MessageBoxWatch questions([](QMessageBox* box) { box->reject(); });
        test::whenModal<QFileDialog>([](QFileDialog* d) {
            chooseName(d, QStringLiteral("Terminy"));
            if (d->isVisible())
                d->reject();
        });
        QCOMPARE(m_dialogs.saveFileName(title, existing, filters, QStringLiteral(".csv")),
                 dir.filePath(QStringLiteral("Terminy.csv")));
        QVERIFY(questions.texts().isEmpty());
    }

    // An existing file: the overwrite question; "No" keeps the dialog open, "Yes" takes it.
    for (const bool overwrite : {false, true}) {
        MessageBoxWatch questions([overwrite](QMessageBox* box) {
            box->button(overwrite ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        test::whenModal<QFileDialog>([](QFileDialog* d) {
            chooseName(d, QStringLiteral("Pracownicy"));
            if (d->isVisible())
                d->reject();
        });
        const QString chosen =
            m_dialogs.saveFileName(title, dir.path(), filters, QStringLiteral("csv"));
        QCOMPARE(questions.texts().size(), 1);
        QVERIFY2(questions.texts().first().contains(QStringLiteral("Pracownicy.csv")),
                 qPrintable(questions.texts().first()));
        QCOMPARE(chosen, overwrite ? existing : QString());
    }
}

void SmallDialogsTest::directoryChoice()
{
    QTemporaryDir dir;
    const QString plans = dir.filePath(QStringLiteral("plany"));
    QVERIFY(QDir().mkpath(plans));
    test::whenModal<QFileDialog>([&plans](QFileDialog* d) {
        chooseName(d, plans);
        if (d->isVisible())
            d->reject();
    });
    QCOMPARE(m_dialogs.existingDirectory(QStringLiteral("Folder planów"), dir.path()), plans);

    test::whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    QCOMPARE(m_dialogs.existingDirectory(QStringLiteral("Folder planów"), dir.path()), QString());
}

// --- Hints and placing ------------------------------------------------------------------------

void SmallDialogsTest::onlyTheMainWindowsHintsReachTheStatusBar()
{
    QStringList shown;
    THintHandler hints([&shown](const QString& text) { shown << text; });
    QMainWindow main;
    auto* inMain = new QPushButton(QStringLiteral("a"), &main);
    inMain->setToolTip(QStringLiteral("w oknie głównym"));
    QDialog dialog(&main);
    auto* inDialog = new QPushButton(QStringLiteral("b"), &dialog);
    inDialog->setToolTip(QStringLiteral("w oknie dialogowym"));

    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    hints.eventFilter(inDialog, &enter);
    hints.eventFilter(inDialog, &leave);
    QVERIFY(shown.isEmpty());
    hints.eventFilter(inMain, &enter);
    hints.eventFilter(inMain, &leave);
    QCOMPARE(shown, (QStringList{QStringLiteral("w oknie głównym"), QString()}));
}

void SmallDialogsTest::centredOverTheOwner()
{
    QWidget owner;
    owner.setGeometry(40, 60, 700, 500);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QDialog dialog(&owner);
    dialog.resize(200, 100);
    centreOver(dialog, &owner);
    QCOMPARE(dialog.frameGeometry().center(), owner.frameGeometry().center());
    // Without an owner on screen: the middle of the screen.
    owner.hide();
    centreOver(dialog, &owner);
    QCOMPARE(dialog.frameGeometry().center(),
             owner.screen()->availableGeometry().center());
}

} // namespace zf

ZF_QTEST_MAIN(zf::SmallDialogsTest)
#include "smalldialogs_test.moc"
