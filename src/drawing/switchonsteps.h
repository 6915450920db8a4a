#pragma once

#include <array>

/**
 * One step of switching the oscilloscope on: the photograph of the front panel as the step leaves
 * it, and its instruction in both languages, in one or two lines. Shared by the walkthrough and by
 * the picture generator, so every photograph is drawn under the name the window loads.
 */
struct SwitchOnStep
{
    /** The photograph, by bare file name; the same file in both languages. */
    const char *picture;
    const char16_t *castilian;
    const char16_t *valencian;
    /** The instruction's second line; null where there is none. */
    const char16_t *secondCastilian;
    const char16_t *secondValencian;
};

/** The step whose instruction has a second line and whose warning blinks; the last one. */
inline constexpr int kSwitchOnLastStep = 6;

// Two photographs were saved without the hyphen the others have; the names stay as they are.
inline constexpr std::array<SwitchOnStep, kSwitchOnLastStep + 1> kSwitchOnSteps = { {
    { "antes-0.bmp", u"Primer paso: Comprobar que todos los botones estén hacia afuera",
        u"Primer pas: Comprovar que tots els botons són cap a fora", nullptr, nullptr },
    { "antes-1.bmp", u"Segundo paso: Poner los mandos en posición vertical hacia arriba",
        u"Segon pas: Posar els comandaments en posició vertical cap a dalt", nullptr, nullptr },
    { "antes-2.bmp", u"Tercer paso: Poner el selector en su posición más alta",
        u"Tercer pas: Posar el selector en la posició més alta", nullptr, nullptr },
    { "antes3.bmp", u"Cuarto paso: Pulsar GD", u"Quart pas: Polsar GD", nullptr, nullptr },
    { "antes-4.bmp", u"Quinto paso: Rotar los triángulos a su posición de calibrado",
        u"Quint pas: Rotar els triàngles a la posició de calibrat", nullptr, nullptr },
    { "antes5.bmp", u"Sexto paso: Presionar POWER", u"Sext pas: Pressionar POWER", nullptr, nullptr },
    { "antes-6.bmp", u" Debe verse la traza de la linea base, ajustar la INTENSIDAD,el FOCUS",
        u" Deu veure's la traça de la línia base, ajustar la INTENSITAT,el FOCUS",
        u" y las posiciones X e Y (con los mandos X-POS, Y-POS I e Y-POS II)",
        u" i les posicions X i Y (amb els comandaments X-POS, Y-POS I i Y-POS II)" },
} };
