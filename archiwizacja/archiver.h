#pragma once

#include "archiwizacja/settings.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace zf::archive {

// Backs the database up into a file and restores a backup into a new database, with Firebird's
// own gbak run asynchronously. Checks that can be made before gbak starts are made first, so that
// a bad choice costs nothing; after a failure nothing that existed before is changed:
// - a backup is written into a temporary file beside the target and takes the target's name
//   only when gbak succeeded, so an older backup of that name survives a failed run;
// - a restore only ever creates a new file (gbak -c, never -rep); a file gbak left behind after
//   failing is removed, and a restored file is checked to open as a database.
class Archiver : public QObject
{
    Q_OBJECT
public:
    enum class Operation
    {
        Backup,
        Restore
    };

    struct Result
    {
        Operation operation = Operation::Backup;
        bool ok = false;
        QString message;  // Polish, for the user
        QString file;     // the backup written, or the location of the restored database
        QStringList gbak; // gbak's own error lines, for the log
    };

    explicit Archiver(Settings settings, QObject* parent = nullptr);
    ~Archiver() override;

    const Settings& settings() const { return m_settings; }

    // gbak of the system by default (firebird3.0-utils); tests point it elsewhere.
    static QString defaultGbakProgram();
    void setGbakProgram(const QString& program) { m_gbak = program; }
    const QString& gbakProgram() const { return m_gbak; }

    // The arguments of gbak, never run through a shell. The password is not among them: it goes
    // in the environment (ISC_PASSWORD), where other users' process lists cannot see it.
    QStringList backupArguments(const QString& backupFile) const;
    QStringList restoreArguments(const QString& backupFile, const QString& newLocation) const;

    // Starts gbak and returns true; finished() follows. False with a Polish reason when a check
    // refuses the request (then nothing was started and nothing was written).
    bool startBackup(const QString& backupFile, QString* error);
    bool startRestore(const QString& backupFile, const QString& newLocation, QString* error);

    bool isRunning() const { return m_process != nullptr; }
    // The arguments gbak runs with now; empty when it does not run.
    QStringList runningArguments() const;
    // Stops gbak; finished() reports the cancelled operation and its files are cleaned up.
    void cancel();

signals:
    // One line of gbak's output as it comes.
    void outputLine(const QString& line);
    void finished(const zf::archive::Archiver::Result& result);

private:
    void start(Operation operation, const QStringList& arguments);
    void readOutput();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void finish(bool ok, const QString& message);
    QString explainFailure() const;
    QStringList errorLines() const;
    bool restoredDatabaseOpens(QString* reason) const;
    enum class ServerTarget
    {
        Exists,
        Absent,
        Unknown
    };
    ServerTarget serverTargetState(const QString& location) const;
    // Removes what a failed run left; false when a restored database could not be removed.
    bool removeLeftovers();

    Settings m_settings;
    QString m_gbak;

    QProcess* m_process = nullptr;
    Operation m_operation = Operation::Backup;
    bool m_cancelled = false;
    QString m_target;            // the backup file or the new location asked for
    QString m_partFile;          // backup: the temporary file gbak writes
    QString m_source;            // restore: the backup file
    bool m_targetAbsent = false; // restore: nothing was at the target before gbak started
    QByteArray m_pending;        // output not yet ended by a line break
    QStringList m_lines;         // every line of this run
};

} // namespace zf::archive
