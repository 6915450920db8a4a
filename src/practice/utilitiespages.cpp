#include "utilitiespages.h"

#include "fonts.h"

namespace UtilitiesPages {

const std::array<LabelRow, 62> kLabels = { {
    { "eutil", 1, { 136, 0, 429, 17 }, Look::Title, nullptr },
    { "ecarac", 1, { 192, 336, 241, 17 }, Look::Link, nullptr },
    { "eang", 1, { 192, 360, 239, 17 }, Look::Link, nullptr },
    { "emed", 1, { 192, 384, 188, 17 }, Look::Link, nullptr },

    { "Label1", 3, { 200, 32, 244, 19 }, Look::Title12, nullptr },
    { "Label2", 3, { 160, 392, 331, 19 }, Look::Text12, nullptr },

    { "Label5", 4, { 120, 0, 380, 17 }, Look::Title, nullptr },
    { "Label6", 4, { 152, 24, 303, 17 }, Look::Text, nullptr },
    { "Label7", 4, { 464, 24, 17, 19 }, Look::Symbol, u"w :" },
    { "Label8", 4, { 8, 120, 95, 19 }, Look::Formula, u"U1 = U1m cos " },
    { "Label9", 4, { 104, 120, 18, 19 }, Look::SymbolRed, u"(w " },
    { "Label10", 4, { 120, 120, 4, 19 }, Look::Formula, u"t" },
    { "Label11", 4, { 128, 120, 35, 19 }, Look::SymbolRed, u"+ j1)" },
    { "Label12", 4, { 456, 128, 91, 19 }, Look::Formula, u"U2 = U2m cos" },
    { "Label13", 4, { 552, 128, 14, 19 }, Look::SymbolRed, u"(w" },
    { "Label14", 4, { 568, 128, 4, 19 }, Look::Formula, u"t" },
    { "Label15", 4, { 576, 128, 35, 19 }, Look::SymbolRed, u"+ j2)" },
    { "Label16", 4, { 64, 312, 433, 17 }, Look::Text, nullptr },
    { "Label17", 4, { 488, 312, 65, 19 }, Look::Symbol, u"j1 - j2." },
    { "Label18", 4, { 40, 336, 561, 17 }, Look::Text, nullptr },
    { "Label19", 4, { 168, 360, 9, 19 }, Look::SymbolRed, u"w" },
    { "Label20", 4, { 184, 360, 12, 19 }, Look::Formula, u"t1" },
    { "Label21", 4, { 200, 360, 64, 19 }, Look::SymbolRed, u"+ j1= 90°" },
    { "Label22", 4, { 360, 360, 9, 19 }, Look::SymbolRed, u"w" },
    { "Label23", 4, { 376, 360, 12, 19 }, Look::Formula, u"t2" },
    { "Label24", 4, { 392, 360, 68, 19 }, Look::SymbolRed, u"+ j2 = 90°" },
    { "Label25", 4, { 264, 376, 95, 17 }, Look::Text, nullptr },
    { "Label26", 4, { 160, 400, 89, 19 }, Look::SymbolRed, u"j2 -j1 = -w" },
    { "Label27", 4, { 248, 400, 203, 19 }, Look::Formula, u"( t2 - t1 ) = -(( t2 - t1 / T) * 360°" },

    { "Label28", 5, { 8, 240, 604, 17 }, Look::Text, nullptr },
    { "Label3", 5, { 264, 264, 103, 17 }, Look::Title, nullptr },
    { "Label4", 5, { 8, 288, 601, 17 }, Look::Text, nullptr },
    { "Label31", 5, { 192, 312, 241, 17 }, Look::Link, nullptr },
    { "Label29", 5, { 272, 336, 93, 17 }, Look::Title, nullptr },
    { "Label30", 5, { 8, 360, 596, 17 }, Look::Text, nullptr },
    { "Label32", 5, { 80, 384, 447, 17 }, Look::Text, nullptr },
    { "Label34", 5, { 144, 400, 370, 17 }, Look::Link, nullptr },

    { "Label35", 6, { 16, 12, 560, 17 }, Look::Text, nullptr },
    { "Label36", 6, { 16, 32, 540, 17 }, Look::Text, nullptr },
    { "Label37", 6, { 16, 56, 330, 17 }, Look::Text, nullptr },
    { "Label38", 6, { 240, 80, 30, 19 }, Look::SymbolRed, u"j = " },
    { "Label39", 6, { 270, 80, 110, 19 }, Look::Formula, u"( t / T ) · 360°" },

    { "Label40", 7, { 16, 4, 450, 17 }, Look::Text, nullptr },
    { "Label41", 7, { 160, 26, 30, 19 }, Look::Formula, u"sen " },
    { "Label42", 7, { 190, 26, 10, 19 }, Look::SymbolRed, u"j" },
    { "Label43", 7, { 200, 26, 60, 19 }, Look::Formula, u" = a / b" },
    { "Label44", 7, { 300, 26, 10, 19 }, Look::SymbolRed, u"j" },
    { "Label45", 7, { 310, 26, 130, 19 }, Look::Formula, u" = arc sen ( a / b )" },
    { "Label46", 7, { 16, 262, 350, 17 }, Look::Text, nullptr },
    { "Label47", 7, { 366, 262, 10, 19 }, Look::Symbol, u"w" },
    { "Label49", 7, { 376, 262, 230, 17 }, Look::Text, nullptr },
    { "Label50", 7, { 16, 284, 16, 19 }, Look::Symbol, u"(w" },
    { "Label51", 7, { 32, 284, 4, 17 }, Look::Text, u"t" },
    { "Label52", 7, { 36, 284, 30, 19 }, Look::Symbol, u" + j)" },
    { "Label53", 7, { 66, 284, 280, 17 }, Look::Text, nullptr },
    { "Label54", 7, { 150, 310, 140, 19 }, Look::Formula, u"x = 0,   y = Y sen " },
    { "Label55", 7, { 290, 310, 10, 19 }, Look::SymbolRed, u"j" },
    { "Label56", 7, { 300, 310, 30, 19 }, Look::Formula, u" = a" },
    { "Label57", 7, { 370, 310, 50, 19 }, Look::Formula, u"Y = b" },
    { "Label58", 7, { 200, 338, 90, 17 }, Look::Text, nullptr },
    { "Label59", 7, { 290, 338, 10, 19 }, Look::Symbol, u" j" },
    { "Label60", 7, { 300, 338, 60, 17 }, Look::Text, u" = a / b" },
} };

// The formulas of the phase page keep their design places where the text leaves room, and are
// pushed right where a wider face would run one fragment into the next. The two measurement pages
// flow their sentences and formulas the same way.
const std::array<LineRow, 17> kLines = { {
    { 152, 24, true, { "Label6", "Label7" } },
    { 8, 120, true, { "Label8", "Label9", "Label10", "Label11" } },
    { 456, 128, true, { "Label12", "Label13", "Label14", "Label15" } },
    { 64, 312, true, { "Label16", "Label17" } },
    { 168, 360, true, { "Label19", "Label20", "Label21" } },
    { 360, 360, true, { "Label22", "Label23", "Label24" } },
    { 160, 400, true, { "Label26", "Label27" } },

    { 16, 12, false, { "Label35" } },
    { 16, 32, false, { "Label36" } },
    { 16, 56, false, { "Label37" } },
    { kCentred, 80, false, { "Label38", "Label39" } },

    { 16, 4, false, { "Label40" } },
    { kCentred, 26, false, { "Label41", "Label42", "Label43", "", "Label44", "Label45" } },
    { 16, 262, false, { "Label46", "Label47", "Label49" } },
    { 16, 284, false, { "Label50", "Label51", "Label52", "Label53" } },
    { kCentred, 310, false, { "Label54", "Label55", "Label56", "", "Label57" } },
    { kCentred, 338, false, { "Label58", "Label59", "Label60" } },
} };

const std::array<TextRow, 29> kTexts = { {
    { "eutil", u"Entre las utilidades del osciloscopio cabe destacar las siguientes :",
        u"Entre les utilitats de l'oscil.loscopi cap destacar les següents :" },
    { "ecarac", u"Características de una señal senoidal", u"Característiques d'un senyal senoidal" },
    { "eang", u"Angulo de desfase entre dos señales", u"Angle de desfasament entre dos senyals" },
    { "emed", u"Medidas con un osciloscopio", u"Mides amb un oscil.loscopi" },
    { "BitBtn1", u"&Cerrar", u"Tancar" },
    { "RichEdit1", u"uni8c.rtf", u"uni8v.rtf" },
    { "Label2", u"Pulsar sobre la zona que se desee obtener información.",
        u"Polsar sobre la zona de la que es desitge obtindre informació." },
    { "Label1", u"Características de una onda senoidal", u"Característiques d'una ona senoidal" },
    { "Label5", u"Angulo de desfase entre dos ondas de la misma frecuencia",
        u"Angle de desfasament entre dues ones de la mateixa freqüència" },
    { "Label6", u"Dadas dos señales U1 y U2 con la misma pulsación",
        u"Suposats dos senyals U1 i U2 amb la mateixa polsació" },
    { "Label16", u"Se llama desfase entre las dos ondas a la diferencia de fase entre ellas ",
        u"Es diu desfasament entre dues ones a la diferència de fase entre elles " },
    { "Label18",
        u"Ambas señales se anulan en los instantes t1 y t2 respectivamente, con lo que tenemos que :",
        u"Ambdós senyals s'anulen en els instants t1 i t2 respectivament, amb el que tenim que :" },
    { "Label25", u"Si las restamos :", u"Si els restem :" },
    { "Label28",
        u"Con un osciloscopio podemos averiguar el desfase existente entre dos ondas  por dos modos "
        u"diferentes:",
        u"Amb un oscil.loscopi podem esbrinar el desfase existent entre dues ones  per dos modes "
        u"diferents:" },
    { "Label3", u"1.- Modo Dual :", u"1.- Mode Dual :" },
    { "Label4",
        u"En este modo se visualizan las señales de los canales I y II simultáneamente pulsando el botón "
        u"DUAL.",
        u"En aquest mode es visualitzen els senyals dels canals I i II simultàniament polsant el botó "
        u"DUAL." },
    { "Label31", u"Como medir el desfase en modo dual", u"Com mesurar el desfasament en mode dual" },
    { "Label29", u"2.- Modo XY :", u"2.- Mode XY :" },
    { "Label30",
        u"En este modo se visualizan las figuras de Lissajous, se representa en el eje vertical la señal del "
        u"canal I",
        u"En este mode es visualitzen les figures de Lissajous, es representa en l'eix vertical el senyal "
        u"del canal I" },
    { "Label32", u"y en el eje horizontal  la señal del canal II, se obtiene pulsando el botón X-Y.",
        u"i en l'eix horitzontal  el senyal del canal II, s'obté polsant el botó X-Y." },
    { "Label34", u"Como medir el desfase mediante las figuras de Lissajous",
        u"Com mesurar el desfasament mitjançant les figures de Lissajous" },
    { "Label35",
        u"Se deben centrar las ondas verticalmente y observar los cruces de las señales con la linea cero, ",
        u"Es deuen centrar les ones verticalmente i observar els encreuaments dels senyals amb la línia "
        u"zero, " },
    { "Label36",
        u"a continuación se debe medir la distancia entre los cruces t ( en cm o divisiones), y el T.",
        u"a continuació es deu mesurar la distància entre els encreuaments t ( en cm o divisions), i el T." },
    { "Label37", u"La diferencia de fase se obtiene aplicando la fórmula :",
        u"La diferència de fase s'obté aplicant la fórmula :" },
    { "Label40", u"Para hallar el desfase, se miden a y b, y se realiza el siguiente cálculo:",
        u"Per a trobar el desfasament, es mesuren a i b, i es realitza el següent càlcul:" },
    { "Label46", u"Ya que si se tiene en el eje horizontal una señal x = Xsen",
        u"Ja que si es té en l'eix horitzontal un senyal x = Xsen" },
    { "Label49", u"t , y otra en el eje vertical y = Y sen ", u"t , i altre en l'eix vertical y = Y sen " },
    { "Label53", u", y considerando el instante t = 0, se tiene que :",
        u", i considerant l'instant t = 0, es té que :" },
    { "Label58", u"Entonces sen", u"Aleshores sen" },
} };

const TextRow *textRow(const char *name)
{
    for (const TextRow &row : kTexts)
        if (QLatin1String(name) == QLatin1String(row.name))
            return &row;
    return nullptr;
}

const LabelRow *labelRow(const QString &name)
{
    for (const LabelRow &row : kLabels)
        if (name == QLatin1String(row.name))
            return &row;
    return nullptr;
}

QFont lookFont(Look look)
{
    const QString times = QStringLiteral("Times New Roman");
    const QString symbol = QStringLiteral("Symbol");
    using S = Fonts::Style;
    switch (look) {
    case Look::Title:
        return Fonts::points(times, 11, S::Bold | S::Underline);
    case Look::Title12:
        return Fonts::points(times, 12, S::Bold | S::Underline);
    case Look::Link:
        return Fonts::points(times, 11, S::Bold | S::Underline);
    case Look::Text:
        return Fonts::points(times, 11);
    case Look::Text12:
    case Look::Formula:
        return Fonts::points(times, 12);
    case Look::Symbol:
    case Look::SymbolRed:
        return Fonts::points(symbol, 11);
    }
    return Fonts::points(times, 11);
}

QColor lookColour(Look look)
{
    switch (look) {
    case Look::Link:
        return Qt::blue;
    case Look::Formula:
    case Look::SymbolRed:
        return Qt::red;
    default:
        return Qt::black;
    }
}

bool isSymbol(Look look)
{
    return look == Look::Symbol || look == Look::SymbolRed;
}

} // namespace UtilitiesPages
