#pragma once

#include <array>

/**
 * The click zones over the annotated sine wave of the utilities book, in the order they are made.
 * Shared by the window and by the picture generator, so that every zone lies over the annotation
 * the picture draws under it. Rectangles are in the page's coordinates.
 */
struct SineZone
{
    const char *name;
    /** What the zone covers, for the tooltip and for screen readers. */
    const char16_t *hint;
    struct
    {
        int left, top, width, height;
    } rect;
    /** The explanation panel the click fills. */
    const char *panel;
    const char16_t *castilian;
    const char16_t *valencian;
};

/** Where the annotated sine lies on its page, and its size. */
inline constexpr int kSinePictureLeft = 0;
inline constexpr int kSinePictureTop = 80;
inline constexpr int kSinePictureWidth = 617;
inline constexpr int kSinePictureHeight = 305;

inline constexpr std::array<SineZone, 5> kSineZones = { {
    { "iut", u"U(t)", { 216, 112, 225, 25 }, "put",
        u"U(t) es el valor de la tensión en cada instante t, se mide en voltios",
        u"U(t) és la valúa de la tensió en cada instant t, es mesura en volts" },
    { "ium", u"Um", { 312, 160, 65, 41 }, "put",
        u"Um es la amplitud de la señal (distancia de 0 al máximo), se mide en voltios.",
        u"Um és l'amplitud del senyal (distància de 0 al màxim), es mesura en volts." },
    { "ij", u"\u03c6", { 248, 208, 33, 33 }, "pw",
        u"Es la fase inicial, en t=0, se mide en radianes o en grados",
        u"Es la fase inicial, en t=0, es mesura en radians o en graus" },
    { "it", u"T", { 200, 240, 169, 25 }, "pij",
        u"T es el periodo, o tiempo que tarda en repetirse la señal, se mide en segundos (su inversa es la "
        u"frecuencia f)",
        u"T és el periode, o temps que tarda en repetir-se el senyal, es mesura en segons (la seua inversa "
        u"és la freqüència f)" },
    { "iw", u"\u03c9", { 408, 200, 33, 41 }, "pw",
        u"Es la pulsación, w =2*pi*f (siendo f la frecuencia, f=1/T), se mide en rad/seg.",
        u"Es la polsació, w =2*pi*f (sent f la freqüència, f=1/T), es mesura en rad/seg." },
} };
