#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

/** The sixteen colours of the classic Windows palette, in their usual order. */
const QList<QRgb> &windowsPalette16();

/**
 * Encodes an image as a Windows bitmap file (BITMAPINFOHEADER, bottom-up rows).
 * With 4 bits per pixel every pixel is mapped to the nearest colour of the classic
 * sixteen-colour palette; with 24 bits the image is stored as it is.
 */
QByteArray encodeBmp(const QImage &image, int bitsPerPixel = 24);

/** Writes encodeBmp() to a file; returns false when the file cannot be written. */
bool writeBmp(const QImage &image, const QString &path, int bitsPerPixel = 24);
