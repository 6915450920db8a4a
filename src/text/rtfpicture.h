#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

/**
 * The pictures a rich-text file embeds with \pict: which kinds are shown, how their data becomes
 * an image and at what size the image is shown. Every size is checked before anything is
 * decoded, so a picture cannot claim more memory than its limits allow.
 */
namespace RtfPicture {

/** The largest width or height, in pixels, of a picture that is shown. */
constexpr int kMaxSide = 8192;
/** The largest number of pixels of a picture that is shown. */
constexpr qint64 kMaxPixels = 4096LL * 4096LL;
/** The largest data of one picture, and of all pictures of a document together. */
constexpr qsizetype kMaxBytes = 32 * 1024 * 1024;
constexpr qsizetype kMaxTotalBytes = 64 * 1024 * 1024;
/** The largest number of pictures of one document. */
constexpr int kMaxPictures = 2000;

enum class Kind {
    None, // no picture being read
    Unsupported, // metafiles and other kinds that are skipped
    Png,
    Jpeg,
    Dib, // device-independent bitmap without its file header (\dibitmap)
    DeviceBitmap, // the old device-dependent bitmap (\wbitmap)
};

/** One \pict group as read: its kind, its properties and its data. */
struct Data
{
    Kind kind = Kind::None;
    int width = 0; // \picw, \pich: pixels for bitmaps
    int height = 0;
    int goalWidth = 0; // \picwgoal, \pichgoal: twips
    int goalHeight = 0;
    int scaleX = 100; // \picscalex, \picscaley: percent
    int scaleY = 100;
    int bitsPerPixel = 1; // \wbmbitspixel
    int widthBytes = 0; // \wbmwidthbytes
    QByteArray bytes;
};

/** The picture's image, or a null image when it is of a skipped kind, malformed or too large. */
QImage decode(const Data &picture);

/** The size the picture is shown at, in pixels, from its goal size and scaling. */
QSizeF displaySize(const Data &picture, const QSize &imageSize);

} // namespace RtfPicture
