#include "rtfreader.h"

#include "codepages.h"
#include "rtfdocumentbuilder.h"
#include "rtfpicture.h"
#include "rtfsink.h"
#include "symbolfont.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

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

enum class Destination {
    Text,        // shown
    Skip,        // read for its braces only
    FontTable,
    ColourTable,
    Picture,
    AnsiOfUpr,   // the 8-bit half of an \upr pair; only its \ud part is read
    TableProps,  // a nested row's definition: properties, no text
};

enum class Keyword {
    Unknown,
    // document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Deftab, Uc, U, Upr, Ud,
    // destinations
    FontTbl, ColorTbl, SkippedDestination, Pict, Fldinst, Fldrslt, Shppict, Nonshppict,
    NestTableProps, NoNestTables, ShownDestination,
    // font table
    F, FCharset, Cpg, FRoman, FSwiss, FModern, FFamilyOther,
    // colour table
    Red, Green, Blue,
    // character
    Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight, Super, Sub, NoSuperSub, Caps, Scaps, V,
    // paragraph
    Pard, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa, Sl, SlMult, Tx, Tqr, Tqc, Tqdec, InTbl, Itap,
    // special characters and breaks
    Par, Line, Page, Sect, Tab, EmDash, EnDash, LQuote, RQuote, LDblQuote, RDblQuote, Bullet,
    EmSpace, EnSpace, QmSpace, Zwj, Zwnj,
    // tables
    Trowd, Cell, Row, Cellx, NestCell, NestRow, Trgaph, Trleft, Trqc, Trqr, Trql, CellBorder,
    RowBorder, ParaBorder, BorderStyle, BorderNone, BorderWidth, BorderColour, RowPadding, Clcbpat,
    // pictures
    Picw, Pich, PicwGoal, PichGoal, PicScaleX, PicScaleY, PngBlip, JpegBlip, DiBitmap, WBitmap,
    WbmBitsPixel, WbmWidthBytes, OtherPicture, Bin,
};

// The control words the reader knows, in an open-addressed table with a cheap hash: looking a
// word up is one of the commonest things the reader does.
class KeywordTable
{
public:
    explicit KeywordTable(const std::unordered_map<std::string_view, Keyword> &words)
    {
        Q_ASSERT(words.size() < kSize / 2);
        for (const auto &[word, keyword] : words) {
            std::size_t slot = hash(word) & kMask;
            while (m_slots[slot].keyword != Keyword::Unknown)
                slot = (slot + 1) & kMask;
            m_slots[slot] = Slot{word, keyword};
        }
    }

    Keyword find(std::string_view word) const
    {
        std::size_t slot = hash(word) & kMask;
        // The table is kept less than half full, so an empty slot soon ends the search.
        while (m_slots[slot].keyword != Keyword::Unknown) {
            if (m_slots[slot].word == word)
                return m_slots[slot].keyword;
            slot = (slot + 1) & kMask;
        }
        return Keyword::Unknown;
    }

private:
    static constexpr std::size_t kSize = 1024;
    static constexpr std::size_t kMask = kSize - 1;
    struct Slot
    {
        std::string_view word;
        Keyword keyword = Keyword::Unknown;
    };

    static std::size_t hash(std::string_view word)
    {
        std::uint32_t h = 2166136261u; // FNV-1a
        for (const char c : word)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h ^ (h >> 15);
    }

    std::array<Slot, kSize> m_slots{};
};

