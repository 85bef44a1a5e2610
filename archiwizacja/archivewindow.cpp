#include "archiwizacja/archivewindow.h"

#include "util/clock.h"
#include "util/dialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

namespace zf::archive {

namespace {

const QStringList kBackupFilters = {QStringLiteral("Kopie zapasowe (*.fbk)"),
                                    QStringLiteral("Wszystkie pliki (*)")};
const QStringList kDatabaseFilters = {QStringLiteral("Bazy danych Firebird (*.fdb)"),
                                      QStringLiteral("Wszystkie pliki (*)")};

QString hintFor(const TfArchiwizacja::Inputs& inputs)
{
    if (!inputs.settings)
        return inputs.settingsError;
    if (isServerLocation(inputs.settings->location))
        return QStringLiteral("Baza danych jest na serwerze: kopię można wykonać także wtedy, gdy "
                              "inni z niej korzystają. Plik kopii powstanie na tym komputerze.");
    const bool running = inputs.programRunning ? inputs.programRunning() : inputs.fromZefirant;
    if (running)
        return QStringLiteral("Program Zefirant PL+ jest otwarty i korzysta z tej bazy. Bazy na "
                              "tym komputerze nie można skopiować, dopóki program jest otwarty: "
                              "zamknij Zefirant PL+ (to okno pozostanie otwarte), a potem "
                              "wykonaj kopię.");
    return QStringLiteral("Przed wykonaniem kopii zamknij program Zefirant PL+: z bazy na tym "
                          "komputerze może naraz korzystać tylko jeden program.");
}

} // namespace

TfArchiwizacja::TfArchiwizacja(Dialogs& dialogs, Inputs inputs, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_inputs(std::move(inputs))
{
    setObjectName(QStringLiteral("fArchiwizacja"));
    setWindowTitle(QStringLiteral("Archiwizacja bazy danych - Zefirant PL+"));
    resize(720, 540);

    auto* intro = new QLabel(
        QStringLiteral("Kopia zapasowa chroni dane przed utratą. Wykonuj ją regularnie, a zawsze "
                       "przed importem pracowników. Kopia jest odtwarzana zawsze do nowego pliku "
                       "bazy danych, więc odtworzenie niczego nie nadpisuje."),
        this);
    intro->setWordWrap(true);

    auto* group = new QGroupBox(QStringLiteral("Baza danych"), this);
    auto* form = new QFormLayout(group);
    fLokalizacja = new QLineEdit(group);
    fLokalizacja->setObjectName(QStringLiteral("fLokalizacja"));
    fLokalizacja->setReadOnly(true);
    fUzytkownik = new QLineEdit(group);
    fUzytkownik->setObjectName(QStringLiteral("fUzytkownik"));
    fUzytkownik->setReadOnly(true);
    form->addRow(QStringLiteral("Lokalizacja:"), fLokalizacja);
    form->addRow(QStringLiteral("Użytkownik:"), fUzytkownik);
    lUwaga = new QLabel(hintFor(m_inputs), group);
    lUwaga->setObjectName(QStringLiteral("lUwaga"));
    lUwaga->setWordWrap(true);
    lUwaga->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The one thing that makes a local backup fail: it must be seen before the button is pressed.
    lUwaga->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; border: 1px solid #e0c050; "
                                         "padding: 6px; }"));
    form->addRow(lUwaga);

    SBKopia = new QPushButton(QStringLiteral("Wykonaj kopię zapasową..."), this);
    SBKopia->setObjectName(QStringLiteral("SBKopia"));
    SBOdtworz = new QPushButton(QStringLiteral("Odtwórz bazę z kopii..."), this);
    SBOdtworz->setObjectName(QStringLiteral("SBOdtworz"));
    auto* actions = new QHBoxLayout;
    actions->addWidget(SBKopia);
    actions->addWidget(SBOdtworz);
    actions->addStretch();

    lStatus = new QLabel(this);
    lStatus->setObjectName(QStringLiteral("lStatus"));
    pbPostep = new QProgressBar(this);
    pbPostep->setObjectName(QStringLiteral("pbPostep"));
    pbPostep->setRange(0, 100);
    pbPostep->setValue(0);
    pbPostep->setTextVisible(false);

    mLog = new QPlainTextEdit(this);
    mLog->setObjectName(QStringLiteral("mLog"));
    mLog->setReadOnly(true);
    mLog->setMaximumBlockCount(2000);
    mLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    SBZamknij = new QPushButton(QStringLiteral("Zamknij"), this);
    SBZamknij->setObjectName(QStringLiteral("SBZamknij"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(SBZamknij);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(group);
    layout->addLayout(actions);
    layout->addWidget(lStatus);
    layout->addWidget(pbPostep);
    layout->addWidget(new QLabel(QStringLiteral("Przebieg (komunikaty programu gbak):"), this));
    layout->addWidget(mLog, 1);
    layout->addLayout(bottom);

    connect(SBKopia, &QPushButton::clicked, this, &TfArchiwizacja::SBKopiaClick);
    connect(SBOdtworz, &QPushButton::clicked, this, &TfArchiwizacja::SBOdtworzClick);
    connect(SBZamknij, &QPushButton::clicked, this, &QWidget::close);

    if (m_inputs.settings) {
        const Settings& s = *m_inputs.settings;
        fLokalizacja->setText(s.location);
        fUzytkownik->setText(s.user);
        m_archiver = new Archiver(s, this);
        connect(m_archiver, &Archiver::outputLine, this, &TfArchiwizacja::appendLog);
        connect(m_archiver, &Archiver::finished, this, &TfArchiwizacja::onFinished);
        m_backupFolder = isServerLocation(s.location)
                             ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                             : QFileInfo(s.location).absolutePath();
        lStatus->setText(QStringLiteral("Gotowe."));
    } else {
        fLokalizacja->setText(QStringLiteral("(brak ustawień)"));
        lStatus->setText(QStringLiteral("Brak ustawień bazy danych."));
    }
    setRunning(false);
}

TfArchiwizacja::~TfArchiwizacja() = default;

void TfArchiwizacja::refreshHint()
{
    lUwaga->setText(hintFor(m_inputs));
}

void TfArchiwizacja::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refreshHint();
}

void TfArchiwizacja::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Told once the window is on screen, so the message has something to stand over.
    if (!m_inputs.settings)
        QTimer::singleShot(
            0, this, [this] { m_dialogs.information(kCaptionError, m_inputs.settingsError); });
}

