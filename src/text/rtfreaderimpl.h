#pragma once

// The RTF reader's inner parts, shared by its source files: its bounds, the state a group
// carries, the control-word table's row type and the Reader itself. Nothing outside src/text
// includes this; the public interface is rtfreader.h.

#include "rtfpicture.h"
#include "rtfreader.h"
#include "rtfsink.h"

#include <QColor>
#include <QHash>
#include <QList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace RtfReading {

// Bounds that keep any input, however malformed, to a bounded time and memory.
constexpr qsizetype kMaxInputBytes = 64 * 1024 * 1024;
constexpr int kMaxGroupDepth = 200;
constexpr int kMaxFonts = 2000;
constexpr int kMaxColours = 2000;
constexpr int kMaxFontNameBytes = 256;
constexpr int kMaxTabStops = 64;
constexpr int kMaxTableLevels = 8;
constexpr int kMaxColumns = 63;
constexpr int kMaxRowsPerTable = 5000;
constexpr int kMaxCells = 100000;
constexpr int kMaxBlocks = 500000;
constexpr int kMaxRuns = 1000000;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kMaxControlWordLength = 32;
constexpr int kMaxTwips = 31680; // 22 inches, the largest page a word processor offers
constexpr int kMaxHalfPoints = 3276;

enum class Destination : std::uint8_t {
    Text, // shown
    Skip, // read for its braces only
    FontTable,
    ColourTable,
    Picture,
    AnsiOfUpr, // the 8-bit half of an \upr pair; only its \ud part is read
    TableProps, // a nested row's definition: properties, no text
};

struct CharState
{
    int font = -1; // -1: the document's default font
    int halfPoints = 0; // 0: the size the document's default font gives
    int foreground = 0; // colour table index; 0: automatic
    int background = 0;
    int highlight = 0;
    QTextCharFormat::VerticalAlignment verticalAlignment = QTextCharFormat::AlignNormal;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    bool hidden = false;

    bool operator==(const CharState &) const = default;
};

struct ParaState
{
    Rtf::ParaFormat format;
    bool inTable = false;
    int nestingLevel = 0; // \itap; 0 when not given
    QTextOption::TabType nextTabType = QTextOption::LeftTab;

    int tableLevel() const { return nestingLevel > 0 ? nestingLevel : (inTable ? 1 : 0); }
};

struct State
{
    Destination destination = Destination::Text;
    Destination beforeUpr = Destination::Text; // where the \ud half of an \upr pair goes
    CharState chars;
    ParaState para;
    int unicodeSkip = 1; // \uc
};

struct FontEntry
{
    QString face;
    int codePage = 0; // 0: the document's code page
    QFont::StyleHint hint = QFont::AnyStyle;
    bool symbol = false;
};

struct Border
{
    bool shown = false;
    int width = 15; // twips
    int colour = 0; // colour table index; 0: automatic (black)
};

struct CellDefinition
{
    int right = 0; // \cellx, twips
    int shading = 0; // \clcbpat
    Border top, left, bottom, right_;
};

struct RowDefinition
{
    std::vector<CellDefinition> cells;
    CellDefinition pending; // the cell whose \cellx has not come yet
    Border top, left, bottom, right, inner; // \trbrdr*: around the row and between its cells
    int gap = 0; // \trgaph
    int padding = -1; // \trpaddl and \trpaddr when given, else the gap
    int left_ = 0; // \trleft
    Qt::Alignment alignment = Qt::AlignLeft;
    int level = 1; // the nesting level it was given for
};

struct OpenTable
{
    int rows = 1;
    int columns = 1;
    int row = 0;
    int column = 0;
    bool cellEnded = false; // the next content starts the next cell
    bool rowEnded = false; // the next content starts the next row
    bool widthsSet = false;
};

/** A control word's numeric parameter, clamped to int, and whether the word had one. */
struct Param
{
    int value = 0;
    bool given = false;

    /** A toggle's sense: "\b" and "\b1" switch on, "\b0" switches off. */
    bool on() const { return !given || value != 0; }
};

/**
 * What sort of control word a row describes. The kind decides in which destinations the word
 * acts; anywhere else it is read and passes without effect.
 */
enum class Kind : std::uint8_t {
    Destination, // decides how the rest of its group is read; acts wherever text is not skipped
    Document, // code pages, default font and tab stops, Unicode escapes
    Character,
    Paragraph,
    Special, // special characters and breaks
    Table, // rows, cells and their borders
    FontNumber, // \f: starts a font table entry there, selects the font in text
    FontTable,
    ColourTable,
    Picture,
    Binary, // \bin: raw bytes that are never read as RTF
};

