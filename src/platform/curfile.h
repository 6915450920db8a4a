#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

#include <optional>

/** A reader of Windows cursor files (".cur"), checked against the file's own length throughout. */
namespace CurFile {

/** One cursor picture with the point of it that the pointer position names. */
struct Cursor
{
    QImage image;
    QPoint hotSpot;
};

/** Largest side the reader accepts for one cursor picture. */
inline constexpr int kMaxSide = 256;

/**
 * Reads the cursor closest to 32 × 32 pixels from the file's directory: a device-independent
 * bitmap with its AND mask (1, 4, 8, 24 or 32 bits per pixel) or a PNG picture. Returns nullopt
 * for anything that is not a sound cursor file.
 */
std::optional<Cursor> parse(const QByteArray &data);

} // namespace CurFile
