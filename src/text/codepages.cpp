#include "codepages.h"

#include <QStringDecoder>

#include <array>

namespace {

struct SingleBytePage
{
    int number;
    std::array<char16_t, 128> upperHalf;
};

constexpr SingleBytePage kPages[] = {
#include "codepagetables.inc"
};

const SingleBytePage *findPage(int codePage)
{
    for (const SingleBytePage &page : kPages) {
        if (page.number == codePage)
            return &page;
    }
    return nullptr;
}

const SingleBytePage &westernPage()
{
    static const SingleBytePage *page = findPage(1252);
    return *page;
}

// Names under which the system's converters know the double-byte code pages.
const char *doubleByteName(int codePage)
{
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1361:
        return "Johab";
    default:
        return nullptr;
    }
}

} // namespace

namespace CodePages {

int forCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 42; // the Symbol encoding, mapped by SymbolFont
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

bool isSingleByte(int codePage)
{
    return findPage(codePage) != nullptr;
}

bool isDoubleByte(int codePage)
{
    return doubleByteName(codePage) != nullptr;
}

bool isLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE)
            || (byte >= 0xE0 && byte <= 0xF9);
    default:
        return false;
    }
}

char16_t decodeByte(int codePage, unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    const SingleBytePage *page = findPage(codePage);
    return (page ? *page : westernPage()).upperHalf[byte - 0x80];
}

QString decodeDoubleByte(int codePage, const QByteArray &bytes)
{
    if (const char *name = doubleByteName(codePage)) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder.decode(bytes); // malformed bytes come out as U+FFFD
    }
    // No decoder: keep ASCII, one replacement character for each double-byte character.
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text += QChar(byte);
        } else {
            text += QChar(0xFFFD);
            if (isLeadByte(codePage, byte) && i + 1 < bytes.size())
                ++i;
        }
    }
    return text;
}

} // namespace CodePages
