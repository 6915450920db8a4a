#pragma once

#include <QString>

/**
 * Decoding of the legacy Windows, DOS and Macintosh code pages that rich-text files name for
 * their 8-bit text, and the mapping from a font's character set to its code page.
 */
namespace CodePages {

/** The code page a font character set stands for; 0 when the set names none (default set). */
int forCharset(int charset);

/** True when the code page is one this program decodes byte by byte. */
bool isSingleByte(int codePage);

/** True for the double-byte East Asian code pages, whose characters take one or two bytes. */
bool isDoubleByte(int codePage);

/** True when the byte starts a two-byte character in the double-byte code page. */
bool isLeadByte(int codePage, unsigned char byte);

/**
 * The character a single byte stands for in a single-byte code page. Bytes below 0x80 are ASCII;
 * an unknown code page reads as Western Windows (1252); an undefined byte gives U+FFFD.
 */
char16_t decodeByte(int codePage, unsigned char byte);

/**
 * Decodes text in a double-byte code page. Where the system offers no decoder for the code page,
 * each character that is not ASCII becomes U+FFFD, never its raw bytes.
 */
QString decodeDoubleByte(int codePage, const QByteArray &bytes);

} // namespace CodePages
