#include "rtfhtmlwriter.h"

#include "rtfreader.h"

#include <QBuffer>

#include <cmath>
#include <cstring>

namespace Rtf {

namespace {

void appendLiteral(char *&p, const char *text, std::size_t length)
{
    std::memcpy(p, text, length);
    p += length;
}

// Text as UTF-8 with the characters HTML gives a meaning escaped and line breaks as <br>.
void appendEscaped(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * 6); // "&quot;" is the longest any UTF-16 unit becomes
    char *p = out.data() + start;
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            switch (c) {
            case u'&':
                appendLiteral(p, "&amp;", 5);
                break;
            case u'<':
                appendLiteral(p, "&lt;", 4);
                break;
            case u'>':
                appendLiteral(p, "&gt;", 4);
                break;
            case u'"':
                appendLiteral(p, "&quot;", 6);
                break;
            default:
                *p++ = char(c);
            }
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (c == 0x2028) {
            appendLiteral(p, "<br>", 4);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, s[i + 1]);
            ++i;
            *p++ = char(0xF0 | (u >> 18));
            *p++ = char(0x80 | ((u >> 12) & 0x3F));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        } else {
            const char16_t v = QChar::isSurrogate(c) ? char16_t(0xFFFD) : c;
            *p++ = char(0xE0 | (v >> 12));
            *p++ = char(0x80 | ((v >> 6) & 0x3F));
            *p++ = char(0x80 | (v & 0x3F));
        }
    }
    out.resize(p - out.constData());
}

void appendPixels(QByteArray &out, const char *property, double pixels)
{
    out += property;
    out += ':';
    out += QByteArray::number(std::round(pixels * 100) / 100, 'g', 8);
    out += "px;";
}

QByteArray colourName(const QColor &colour)
{
    return colour.name(QColor::HexRgb).toLatin1();
}

void appendBorder(QByteArray &out, const char *edge, const CellBorder &border)
{
    if (!border.shown)
        return;
    out += "border-";
    out += edge;
    out += ':';
    out += QByteArray::number(std::round(border.width * 100) / 100, 'g', 8);
    out += "px solid ";
    out += colourName(border.colour);
    out += ';';
}

} // namespace

void HtmlWriter::writeStart(QByteArray &out)
{
    out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n"
           "p { margin: 0; white-space: pre-wrap; }\n"
           "table { border-collapse: collapse; }\n"
           "td { vertical-align: top; padding: 0; }\n"
           "</style>\n</head>\n<body>\n";
}

void HtmlWriter::writeEnd(QByteArray &out)
{
    out += "</body>\n</html>\n";
}

const QByteArray &HtmlWriter::spanStyle(const CharFormat &format)
{
    const auto found = m_spanStyles.constFind(format.key);
    if (found != m_spanStyles.constEnd())
        return *found;
    QByteArray style;
    if (!format.family.isEmpty()) {
        QString family = format.family;
        family.remove(QLatin1Char('\'')).remove(QLatin1Char('"')).remove(QLatin1Char(';'));
        style += "font-family:'" + family.toHtmlEscaped().toUtf8() + '\'';
        switch (format.styleHint) {
        case QFont::Serif:
            style += ",serif";
            break;
        case QFont::SansSerif:
            style += ",sans-serif";
            break;
        case QFont::TypeWriter:
            style += ",monospace";
            break;
        default:
            break;
        }
        style += ';';
    }
    const bool shifted = format.verticalAlignment == QTextCharFormat::AlignSuperScript
                         || format.verticalAlignment == QTextCharFormat::AlignSubScript;
    if (shifted) {
        // Raised and lowered text is drawn smaller, as the pane draws it.
        style += format.verticalAlignment == QTextCharFormat::AlignSuperScript
                     ? "vertical-align:super;"
                     : "vertical-align:sub;";
        if (format.pixelSize > 0)
            appendPixels(style, "font-size", format.pixelSize * 2 / 3.0);
        else
            style += "font-size:smaller;";
    } else if (format.pixelSize > 0) {
        appendPixels(style, "font-size", format.pixelSize);
    }
    if (format.bold)
        style += "font-weight:bold;";
    if (format.italic)
        style += "font-style:italic;";
    if (format.underline || format.strike) {
        style += "text-decoration:";
        style += format.underline && format.strike ? "underline line-through;"
                 : format.underline                ? "underline;"
                                                   : "line-through;";
    }
    if (format.allCaps)
        style += "text-transform:uppercase;";
    else if (format.smallCaps)
        style += "font-variant:small-caps;";
    if (format.foreground.isValid())
        style += "color:" + colourName(format.foreground) + ';';
    if (format.background.isValid())
        style += "background-color:" + colourName(format.background) + ';';
    if (!style.isEmpty()) {
        style.chop(1);
        style = "<span style=\"" + style + "\">";
    }
    // The reader keys a bounded number of formats at a time; keep no more than a few of them.
    if (m_spanStyles.size() >= 256)
        m_spanStyles.clear();
    return *m_spanStyles.insert(format.key, style);
}

