#pragma once

#include <QString>

#include <array>

/**
 * The languages the course speaks. A language is a row of kLanguages; everything said in the course is a
 * Wording, which holds a text for each and hands out the one asked for.
 */
enum class Language { Castilian, Valencian };

struct LanguageInfo
{
    Language language;
    /** The tag screen readers and speech synthesisers know it by (BCP 47): a Catalan voice reads
     * Valencian. */
    const char *tag;
    /** Its name in itself, as the button that chooses it prints it. */
    const char16_t *name;
};

inline constexpr std::array<LanguageInfo, 2> kLanguages { {
    { Language::Castilian, "es-ES", u"Castellano" },
    { Language::Valencian, "ca-ES-valencia", u"Valencià" },
} };

/** The course's first language, which a window tried on its own speaks. */
inline constexpr Language kFirstLanguage = Language::Castilian;

/** "es-ES", "ca-ES-valencia". */
QString languageTag(Language language);

/** The one choice between a language's texts written side by side. */
template <class Text> const Text &inLanguage(Language language, const Text &castilian, const Text &valencian)
{
    return language == Language::Castilian ? castilian : valencian;
}

/** A language's text of two literals written side by side, as a string. */
inline QString textIn(Language language, const char16_t *castilian, const char16_t *valencian)
{
    return QString::fromUtf16(inLanguage(language, castilian, valencian));
}

/** A text the course says, in each of its languages. */
struct Wording
{
    QString castilian;
    QString valencian;

    const QString &in(Language language) const { return inLanguage(language, castilian, valencian); }
    bool isEmpty() const { return castilian.isEmpty() && valencian.isEmpty(); }
    /** Both texts from literals. */
    static Wording of(const char16_t *castilian, const char16_t *valencian)
    {
        return { QString::fromUtf16(castilian), QString::fromUtf16(valencian) };
    }
    /** Each language's text followed by the other's, with a blank between where both have words. */
    Wording then(const Wording &next) const;
};
