#include "util/csvexport.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>

namespace zf {

bool TOVExportToCSV::ExportGrid(const QList<QStringList>& grid, const QString& path)
{
    qsizetype columns = 0;
    for (const QStringList& row : grid)
        columns = std::max(columns, row.size());

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    for (const QStringList& row : grid) {
        QString line;
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0)
                line += QLatin1Char(';');
            line += QLatin1Char('"') + row.value(c) + QLatin1Char('"');
        }
        line += QLatin1String("\r\n");
        const QByteArray bytes = encoder.encode(line);
        // A character the code page lacks would be written as a substitute: refuse instead.
        if (encoder.hasError() || file.write(bytes) != bytes.size()) {
            file.close();
            return false;
        }
    }
    file.close();
    return file.error() == QFileDevice::NoError;
}

QString TOVExportToCSV::DataCellText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('`'), QLatin1Char('\''));
    out.replace(QLatin1Char('"'), QLatin1Char('`'));
    return out;
}

} // namespace zf
