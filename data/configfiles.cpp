#include "data/configfiles.h"

#include "cipher/cipher.h"
#include "cipher/ovcrypt.h"
#include "util/inifile.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zf {

namespace configdat {

std::optional<QString> read(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Nie można otworzyć pliku ") + path + QStringLiteral(": ") +
                 f.errorString();
        return std::nullopt;
    }
    const QByteArray record = f.read(kRecordSize + 1);
    if (record.size() != kRecordSize) {
        *error = QStringLiteral("Plik ") + path + QStringLiteral(" jest uszkodzony.");
        return std::nullopt;
    }
    const int length = static_cast<unsigned char>(record.at(kRecordSize - 1));
    TOVCrypt crypt{QByteArray(kPasswordCryptKey)};
    crypt.setCryptogram(record.mid(1, length));
    crypt.Decrypt();
    return fromCp1250(crypt.cryptogram());
}

bool write(const QString& path, const QString& password, QString* error)
{
    TOVCrypt crypt{QByteArray(kPasswordCryptKey)};
    crypt.setCryptogram(toCp1250(password).left(kRecordSize - 2));
    crypt.Encrypt();
    const QByteArray enciphered = crypt.cryptogram();
    QByteArray record(kRecordSize, '\0');
    record[0] = static_cast<char>(enciphered.size());
    record.replace(1, enciphered.size(), enciphered);
    record[kRecordSize - 1] = static_cast<char>(enciphered.size());

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(record) != record.size() || !f.commit()) {
        *error = QStringLiteral("Nie można zapisać pliku ") + path + QStringLiteral(": ") +
                 f.errorString();
        return false;
    }
    return true;
}

} // namespace configdat

namespace installersettings {

namespace {
const QString kSection = QStringLiteral("DataBaseDemo");
const QString kRelativePath = QStringLiteral("Orvantis/Zefirant/DataBaseDemo.ini");
} // namespace

QStringList defaultFolders()
{
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        return {QStringLiteral("/etc/xdg")};
    return dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString find(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + kRelativePath;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

std::optional<Settings> read(const QString& path, QString* error)
{
    const IniFile ini(path);
    QString values[3];
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("param") + QString::number(i + 1);
        const int length = ini.readInteger(kSection, name + QLatin1Char('s'), -1);
        const QString hex = ini.readString(kSection, name).trimmed();
        const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
        if (length < 0 || !ini.keyExists(kSection, name) || bytes.size() < length ||
            hex.size() != bytes.size() * 2) {
            *error = QStringLiteral("Niepoprawna wartość ") + name + QStringLiteral(" w pliku ") +
                     path;
            return std::nullopt;
        }
        values[i] = fromCp1250(DecryptString(bytes.left(length), kSettingsCipherKey));
    }
    return Settings{values[0], values[1], values[2]};
}

} // namespace installersettings

} // namespace zf
