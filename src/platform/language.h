#pragma once

#include <QString>

class QAbstractButton;

/**
 * The program-wide language flag: true for Castilian. It is the enabled state of the main
 * window's "Valencià" button, so it can never disagree with what the main window offers.
 * Without a main window (a window tried on its own) the program speaks Castilian.
 */
bool languageFlag();

/** The language as screen readers and speech synthesisers name it (BCP 47): "es-ES" for Castilian,
 * "ca-ES-valencia" for Valencian, so that a Catalan voice reads Valencian. */
QString languageTag(bool castilian);

/** Names the main window's "Valencià" button, whose enabled state is the language flag. */
void setLanguageFlagButton(QAbstractButton *valencianButton);

/**
 * A window class's copy of the language flag, shared by all its instances. Only the class's
 * creation handler takes it; every later handler of any instance reads it.
 */
template <class Window> class LanguageCopy
{
public:
    /** The class's copy: true for Castilian. */
    static bool castilian() { return s_castilian; }

protected:
    static void copyLanguageFlag() { s_castilian = languageFlag(); }

    /** The Castilian or the Valencian text, by the class's copy. */
    static QString pick(const char16_t *castilianText, const char16_t *valencianText)
    {
        return QString::fromUtf16(s_castilian ? castilianText : valencianText);
    }

private:
    static inline bool s_castilian = true;
};
