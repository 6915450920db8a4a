// The RTF reader's text: document settings, character and paragraph formatting, special
// characters, and the runs of text that go to the sink through their code pages.

#include "codepages.h"
#include "rtfreaderimpl.h"
#include "symbolfont.h"

namespace RtfReading {

void Reader::setCodePage(Param, int codePage)
{
    m_documentCodePage = codePage;
}

void Reader::setAnsiCodePage(Param param, int)
{
    if (param.value > 0 && param.value < 100000)
        m_documentCodePage = param.value;
}

void Reader::setDefaultFont(Param param, int)
{
    if (param.value >= 0)
        m_defaultFont = param.value;
    m_formatCache.clear();
}

void Reader::setDefaultTabStop(Param param, int)
{
    if (param.value > 0 && param.value <= kMaxTwips)
        m_sink.defaultTabStop(Rtf::twipsToPixels(param.value));
}

void Reader::setUnicodeSkip(Param param, int)
{
    state().unicodeSkip = clampInt(param.value, 0, kMaxUnicodeSkip);
}

void Reader::unicodeCharacter(Param param, int)
{
    if (state().destination == Destination::Text)
        appendUnicode(param.value);
    m_unicodeSkipLeft = state().unicodeSkip;
}

void Reader::resetCharacter(Param, int)
{
    state().chars = CharState {};
}

void Reader::clearUnderline(Param, int)
{
    state().chars.underline = false;
}

void Reader::setFontSize(Param param, int)
{
    state().chars.halfPoints = param.given ? clampInt(param.value, 0, kMaxHalfPoints) : 0;
}

void Reader::setVerticalAlignment(Param param, int alignment)
{
    state().chars.verticalAlignment
        = param.on() ? QTextCharFormat::VerticalAlignment(alignment) : QTextCharFormat::AlignNormal;
}

void Reader::resetParagraph(Param, int)
{
    ParaState &para = state().para;
    if (para.tableLevel() != 0)
        flushText();
    para = ParaState {};
    m_border = nullptr;
}

void Reader::setAlignment(Param, int alignment)
{
    state().para.format.alignment = Qt::Alignment(alignment);
}

void Reader::setLineMultiple(Param param, int)
{
    state().para.format.lineMultiple = param.on();
}

void Reader::setTabType(Param, int type)
{
    state().para.nextTabType = QTextOption::TabType(type);
}

void Reader::addTabStop(Param param, int)
{
    ParaState &para = state().para;
    if (para.format.tabs.size() < kMaxTabStops && param.value >= 0 && param.value <= kMaxTwips) {
        QTextOption::Tab tab(Rtf::twipsToPixels(param.value), para.nextTabType);
        if (para.nextTabType == QTextOption::DelimiterTab)
            tab.delimiter = QLatin1Char('.');
        para.format.tabs.append(tab);
    }
    para.nextTabType = QTextOption::LeftTab;
}

void Reader::setInTable(Param, int)
{
    ParaState &para = state().para;
    if (!para.inTable)
        flushText();
    para.inTable = true;
}

void Reader::setNestingLevel(Param param, int)
{
    ParaState &para = state().para;
    if (para.nestingLevel != param.value)
        flushText();
    para.nestingLevel = clampInt(param.value, 0, kMaxTableLevels);
}

void Reader::breakParagraph(Param, int)
{
    if (state().destination == Destination::Text)
        endParagraph();
}

void Reader::insertCharacter(Param, int character)
{
    appendChar(char16_t(character));
}

int Reader::codePage()
{
    const int font = state().chars.font >= 0 ? state().chars.font : m_defaultFont;
    if (font != m_cachedFont) {
        m_cachedFont = font;
        const auto found = m_fonts.constFind(font);
        if (found == m_fonts.constEnd())
            m_cachedCodePage = 0;
        else
            m_cachedCodePage = found->symbol ? 42 : found->codePage;
    }
    return m_cachedCodePage > 0 ? m_cachedCodePage : m_documentCodePage;
}

bool Reader::appendPlainRun()
{
    // Text goes in byte by byte, through its code page, wherever it is not plain shown text.
    const State &s = state();
    if (s.destination != Destination::Text || s.chars.hidden)
        return false;
    const int page = codePage();
    if (page == 42 || CodePages::isDoubleByte(page))
        return false;
    const char *start = m_data;
    const char *p = start;
    while (p < m_end && isPlainText(*p))
        ++p;
    m_data = p;
    prepareRun();
    flushBytes();
    if (m_highSurrogate) {
        m_text += QChar(0xFFFD);
        m_highSurrogate = 0;
    }
    m_text.append(QLatin1StringView(start, p - start));
    return true;
}

void Reader::textByte(unsigned char byte)
{
    State &s = state();
    switch (s.destination) {
    case Destination::Text:
        break;
    case Destination::FontTable:
        if (byte == ';')
            commitFont();
        else if (m_fontIndex >= 0 && m_fontName.size() < kMaxFontNameBytes)
            m_fontName.append(char(byte));
        return;
    case Destination::ColourTable:
        if (byte == ';')
            commitColour();
        return;
    default:
        return;
    }
    if (s.chars.hidden || (byte < 0x20 && byte != '\t'))
        return;
    const int page = codePage();
    if (page == 42) {
        appendChar(char16_t(SymbolFont::toUnicode(byte))); // the Symbol encoding stays in the BMP
        return;
    }
    if (CodePages::isDoubleByte(page)) {
        prepareRun();
        if (!m_bytes.isEmpty() && m_bytesCodePage != page)
            flushBytes();
        m_bytesCodePage = page;
        m_bytes.append(char(byte));
        return;
    }
    appendChar(CodePages::decodeByte(page, byte));
}

void Reader::appendUnicode(int value)
{
    if (state().chars.hidden)
        return;
    // Negative values stand for the upper half of the 16-bit range.
    qint64 code = value < 0 ? qint64(value) + 65536 : qint64(value);
    if (code < 0 || code > 0x10FFFF) {
        appendChar(0xFFFD);
        return;
    }
    if (codePage() == 42 && code >= 0xF020 && code <= 0xF0FF)
        code = SymbolFont::toUnicode(static_cast<unsigned char>(code - 0xF000));
    if (code >= 0xD800 && code <= 0xDBFF) {
        if (m_highSurrogate)
            appendChar(0xFFFD);
        m_highSurrogate = char16_t(code);
        return;
    }
    if (code >= 0xDC00 && code <= 0xDFFF) {
        if (m_highSurrogate) {
            const char16_t high = m_highSurrogate;
            m_highSurrogate = 0;
            prepareRun();
            m_text += QChar(high);
            m_text += QChar(char16_t(code));
        } else {
            appendChar(0xFFFD);
        }
        return;
    }
    const char32_t u = char32_t(code);
    appendText(QString::fromUcs4(&u, 1));
}

void Reader::prepareRun()
{
    if (state().chars != m_runChars) {
        flushText();
        m_runChars = state().chars;
    }
}

void Reader::appendChar(char16_t c)
{
    if (state().destination != Destination::Text || state().chars.hidden)
        return;
    prepareRun();
    flushBytes();
    if (m_highSurrogate) {
        m_text += QChar(0xFFFD);
        m_highSurrogate = 0;
    }
    m_text += QChar(c);
}

void Reader::appendText(const QString &text)
{
    if (state().destination != Destination::Text || state().chars.hidden)
        return;
    prepareRun();
    flushBytes();
    if (m_highSurrogate) {
        m_text += QChar(0xFFFD);
        m_highSurrogate = 0;
    }
    m_text += text;
}

void Reader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    m_text += CodePages::decodeDoubleByte(m_bytesCodePage, m_bytes);
    m_bytes.truncate(0); // keeps its room for the next run
}

