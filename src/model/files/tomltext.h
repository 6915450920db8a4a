#pragma once

#include "wording.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <string>

/**
 * What every file a teacher writes in TOML (labs, circuits, tester parts) shares: one error, told with its
 * line and key in both languages, and the file made ready for the parser.
 */

/** One thing wrong in a file a teacher wrote. */
struct LabError
{
    /** Where, from 1; 0 when the error is the file's as a whole (too large, unreadable). */
    int line = 0;
    int column = 0;
    /** The key the error is about, as written in the file ("frecuencia", "tarea[3].medida.magnitud"'s last
     * part); empty when none. */
    QString key;
    /** What is wrong and what was expected. */
    Wording message;
};

/** A teacher's TOML file made ready for the parser: its text in plain ASCII, or what keeps it from being
 * read (not UTF-8, a key with an accent). */
struct TomlText
{
    std::string text;
    QList<LabError> errors;
};
TomlText plainTomlText(const QByteArray &bytes);