const KeywordTable &keywords()
{
    static const KeywordTable table(std::unordered_map<std::string_view, Keyword>([] {
        std::unordered_map<std::string_view, Keyword> t = {
            {"rtf", Keyword::Rtf}, {"ansi", Keyword::Ansi}, {"mac", Keyword::Mac},
            {"pc", Keyword::Pc}, {"pca", Keyword::Pca}, {"ansicpg", Keyword::AnsiCpg},
            {"deff", Keyword::Deff}, {"deftab", Keyword::Deftab}, {"uc", Keyword::Uc},
            {"u", Keyword::U}, {"upr", Keyword::Upr}, {"ud", Keyword::Ud},
            {"fonttbl", Keyword::FontTbl}, {"colortbl", Keyword::ColorTbl},
            {"pict", Keyword::Pict}, {"fldinst", Keyword::Fldinst},
            {"fldrslt", Keyword::Fldrslt}, {"shppict", Keyword::Shppict},
            {"nonshppict", Keyword::Nonshppict}, {"nesttableprops", Keyword::NestTableProps},
            {"nonesttables", Keyword::NoNestTables},
            {"f", Keyword::F}, {"fcharset", Keyword::FCharset}, {"cpg", Keyword::Cpg},
            {"froman", Keyword::FRoman}, {"fswiss", Keyword::FSwiss},
            {"fmodern", Keyword::FModern}, {"fnil", Keyword::FFamilyOther},
            {"fscript", Keyword::FFamilyOther}, {"fdecor", Keyword::FFamilyOther},
            {"ftech", Keyword::FFamilyOther}, {"fbidi", Keyword::FFamilyOther},
            {"red", Keyword::Red}, {"green", Keyword::Green}, {"blue", Keyword::Blue},
            {"plain", Keyword::Plain}, {"b", Keyword::B}, {"i", Keyword::I},
            {"ulnone", Keyword::UlNone}, {"strike", Keyword::Strike},
            {"striked", Keyword::Strike}, {"fs", Keyword::Fs}, {"cf", Keyword::Cf},
            {"cb", Keyword::Cb}, {"chcbpat", Keyword::Cb}, {"highlight", Keyword::Highlight},
            {"super", Keyword::Super}, {"sub", Keyword::Sub},
            {"nosupersub", Keyword::NoSuperSub}, {"caps", Keyword::Caps},
            {"scaps", Keyword::Scaps}, {"v", Keyword::V},
            {"pard", Keyword::Pard}, {"ql", Keyword::Ql}, {"qc", Keyword::Qc},
            {"qr", Keyword::Qr}, {"qj", Keyword::Qj}, {"qd", Keyword::Qj},
            {"li", Keyword::Li}, {"ri", Keyword::Ri}, {"fi", Keyword::Fi}, {"sb", Keyword::Sb},
            {"sa", Keyword::Sa}, {"sl", Keyword::Sl}, {"slmult", Keyword::SlMult},
            {"tx", Keyword::Tx}, {"tqr", Keyword::Tqr}, {"tqc", Keyword::Tqc},
            {"tqdec", Keyword::Tqdec}, {"intbl", Keyword::InTbl}, {"itap", Keyword::Itap},
            {"par", Keyword::Par}, {"line", Keyword::Line}, {"page", Keyword::Page},
            {"sect", Keyword::Sect}, {"tab", Keyword::Tab}, {"emdash", Keyword::EmDash},
            {"endash", Keyword::EnDash}, {"lquote", Keyword::LQuote},
            {"rquote", Keyword::RQuote}, {"ldblquote", Keyword::LDblQuote},
            {"rdblquote", Keyword::RDblQuote}, {"bullet", Keyword::Bullet},
            {"emspace", Keyword::EmSpace}, {"enspace", Keyword::EnSpace},
            {"qmspace", Keyword::QmSpace}, {"zwj", Keyword::Zwj}, {"zwnj", Keyword::Zwnj},
            {"trowd", Keyword::Trowd}, {"cell", Keyword::Cell}, {"row", Keyword::Row},
            {"cellx", Keyword::Cellx}, {"nestcell", Keyword::NestCell},
            {"nestrow", Keyword::NestRow}, {"trgaph", Keyword::Trgaph},
            {"trleft", Keyword::Trleft}, {"trqc", Keyword::Trqc}, {"trqr", Keyword::Trqr},
            {"trql", Keyword::Trql}, {"clcbpat", Keyword::Clcbpat},
            {"box", Keyword::ParaBorder}, {"brdrnone", Keyword::BorderNone},
            {"brdrnil", Keyword::BorderNone}, {"brdrtbl", Keyword::BorderNone},
            {"brdrw", Keyword::BorderWidth}, {"brdrcf", Keyword::BorderColour},
            {"trpaddl", Keyword::RowPadding}, {"trpaddr", Keyword::RowPadding},
            {"picw", Keyword::Picw}, {"pich", Keyword::Pich}, {"picwgoal", Keyword::PicwGoal},
            {"pichgoal", Keyword::PichGoal}, {"picscalex", Keyword::PicScaleX},
            {"picscaley", Keyword::PicScaleY}, {"pngblip", Keyword::PngBlip},
            {"jpegblip", Keyword::JpegBlip}, {"dibitmap", Keyword::DiBitmap},
            {"wbitmap", Keyword::WBitmap}, {"wbmbitspixel", Keyword::WbmBitsPixel},
            {"wbmwidthbytes", Keyword::WbmWidthBytes}, {"emfblip", Keyword::OtherPicture},
            {"wmetafile", Keyword::OtherPicture}, {"macpict", Keyword::OtherPicture},
            {"pmmetafile", Keyword::OtherPicture}, {"bin", Keyword::Bin},
        };
        // Every underline style reads as a plain underline; "\ul0" and "\ulnone" end it.
        for (const char *w : {"ul", "uld", "uldb", "uldash", "uldashd", "uldashdd", "ulhwave",
                              "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                              "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(w, Keyword::Ul);
        for (const char *w : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"})
            t.emplace(w, Keyword::CellBorder);
        for (const char *w : {"trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv"})
            t.emplace(w, Keyword::RowBorder);
        for (const char *w : {"brdrt", "brdrb", "brdrl", "brdrr", "brdrbar"})
            t.emplace(w, Keyword::ParaBorder);
        for (const char *w : {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash",
                              "brdrhair", "brdrtriple", "brdrinset", "brdroutset", "brdrframe",
                              "brdrdashsm", "brdrdashd", "brdrdashdd", "brdrwavy"})
            t.emplace(w, Keyword::BorderStyle);
        // Parts of a document that a viewer does not show: its description, styles, page
        // furniture, notes, revision and list definitions, embedded object data, bookmarks.
        for (const char *w :
             {"info", "stylesheet", "header", "headerl", "headerr", "headerf", "footer",
              "footerl", "footerr", "footerf", "footnote", "ftnsep", "ftnsepc", "ftncn",
              "aftnsep", "aftnsepc", "aftncn", "annotation", "atnid", "atnauthor", "atnref",
              "atndate", "atnicn", "atrfstart", "atrfend", "comment", "xe", "tc", "tcn", "txe",
              "bkmkstart", "bkmkend", "revtbl", "rsidtbl", "listtable", "listoverridetable",
              "objdata", "objclass", "objname", "objalias", "objsect", "objtime", "datafield",
              "docvar", "template", "userprops", "xmlnstbl", "themedata", "colorschememapping",
              "datastore", "latentstyles", "generator", "pgdsctbl", "shpinst", "pn", "pntxta",
              "pntxtb", "private", "fchars", "lchars", "mmathPr", "blipuid", "picprop", "do",
              "filetbl", "falt", "panose", "fname", "keycode", "formfield", "pgptbl",
              "ftnalt", "protusertbl", "wgrffmtfilter", "xmlattr", "xmlopen", "xmlclose",
              "passwordhash", "listpicture", "rxe", "bkmkcolf", "bkmkcoll", "fontemb",
              "fontfile", "leveltext", "levelnumbers", "ptabldot", "sp", "sn", "sv"})
            t.emplace(w, Keyword::SkippedDestination);
        // Destinations whose text is shown like any other group.
        for (const char *w : {"field", "pntext", "listtext", "shprslt", "result", "object",
                              "shp", "shptxt"})
            t.emplace(w, Keyword::ShownDestination);
        return t;
    }()));
    return table;
}

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


// Word processors' usual faces mapped to the metric-compatible faces installed with the program.
QString installedFace(const QString &face)
{
    static const QHash<QString, QString> faces = {
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("times"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("tms rmn"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helv"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("courier"), QStringLiteral("Liberation Mono")},
    };
    return faces.value(face.toLower(), face);
}

int clampInt(qint64 value, int low, int high)
{
    return int(std::clamp<qint64>(value, low, high));
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Printable ASCII that is no RTF syntax: it reads as itself in every single-byte code page.
bool isPlainText(char c)
{
    return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Reader
{
public:
    Reader(const QByteArray &data, Rtf::Sink &sink, Rtf::FaceMapper mapFace)
        : m_mapFace(mapFace ? mapFace : &installedFace),
          m_data(data.constData()),
          m_end(data.constData() + std::min(data.size(), kMaxInputBytes)),
          m_sink(sink)
    {
        m_complete = data.size() <= kMaxInputBytes;
    }

    bool run();

private:
    State &state() { return m_states.back(); }
    void parse();
    void openGroup();
    void closeGroup();
    void controlWord();
    void controlSymbol(char c);
    void handleKeyword(Keyword keyword, std::string_view word, bool hasParam, int param);
    void handleFontTable(Keyword keyword, int param);
    void handleColourTable(Keyword keyword, int param);
    void handlePicture(Keyword keyword, bool hasParam, int param);
    void handleRowDefinition(Keyword keyword, std::string_view word, int param);
    void enterDestination(Destination destination);

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

    void syncTables(int level);
    void openTable();
    void closeTable();
    void startNextRow(OpenTable &open);
    void startNextCell(OpenTable &open);
    void endCell(int level);
    void endRow(int level);
    void applyRowDefinition(OpenTable &open);

    void finishPicture();
    void commitFont();
    void commitColour();

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

bool Reader::run()
{
    m_states.reserve(kMaxGroupDepth + 1);
    m_states.push_back(State{});
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
            // Hexadecimal picture data: the bulk of many files, read in one tight loop.
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
    const int param = clampInt(value, std::numeric_limits<int>::min(),
                               std::numeric_limits<int>::max());

    Keyword keyword = Keyword::Unknown;
    if (word.size() <= std::size_t(kMaxControlWordLength)) {
        keyword = keywords().find(word);
    }
    if (keyword == Keyword::Bin) {
        // Binary data: its bytes are never read as RTF.
        const qint64 count = std::clamp<qint64>(hasParam ? value : 0, 0, m_end - m_data);
        if (m_overflowDepth == 0 && state().destination == Destination::Picture
            && m_unicodeSkipLeft == 0 && m_picture.kind != RtfPicture::Kind::Unsupported
            && m_picture.bytes.size() + count <= RtfPicture::kMaxBytes)
            m_picture.bytes.append(m_data, qsizetype(count));
        m_data += count;
        if (m_unicodeSkipLeft > 0)
            --m_unicodeSkipLeft;
        return;
    }
    if (m_overflowDepth > 0)
        return;
    if (m_unicodeSkipLeft > 0) {
        --m_unicodeSkipLeft;
        return;
    }
    handleKeyword(keyword, word, hasParam, param);
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
        handleKeyword(Keyword::Par, "par", false, 0);
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

void Reader::handleKeyword(Keyword keyword, std::string_view word, bool hasParam, int param)
{
    const bool ignorable = m_ignorableNext;
    m_ignorableNext = false;
    State &s = state();
    const Destination destination = s.destination;
    if (destination == Destination::Skip)
        return;

    // Destinations first: they decide how the rest of the group is read.
    switch (keyword) {
    case Keyword::FontTbl:
        enterDestination(Destination::FontTable);
        return;
    case Keyword::ColorTbl:
        enterDestination(Destination::ColourTable);
        m_colours.clear();
        m_formatCache.clear();
        m_red = m_green = m_blue = 0;
        m_colourGiven = false;
        return;
    case Keyword::SkippedDestination:
    case Keyword::Fldinst:
    case Keyword::Nonshppict:
    case Keyword::NoNestTables:
        enterDestination(Destination::Skip);
        return;
    case Keyword::Pict:
        if (destination != Destination::Text || m_picture.kind != RtfPicture::Kind::None) {
            s.destination = Destination::Skip;
            return;
        }
        enterDestination(Destination::Picture);
        m_picture = RtfPicture::Data{};
        m_picture.kind = RtfPicture::Kind::Unsupported;
        m_pictureDepth = m_states.size();
        m_nibble = -1;
        return;
    case Keyword::Upr:
        s.beforeUpr = destination;
        s.destination = Destination::AnsiOfUpr;
        return;
    case Keyword::Ud:
        if (destination == Destination::AnsiOfUpr)
            s.destination = s.beforeUpr;
        return;
    case Keyword::NestTableProps:
        if (destination == Destination::Text) {
            flushText();
            s.destination = Destination::TableProps;
        } else {
            s.destination = Destination::Skip;
        }
        return;
    case Keyword::Fldrslt:
    case Keyword::Shppict:
    case Keyword::ShownDestination:
        return;
    case Keyword::Unknown:
        if (ignorable)
            s.destination = Destination::Skip;
        return;
    default:
        break;
    }

    switch (destination) {
    case Destination::FontTable:
        handleFontTable(keyword, param);
        return;
    case Destination::ColourTable:
        handleColourTable(keyword, param);
        return;
    case Destination::Picture:
        handlePicture(keyword, hasParam, param);
        return;
    case Destination::AnsiOfUpr:
    case Destination::Skip:
        return;
    case Destination::Text:
    case Destination::TableProps:
        break;
    }

    CharState &ch = s.chars;
    ParaState &pa = s.para;
    const bool on = !hasParam || param != 0;
    const bool text = destination == Destination::Text;
    switch (keyword) {
    case Keyword::Ansi:
        m_documentCodePage = 1252;
        break;
    case Keyword::Mac:
        m_documentCodePage = 10000;
        break;
    case Keyword::Pc:
        m_documentCodePage = 437;
        break;
    case Keyword::Pca:
        m_documentCodePage = 850;
        break;
    case Keyword::AnsiCpg:
        if (param > 0 && param < 100000)
            m_documentCodePage = param;
        break;
    case Keyword::Deff:
        if (param >= 0)
            m_defaultFont = param;
        m_formatCache.clear();
        break;
    case Keyword::Deftab:
        if (param > 0 && param <= kMaxTwips)
            m_sink.defaultTabStop(Rtf::twipsToPixels(param));
        break;
    case Keyword::Uc:
        s.unicodeSkip = clampInt(param, 0, kMaxUnicodeSkip);
        break;
    case Keyword::U:
        if (text)
            appendUnicode(param);
        m_unicodeSkipLeft = s.unicodeSkip;
        break;

    case Keyword::Plain:
        ch = CharState{};
        break;
    case Keyword::F:
        ch.font = param >= 0 ? param : -1;
        break;
    case Keyword::B:
        ch.bold = on;
        break;
    case Keyword::I:
        ch.italic = on;
        break;
    case Keyword::Ul:
        ch.underline = on;
        break;
    case Keyword::UlNone:
        ch.underline = false;
        break;
    case Keyword::Strike:
        ch.strike = on;
        break;
    case Keyword::Fs:
        ch.halfPoints = hasParam ? clampInt(param, 0, kMaxHalfPoints) : 0;
        break;
    case Keyword::Cf:
        ch.foreground = clampInt(param, 0, kMaxColours);
        break;
    case Keyword::Cb:
        ch.background = clampInt(param, 0, kMaxColours);
        break;
    case Keyword::Highlight:
        ch.highlight = clampInt(param, 0, kMaxColours);
        break;
    case Keyword::Super:
        ch.verticalAlignment = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::Sub:
        ch.verticalAlignment = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::NoSuperSub:
        ch.verticalAlignment = QTextCharFormat::AlignNormal;
        break;
    case Keyword::Caps:
        ch.caps = on;
        break;
    case Keyword::Scaps:
        ch.smallCaps = on;
        break;
    case Keyword::V:
        ch.hidden = on;
        break;

    case Keyword::Pard:
        if (pa.tableLevel() != 0)
            flushText();
        pa = ParaState{};
        m_border = nullptr;
        break;
    case Keyword::Ql:
        pa.format.alignment = Qt::AlignLeft;
        break;
    case Keyword::Qc:
        pa.format.alignment = Qt::AlignHCenter;
        break;
    case Keyword::Qr:
        pa.format.alignment = Qt::AlignRight;
        break;
    case Keyword::Qj:
        pa.format.alignment = Qt::AlignJustify;
        break;
    case Keyword::Li:
        pa.format.leftIndent = clampInt(param, -kMaxTwips, kMaxTwips);
        break;
    case Keyword::Ri:
        pa.format.rightIndent = clampInt(param, -kMaxTwips, kMaxTwips);
        break;
    case Keyword::Fi:
        pa.format.firstIndent = clampInt(param, -kMaxTwips, kMaxTwips);
        break;
    case Keyword::Sb:
        pa.format.spaceBefore = clampInt(param, 0, kMaxTwips);
        break;
    case Keyword::Sa:
        pa.format.spaceAfter = clampInt(param, 0, kMaxTwips);
        break;
    case Keyword::Sl:
        pa.format.lineSpacing = clampInt(param, -kMaxTwips, kMaxTwips);
        break;
    case Keyword::SlMult:
        pa.format.lineMultiple = on;
        break;
    case Keyword::Tqr:
        pa.nextTabType = QTextOption::RightTab;
        break;
    case Keyword::Tqc:
        pa.nextTabType = QTextOption::CenterTab;
        break;
    case Keyword::Tqdec:
        pa.nextTabType = QTextOption::DelimiterTab;
        break;
    case Keyword::Tx:
        if (pa.format.tabs.size() < kMaxTabStops && param >= 0 && param <= kMaxTwips) {
            QTextOption::Tab tab(Rtf::twipsToPixels(param), pa.nextTabType);
            if (pa.nextTabType == QTextOption::DelimiterTab)
                tab.delimiter = QLatin1Char('.');
            pa.format.tabs.append(tab);
        }
        pa.nextTabType = QTextOption::LeftTab;
        break;
    case Keyword::InTbl:
        if (!pa.inTable)
            flushText();
        pa.inTable = true;
        break;
    case Keyword::Itap:
        if (pa.nestingLevel != param)
            flushText();
        pa.nestingLevel = clampInt(param, 0, kMaxTableLevels);
        break;

    case Keyword::Par:
    case Keyword::Page:
    case Keyword::Sect:
        if (text)
            endParagraph();
        break;
    case Keyword::Line:
        appendChar(QChar::LineSeparator);
        break;
    case Keyword::Tab:
        appendChar(u'\t');
        break;
    case Keyword::EmDash:
        appendChar(0x2014);
        break;
    case Keyword::EnDash:
        appendChar(0x2013);
        break;
    case Keyword::LQuote:
        appendChar(0x2018);
        break;
    case Keyword::RQuote:
        appendChar(0x2019);
        break;
    case Keyword::LDblQuote:
        appendChar(0x201C);
        break;
    case Keyword::RDblQuote:
        appendChar(0x201D);
        break;
    case Keyword::Bullet:
        appendChar(0x2022);
        break;
    case Keyword::EmSpace:
        appendChar(0x2003);
        break;
    case Keyword::EnSpace:
        appendChar(0x2002);
        break;
    case Keyword::QmSpace:
        appendChar(0x2005);
        break;
    case Keyword::Zwj:
        appendChar(0x200D);
        break;
    case Keyword::Zwnj:
        appendChar(0x200C);
        break;

    case Keyword::Cell:
        endCell(1);
        break;
    case Keyword::NestCell:
        endCell(std::max(2, pa.tableLevel()));
        break;
    case Keyword::Row:
        endRow(1);
        break;
    case Keyword::NestRow:
        endRow(std::max(2, pa.tableLevel()));
        break;
    case Keyword::Trowd:
        m_rowDef = RowDefinition{};
        m_rowDef.level = destination == Destination::TableProps ? std::max(2, pa.tableLevel()) : 1;
        m_border = nullptr;
        break;
    case Keyword::Cellx:
    case Keyword::Trgaph:
    case Keyword::Trleft:
    case Keyword::Trqc:
    case Keyword::Trqr:
    case Keyword::Trql:
    case Keyword::Clcbpat:
    case Keyword::CellBorder:
    case Keyword::RowBorder:
    case Keyword::ParaBorder:
    case Keyword::BorderStyle:
    case Keyword::BorderNone:
    case Keyword::BorderWidth:
    case Keyword::BorderColour:
    case Keyword::RowPadding:
        handleRowDefinition(keyword, word, param);
        break;
    default:
        break;
    }
}

void Reader::handleRowDefinition(Keyword keyword, std::string_view word, int param)
{
    RowDefinition &def = m_rowDef;
    const char edge = word.empty() ? ' ' : word.back();
    switch (keyword) {
    case Keyword::Cellx:
        if (def.cells.size() < std::size_t(kMaxColumns)) {
            def.pending.right = clampInt(param, -kMaxTwips, kMaxTwips);
            def.cells.push_back(def.pending);
        }
        def.pending = CellDefinition{};
        m_border = nullptr;
        break;
    case Keyword::Clcbpat:
        def.pending.shading = clampInt(param, 0, kMaxColours);
        break;
    case Keyword::Trgaph:
        def.gap = clampInt(param, 0, 1440);
        break;
    case Keyword::RowPadding:
        def.padding = clampInt(param, 0, 1440);
        break;
    case Keyword::Trleft:
        def.left_ = clampInt(param, -kMaxTwips, kMaxTwips);
        break;
    case Keyword::Trqc:
        def.alignment = Qt::AlignHCenter;
        break;
    case Keyword::Trqr:
        def.alignment = Qt::AlignRight;
        break;
    case Keyword::Trql:
        def.alignment = Qt::AlignLeft;
        break;
    case Keyword::CellBorder:
        m_border = edge == 't' ? &def.pending.top
                   : edge == 'l' ? &def.pending.left
                   : edge == 'b' ? &def.pending.bottom
                                 : &def.pending.right_;
        break;
    case Keyword::RowBorder:
        m_border = edge == 't' ? &def.top
                   : edge == 'l' ? &def.left
                   : edge == 'b' ? &def.bottom
                   : edge == 'r' ? &def.right
                                 : &def.inner;
        break;
    case Keyword::ParaBorder:
        m_border = nullptr; // paragraph borders are not drawn
        break;
    case Keyword::BorderStyle:
        if (m_border)
            m_border->shown = true;
        break;
    case Keyword::BorderNone:
        if (m_border)
            m_border->shown = false;
        break;
    case Keyword::BorderWidth:
        if (m_border)
            m_border->width = clampInt(param, 1, 300);
        break;
    case Keyword::BorderColour:
        if (m_border)
            m_border->colour = clampInt(param, 0, kMaxColours);
        break;
    default:
        break;
    }
}

void Reader::handleFontTable(Keyword keyword, int param)
{
    switch (keyword) {
    case Keyword::F:
        commitFont();
        m_fontIndex = param;
        m_fontEntry = FontEntry{};
        m_fontName.clear();
        m_fontCharset = -1;
        m_fontCpg = 0;
        break;
    case Keyword::FCharset:
        m_fontCharset = clampInt(param, 0, 255);
        break;
    case Keyword::Cpg:
        m_fontCpg = clampInt(param, 0, 100000);
        break;
    case Keyword::FRoman:
        m_fontEntry.hint = QFont::Serif;
        break;
    case Keyword::FSwiss:
        m_fontEntry.hint = QFont::SansSerif;
        break;
    case Keyword::FModern:
        m_fontEntry.hint = QFont::TypeWriter;
        break;
    default:
        break;
    }
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
    entry.codePage = m_fontCpg > 0 ? m_fontCpg
                                   : (m_fontCharset >= 0 ? CodePages::forCharset(m_fontCharset) : 0);
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

void Reader::handleColourTable(Keyword keyword, int param)
{
    const int component = clampInt(param, 0, 255);
    switch (keyword) {
    case Keyword::Red:
        m_red = component;
        m_colourGiven = true;
        break;
    case Keyword::Green:
        m_green = component;
        m_colourGiven = true;
        break;
    case Keyword::Blue:
        m_blue = component;
        m_colourGiven = true;
        break;
    default:
        break;
    }
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

void Reader::handlePicture(Keyword keyword, bool hasParam, int param)
{
    RtfPicture::Data &pic = m_picture;
    switch (keyword) {
    case Keyword::PngBlip:
        pic.kind = RtfPicture::Kind::Png;
        break;
    case Keyword::JpegBlip:
        pic.kind = RtfPicture::Kind::Jpeg;
        break;
    case Keyword::DiBitmap:
        pic.kind = RtfPicture::Kind::Dib;
        break;
    case Keyword::WBitmap:
        pic.kind = RtfPicture::Kind::DeviceBitmap;
        break;
    case Keyword::OtherPicture:
        pic.kind = RtfPicture::Kind::Unsupported;
        break;
    case Keyword::Picw:
        pic.width = clampInt(param, 0, RtfPicture::kMaxSide);
        break;
    case Keyword::Pich:
        pic.height = clampInt(param, 0, RtfPicture::kMaxSide);
        break;
    case Keyword::PicwGoal:
        pic.goalWidth = clampInt(param, 0, kMaxTwips);
        break;
    case Keyword::PichGoal:
        pic.goalHeight = clampInt(param, 0, kMaxTwips);
        break;
    case Keyword::PicScaleX:
        pic.scaleX = hasParam ? clampInt(param, 1, 1000) : 100;
        break;
    case Keyword::PicScaleY:
        pic.scaleY = hasParam ? clampInt(param, 1, 1000) : 100;
        break;
    case Keyword::WbmBitsPixel:
        pic.bitsPerPixel = clampInt(param, 0, 32);
        break;
    case Keyword::WbmWidthBytes:
        pic.widthBytes = clampInt(param, 0, RtfPicture::kMaxSide * 4);
        break;
    default:
        break;
    }
}

void Reader::finishPicture()
{
    RtfPicture::Data pic = std::move(m_picture);
    m_picture = RtfPicture::Data{};
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
    const CharState &chars = m_states.size() >= 2 ? m_states[m_states.size() - 2].chars
                                                  : state().chars;
    if (chars.hidden)
        return;
    ++m_pictures;
    const QSizeF size = RtfPicture::displaySize(pic, image.size());
    syncTables(m_states.size() >= 2 ? m_states[m_states.size() - 2].para.tableLevel()
                                    : state().para.tableLevel());
    m_sink.picture(image, size, charFormat(chars));
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
    if (chars.foreground > 0 && chars.foreground < m_colours.size()
        && m_colours[chars.foreground].isValid())
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

void Reader::syncTables(int level)
{
    level = std::clamp(level, 0, kMaxTableLevels);
    while (int(m_tables.size()) > level)
        closeTable();
    if (!m_tables.empty() && m_tables.back().rowEnded)
        startNextRow(m_tables.back());
    else if (!m_tables.empty() && m_tables.back().cellEnded)
        startNextCell(m_tables.back());
    while (int(m_tables.size()) < level) {
        if (m_cells >= kMaxCells) {
            m_complete = false;
            return;
        }
        openTable();
    }
}

void Reader::openTable()
{
    const bool useDefinition = m_rowDef.level == int(m_tables.size()) + 1;
    const int columns = useDefinition ? std::max<int>(1, int(m_rowDef.cells.size())) : 1;
    m_sink.openTable(columns);
    m_cells += columns;
    m_tables.push_back(OpenTable{1, columns, 0, 0, false, false, false});
    if (useDefinition)
        applyRowDefinition(m_tables.back());
}

void Reader::closeTable()
{
    m_tables.pop_back();
    m_sink.closeTable();
}

void Reader::startNextRow(OpenTable &open)
{
    open.rowEnded = false;
    open.cellEnded = false;
    if (open.row + 1 < open.rows) {
        ++open.row;
    } else if (open.rows < kMaxRowsPerTable && m_cells + open.columns <= kMaxCells) {
        m_sink.appendRow();
        ++open.rows;
        m_cells += open.columns;
        ++open.row;
    } else {
        m_complete = false; // further rows share the last one
    }
    open.column = 0;
    m_sink.enterCell(open.row, 0, false);
}

void Reader::startNextCell(OpenTable &open)
{
    open.cellEnded = false;
    if (open.column + 1 >= open.columns) {
        if (open.columns < kMaxColumns && m_cells + open.rows <= kMaxCells) {
            m_sink.appendColumns(1);
            ++open.columns;
            m_cells += open.rows;
        } else {
            m_complete = false; // further cells share the last one
            m_sink.enterCell(open.row, open.column, false);
            return;
        }
    }
    ++open.column;
    m_sink.enterCell(open.row, open.column, true);
}

void Reader::endCell(int level)
{
    if (state().destination != Destination::Text)
        return;
    flushText();
    syncTables(level);
    if (int(m_tables.size()) != level)
        return;
    finishBlock(state().para);
    m_tables.back().cellEnded = true;
}

void Reader::endRow(int level)
{
    flushText();
    while (int(m_tables.size()) > level)
        closeTable();
    if (int(m_tables.size()) != level)
        return;
    OpenTable &open = m_tables.back();
    if (m_rowDef.level == level)
        applyRowDefinition(open);
    open.rowEnded = true;
}

void Reader::applyRowDefinition(OpenTable &open)
{
    const RowDefinition &def = m_rowDef;
    const int defined = int(def.cells.size());
    if (defined > open.columns && defined <= kMaxColumns
        && m_cells + open.rows * (defined - open.columns) <= kMaxCells) {
        m_cells += open.rows * (defined - open.columns);
        m_sink.appendColumns(defined - open.columns);
        open.columns = defined;
    }
    if (!open.widthsSet && defined > 0) {
        open.widthsSet = true;
        Rtf::TableFormat format;
        int left = def.left_;
        for (int i = 0; i < open.columns; ++i) {
            if (i < defined) {
                const int right = def.cells[std::size_t(i)].right;
                format.columnWidths.append(QTextLength(
                    QTextLength::FixedLength, Rtf::twipsToPixels(std::max(0, right - left))));
                left = right;
            } else {
                format.columnWidths.append(QTextLength());
            }
        }
        format.alignment = def.alignment;
        // The row's left edge is the cells' left border; their text starts a gap further in.
        if (def.alignment == Qt::AlignLeft)
            format.leftMargin = Rtf::twipsToPixels(std::max(0, def.left_));
        m_sink.tableFormat(format);
    }
    const auto pen = [this](const Border &border) {
        Rtf::CellBorder line;
        if (!border.shown)
            return line;
        line.shown = true;
        line.colour = border.colour > 0 && border.colour < m_colours.size()
                              && m_colours[border.colour].isValid()
                          ? m_colours[border.colour]
                          : QColor(Qt::black);
        line.width = std::max(1.0, Rtf::twipsToPixels(border.width));
        return line;
    };
    Rtf::CellFormat format;
    format.padding = Rtf::twipsToPixels(def.padding >= 0 ? def.padding : def.gap);
    for (int i = 0; i < defined && i < open.columns; ++i) {
        const CellDefinition &cellDef = def.cells[std::size_t(i)];
        format.top = pen(cellDef.top.shown ? cellDef.top : def.top);
        format.bottom = pen(cellDef.bottom.shown ? cellDef.bottom : def.bottom);
        format.left = pen(cellDef.left.shown ? cellDef.left : (i == 0 ? def.left : def.inner));
        format.right = pen(cellDef.right_.shown ? cellDef.right_
                                                : (i + 1 == defined ? def.right : def.inner));
        const int shading = cellDef.shading;
        format.background = shading > 0 && shading < m_colours.size() && m_colours[shading].isValid()
                                ? m_colours[shading]
                                : QColor();
        m_sink.cellFormat(open.row, i, format);
    }
}

} // namespace

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
    Reader reader(data, sink, mapFace);
    result.complete = reader.run();
    return result;
}

} // namespace Rtf