void Reader::flushText()
{
    flushBytes();
    if (m_highSurrogate) {
        m_text += QChar(0xFFFD);
        m_highSurrogate = 0;
    }
    if (m_text.isEmpty())
        return;
    syncTables(state().para.tableLevel());
    if (m_runs < kMaxRuns) {
        ++m_runs;
        m_sink.text(m_text, &charFormat(m_runChars));
    } else {
        m_complete = false; // past the limit, text keeps the last format
        m_sink.text(m_text, nullptr);
    }
    m_text.truncate(0); // keeps its room for the next run
}

const Rtf::CharFormat &Reader::charFormat(const CharState &chars)
{
    // A document uses few distinct formats over and over; building one costs more than finding it.
    for (const auto &[key, format] : m_formatCache) {
        if (key == chars)
            return format;
    }
    if (m_formatCache.size() >= 64)
        m_formatCache.erase(m_formatCache.begin());
    m_formatCache.emplace_back(chars, buildCharFormat(chars));
    return m_formatCache.back().second;
}

Rtf::CharFormat Reader::buildCharFormat(const CharState &chars)
{
    Rtf::CharFormat format;
    format.key = ++m_formatKeys;
    const int fontIndex = chars.font >= 0 ? chars.font : m_defaultFont;
    const auto font = m_fonts.constFind(fontIndex);
    // Symbol text is already mapped to Unicode, so it keeps the surrounding face.
    if (font != m_fonts.constEnd() && !font->symbol && !font->face.isEmpty()) {
        format.family = m_mapFace(font->face);
        format.styleHint = font->hint;
    }
    // Half-points to pixels at 96 per inch, rounded as the system's font mapper does.
    if (chars.halfPoints > 0)
        format.pixelSize = std::max(1, (chars.halfPoints * 2 + 1) / 3);
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.strike = chars.strike;
    format.smallCaps = chars.smallCaps;
    format.allCaps = chars.caps;
    format.verticalAlignment = chars.verticalAlignment;
    if (chars.foreground > 0 && chars.foreground < m_colours.size() && m_colours[chars.foreground].isValid())
        format.foreground = m_colours[chars.foreground];
    const int background = chars.highlight > 0 ? chars.highlight : chars.background;
    if (background > 0 && background < m_colours.size() && m_colours[background].isValid())
        format.background = m_colours[background];
    return format;
}

void Reader::finishBlock(const ParaState &para)
{
    m_sink.finishParagraph(para.format, charFormat(state().chars));
}

void Reader::endParagraph()
{
    flushText();
    const ParaState &para = state().para;
    syncTables(para.tableLevel());
    finishBlock(para);
    if (m_blocks >= kMaxBlocks) {
        m_complete = false;
        m_sink.text(QString(QChar::LineSeparator), nullptr);
        return;
    }
    ++m_blocks;
    m_sink.newParagraph();
}

} // namespace RtfReading
