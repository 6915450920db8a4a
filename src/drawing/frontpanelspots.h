#pragma once

#include <array>

/**
 * The hot-spots of the front-panel explorer, in stacking order (a later row lies on top).
 * Shared by the window and by the picture generator, so that every hot-spot lies on the control
 * the picture draws under it. Rectangles are in the window's client coordinates.
 */
struct FrontPanelSpot
{
    const char *name;
    const char16_t *hint;
    struct
    {
        int left, top, width, height;
    } rect;
    /** The information panel the click fills; empty for a hot-spot without a click. */
    const char *panel;
    /** Whether the pointer turns into the hand over the hot-spot. */
    bool handPointer;
    const char16_t *castilian;
    const char16_t *valencian;
    /** The red warning line of the CAL knobs; null for every other hot-spot. */
    const char16_t *warningCastilian;
    const char16_t *warningValencian;
};

/** Where the front-panel picture lies in the window's client area. */
inline constexpr int kFrontPanelPictureLeft = 24;
inline constexpr int kFrontPanelPictureTop = 24;
inline constexpr int kFrontPanelPictureWidth = 535;
inline constexpr int kFrontPanelPictureHeight = 239;

inline constexpr std::array<FrontPanelSpot, 39> kFrontPanelSpots = { {
    { "Interruptor", u"Power", { 296, 40, 25, 25 }, "ppeq", true, u" Interruptor", u" Interruptor", nullptr,
        nullptr },
    { "intensidad", u"Intens.", { 296, 64, 25, 33 }, "ppeqi", true, u" Intensidad del haz",
        u" Intensitat del feix", nullptr, nullptr },
    { "focus", u"Focus", { 296, 104, 33, 33 }, "ppeqi", true, u"Focalizador", u"Focalitzador", nullptr,
        nullptr },
    { "traza", u"TR", { 328, 72, 9, 25 }, "psupd", false, u"Rotación de la traza horizontal",
        u"Rotació de la traça horitzontal", nullptr, nullptr },
    { "xy", u"X-Y", { 384, 40, 17, 25 }, "psupd", true,
        u"Introduce la señal del canal II en el eje X, y la del canal I en el eje Y",
        u"Introdueix el senyal del canal II a l'eix X, i el del canal I a l'eix Y", nullptr, nullptr },
    { "xpos", u"X-Pos", { 344, 64, 25, 41 }, "ppeqi", true, u"Posición horizontal", u"Posició horitzontal",
        nullptr, nullptr },
    { "holdoff", u"Hold Off", { 384, 64, 33, 33 }, "psupd", true, u"Hold off (tiempo entre barridos)",
        u"Hold off (temps entre escaneigs)", nullptr, nullptr },
    { "trigger", u"Trigger", { 416, 48, 17, 65 }, "psupi", true,
        u"Selector de disparo. Se selecciona en función de la señal a medir ( AC es el más frecuente)",
        u"Selector de disparament. Es selecciona en funció del senyal a mesurar ( AC és el més freqüent)",
        nullptr, nullptr },
    { "xmag", u"X-Mag", { 336, 40, 33, 25 }, "psupd", true, u"Aumenta la escala en una relación 10:1",
        u"Augmenta l'escala en una relació 10:1", nullptr, nullptr },
    { "alt", u"Alt.", { 416, 120, 17, 25 }, "", true, nullptr, nullptr, nullptr, nullptr },
    { "flanco", u"Slope", { 440, 120, 17, 25 }, "psupi", true,
        u"Selecciona si el trazado de la imagen comenzará con tensiones positivas o negativas",
        u"Selecciona si el traçat de la imatge comença amb tensions positives o negatives", nullptr,
        nullptr },
    { "time", u"Time/Div", { 440, 40, 57, 73 }, "psupd", true,
        u"Base de tiempos.Regula la escala de tiempos del eje horizontal",
        u"Base de temps.Regula l'escala de temps de l'eix horitzontal", nullptr, nullptr },
    { "ext", u"Trig. Ext.", { 480, 120, 25, 25 }, "psupi", true,
        u"Con el botón pulsado se selecciona una señal externa de disparo",
        u"Amb el botó polsat es selecciona un senyal extern de disparament", nullptr, nullptr },
    { "atnorm", u"At/Norm", { 520, 40, 33, 25 }, "psupi", true,
        u"Elegimos si disparo se realiza de forma automática (AT), o manual(NORM)",
        u"Elegim si el disparament es realitza de forma automàtica (AT), o manual(NORM)", nullptr, nullptr },
    { "level", u"Level", { 512, 64, 41, 25 }, "psupd", true,
        u"Ajusta el nivel de disparo (si hemos elegido disparo manual)",
        u"Ajusta el nivell de disparament (si hem elegit tret manual)", nullptr, nullptr },
    { "triggerimp", u"Trig. Inp.", { 512, 104, 41, 33 }, "psupi", true,
        u"Conector BNC para señal externa de trigger(disparo)",
        u"Connector BNC per a senyal extern de trigger(disparament)", nullptr, nullptr },
    { "ypos", u"Y-Pos", { 296, 144, 33, 33 }, "pmedioi", true, u"Posición vertical del canal I",
        u"Posició vertical del canal I", nullptr, nullptr },
    { "volts1", u"Volts/Div", { 336, 160, 65, 65 }, "pinfc", true, u"Selector de escala V/div en el canal I",
        u"Selector d'escala V/div per al canal I", nullptr, nullptr },
    { "cal1", u"CAL", { 472, 64, 25, 25 }, "psupd", true, u"Control variable de la base de tiempos",
        u"Control variable de la base de temps", u"Para medidas de tiempos ha de estar en la posción CAL",
        u"Per a mides de temps ha d'estar en la posició CAL" },
    { "cal2", u"CAL", { 360, 176, 25, 25 }, "pmedioi", true, u"Ajuste fino de amplitud",
        u"Ajust fi d'amplitud", u"Para medidas de amplitud ha de estar en la posición CAL",
        u"Per a mides d'amplitud ha d'estar en la posició CAL" },
    { "gd1", u"GD", { 296, 192, 17, 25 }, "pinfc", true,
        u"Conecta el canal I a tierra para permitir el ajuste del cero",
        u"Connecta el canal I a terra per a permetre l'ajust del zero", nullptr, nullptr },
    { "acdc1", u"AC/DC", { 312, 192, 17, 25 }, "pbajod", true,
        u"Selección según se trabaje con toda la señal (AC), o con la componente continua de ella (DC) en el "
        u"canal I",
        u"Selecció segons es treballe amb tot el senyal (AC), o amb la component continua d'ell (DC) al "
        u"canal I",
        nullptr, nullptr },
    { "input1", u"Input Ch I", { 296, 216, 25, 41 }, "pinfc", true,
        u"Conector de entrada de señal al canal I", u"Connector d'entrada de senyal al canal I", nullptr,
        nullptr },
    { "inv1", u"Invert ", { 328, 224, 25, 25 }, "pmedioi", true, u"Invierte la señal del canal I",
        u"Inverteix el senyal del canal I", nullptr, nullptr },
    { "ymag1", u"Y-Mag", { 400, 200, 17, 17 }, "pinfc", true,
        u"Aumenta la escala Y del canal I en una relación 5:1",
        u"Augmenta l'escala Y del canal I en una relació 5:1", nullptr, nullptr },
    { "ymag2", u"Y-Mag", { 424, 200, 17, 17 }, "pinfc", true,
        u"Aumenta la escala Y del canal II en una relación 5:1",
        u"Augmenta l'escala Y del canal II en una relació 5:1", nullptr, nullptr },
    { "volts2", u"Volts/Div", { 440, 152, 65, 65 }, "pinfc", true,
        u"Selector de escala en V/div del canal II", u"Selector d'escala en V/div del canal II", nullptr,
        nullptr },
    { "cal3", u"CAL", { 472, 176, 25, 25 }, "pmediod", true, u"Ajuste fino de amplitud del canal II",
        u"Ajust fi d'amplitud del canal II", u"Para medidas de amplitud ha de estar en la posición CAL",
        u"Per a mides d'amplitud ha d'estar en la posició CAL" },
    { "ypos2", u"Y-Pos", { 512, 152, 33, 25 }, "pmediod", true, u"Posición vertical del canal II",
        u"Posició vertical del canal II", nullptr, nullptr },
    { "gd2", u"GD", { 528, 192, 17, 25 }, "pinfc", true,
        u"Conecta el canal II a tierra permitiendo el ajuste del cero",
        u"Connecta el canal II a terra permetent l'ajust del zero", nullptr, nullptr },
    { "acdc2", u"AC/DC", { 512, 192, 17, 25 }, "pbajod", true,
        u"Selección según se trabaje con toda la señal (AC), o  con la componente continua de ella (DC) en "
        u"el canal II",
        u"Selecció segons es treballe amb tot el senyal (AC), o amb la component continua d'ell (DC) en el "
        u"canal II",
        nullptr, nullptr },
    { "ch12", u"Ch I/II", { 384, 224, 25, 25 }, "pbajod", true,
        u"Con el botón hacia afuera la señal de trigger afecta al canal I, con el botón presionado al canal "
        u"II",
        u"Amb el botó cap a fora el senyal de trigger afecta al canal I, amb el botó polsat al canal II",
        nullptr, nullptr },
    { "dual", u"Dual", { 408, 224, 25, 25 }, "pinfc", true,
        u"Representa las señales de ambos canales simultáneamente",
        u"Representa els senyals de ambdós canals simultàniament", nullptr, nullptr },
    { "add", u"Add", { 440, 224, 25, 25 }, "pinfc", true,
        u"Con el botón pulsado se realiza la suma de los canales I y II",
        u"Amb el botó polsat es realitza la suma dels canals I i II", nullptr, nullptr },
    { "inv2", u"Invert ", { 488, 224, 25, 25 }, "pmediod", true, u"Invierte la señal del canal II",
        u"Inverteix el senyal del canal II", nullptr, nullptr },
    { "imp2", u"Input Ch II", { 512, 216, 41, 33 }, "pinfc", true,
        u"Conector de entrada de señal al canal II", u"Connector d'entrada de senyal al canal II", nullptr,
        nullptr },
    { "tester", u"Tester", { 200, 232, 49, 25 }, "pbajoi", true,
        u"Con el botón pulsado el aparato trabaja como comprobador de componentes",
        u"Amb el botó polsat l'aparell treballa com comprovador de components", nullptr, nullptr },
    { "calibracion", u"Cal. sonda", { 48, 232, 73, 25 }, "pbajoi", true,
        u"Salida de señal rectangular para la compensación de la sonda",
        u"Eixida de senyal rectangular per a la compensació de la sonda", nullptr, nullptr },
    { "pantalla", u"Pantalla", { 56, 56, 209, 161 }, "Ppant", true,
        u"Pantalla para la visualización de las señales", u"Pantalla per a la visualització dels senyals",
        nullptr, nullptr },
} };
