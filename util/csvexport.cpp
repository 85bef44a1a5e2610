#include "util/csvexport.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <functional>

namespace zf {

namespace {

// Writes the lines of the table through `encode`, which answers false for a line it cannot
// hold exactly.
bool writeGrid(const QList<QStringList>& grid, const QString& path, const QByteArray& prefix,
               const std::function<bool(const QString&, QByteArray&)>& encode)
{
    qsizetype columns = 0;
    for (const QStringList& row : grid)
        columns = std::max(columns, row.size());

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (file.write(prefix) != prefix.size())
        return false;
    for (const QStringList& row : grid) {
        QString line;
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0)
                line += QLatin1Char(';');
            line += QLatin1Char('"') + row.value(c) + QLatin1Char('"');
        }
        line += QLatin1String("\r\n");
        QByteArray bytes;
        if (!encode(line, bytes) || file.write(bytes) != bytes.size()) {
            file.close();
            return false;
        }
    }
    file.close();
    return file.error() == QFileDevice::NoError;
}

} // namespace

bool TOVExportToCSV::ExportGrid(const QList<QStringList>& grid, const QString& path)
{
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    return writeGrid(grid, path, {}, [&encoder](const QString& line, QByteArray& bytes) {
        bytes = encoder.encode(line);
        // A character the code page lacks would be written as a substitute: refuse instead.
        return !encoder.hasError();
    });
}

bool TOVExportToCSV::ExportGridUtf8(const QList<QStringList>& grid, const QString& path)
{
    return writeGrid(grid, path, QByteArray("\xEF\xBB\xBF"),
                     [](const QString& line, QByteArray& bytes) {
                         bytes = line.toUtf8();
                         return true;
                     });
}

QString TOVExportToCSV::DataCellText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('`'), QLatin1Char('\''));
    out.replace(QLatin1Char('"'), QLatin1Char('`'));
    return out;
}

} // namespace zf
