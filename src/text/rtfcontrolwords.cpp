// The control words the RTF reader knows, one row each: the word, its kind and its handler with
// the small datum the handler takes, or the state field it sets. Words not in the table are
// passed over, and skipped with their group when they follow "\*".

#include "rtfreaderimpl.h"

namespace RtfReading {

void ControlWordTable::add(std::string_view word, const Action *action)
{
    Q_ASSERT(m_count < kSize / 2);
    std::size_t slot = hash(word) & kMask;
    while (m_slots[slot].action) {
        Q_ASSERT(m_slots[slot].word != word);
        slot = (slot + 1) & kMask;
    }
    m_slots[slot] = Entry { word, action };
    ++m_count;
}

// The handlers that only set one field of the state, one instance for each field.

template <bool CharState::*Field> void Reader::setCharFlag(Param param, int)
{
    state().chars.*Field = param.on();
}

template <int CharState::*Field> void Reader::setCharColour(Param param, int)
{
    state().chars.*Field = clampInt(param.value, 0, kMaxColours);
}

template <int Rtf::ParaFormat::*Field, int Low> void Reader::setParaLength(Param param, int)
{
    state().para.format.*Field = clampInt(param.value, Low, kMaxTwips);
}

template <int Reader::*Component> void Reader::setColourComponent(Param param, int)
{
    this->*Component = clampInt(param.value, 0, 255);
    m_colourGiven = true;
}

template <int RtfPicture::Data::*Field, int High> void Reader::setPictureNumber(Param param, int)
{
    m_picture.*Field = clampInt(param.value, 0, High);
}

template <int RtfPicture::Data::*Field> void Reader::setPictureScale(Param param, int)
{
    m_picture.*Field = param.given ? clampInt(param.value, 1, 1000) : 100;
}

const ControlWordTable &controlWords()
{
    using R = Reader;
    struct Row
    {
        std::string_view word;
        Action action;
    };
    // Actions shared by families of words.
    constexpr Action shown { Kind::Destination, &R::noAction };
    constexpr Action skipped { Kind::Destination, &R::skipDestination };
    constexpr Action underline { Kind::Character, &R::setCharFlag<&CharState::underline> };
    constexpr Action paraBorder { Kind::Table, &R::unselectBorder }; // paragraph borders are not drawn
    constexpr Action borderLine { Kind::Table, &R::showBorder, 1 };
    constexpr Action noBorder { Kind::Table, &R::showBorder, 0 };
    constexpr Action otherFamily { Kind::FontTable, &R::noAction };
    constexpr Action otherPicture { Kind::Picture, &R::setPictureKind, int(RtfPicture::Kind::Unsupported) };
    constexpr auto character = [](char16_t c) { return Action { Kind::Special, &R::insertCharacter, c }; };

    static const Row rows[] = {
        // The document.
        { "rtf", { Kind::Document, &R::noAction } },
        { "ansi", { Kind::Document, &R::setCodePage, 1252 } },
        { "mac", { Kind::Document, &R::setCodePage, 10000 } },
        { "pc", { Kind::Document, &R::setCodePage, 437 } },
        { "pca", { Kind::Document, &R::setCodePage, 850 } },
        { "ansicpg", { Kind::Document, &R::setAnsiCodePage } },
        { "deff", { Kind::Document, &R::setDefaultFont } },
        { "deftab", { Kind::Document, &R::setDefaultTabStop } },
        { "uc", { Kind::Document, &R::setUnicodeSkip } },
        { "u", { Kind::Document, &R::unicodeCharacter } },
        { "bin", { Kind::Binary, &R::readBinary } },

        // Destinations.
        { "fonttbl", { Kind::Destination, &R::enterFontTable } },
        { "colortbl", { Kind::Destination, &R::enterColourTable } },
        { "pict", { Kind::Destination, &R::enterPicture } },
        { "upr", { Kind::Destination, &R::enterAnsiOfUpr } },
        { "ud", { Kind::Destination, &R::leaveAnsiOfUpr } },
        { "nesttableprops", { Kind::Destination, &R::enterNestedRowProperties } },
        // Field instructions, the old-style copy of a shape's picture and the flat copy of
        // nested tables are never shown: the field's result, the shape and the tables are.
        { "fldinst", skipped },
        { "nonshppict", skipped },
        { "nonesttables", skipped },
        { "fldrslt", shown },
        { "shppict", shown },
        // Destinations whose text is shown like any other group.
        { "field", shown },
        { "pntext", shown },
        { "listtext", shown },
        { "shprslt", shown },
        { "result", shown },
        { "object", shown },
        { "shp", shown },
        { "shptxt", shown },
        // Parts of a document that a viewer does not show: its description, styles, page
        // furniture, notes, revision and list definitions, embedded object data, bookmarks.
        { "info", skipped },
        { "stylesheet", skipped },
        { "header", skipped },
        { "headerl", skipped },
        { "headerr", skipped },
        { "headerf", skipped },
        { "footer", skipped },
        { "footerl", skipped },
        { "footerr", skipped },
        { "footerf", skipped },
        { "footnote", skipped },
        { "ftnsep", skipped },
        { "ftnsepc", skipped },
        { "ftncn", skipped },
        { "aftnsep", skipped },
        { "aftnsepc", skipped },
        { "aftncn", skipped },
        { "annotation", skipped },
        { "atnid", skipped },
        { "atnauthor", skipped },
        { "atnref", skipped },
        { "atndate", skipped },
        { "atnicn", skipped },
        { "atrfstart", skipped },
        { "atrfend", skipped },
        { "comment", skipped },
        { "xe", skipped },
        { "tc", skipped },
        { "tcn", skipped },
        { "txe", skipped },
        { "bkmkstart", skipped },
        { "bkmkend", skipped },
        { "revtbl", skipped },
        { "rsidtbl", skipped },
        { "listtable", skipped },
        { "listoverridetable", skipped },
        { "objdata", skipped },
        { "objclass", skipped },
        { "objname", skipped },
        { "objalias", skipped },
        { "objsect", skipped },
        { "objtime", skipped },
        { "datafield", skipped },
        { "docvar", skipped },
        { "template", skipped },
        { "userprops", skipped },
        { "xmlnstbl", skipped },
        { "themedata", skipped },
        { "colorschememapping", skipped },
        { "datastore", skipped },
        { "latentstyles", skipped },
        { "generator", skipped },
        { "pgdsctbl", skipped },
        { "shpinst", skipped },
        { "pn", skipped },
        { "pntxta", skipped },
        { "pntxtb", skipped },
        { "private", skipped },
        { "fchars", skipped },
        { "lchars", skipped },
        { "mmathPr", skipped },
        { "blipuid", skipped },
        { "picprop", skipped },
        { "do", skipped },
        { "filetbl", skipped },
        { "falt", skipped },
        { "panose", skipped },
        { "fname", skipped },
        { "keycode", skipped },
        { "formfield", skipped },
        { "pgptbl", skipped },
        { "ftnalt", skipped },
        { "protusertbl", skipped },
        { "wgrffmtfilter", skipped },
        { "xmlattr", skipped },
        { "xmlopen", skipped },
        { "xmlclose", skipped },
        { "passwordhash", skipped },
        { "listpicture", skipped },
        { "rxe", skipped },
        { "bkmkcolf", skipped },
        { "bkmkcoll", skipped },
        { "fontemb", skipped },
        { "fontfile", skipped },
        { "leveltext", skipped },
        { "levelnumbers", skipped },
        { "ptabldot", skipped },
        { "sp", skipped },
        { "sn", skipped },
        { "sv", skipped },

        // The font table.
        { "f", { Kind::FontNumber, &R::selectFont } },
        { "fcharset", { Kind::FontTable, &R::setFontCharset } },
        { "cpg", { Kind::FontTable, &R::setFontCodePage } },
        { "froman", { Kind::FontTable, &R::setFontHint, QFont::Serif } },
        { "fswiss", { Kind::FontTable, &R::setFontHint, QFont::SansSerif } },
        { "fmodern", { Kind::FontTable, &R::setFontHint, QFont::TypeWriter } },
        { "fnil", otherFamily },
        { "fscript", otherFamily },
        { "fdecor", otherFamily },
        { "ftech", otherFamily },
        { "fbidi", otherFamily },

        // The colour table.
        { "red", { Kind::ColourTable, &R::setColourComponent<&R::m_red> } },
        { "green", { Kind::ColourTable, &R::setColourComponent<&R::m_green> } },
        { "blue", { Kind::ColourTable, &R::setColourComponent<&R::m_blue> } },

        // Character formatting.
        { "plain", { Kind::Character, &R::resetCharacter } },
        { "b", { Kind::Character, &R::setCharFlag<&CharState::bold> } },
        { "i", { Kind::Character, &R::setCharFlag<&CharState::italic> } },
        { "strike", { Kind::Character, &R::setCharFlag<&CharState::strike> } },
        { "striked", { Kind::Character, &R::setCharFlag<&CharState::strike> } },
        { "caps", { Kind::Character, &R::setCharFlag<&CharState::caps> } },
        { "scaps", { Kind::Character, &R::setCharFlag<&CharState::smallCaps> } },
        { "v", { Kind::Character, &R::setCharFlag<&CharState::hidden> } },
        { "fs", { Kind::Character, &R::setFontSize } },
        { "cf", { Kind::Character, &R::setCharColour<&CharState::foreground> } },
        { "cb", { Kind::Character, &R::setCharColour<&CharState::background> } },
        { "chcbpat", { Kind::Character, &R::setCharColour<&CharState::background> } },
        { "highlight", { Kind::Character, &R::setCharColour<&CharState::highlight> } },
        { "super", { Kind::Character, &R::setVerticalAlignment, QTextCharFormat::AlignSuperScript } },
        { "sub", { Kind::Character, &R::setVerticalAlignment, QTextCharFormat::AlignSubScript } },
        { "nosupersub", { Kind::Character, &R::setVerticalAlignment, QTextCharFormat::AlignNormal } },
        // Every underline style reads as a plain underline; "\ul0" and "\ulnone" end it.
        { "ulnone", { Kind::Character, &R::clearUnderline } },
        { "ul", underline },
        { "uld", underline },
        { "uldb", underline },
        { "uldash", underline },
        { "uldashd", underline },
        { "uldashdd", underline },
        { "ulhwave", underline },
        { "ulldash", underline },
        { "ulth", underline },
        { "ulthd", underline },
        { "ulthdash", underline },
        { "ulthdashd", underline },
        { "ulthdashdd", underline },
        { "ulthldash", underline },
        { "ululdbwave", underline },
        { "ulw", underline },
        { "ulwave", underline },

        // Paragraph formatting.
        { "pard", { Kind::Paragraph, &R::resetParagraph } },
        { "ql", { Kind::Paragraph, &R::setAlignment, Qt::AlignLeft } },
        { "qc", { Kind::Paragraph, &R::setAlignment, Qt::AlignHCenter } },
        { "qr", { Kind::Paragraph, &R::setAlignment, Qt::AlignRight } },
        { "qj", { Kind::Paragraph, &R::setAlignment, Qt::AlignJustify } },
        { "qd", { Kind::Paragraph, &R::setAlignment, Qt::AlignJustify } },
        { "li", { Kind::Paragraph, &R::setParaLength<&Rtf::ParaFormat::leftIndent, -kMaxTwips> } },
        { "ri", { Kind::Paragraph, &R::setParaLength<&Rtf::ParaFormat::rightIndent, -kMaxTwips> } },
        { "fi", { Kind::Paragraph, &R::setParaLength<&Rtf::ParaFormat::firstIndent, -kMaxTwips> } },
        { "sb", { Kind::Paragraph, &R::setParaLength<&Rtf::ParaFormat::spaceBefore, 0> } },
        { "sa", { Kind::Paragraph, &R::setParaLength<&Rtf::ParaFormat::spaceAfter, 0> } },
        { "sl", { Kind::Paragraph, &R::setParaLength<&Rtf::ParaFormat::lineSpacing, -kMaxTwips> } },
        { "slmult", { Kind::Paragraph, &R::setLineMultiple } },
        { "tx", { Kind::Paragraph, &R::addTabStop } },
        { "tqr", { Kind::Paragraph, &R::setTabType, QTextOption::RightTab } },
        { "tqc", { Kind::Paragraph, &R::setTabType, QTextOption::CenterTab } },
        { "tqdec", { Kind::Paragraph, &R::setTabType, QTextOption::DelimiterTab } },
        { "intbl", { Kind::Paragraph, &R::setInTable } },
        { "itap", { Kind::Paragraph, &R::setNestingLevel } },

        // Special characters and breaks.
        { "par", { Kind::Special, &R::breakParagraph } },
        { "page", { Kind::Special, &R::breakParagraph } },
        { "sect", { Kind::Special, &R::breakParagraph } },
        { "line", character(QChar::LineSeparator) },
        { "tab", character(u'\t') },
        { "emdash", character(0x2014) },
        { "endash", character(0x2013) },
        { "lquote", character(0x2018) },
        { "rquote", character(0x2019) },
        { "ldblquote", character(0x201C) },
        { "rdblquote", character(0x201D) },
        { "bullet", character(0x2022) },
        { "emspace", character(0x2003) },
        { "enspace", character(0x2002) },
        { "qmspace", character(0x2005) },
        { "zwj", character(0x200D) },
        { "zwnj", character(0x200C) },

        // Tables: rows, cells, their borders.
        { "trowd", { Kind::Table, &R::beginRowDefinition } },
        { "cell", { Kind::Table, &R::endCellWord, 0 } },
        { "nestcell", { Kind::Table, &R::endCellWord, 1 } },
        { "row", { Kind::Table, &R::endRowWord, 0 } },
        { "nestrow", { Kind::Table, &R::endRowWord, 1 } },
        { "cellx", { Kind::Table, &R::defineCell } },
        { "clcbpat", { Kind::Table, &R::setCellShading } },
        { "trgaph", { Kind::Table, &R::setRowGap } },
        { "trpaddl", { Kind::Table, &R::setRowPadding } },
        { "trpaddr", { Kind::Table, &R::setRowPadding } },
        { "trleft", { Kind::Table, &R::setRowLeft } },
        { "trql", { Kind::Table, &R::setRowAlignment, Qt::AlignLeft } },
        { "trqc", { Kind::Table, &R::setRowAlignment, Qt::AlignHCenter } },
        { "trqr", { Kind::Table, &R::setRowAlignment, Qt::AlignRight } },
        // The border the next border words describe, by the edge the word ends with; "h" and
        // "v" are the lines between a row's cells.
        { "clbrdrt", { Kind::Table, &R::selectCellBorder, 't' } },
        { "clbrdrl", { Kind::Table, &R::selectCellBorder, 'l' } },
        { "clbrdrb", { Kind::Table, &R::selectCellBorder, 'b' } },
        { "clbrdrr", { Kind::Table, &R::selectCellBorder, 'r' } },
        { "trbrdrt", { Kind::Table, &R::selectRowBorder, 't' } },
        { "trbrdrl", { Kind::Table, &R::selectRowBorder, 'l' } },
        { "trbrdrb", { Kind::Table, &R::selectRowBorder, 'b' } },
        { "trbrdrr", { Kind::Table, &R::selectRowBorder, 'r' } },
        { "trbrdrh", { Kind::Table, &R::selectRowBorder, 'h' } },
        { "trbrdrv", { Kind::Table, &R::selectRowBorder, 'v' } },
        { "box", paraBorder },
        { "brdrt", paraBorder },
        { "brdrb", paraBorder },
        { "brdrl", paraBorder },
        { "brdrr", paraBorder },
        { "brdrbar", paraBorder },
        { "brdrnone", noBorder },
        { "brdrnil", noBorder },
        { "brdrtbl", noBorder },
        { "brdrs", borderLine },
        { "brdrth", borderLine },
        { "brdrsh", borderLine },
        { "brdrdb", borderLine },
        { "brdrdot", borderLine },
        { "brdrdash", borderLine },
        { "brdrhair", borderLine },
        { "brdrtriple", borderLine },
        { "brdrinset", borderLine },
        { "brdroutset", borderLine },
        { "brdrframe", borderLine },
        { "brdrdashsm", borderLine },
        { "brdrdashd", borderLine },
        { "brdrdashdd", borderLine },
        { "brdrwavy", borderLine },
        { "brdrw", { Kind::Table, &R::setBorderWidth } },
        { "brdrcf", { Kind::Table, &R::setBorderColour } },

        // Pictures.
        { "pngblip", { Kind::Picture, &R::setPictureKind, int(RtfPicture::Kind::Png) } },
        { "jpegblip", { Kind::Picture, &R::setPictureKind, int(RtfPicture::Kind::Jpeg) } },
        { "dibitmap", { Kind::Picture, &R::setPictureKind, int(RtfPicture::Kind::Dib) } },
        { "wbitmap", { Kind::Picture, &R::setPictureKind, int(RtfPicture::Kind::DeviceBitmap) } },
        { "emfblip", otherPicture },
        { "wmetafile", otherPicture },
        { "macpict", otherPicture },
        { "pmmetafile", otherPicture },
        { "picw", { Kind::Picture, &R::setPictureNumber<&RtfPicture::Data::width, RtfPicture::kMaxSide> } },
        { "pich", { Kind::Picture, &R::setPictureNumber<&RtfPicture::Data::height, RtfPicture::kMaxSide> } },
        { "picwgoal", { Kind::Picture, &R::setPictureNumber<&RtfPicture::Data::goalWidth, kMaxTwips> } },
        { "pichgoal", { Kind::Picture, &R::setPictureNumber<&RtfPicture::Data::goalHeight, kMaxTwips> } },
        { "picscalex", { Kind::Picture, &R::setPictureScale<&RtfPicture::Data::scaleX> } },
        { "picscaley", { Kind::Picture, &R::setPictureScale<&RtfPicture::Data::scaleY> } },
        { "wbmbitspixel", { Kind::Picture, &R::setPictureNumber<&RtfPicture::Data::bitsPerPixel, 32> } },
        { "wbmwidthbytes",
            { Kind::Picture,
                &R::setPictureNumber<&RtfPicture::Data::widthBytes, RtfPicture::kMaxSide * 4> } },
    };

    static const ControlWordTable table = [] {
        ControlWordTable t;
        for (const Row &row : rows)
            t.add(row.word, &row.action);
        return t;
    }();
    return table;
}

} // namespace RtfReading