void HtmlWriter::writeText(QByteArray &out, QStringView text, const CharFormat *format)
{
    if (format)
        m_lastSpanStyle = spanStyle(*format);
    out += m_lastSpanStyle;
    appendEscaped(out, text);
    if (!m_lastSpanStyle.isEmpty())
        out += "</span>";
}

void HtmlWriter::writePicture(QByteArray &out, const QImage &image, const QSizeF &size,
                              const CharFormat &)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    out += "<img src=\"data:image/png;base64,";
    out += png.toBase64();
    out += "\" alt=\"\" style=\"";
    appendPixels(out, "width", size.width());
    appendPixels(out, "height", size.height());
    out.chop(1);
    out += "\">";
}

const QByteArray &HtmlWriter::paragraphStyle(const ParaFormat &para)
{
    // Paragraphs after one another mostly share their layout.
    if (m_hasLastParagraph && para == m_lastParagraph)
        return m_lastParagraphStyle;
    QByteArray style;
    if (para.alignment & Qt::AlignHCenter)
        style += "text-align:center;";
    else if (para.alignment & Qt::AlignRight)
        style += "text-align:right;";
    else if (para.alignment & Qt::AlignJustify)
        style += "text-align:justify;";
    if (para.spaceBefore > 0)
        appendPixels(style, "margin-top", twipsToPixels(para.spaceBefore));
    if (para.spaceAfter > 0)
        appendPixels(style, "margin-bottom", twipsToPixels(para.spaceAfter));
    if (para.leftIndent > 0)
        appendPixels(style, "margin-left", twipsToPixels(para.leftIndent));
    if (para.rightIndent > 0)
        appendPixels(style, "margin-right", twipsToPixels(para.rightIndent));
    if (para.firstIndent != 0)
        appendPixels(style, "text-indent", twipsToPixels(para.firstIndent));
    if (para.lineSpacing > 0 && para.lineMultiple) {
        style += "line-height:" + QByteArray::number(para.lineSpacing * 100 / 240) + "%;";
    } else if (para.lineSpacing < 0) {
        appendPixels(style, "line-height", twipsToPixels(-para.lineSpacing));
    }
    // Lines at least so high are as high as their text needs in a page; nothing to write.
    m_lastParagraph = para;
    m_lastParagraphStyle = style;
    m_hasLastParagraph = true;
    return m_lastParagraphStyle;
}

void HtmlWriter::writeParagraph(QByteArray &out, const Paragraph &paragraph, bool, bool collapsed)
{
    if (collapsed)
        return; // takes no room in the pane either
    const QByteArray &style = paragraphStyle(paragraph.format);
    if (style.isEmpty()) {
        out += "<p>";
    } else {
        out += "<p style=\"";
        out.append(style.constData(), style.size() - 1);
        out += "\">";
    }
    if (paragraph.empty) {
        // An empty paragraph is as tall as its mark's font.
        const QByteArray &mark = paragraph.finished ? spanStyle(paragraph.mark) : QByteArray();
        out += mark.isEmpty() ? QByteArray("<br>") : mark + "<br></span>";
    } else {
        out += paragraph.content;
    }
    out += "</p>\n";
}

void HtmlWriter::writeTable(QByteArray &out, const Table &table, bool)
{
    out += "<table";
    if (table.formatted) {
        QByteArray style;
        if (table.format.alignment & Qt::AlignHCenter)
            style += "margin-left:auto;margin-right:auto;";
        else if (table.format.alignment & Qt::AlignRight)
            style += "margin-left:auto;";
        else if (table.format.leftMargin > 0)
            appendPixels(style, "margin-left", table.format.leftMargin);
        if (!style.isEmpty()) {
            style.chop(1);
            out += " style=\"" + style + '"';
        }
        out += ">\n<colgroup>";
        for (const QTextLength &width : table.format.columnWidths) {
            if (width.type() == QTextLength::FixedLength) {
                out += "<col style=\"";
                appendPixels(out, "width", width.rawValue());
                out.chop(1);
                out += "\">";
            } else {
                out += "<col>";
            }
        }
        out += "</colgroup>\n";
    } else {
        out += ">\n";
    }
    for (const std::vector<Cell> &row : table.rows) {
        out += "<tr>";
        for (const Cell &cell : row) {
            QByteArray style;
            if (cell.formatted) {
                const CellFormat &f = cell.format;
                if (f.padding > 0) {
                    appendPixels(style, "padding-left", f.padding);
                    appendPixels(style, "padding-right", f.padding);
                }
                appendBorder(style, "top", f.top);
                appendBorder(style, "right", f.right);
                appendBorder(style, "bottom", f.bottom);
                appendBorder(style, "left", f.left);
                if (f.background.isValid())
                    style += "background-color:" + colourName(f.background) + ';';
            }
            if (style.isEmpty()) {
                out += "<td>";
            } else {
                style.chop(1);
                out += "<td style=\"" + style + "\">";
            }
            for (const QByteArray &item : cell.items)
                out += item;
            out += "</td>";
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

} // namespace Rtf
