#include "tomltext.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

/** A lab file made plain ASCII for the parser, or where it has a letter TOML allows in no key. */
struct AsciiLab
{
    std::string text;
    /** The line and the word of a letter outside a text or a comment that is not plain ASCII. */
    int accentLine = 0;
    QString accentWord;
};

/**
 * The file as the parser is given it: every letter beyond ASCII in a text written as its escape ("\u00F3"),
 * a literal text ('…') turned into a basic one so that it can hold them, and those of comments dropped. TOML
 * allows such letters nowhere else, so one outside texts and comments (a key written with its accent,
 * "posición") is told rather than parsed. Lines stay where they were, so the parser's line numbers hold.
 *
 * toml++ 3.3 (Debian 12's) must never see those letters: its test for Unicode blanks reaches a path it
 * marks unreachable for many of them, wherever it looks for a blank, even inside what a broken file
 * leaves unclosed (upstream issues 190 and 295, mended after 3.3).
 */
AsciiLab asciiForParser(const QString &file)
{
    enum class In { Nothing, Comment, Basic, Literal, LongBasic, LongLiteral };
    const QList<uint> code = file.toUcs4();
    AsciiLab lab;
    lab.text.reserve(std::size_t(code.size()) + 64);
    In in = In::Nothing;
    int line = 1;
    const auto at = [&](qsizetype i, const char *what) {
        for (qsizetype k = 0; what[k]; ++k)
            if (i + k >= code.size() || code.at(i + k) != uint(uchar(what[k])))
                return false;
        return true;
    };
    const auto escaped = [](uint c) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, c > 0xFFFF ? "\\U%08X" : "\\u%04X", c);
        return std::string(buffer);
    };
    const auto wordy = [](uint c) { return c >= 0x80 || QChar::isLetterOrNumber(char32_t(c)) || c == '_'; };
    for (qsizetype i = 0; i < code.size(); ++i) {
        const uint c = code.at(i);
        if (c == '\n') {
            ++line;
            if (in == In::Comment)
                in = In::Nothing;
            // An unclosed one-line text ends with its line, as the parser ends it, with an error.
            if (in == In::Basic || in == In::Literal) {
                lab.text += '"';
                in = In::Nothing;
            }
            lab.text += '\n';
            continue;
        }
        switch (in) {
        case In::Nothing:
            if (c >= 0x80) {
                qsizetype from = i;
                while (from > 0 && wordy(code.at(from - 1)))
                    --from;
                qsizetype to = i;
                while (to < code.size() && to - from < 40 && wordy(code.at(to)))
                    ++to;
                lab.accentLine = line;
                lab.accentWord = QString::fromUcs4(
                    reinterpret_cast<const char32_t *>(code.constData() + from), to - from);
                return lab;
            }
            if (c == '#') {
                in = In::Comment;
            } else if (at(i, "\"\"\"")) {
                in = In::LongBasic;
                lab.text += "\"\"";
                i += 2;
            } else if (at(i, "'''")) {
                in = In::LongLiteral;
                lab.text += "\"\"\"";
                i += 2;
                continue;
            } else if (c == '"') {
                in = In::Basic;
            } else if (c == '\'') {
                in = In::Literal;
                lab.text += '"';
                continue;
            }
            lab.text += char(c);
            break;
        case In::Comment:
            lab.text += c < 0x80 ? char(c) : '?';
            break;
        case In::Basic:
        case In::LongBasic:
            if (c == '\\' && i + 1 < code.size()) {
                // An escape keeps its character, unless it is one no escape has.
                const uint next = code.at(++i);
                lab.text += '\\';
                lab.text += next < 0x80 ? char(next) : '?';
                if (next == '\n')
                    ++line;
                break;
            }
            if (in == In::Basic && c == '"')
                in = In::Nothing;
            if (in == In::LongBasic && at(i, "\"\"\"")) {
                in = In::Nothing;
                lab.text += "\"\"";
                i += 2;
            }
            lab.text += c < 0x80 ? std::string(1, char(c)) : escaped(c);
            break;
        case In::Literal:
        case In::LongLiteral:
            if (in == In::Literal && c == '\'') {
                in = In::Nothing;
                lab.text += '"';
            } else if (in == In::LongLiteral && at(i, "'''")) {
                in = In::Nothing;
                lab.text += "\"\"\"";
                i += 2;
            } else if (c == '\\' || c == '"') {
                // What a literal text holds as it stands, a basic one holds escaped.
                lab.text += '\\';
                lab.text += char(c);
            } else {
                lab.text += c < 0x80 ? std::string(1, char(c)) : escaped(c);
            }
            break;
        }
    }
    return lab;
}

} // namespace

TomlText plainTomlText(const QByteArray &bytes)
{
    TomlText out;
    const auto fail = [&](int line, const QString &key, Wording message) {
        out.errors << LabError { line, 0, key, std::move(message) };
        return out;
    };
    // An editor that saves in the old Windows code page writes accents TOML cannot read: say so plainly.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    if (utf8.hasError()) {
        const qsizetype bad = decoded.indexOf(QChar::ReplacementCharacter);
        const int line = int(decoded.left(std::max<qsizetype>(bad, 0)).count(u'\n')) + 1;
        return fail(line, QString(),
            { QStringLiteral("el archivo no está en UTF-8: guárdalo con la codificación UTF-8 en el editor"),
                QStringLiteral(
                    "el fitxer no està en UTF-8: guarda'l amb la codificació UTF-8 en l'editor") });
    }
    AsciiLab ascii = asciiForParser(decoded);
    if (ascii.accentLine > 0) {
        return fail(ascii.accentLine, ascii.accentWord,
            { QStringLiteral(
                  "fuera de las comillas no se escriben acentos ni letras como la ñ: las claves van "
                  "sin ellos (posicion, introduccion) y los textos, entre comillas"),
                QStringLiteral(
                    "fora de les cometes no s'escriuen accents ni lletres com la ç: les claus van sense "
                    "(posicion, introduccion) i els textos, entre cometes") });
    }
    out.text = std::move(ascii.text);
    return out;
}
