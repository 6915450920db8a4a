#pragma once

// For the files that parse a teacher's TOML: the parser's complaint as one of our errors.

#include "tomltext.h"

#include <toml++/toml.h>

#include <QString>

/** The parser's complaint as an error with its line, in both languages. */
inline LabError tomlParseError(const toml::parse_error &error)
{
    const std::string_view description = error.description();
    const QString detail = QString::fromUtf8(description.data(), qsizetype(description.size()));
    return { int(error.source().begin.line), int(error.source().begin.column), QString(),
        { QStringLiteral("el archivo no es TOML válido (%1)").arg(detail),
            QStringLiteral("el fitxer no és TOML vàlid (%1)").arg(detail) } };
}
