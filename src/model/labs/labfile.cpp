#include "labfile.h"

#include "labreader.h"
#include "tomlerror.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstdio>

using LabFileReading::qs;
using LabFileReading::Reader;

LabReading readLab(const QByteArray &bytes, const QString &fileName)
{
    LabReading reading;
    Reader reader(fileName);
    if (bytes.size() > LabLimits::maximumBytes) {
        reader.fail({}, QString(),
            { QStringLiteral("el archivo es demasiado grande para ser una práctica: %1 KiB como mucho")
                    .arg(LabLimits::maximumBytes / 1024),
                QStringLiteral("el fitxer és massa gran per a ser una pràctica: %1 KiB com a molt")
                    .arg(LabLimits::maximumBytes / 1024) });
        reading.errors = reader.errors;
        return reading;
    }
    const TomlText ascii = plainTomlText(bytes);
    if (!ascii.errors.isEmpty()) {
        reading.errors = ascii.errors;
        return reading;
    }
    try {
        const toml::table root = toml::parse(std::string_view(ascii.text));
        reading.lab = reader.read(root);
    } catch (const toml::parse_error &error) {
        reader.errors << tomlParseError(error);
    }
    reading.errors = reader.errors;
    if (!reading.errors.isEmpty())
        reading.lab.reset();
    return reading;
}

LabReading readLabFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    const auto failed = [&](Wording message) {
        LabReading reading;
        reading.errors << LabError { 0, 0, QString(), std::move(message) };
        return reading;
    };
    if (!file.exists())
        return failed({ QStringLiteral("el archivo no existe"), QStringLiteral("el fitxer no existix") });
    if (file.size() > LabLimits::maximumBytes)
        return failed(
            { QStringLiteral("el archivo es demasiado grande para ser una práctica: %1 KiB como mucho")
                    .arg(LabLimits::maximumBytes / 1024),
                QStringLiteral("el fitxer és massa gran per a ser una pràctica: %1 KiB com a molt")
                    .arg(LabLimits::maximumBytes / 1024) });
    if (!file.open(QIODevice::ReadOnly))
        return failed({ QStringLiteral("no se puede leer el archivo (%1)").arg(file.errorString()),
            QStringLiteral("no es pot llegir el fitxer (%1)").arg(file.errorString()) });
    // One byte more than allowed tells a file that grew since its size was asked.
    LabReading reading = readLab(file.read(LabLimits::maximumBytes + 1), name);
    if (reading.lab)
        reading.lab->fileName = path;
    return reading;
}

QString describeLabError(const LabError &error, const QString &fileName, Language language)
{
    QStringList where { fileName };
    if (error.line > 0)
        where << inLanguage(language, QStringLiteral("línea %1"), QStringLiteral("línia %1")).arg(error.line);
    if (!error.key.isEmpty())
        where << error.key;
    return where.join(QStringLiteral(", ")) + QStringLiteral(": ") + error.message.in(language);
}
