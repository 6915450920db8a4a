#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

/**
 * Data files: bitmaps and texts read by bare name from the current directory at the moment a
 * handler needs them. Failures are reported through the error box and the caller stops there.
 */
namespace DataFile {

/** Largest data file the program reads; anything bigger is refused as unreadable. */
inline constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

/** Reads a whole file; nullopt when it is missing, unreadable or too large. */
std::optional<QByteArray> read(const QString &fileName);

/**
 * Tells an observer the name of every data file the program asks for, found or not, so that a
 * check can learn which files each window reads from the windows themselves. None by default.
 */
void setReadObserver(std::function<void(const QString &fileName)> observer);

/**
 * Checks a Windows bitmap's headers against its own length before any decoder sees it.
 * Returns an empty text when the headers are sound, else why they are not.
 */
QString checkBmpHeaders(const QByteArray &data);

/** Decodes a bitmap that passed checkBmpHeaders(); a null image when it cannot be decoded. */
QImage decodeBmp(const QByteArray &data);

/**
 * Loads a ".bmp" file for a picture control. A missing or unreadable file gives
 * "Cannot open file X."; a file that is no valid bitmap gives a message naming it.
 * Identical file contents share one decoded image, so many windows showing the same
 * pictures cost their memory once; a file changed on disk is decoded again.
 */
std::optional<QImage> loadPicture(const QString &fileName);

/** The message for a file that is there but is not a picture the program can show. */
QString invalidPictureText(const QString &fileName);

/** The message for a file that is there but is no rich text. */
QString invalidRichTextText(const QString &fileName);

/** The message for a rich text that ends early or breaks off: what could be read is shown. */
QString damagedRichTextText(const QString &fileName);

} // namespace DataFile
