#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

/**
 * Reads Rich Text Format, as written by WordPad, Word, LibreOffice Writer and pandoc, into a
 * QTextDocument or any other sink of what it reads: text in any of the usual encodings, character and
 * paragraph formatting, lists as their rendered bullets and numbers, tables (nested ones too) and embedded
 * bitmap pictures.
 *
 * Nothing a document holds is ever followed, fetched or run: fields show their result text,
 * embedded objects their stored picture or text. Malformed input is read as far as it makes
 * sense; every count, size and depth is bounded, so no input can crash the reader, make it hang
 * or take memory out of proportion to the input.
 */
namespace Rtf {

class Sink;

/** Maps a face name a file gives ("Times New Roman") to the installed family that stands in. */
using FaceMapper = QString (*)(const QString &face);

/** How a read went. */
struct ReadResult
{
    /** False when the data was not RTF and was shown as plain text instead. */
    bool isRtf = false;
    /** False when the data ended early, had unbalanced groups or reached a limit. */
    bool complete = true;
};

/**
 * Replaces the content of the document by the data read as RTF, or, when the data does not start
 * as RTF, by the data as plain text (UTF-8 when it is valid UTF-8, Western Windows otherwise).
 * Text the RTF gives no font or size for uses the document's default font. Face names go
 * through the mapper when one is given, else through a built-in list of the usual faces.
 */
ReadResult read(const QByteArray &data, QTextDocument *document, FaceMapper mapFace = nullptr);

/**
 * Reads the data as read() into a document does, telling the sink what it reads instead: the
 * whole text at once when the data is not RTF, else each run, paragraph, table and picture.
 */
ReadResult read(const QByteArray &data, Sink &sink, FaceMapper mapFace = nullptr);

/** True when the data starts as an RTF file does. */
bool looksLikeRtf(const QByteArray &data);

/** Pixels for a length in twips at the program's 96 pixels per inch. */
constexpr double twipsToPixels(int twips)
{
    return twips / 15.0;
}

} // namespace Rtf
