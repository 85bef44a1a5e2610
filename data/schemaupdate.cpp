// Bringing the schema of an older database to the version the program needs.
#include "data/mydatabase.h"
#include "data/scriptrunner.h"
#include "util/dialogs.h"

#include <QFile>

namespace zf {

namespace {
constexpr int kCodeReadVersion = 131904;
constexpr int kCodeReadScript = 142053;
} // namespace

QString TmyDataBase::UpdateScriptPath(const QString& programFolder, int version)
{
    return programFolder + QStringLiteral("/data/fb_update10") + QString::number(version) +
           QStringLiteral(".dat");
}

bool TmyDataBase::RunScript(const QStringList& lines)
{
    const auto error = runScriptLines(mySQL, DBFMySqlTransaction, lines);
    if (!error)
        return true;
    WriteErrorLog(QStringLiteral("[0000131936]  log:") + QString::number(error->step) +
                  QLatin1Char(' ') + error->message);
    return false;
}

int TmyDataBase::readVersion()
{
    int stored = -1;
    if (!Utility(kCodeReadVersion, [&](fb::Statement& st) {
            st.setSql(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID=\"DBUPDATEDTO\""));
            st.execute();
            if (st.fetch()) {
                const QVariant v = st.value(0);
                stored = v.isValid() && !v.isNull() ? v.toInt() : -1;
            }
            st.close();
        }))
        return kVersionUnreadable;
    return stored;
}

bool TmyDataBase::UpdateDatabase(int version)
{
    const int stored = readVersion();
    if (stored == kVersionUnreadable)
        return false;
    if (stored >= version)
        return true;

    const QString n = QString::number(version);
    const QString notUpdated =
        QStringLiteral("Baza danych na której pracuje program nie została jeszcze "
                       "zaktualizowana do wersji x.") +
        n;
    if (m_login.restricted) {
        m_dialogs.information(
            kCaptionWarning,
            notUpdated + QStringLiteral(". Operację tą może wykonać tylko administrator logując "
                                        "się do programu (użytkownik: \"admin\"). Program "
                                        "zostanie zamknięty."));
        WriteErrorLog(
            QStringLiteral("[2000001090]  Baza moze byc zaktualizowana tylko przez administratora."));
        return false;
    }
    if (!m_dialogs.question(
            kCaptionWarning,
            notUpdated + QStringLiteral(". Czy zaktualizować ją teraz? Podczas aktualizacji bazy "
                                        "upewnij się, że żaden z użytkowników nie pracuje z "
                                        "programie Zefirant. Czy kontynuować aktualizację?"))) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Baza danych nie została zaktualizowana. Ta wersja "
                                             "programu nie może pracować z niezaktualizowaną "
                                             "bazą. Program zostanie zamknięty."));
        WriteErrorLog(QStringLiteral(
            "[2000001091]  Administrator nie wyrazil zgody na zaktualizowanie bazy."));
        return false;
    }

    WriteErrorLog(QStringLiteral("[2000001935]  Start aktualizacji do wersji x.") + n +
                  QLatin1Char('.'));
    // The text is a whole sentence already: shown without the "unexpected error" prefix, as
    // the database window shows the same failure.
    QFile file(UpdateScriptPath(m_paths.programFolder, version));
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        ReportUnexpectedError(QStringLiteral("Wystąpił błąd podczas wczytywania skryptów SQL."),
                              false, kCodeReadScript);
        return false;
    }

    // Changing foreign keys fails while any statement over their tables is prepared.
    FBDataBase.releaseStatements();
    // A script that ran but left the version lower (a damaged file whose statements never
    // reached a separator, say) has not updated anything: that is a failure, not a success.
    if (RunScript(decipherScript(bytes)) && readVersion() >= version) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Baza danych została zaktualizowana poprawnie do "
                                             "wersji x.") +
                                  n + QLatin1Char('.'));
        WriteErrorLog(QStringLiteral("[2000001941]  Aktualizacja zakonczona sukcesem."));
        return true;
    }
    m_dialogs.information(kCaptionError, QStringLiteral("Aktualizacja bazy zakończyła się "
                                                        "niepowodzeniem. Program zostanie "
                                                        "zamknięty."));
    WriteErrorLog(QStringLiteral("[2000001936]  Aktualizacja nie powiodla sie."));
    return false;
}

} // namespace zf
