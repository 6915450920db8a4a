// The RTF reader's core: groups, control words and symbols, and the dispatch of each control
// word through the table in rtfcontrolwords.cpp to its handler.

#include "rtfreader.h"

#include "codepages.h"
#include "rtfdocumentbuilder.h"
#include "rtfreaderimpl.h"

#include <QStringDecoder>

#include <limits>

namespace RtfReading {

bool Reader::run()
{
    m_states.reserve(kMaxGroupDepth + 1);
    m_states.push_back(State {});
    m_colours.reserve(16);
    m_text.reserve(1024);
    m_sink.startDocument();
    parse();
    if (!m_done)
        m_complete = false; // ended inside the document's groups
    flushText();
    if (m_picture.kind != RtfPicture::Kind::None)
        finishPicture();
    syncTables(0);
    finishBlock(state().para);
    m_sink.endDocument();
    return m_complete;
}

void Reader::parse()
{
    const char *&p = m_data;
    while (p < m_end && !m_done) {
        const char c = *p;
        if (c == '{') {
            ++p;
            m_unicodeSkipLeft = 0;
            openGroup();
        } else if (c == '}') {
            ++p;
            m_unicodeSkipLeft = 0;
            closeGroup();
        } else if (c == '\\') {
            ++p;
            if (p >= m_end)
                break;
            if (isLetter(*p))
                controlWord();
            else
                controlSymbol(*p++);
        } else if (c == '\r' || c == '\n') {
            ++p;
        } else if (m_overflowDepth > 0) {
            ++p;
        } else if (state().destination == Destination::Picture) {
            readPictureDigits();
        } else if (m_unicodeSkipLeft == 0 && isPlainText(c) && appendPlainRun()) {
            // A run of plain ASCII text went in as a whole.
        } else {
            ++p;
            if (m_unicodeSkipLeft > 0) {
                --m_unicodeSkipLeft;
                continue;
            }
            textByte(static_cast<unsigned char>(c));
        }
    }
}

void Reader::readPictureDigits()
{
    // Hexadecimal picture data: the bulk of many files, read in one tight loop.
    const char *&p = m_data;
    while (p < m_end) {
        const int v = hexValue(*p);
        if (v < 0) {
            if (*p == ' ' || *p == '\r' || *p == '\n' || *p == '\t') {
                ++p;
                continue;
            }
            break;
        }
        ++p;
        if (m_picture.kind == RtfPicture::Kind::Unsupported)
            continue;
        if (m_nibble < 0) {
            m_nibble = v;
        } else {
            m_picture.bytes.append(char(m_nibble << 4 | v));
            m_nibble = -1;
        }
    }
    if (m_picture.bytes.size() > RtfPicture::kMaxBytes
        || m_pictureBytesTotal + m_picture.bytes.size() > RtfPicture::kMaxTotalBytes) {
        m_picture.kind = RtfPicture::Kind::Unsupported;
        m_picture.bytes.clear();
        m_complete = false;
    }
    if (p < m_end && *p != '\\' && *p != '{' && *p != '}')
        ++p; // a stray character among the digits
}

void Reader::openGroup()
{
    if (m_overflowDepth > 0 || m_states.size() > std::size_t(kMaxGroupDepth)) {
        ++m_overflowDepth;
        m_complete = false;
        return;
    }
    m_states.push_back(m_states.back());
    m_ignorableNext = false;
}

void Reader::closeGroup()
{
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    m_ignorableNext = false;
    const Destination destination = state().destination;
    // Text waiting for insertion keeps its own format, so a group's end only has to insert it
    // where it leaves the text or changes the table the text goes into.
    if (destination == Destination::Text
        && (m_states.size() <= 2 || m_states[m_states.size() - 2].destination != Destination::Text
            || m_states[m_states.size() - 2].para.tableLevel() != state().para.tableLevel()))
        flushText();
    if (destination == Destination::FontTable)
        commitFont();
    if (destination == Destination::Picture && m_states.size() == m_pictureDepth)
        finishPicture();
    if (m_states.size() <= 2) {
        // The document's own group has closed: whatever follows is not part of it. Its state
        // stays, as the last paragraph still takes its format from it.
        m_done = true;
        return;
    }
    m_states.pop_back();
}

void Reader::controlWord()
{
    const char *p = m_data;
    const char *start = p;
    while (p < m_end && isLetter(*p))
        ++p;
    const std::string_view word(start, std::size_t(p - start));
    bool negative = false;
    bool hasParam = false;
    qint64 value = 0;
    if (p < m_end && *p == '-' && p + 1 < m_end && *(p + 1) >= '0' && *(p + 1) <= '9') {
        negative = true;
        ++p;
    }
    while (p < m_end && *p >= '0' && *p <= '9') {
        hasParam = true;
        if (value < 100000000000LL)
            value = value * 10 + (*p - '0');
        ++p;
    }
    if (p < m_end && *p == ' ')
        ++p;
    m_data = p;
    if (negative)
        value = -value;
    const Param param { clampInt(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()),
        hasParam };

    const Action *action = word.size() <= std::size_t(kMaxControlWordLength) ? m_words.find(word) : nullptr;
    if (action && action->kind == Kind::Binary) {
        (this->*action->handler)(param, action->arg);
        return;
    }
    if (m_overflowDepth > 0)
        return;
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    dispatch(action, param);
}

void Reader::dispatch(const Action *action, Param param)
{
    const bool ignorable = m_ignorableNext;
    m_ignorableNext = false;
    State &s = state();
    if (!action) {
        // An unknown destination marked "\*" is skipped with its group.
        if (ignorable)
            s.destination = Destination::Skip;
        return;
    }
    if (actsIn(action->kind, s.destination))
        (this->*action->handler)(param, action->arg);
}

void Reader::readBinary(Param param, int)
{
    // Binary data: its bytes are never read as RTF.
    const qint64 count = std::clamp<qint64>(param.given ? param.value : 0, 0, m_end - m_data);
    if (m_overflowDepth == 0 && state().destination == Destination::Picture && m_unicodeSkipLeft == 0
        && m_picture.kind != RtfPicture::Kind::Unsupported
        && m_picture.bytes.size() + count <= RtfPicture::kMaxBytes)
        m_picture.bytes.append(m_data, qsizetype(count));
    m_data += count;
    if (m_unicodeSkipLeft > 0)
        --m_unicodeSkipLeft;
}

void Reader::controlSymbol(char c)
{
    if (m_overflowDepth > 0)
        return;
    if (c == '\'') {
        // \'hh: one byte of 8-bit text.
        int value = -1;
        if (m_end - m_data >= 2) {
            const int high = hexValue(m_data[0]);
            const int low = hexValue(m_data[1]);
            if (high >= 0 && low >= 0) {
                value = high << 4 | low;
                m_data += 2;
            }
        }
        if (m_unicodeSkipLeft > 0) {
            --m_unicodeSkipLeft;
            return;
        }
        if (value >= 0)
            textByte(static_cast<unsigned char>(value));
        return;
    }
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(static_cast<unsigned char>(c));
        break;
    case '~':
        appendChar(0x00A0);
        break;
    case '-':
        appendChar(0x00AD);
        break;
    case '_':
        appendChar(0x2011);
        break;
    case '*':
        m_ignorableNext = true;
        break;
    case '\t':
        appendChar(u'\t');
        break;
    case '\r':
    case '\n':
        dispatch(m_words.find("par"), Param {});
        break;
    default:
        break; // \| and \: belong to formulas and index entries
    }
}

