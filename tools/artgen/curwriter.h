#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

/**
 * Encodes one picture as a Windows cursor file: an icon directory of type 2 with a single entry
 * carrying the hot spot, followed by a device-independent bitmap of doubled height (the colour
 * rows, then the AND mask). With 32 bits per pixel the colours keep their alpha channel; with
 * 1 bit the picture is reduced to black and white. In both cases every pixel whose alpha is below
 * one half is marked transparent in the AND mask, so readers that ignore alpha agree.
 * Returns an empty array for a picture wider or taller than 256 pixels or a hot spot outside it.
 */
QByteArray encodeCursor(const QImage &image, QPoint hotSpot, int bitsPerPixel = 32);

/** Writes encodeCursor() to a file; returns false when nothing valid could be written. */
bool writeCursor(const QImage &image, QPoint hotSpot, const QString &path, int bitsPerPixel = 32);
