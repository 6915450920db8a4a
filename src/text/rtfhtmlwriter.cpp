#include "rtfhtmlwriter.h"

#include "rtfreader.h"

#include <QBuffer>

#include <algorithm>
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

const HtmlWriter::CharStyle &HtmlWriter::charStyle(const CharFormat &format)
{
    const auto found = m_charStyles.constFind(format.key);
    if (found != m_charStyles.constEnd())
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
        style += format.verticalAlignment == QTextCharFormat::AlignSuperScript ? "vertical-align:super;"
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
            : format.underline                     ? "underline;"
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
    CharStyle charStyle;
    if (!style.isEmpty()) {
        style.chop(1);
        charStyle.declarations = style;
        charStyle.span = "<span style=\"" + style + "\">";
    }
    // The reader keys a bounded number of formats at a time; keep no more than a few of them.
    if (m_charStyles.size() >= 256)
        m_charStyles.clear();
    return *m_charStyles.insert(format.key, charStyle);
}

void HtmlWriter::writeText(QByteArray &out, QStringView text, const CharFormat *format)
{
    if (format)
        m_lastSpanStyle = charStyle(*format).span;
    out += m_lastSpanStyle;
    appendEscaped(out, text);
    if (!m_lastSpanStyle.isEmpty())
        out += "</span>";
}

void HtmlWriter::writePicture(QByteArray &out, const QImage &image, const QSizeF &size, const CharFormat &)
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
    // The alignment goes in the attribute every reader of HTML takes, justified text included.
    QByteArray style;
    if (para.alignment & Qt::AlignHCenter)
        m_lastParagraphAlign = " align=\"center\"";
    else if (para.alignment & Qt::AlignRight)
        m_lastParagraphAlign = " align=\"right\"";
    else if (para.alignment & Qt::AlignJustify)
        m_lastParagraphAlign = " align=\"justify\"";
    else
        m_lastParagraphAlign.clear();
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
    // A page has one distance between tab stops, counted from where the line starts: the first
    // stop the paragraph sets there, or the hanging indent's, so a bullet's tab reaches the text.
    const double lineStart = twipsToPixels(std::max(0, para.leftIndent) + para.firstIndent);
    double firstStop = para.firstIndent < 0 && para.leftIndent > 0 ? twipsToPixels(-para.firstIndent) : 0;
    for (const QTextOption::Tab &tab : para.tabs) {
        const double position = tab.position - lineStart;
        if (position > 0 && (firstStop <= 0 || position < firstStop))
            firstStop = position;
    }
    if (firstStop > 0)
        appendPixels(style, "tab-size", firstStop);
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
    if (paragraph.empty) {
        // An empty paragraph is as tall as its mark's font. The toolkit's own reader takes the
        // marked kind for one line, not a line break in a line.
        out += "<p" + m_lastParagraphAlign + " style=\"-qt-paragraph-type:empty;";
        out += style;
        if (paragraph.finished)
            out += charStyle(paragraph.mark).declarations;
        if (out.endsWith(';'))
            out.chop(1);
        out += "\"><br></p>\n";
        return;
    }
    out += "<p" + m_lastParagraphAlign;
    if (style.isEmpty()) {
        out += ">";
    } else {
        out += " style=\"";
        out.append(style.constData(), style.size() - 1);
        out += "\">";
    }
    out += paragraph.content;
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
    }
    out += ">\n";
    // Every cell carries its column's width, which browsers and the toolkit's reader both take.
    QList<QByteArray> widths;
    for (const QTextLength &width : table.format.columnWidths) {
        widths.append(width.type() == QTextLength::FixedLength
                ? " width=\"" + QByteArray::number(qRound(width.rawValue())) + '"'
                : QByteArray());
    }
    for (const std::vector<Cell> &row : table.rows) {
        out += "<tr>";
        for (std::size_t column = 0; column < row.size(); ++column) {
            const Cell &cell = row[column];
            const QByteArray width
                = qsizetype(column) < widths.size() ? widths[qsizetype(column)] : QByteArray();
            out += "<td" + width + (cell.formatted ? cellStyle(cell.format) : QByteArray()) + '>';
            for (const QByteArray &item : cell.items)
                out += item;
            out += "</td>";
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

QByteArray HtmlWriter::cellStyle(const CellFormat &format)
{
    // A table's cells mostly look like a few others.
    for (const auto &[known, style] : m_cellStyles) {
        if (known == format)
            return style;
    }
    QByteArray style;
    if (format.padding > 0) {
        appendPixels(style, "padding-left", format.padding);
        appendPixels(style, "padding-right", format.padding);
    }
    appendBorder(style, "top", format.top);
    appendBorder(style, "right", format.right);
    appendBorder(style, "bottom", format.bottom);
    appendBorder(style, "left", format.left);
    if (format.background.isValid())
        style += "background-color:" + colourName(format.background) + ';';
    if (!style.isEmpty()) {
        style.chop(1);
        style = " style=\"" + style + '"';
    }
    if (m_cellStyles.size() >= 16)
        m_cellStyles.erase(m_cellStyles.begin());
    m_cellStyles.emplace_back(format, style);
    return style;
}

} // namespace Rtf
