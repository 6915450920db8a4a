#include "fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>

#include <fontconfig/fontconfig.h>

namespace Fonts {

void readConfiguration()
{
    // The configuration loaded here becomes the current one for every later caller. A failure is
    // met again, and reported, when the font database itself asks.
    FcInit();
}

QString family(const QString &face)
{
    struct Substitute
    {
        const char *face;
        const char *family;
    };
    // Liberation families share the widths of the faces they replace, so texts keep their length.
    static constexpr Substitute substitutes[] = {
        { "Times New Roman", "Liberation Serif" },
        { "Times", "Liberation Serif" },
        { "Arial", "Liberation Sans" },
        { "MS Sans Serif", "Liberation Sans" },
        { "Courier New", "Liberation Mono" },
        { "Courier", "Liberation Mono" },
        // Symbol text is shown through its Unicode mapping, so it needs a face with Greek letters,
        // arrows and mathematical signs at their Unicode places.
        { "Symbol", "DejaVu Sans" },
    };
    for (const Substitute &s : substitutes) {
        if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) {
            const QString wanted = QString::fromLatin1(s.family);
            // Asking the font database is slow; every window asks for the same few faces.
            static QHash<QString, bool> installed;
            if (!qGuiApp)
                return wanted;
            auto known = installed.constFind(wanted);
            if (known == installed.constEnd())
                known = installed.insert(wanted, QFontDatabase::hasFamily(wanted));
            if (*known)
                return wanted;
            break;
        }
    }
    return face;
}

QFont pixels(const QString &face, int characterHeight, Styles styles)
{
    QFont font(family(face));
    font.setPixelSize(characterHeight);
    font.setBold(styles.testFlag(Style::Bold));
    font.setItalic(styles.testFlag(Style::Italic));
    font.setUnderline(styles.testFlag(Style::Underline));
    font.setStrikeOut(styles.testFlag(Style::StrikeOut));
    return font;
}

QFont points(const QString &face, int pointSize, Styles styles)
{
    return pixels(face, (pointSize * 96 + 36) / 72, styles);
}

QFont fitted(const QFont &font, const QString &text, int width)
{
    QFont tighter = font;
    auto fits = [&] { return QFontMetrics(tighter).horizontalAdvance(text) <= width; };
    if (text.isEmpty() || fits())
        return font;
    for (int tenths = 1; tenths <= 5; ++tenths) {
        tighter.setLetterSpacing(QFont::AbsoluteSpacing, -tenths / 10.0);
        if (fits())
            return tighter;
    }
    for (int stretch = 99; stretch >= 85 && !fits(); --stretch)
        tighter.setStretch(stretch);
    return tighter;
}

QFont standard(Styles styles)
{
    return points(QStringLiteral("MS Sans Serif"), 8, styles);
}

} // namespace Fonts
