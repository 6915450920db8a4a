#pragma once

// For the files that parse a teacher's TOML: the parser's complaint as one of our errors.

#include "tomltext.h"

#include <toml++/toml.h>

#include <QString>

/** A text from the parser as the program holds it. */
inline QString fromToml(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

/** The parser's complaint as an error with its line, in both languages. */
inline LabError tomlParseError(const toml::parse_error &error)
{
    const QString detail = fromToml(error.description());
    return { int(error.source().begin.line), int(error.source().begin.column), QString(),
        { QStringLiteral("el archivo no es TOML válido (%1)").arg(detail),
            QStringLiteral("el fitxer no és TOML vàlid (%1)").arg(detail) } };
}