/** True when a word of this kind acts in a group read as this destination. */
constexpr bool actsIn(Kind kind, Destination destination)
{
    constexpr auto bit = [](Destination d) { return 1u << unsigned(d); };
    constexpr unsigned body = bit(Destination::Text) | bit(Destination::TableProps);
    constexpr unsigned masks[] = {
        ~bit(Destination::Skip), // Destination
        body, body, body, body, body, // Document, Character, Paragraph, Special, Table
        body | bit(Destination::FontTable), // FontNumber
        bit(Destination::FontTable), bit(Destination::ColourTable), bit(Destination::Picture),
        0, // Binary: read before any destination is looked at
    };
    static_assert(std::size(masks) == std::size_t(Kind::Binary) + 1, "one mask for every kind");
    return masks[unsigned(kind)] & bit(destination);
}

class Reader;

/** What a control word does: its kind, its handler and a small datum the handler takes. */
struct Action
{
    Kind kind;
    void (Reader::*handler)(Param param, int arg);
    int arg = 0;
};

/**
 * The control words the reader knows, in an open-addressed table with a cheap hash: looking a
 * word up is one of the commonest things the reader does.
 */
class ControlWordTable
{
public:
    /** One word of the table and what it does; words of one family share an action. */
    struct Entry
    {
        std::string_view word;
        const Action *action;
    };

    void add(std::string_view word, const Action *action);

    /** What the word does, or nullptr for a word the reader does not know. */
    const Action *find(std::string_view word) const
    {
        std::size_t slot = hash(word) & kMask;
        // The table is kept less than half full, so an empty slot soon ends the search.
        while (m_slots[slot].action) {
            if (m_slots[slot].word == word)
                return m_slots[slot].action;
            slot = (slot + 1) & kMask;
        }
        return nullptr;
    }

private:
    static constexpr std::size_t kSize = 1024;
    static constexpr std::size_t kMask = kSize - 1;

    static std::size_t hash(std::string_view word)
    {
        std::uint32_t h = 2166136261u; // FNV-1a
        for (const char c : word)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h ^ (h >> 15);
    }

    std::array<Entry, kSize> m_slots {};
    std::size_t m_count = 0;
};

/** The table of every control word the reader knows, built on first use. */
const ControlWordTable &controlWords();

inline int clampInt(qint64 value, int low, int high)
{
    return int(std::clamp<qint64>(value, low, high));
}

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/** Printable ASCII that is no RTF syntax: it reads as itself in every single-byte code page. */
inline bool isPlainText(char c)
{
    return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}';
}

inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

/** Word processors' usual faces mapped to the metric-compatible faces installed with the program. */
QString installedFace(const QString &face);

/** Reads one RTF document into a sink. */
class Reader
{
public:
    Reader(const QByteArray &data, Rtf::Sink &sink, Rtf::FaceMapper mapFace)
        : m_mapFace(mapFace ? mapFace : &installedFace)
        , m_data(data.constData())
        , m_end(data.constData() + std::min(data.size(), kMaxInputBytes))
        , m_sink(sink)
    {
        m_complete = data.size() <= kMaxInputBytes;
    }

    bool run();

private:
    friend const ControlWordTable &controlWords();

    State &state() { return m_states.back(); }

    // Groups, control words and symbols (rtfreader.cpp).
    void parse();
    void readPictureDigits();
    void openGroup();
    void closeGroup();
    void controlWord();
    void controlSymbol(char c);
    void dispatch(const Action *action, Param param);
    void enterDestination(Destination destination);

