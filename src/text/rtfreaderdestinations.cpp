// The RTF reader's destinations that hold no text: the font table, the colour table and
// embedded pictures.

#include "codepages.h"
#include "rtfreaderimpl.h"

#include <QImage>

namespace RtfReading {

QString installedFace(const QString &face)
{
    static const QHash<QString, QString> faces = {
        { QStringLiteral("times new roman"), QStringLiteral("Liberation Serif") },
        { QStringLiteral("times"), QStringLiteral("Liberation Serif") },
        { QStringLiteral("tms rmn"), QStringLiteral("Liberation Serif") },
        { QStringLiteral("arial"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("helvetica"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("helv"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("courier new"), QStringLiteral("Liberation Mono") },
        { QStringLiteral("courier"), QStringLiteral("Liberation Mono") },
    };
    return faces.value(face.toLower(), face);
}

void Reader::enterFontTable(Param, int)
{
    enterDestination(Destination::FontTable);
}

void Reader::selectFont(Param param, int)
{
    if (state().destination == Destination::FontTable)
        beginFont(param, 0);
    else
        state().chars.font = param.value >= 0 ? param.value : -1;
}

void Reader::beginFont(Param param, int)
{
    commitFont();
    m_fontIndex = param.value;
    m_fontEntry = FontEntry {};
    m_fontName.clear();
    m_fontCharset = -1;
    m_fontCpg = 0;
}

void Reader::setFontCharset(Param param, int)
{
    m_fontCharset = clampInt(param.value, 0, 255);
}

void Reader::setFontCodePage(Param param, int)
{
    m_fontCpg = clampInt(param.value, 0, 100000);
}

void Reader::setFontHint(Param, int hint)
{
    m_fontEntry.hint = QFont::StyleHint(hint);
}

void Reader::commitFont()
{
    if (m_fontIndex < 0)
        return;
    const int index = m_fontIndex;
    m_fontIndex = -1;
    if (m_fonts.size() >= kMaxFonts && !m_fonts.contains(index)) {
        m_complete = false;
        return;
    }
    FontEntry entry = m_fontEntry;
    entry.symbol = m_fontCharset == 2;
    entry.codePage
        = m_fontCpg > 0 ? m_fontCpg : (m_fontCharset >= 0 ? CodePages::forCharset(m_fontCharset) : 0);
    const int namePage = entry.codePage > 0 && !entry.symbol ? entry.codePage : m_documentCodePage;
    if (CodePages::isDoubleByte(namePage)) {
        entry.face = CodePages::decodeDoubleByte(namePage, m_fontName);
    } else {
        for (const char b : std::as_const(m_fontName))
            entry.face += QChar(CodePages::decodeByte(namePage, static_cast<unsigned char>(b)));
    }
    entry.face = entry.face.trimmed();
    m_fonts.insert(index, entry);
    m_cachedFont = -2;
    m_formatCache.clear();
}

void Reader::enterColourTable(Param, int)
{
    enterDestination(Destination::ColourTable);
    m_colours.clear();
    m_formatCache.clear();
    m_red = m_green = m_blue = 0;
    m_colourGiven = false;
}

void Reader::commitColour()
{
    if (m_colours.size() >= kMaxColours) {
        m_complete = false;
        return;
    }
    m_colours.append(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
    m_formatCache.clear();
    m_red = m_green = m_blue = 0;
    m_colourGiven = false;
}

void Reader::enterPicture(Param, int)
{
    State &s = state();
    if (s.destination != Destination::Text || m_picture.kind != RtfPicture::Kind::None) {
        s.destination = Destination::Skip;
        return;
    }
    enterDestination(Destination::Picture);
    m_picture = RtfPicture::Data {};
    m_picture.kind = RtfPicture::Kind::Unsupported;
    m_pictureDepth = m_states.size();
    m_nibble = -1;
}

void Reader::setPictureKind(Param, int kind)
{
    m_picture.kind = RtfPicture::Kind(kind);
}

void Reader::finishPicture()
{
    RtfPicture::Data pic = std::move(m_picture);
    m_picture = RtfPicture::Data {};
    m_pictureDepth = 0;
    if (pic.kind == RtfPicture::Kind::None || pic.kind == RtfPicture::Kind::Unsupported)
        return;
    m_pictureBytesTotal += pic.bytes.size();
    if (m_pictures >= RtfPicture::kMaxPictures || m_pictureBytesTotal > RtfPicture::kMaxTotalBytes) {
        m_complete = false;
        return;
    }
    const QImage image = RtfPicture::decode(pic);
    if (image.isNull())
        return;
    // The picture belongs to the group around \pict, whose character state is the one below.
    const CharState &chars = m_states.size() >= 2 ? m_states[m_states.size() - 2].chars : state().chars;
    if (chars.hidden)
        return;
    ++m_pictures;
    const QSizeF size = RtfPicture::displaySize(pic, image.size());
    syncTables(
        m_states.size() >= 2 ? m_states[m_states.size() - 2].para.tableLevel() : state().para.tableLevel());
    m_sink.picture(image, size, charFormat(chars));
}

} // namespace RtfReading
