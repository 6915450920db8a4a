#include "spokenwords.h"

#include <cstddef>
#include <iterator>

namespace {

/** A unit's words, singular and plural, in both languages. */
struct UnitWords
{
    SpokenUnit unit;
    const char16_t *castilianOne;
    const char16_t *castilianMany;
    const char16_t *valencianOne;
    const char16_t *valencianMany;
};

// Valencian after the AVL's dictionary: "hertz", plural "hertzs"; "mil·li-" before the unit.
// clang-format off
constexpr UnitWords kUnits[] = {
    { SpokenUnit::None,           u"",                         u"",                          u"",                      u"" },
    { SpokenUnit::Second,         u"segundo",                  u"segundos",                  u"segon",                 u"segons" },
    { SpokenUnit::Volt,           u"voltio",                   u"voltios",                   u"volt",                  u"volts" },
    { SpokenUnit::VoltPeakToPeak, u"voltio de pico a pico",    u"voltios de pico a pico",    u"volt de pic a pic",     u"volts de pic a pic" },
    { SpokenUnit::VoltRms,        u"voltio eficaz",            u"voltios eficaces",          u"volt eficaç",           u"volts eficaços" },
    { SpokenUnit::Hertz,          u"hercio",                   u"hercios",                   u"hertz",                 u"hertzs" },
    { SpokenUnit::Degree,         u"grado",                    u"grados",                    u"grau",                  u"graus" },
    { SpokenUnit::Division,       u"división",                 u"divisiones",                u"divisió",               u"divisions" },
    { SpokenUnit::Percent,        u"por ciento",               u"por ciento",                u"per cent",              u"per cent" },
};
// clang-format on

constexpr bool inOrder()
{
    for (std::size_t i = 0; i < std::size(kUnits); ++i) {
        if (std::size_t(kUnits[i].unit) != i)
            return false;
    }
    return true;
}
static_assert(inOrder(), "kUnits is indexed by SpokenUnit");

QString prefixWord(int exponent, Language language)
{
    switch (exponent) {
    case -9:
        return QStringLiteral("nano");
    case -6:
        return QStringLiteral("micro");
    case -3:
        return textIn(language, u"mili", u"mil·li");
    case 3:
        return QStringLiteral("kilo");
    default:
        return QString();
    }
}

} // namespace

QString spokenQuantity(const QString &number, SpokenUnit unit, Language language, int exponent)
{
    QString digits = number.trimmed();
    QString sign;
    if (digits.startsWith(u'-') || digits.startsWith(QChar(0x2212))) {
        sign = textIn(language, u"menos ", u"menys ");
        digits.remove(0, 1);
    } else if (digits.startsWith(u'+')) {
        digits.remove(0, 1);
    }
    const UnitWords &words = kUnits[std::size_t(unit)];
    const bool one = digits == QLatin1String("1");
    const char16_t *name = one ? inLanguage(language, words.castilianOne, words.valencianOne)
                               : inLanguage(language, words.castilianMany, words.valencianMany);
    if (unit == SpokenUnit::None)
        return sign + digits;
    return sign + digits + QLatin1Char(' ') + prefixWord(exponent, language) + QString::fromUtf16(name);
}

QString spokenPerDivision(Language language)
{
    return textIn(language, u"por división", u"per divisió");
}

QString spelledOut(const QString &symbol)
{
    QString spelled;
    for (QChar c : symbol) {
        if (!spelled.isEmpty())
            spelled += QLatin1Char(' ');
        spelled += c;
    }
    return spelled;
}
