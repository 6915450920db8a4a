#pragma once

#include "lab.h"
#include "tomltext.h"
#include "wording.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

/**
 * Lab files: TOML a teacher writes in a text editor (docs/labs.md says how), read into a Lab whose tasks the
 * strip runs. A file with any error gives no lab at all, so that nothing half-read reaches the strip; each
 * error says where it is and what was expected, in both languages.
 */

/** A lab file read: the lab, or the errors that keep it from being one. */
struct LabReading
{
    std::optional<Lab> lab;
    QList<LabError> errors;
};

/** Limits no lab a teacher writes comes near, against a file that is not a lab or is broken on purpose. */
namespace LabLimits {
inline constexpr qsizetype maximumBytes = 256 * 1024;
inline constexpr int maximumTasks = 60;
/** The longest title, goal, question or other text, in characters. */
inline constexpr qsizetype maximumText = 2000;
/** The most values a key may list for the draw to pick from, and checks a setting goal may list. */
inline constexpr int maximumDraws = 12;
inline constexpr int maximumChecks = 20;
/** The most errors told at once. */
inline constexpr int maximumErrors = 20;
} // namespace LabLimits

/** Reads a lab from a file's bytes; fileName names it in the tasks and the errors. */
LabReading readLab(const QByteArray &bytes, const QString &fileName);
/** Reads a lab file from disk, saying so when it is missing, unreadable or too large. */
LabReading readLabFile(const QString &path);

/** An error as the student reads it: "labo.toml, línea 12, frecuencia: se esperaba …". */
QString describeLabError(const LabError &error, const QString &fileName, Language language);