    // Handlers of the control-word table. Each takes the word's parameter and its row's datum.
    void noAction(Param, int) { }
    void readBinary(Param param, int);
    void enterFontTable(Param, int);
    void enterColourTable(Param, int);
    void skipDestination(Param, int);
    void enterPicture(Param, int);
    void enterAnsiOfUpr(Param, int);
    void leaveAnsiOfUpr(Param, int);
    void enterNestedRowProperties(Param, int);
    void setCodePage(Param, int codePage);
    void setAnsiCodePage(Param param, int);
    void setDefaultFont(Param param, int);
    void setDefaultTabStop(Param param, int);
    void setUnicodeSkip(Param param, int);
    void unicodeCharacter(Param param, int);
    void resetCharacter(Param, int);
    void selectFont(Param param, int);
    template <bool CharState::*Field> void setCharFlag(Param param, int);
    void clearUnderline(Param, int);
    void setFontSize(Param param, int);
    template <int CharState::*Field> void setCharColour(Param param, int);
    void setVerticalAlignment(Param param, int alignment);
    void resetParagraph(Param, int);
    void setAlignment(Param, int alignment);
    template <int Rtf::ParaFormat::*Field, int Low> void setParaLength(Param param, int);
    void setLineMultiple(Param param, int);
    void setTabType(Param, int type);
    void addTabStop(Param param, int);
    void setInTable(Param, int);
    void setNestingLevel(Param param, int);
    void breakParagraph(Param, int);
    void insertCharacter(Param, int character);
    void endCellWord(Param, int nested);
    void endRowWord(Param, int nested);
    void beginRowDefinition(Param, int);
    void defineCell(Param param, int);
    void setCellShading(Param param, int);
    void setRowGap(Param param, int);
    void setRowPadding(Param param, int);
    void setRowLeft(Param param, int);
    void setRowAlignment(Param, int alignment);
    void selectCellBorder(Param, int edge);
    void selectRowBorder(Param, int edge);
    void unselectBorder(Param, int);
    void showBorder(Param, int shown);
    void setBorderWidth(Param param, int);
    void setBorderColour(Param param, int);
    void beginFont(Param param, int);
    void setFontCharset(Param param, int);
    void setFontCodePage(Param param, int);
    void setFontHint(Param, int hint);
    template <int Reader::*Component> void setColourComponent(Param param, int);
    void setPictureKind(Param, int kind);
    template <int RtfPicture::Data::*Field, int High> void setPictureNumber(Param param, int);
    template <int RtfPicture::Data::*Field> void setPictureScale(Param param, int);

    // Text runs and code pages (rtfreadertext.cpp).
    bool appendPlainRun();
    void textByte(unsigned char byte);
    void appendChar(char16_t c);
    void appendText(const QString &text);
    void appendUnicode(int value);
    void prepareRun();
    void flushBytes();
    void flushText();
    int codePage();
    const Rtf::CharFormat &charFormat(const CharState &chars);
    Rtf::CharFormat buildCharFormat(const CharState &chars);
    void endParagraph();
    void finishBlock(const ParaState &para);

    // Tables (rtfreadertables.cpp).
    void syncTables(int level);
    void openTable();
    void closeTable();
    void startNextRow(OpenTable &open);
    void startNextCell(OpenTable &open);
    void endCell(int level);
    void endRow(int level);
    void applyRowDefinition(OpenTable &open);

    // Font table, colour table and pictures (rtfreaderdestinations.cpp).
    void finishPicture();
    void commitFont();
    void commitColour();

    const ControlWordTable &m_words = controlWords();
    Rtf::FaceMapper m_mapFace;
    const char *m_data;
    const char *m_end;
    Rtf::Sink &m_sink;
    bool m_complete = true;
    bool m_done = false;

    std::vector<State> m_states;
    int m_overflowDepth = 0; // groups beyond the depth limit, read for their braces only
    bool m_ignorableNext = false; // \* seen: the next destination may be skipped if unknown
    int m_unicodeSkipLeft = 0;
    char16_t m_highSurrogate = 0;

    int m_documentCodePage = 1252;
    int m_defaultFont = -1;
    QHash<int, FontEntry> m_fonts;
    QList<QColor> m_colours; // invalid: automatic
    std::vector<std::pair<CharState, Rtf::CharFormat>> m_formatCache;
    int m_formatKeys = 0;

    // Font table entry being read.
    int m_fontIndex = -1;
    FontEntry m_fontEntry;
    QByteArray m_fontName;
    int m_fontCharset = -1;
    int m_fontCpg = 0;
    // Colour table entry being read.
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;

    // Text waiting to be inserted with one format.
    QString m_text;
    CharState m_runChars;
    QByteArray m_bytes; // double-byte text waiting to be decoded
    int m_bytesCodePage = 0;
    int m_runs = 0;
    int m_blocks = 1;
    int m_cachedFont = -2;
    int m_cachedCodePage = 1252;

    // Tables.
    std::vector<OpenTable> m_tables;
    RowDefinition m_rowDef;
    Border *m_border = nullptr; // the table border the next border words describe
    int m_cells = 0;

    // Picture being read.
    RtfPicture::Data m_picture;
    std::size_t m_pictureDepth = 0;
    int m_nibble = -1;
    qsizetype m_pictureBytesTotal = 0;
    int m_pictures = 0;
};

} // namespace RtfReading