void Reader::enterDestination(Destination destination)
{
    State &s = state();
    if (s.destination == Destination::Skip)
        return;
    if (destination == Destination::Skip || destination == Destination::Text) {
        s.destination = destination;
        return;
    }
    if (s.destination != Destination::Text) {
        // Tables and pictures only make sense where text would be shown.
        s.destination = Destination::Skip;
        return;
    }
    flushText();
    s.destination = destination;
}

void Reader::skipDestination(Param, int)
{
    enterDestination(Destination::Skip);
}

void Reader::enterAnsiOfUpr(Param, int)
{
    State &s = state();
    s.beforeUpr = s.destination;
    s.destination = Destination::AnsiOfUpr;
}

void Reader::leaveAnsiOfUpr(Param, int)
{
    State &s = state();
    if (s.destination == Destination::AnsiOfUpr)
        s.destination = s.beforeUpr;
}

} // namespace RtfReading

namespace Rtf {

bool looksLikeRtf(const QByteArray &data)
{
    qsizetype i = 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

ReadResult read(const QByteArray &data, QTextDocument *document, FaceMapper mapFace)
{
    DocumentBuilder builder(document);
    return read(data, builder, mapFace);
}

ReadResult read(const QByteArray &data, Sink &sink, FaceMapper mapFace)
{
    ReadResult result;
    if (!looksLikeRtf(data)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(data);
        if (utf8.hasError()) {
            text.clear();
            text.reserve(data.size());
            for (const char b : data)
                text += QChar(CodePages::decodeByte(1252, static_cast<unsigned char>(b)));
        }
        sink.plainText(text);
        return result;
    }
    result.isRtf = true;
    RtfReading::Reader reader(data, sink, mapFace);
    result.complete = reader.run();
    return result;
}

} // namespace Rtf