void TfArchiwizacja::closeEvent(QCloseEvent* event)
{
    if (m_archiver && m_archiver->isRunning()) {
        if (!m_dialogs.question(kCaptionQuestion,
                                QStringLiteral("Program gbak jeszcze pracuje. Przerwać go i "
                                               "zamknąć okno? Niedokończone pliki zostaną "
                                               "usunięte."))) {
            event->ignore();
            return;
        }
        m_closing = true;
        m_archiver->cancel();
    }
    event->accept();
}

void TfArchiwizacja::SBKopiaClick()
{
    if (!m_archiver || m_archiver->isRunning())
        return;
    refreshHint();
    const QString proposed =
        proposedBackupFile(m_archiver->settings().location, m_backupFolder, zf::clock().now());
    const QString file = m_dialogs.saveFileName(QStringLiteral("Zapisz kopię zapasową bazy danych"),
                                                proposed, kBackupFilters, QStringLiteral("fbk"));
    if (file.isEmpty())
        return;
    QString error;
    if (!m_archiver->startBackup(file, &error)) {
        appendLog(error);
        m_dialogs.information(kCaptionWarning, error);
        return;
    }
    m_backupFolder = QFileInfo(file).absolutePath();
    started(QStringLiteral("Trwa tworzenie kopii zapasowej..."));
}

void TfArchiwizacja::SBOdtworzClick()
{
    if (!m_archiver || m_archiver->isRunning())
        return;
    const QString source = m_dialogs.openFileName(
        QStringLiteral("Wybierz kopię zapasową do odtworzenia"), m_backupFolder, kBackupFilters);
    if (source.isEmpty())
        return;
    const QString location = m_archiver->settings().location;
    QString target = proposedRestoreLocation(location, zf::clock().today());
    if (isServerLocation(location)) {
        // A file on the server cannot be chosen in a local file dialog.
        if (!m_dialogs.prompt(QStringLiteral("Odtwarzanie bazy danych"),
                              QStringLiteral("Nowa baza danych na serwerze (serwer:ścieżka):"),
                              target, false))
            return;
    } else {
        target = m_dialogs.saveFileName(QStringLiteral("Odtwórz kopię do nowego pliku bazy danych"),
                                        target, kDatabaseFilters, QStringLiteral("fdb"));
    }
    if (target.trimmed().isEmpty())
        return;
    QString error;
    if (!m_archiver->startRestore(source, target, &error)) {
        appendLog(error);
        m_dialogs.information(kCaptionWarning, error);
        return;
    }
    m_backupFolder = QFileInfo(source).absolutePath();
    started(QStringLiteral("Trwa odtwarzanie bazy danych z kopii..."));
}

void TfArchiwizacja::started(const QString& status)
{
    setRunning(true);
    lStatus->setText(status);
    appendLog(QString());
    appendLog(zf::clock().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
              QStringLiteral("  ") + QDir::toNativeSeparators(m_archiver->gbakProgram()) +
              QLatin1Char(' ') + m_archiver->runningArguments().join(QLatin1Char(' ')));
}

void TfArchiwizacja::appendLog(const QString& line)
{
    mLog->appendPlainText(line);
}

void TfArchiwizacja::onFinished(const Archiver::Result& result)
{
    setRunning(false);
    if (m_closing)
        return;
    pbPostep->setValue(result.ok ? 100 : 0);
    const bool backup = result.operation == Archiver::Operation::Backup;
    if (result.ok)
        lStatus->setText(backup ? QStringLiteral("Kopia zapasowa została zapisana.")
                                : QStringLiteral("Baza danych została odtworzona."));
    else
        lStatus->setText(backup ? QStringLiteral("Nie udało się wykonać kopii zapasowej.")
                                : QStringLiteral("Nie udało się odtworzyć bazy danych."));
    appendLog(result.message);
    m_dialogs.information(result.ok ? kCaptionInformation : kCaptionError, result.message);
    emit operationFinished(result);
}

void TfArchiwizacja::setRunning(bool running)
{
    const bool usable = m_archiver != nullptr && !running;
    SBKopia->setEnabled(usable);
    SBOdtworz->setEnabled(usable);
    if (running) {
        // gbak tells no total, so the bar only shows that work goes on.
        pbPostep->setRange(0, 0);
    } else {
        pbPostep->setRange(0, 100);
    }
}

} // namespace zf::archive
