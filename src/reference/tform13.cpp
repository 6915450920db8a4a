#include "tform13.h"

#include "referencestyle.h"

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 145,
        .top = 95,
        .width = 375,
        .height = 349,
        .caption = QStringLiteral("Datos técnicos"),
        .color = ReferenceStyle::litEdgeColour(),
        .font = Fonts::pixels(QStringLiteral("MS Sans Serif"), 11),
        // The list reaches down to the close button's lower edge; the window scrolls over it.
        .scrollHeight = 1848,
    };
}

struct HeadingRow
{
    const char *name;
    Geometry geometry;
    const char16_t *castilian;
    /** Null for the heading that reads the same in both languages. */
    const char16_t *valencian;
};

constexpr std::array<HeadingRow, 6> kHeadings = { {
    { "Label2", { 88, 16, 169, 17 }, u"Modos de funcionamiento", u"Modes de funcionament" },
    { "Label3", { 96, 208, 138, 17 }, u"Amplificador Vertical", nullptr },
    { "Label4", { 120, 544, 109, 17 }, u"Base de tiempos", u"Base de temps" },
    { "Label5", { 96, 896, 155, 17 }, u"Amplificador Horizontal", u"Amplificador Horitzontal" },
    { "Label6", { 104, 1048, 155, 17 }, u"Tester de componentes", u"Tester de components" },
    { "Label7", { 160, 1288, 42, 17 }, u"Varios", u"Varis" },
} };

struct PaneRow
{
    const char *name;
    Geometry geometry;
    const char16_t *castilianFile;
    const char16_t *valencianFile;
    /** The Castilian figures the pane shows until its file is read. */
    const char16_t *design;
};

constexpr std::array<PaneRow, 6> kPanes = { {
    { "RichEdit1", { 16, 48, 321, 145 }, u"modof.rtf", u"modef.rtf",
        u"\n"
        u"Canal I,canal II, canal I y II.\n"
        u"Conmutación entre canales: alt. y chop (frecuencia del \n"
        u"chopper 1Mhz. aprox.).\n"
        u"Suma y diferencia: Canal II ±Canal I(invertible).\n"
        u"Función XY: Relación de sensibilidad 1:1." },
    { "RichEdit2", { 16, 240, 329, 297 }, u"ampvcast.rtf", u"ampvval.rtf",
        u"Margen de frecuencia de ambos canales: \n"
        u"    0-20 Mhz (.3 db), 0-28 Mhz (-6 db).\n"
        u"Tiempo de subida: 17.5 ns. Sobreimpulso máximo 1%\n"
        u"\n"
        u"Coeficientes de deflexión:\n"
        u"\n"
        u"2 pos. calibr. de 5mV/cm a 20 mV/cm (secuencia 1-2-\n"
        u"5),con ajuste fino 1:2,5 hasta mín. 2 mV/cm.\n"
        u"Exactitud de las posiciones de calibración: ±3%.\n"
        u"\n"
        u"Impedancia de entrada:\n"
        u"\n"
        u"1 MW  çç 30 pF.\n"
        u"Acoplamiento de entrada: CC-CA-masa.\n"
        u"Tensión de entrada: máx. 400 V (CC + pico CA)." },
    { "RichEdit3", { 16, 576, 329, 313 }, u"basetie.rtf", u"basetem.rtf",
        u"Coeficientes de tiempo:\n"
        u"\n"
        u"18 posiciones de calibrado de 0,5 ms/cm (secuencia 1-\n"
        u"2-5), con ajuste fino 1:2,5 hasta mínimo 0,2 ms/cm, con \n"
        u"expansión x 10 hasta aprox.20 ns/cm. \n"
        u"Exactitud de las posiciones calibr.: ±3%.\n"
        u"\n"
        u"Disparo:\n"
        u"\n"
        u"Automático o normal con nivel regulable.Dirección del \n"
        u"flanco de disparo: Positivo o negativo.\n"
        u"Origen del disparo: Canal I o canal II, red, externo.\n"
        u"Acoplamiento de disparo: CA, CC, AF, BF.\n"
        u"\n"
        u"Sensibilidad del disparo: \n"
        u" <5mm, ext. 0,6 V.\n"
        u" Ancho de banda de disparo: 0 a 40 Mhz." },
    { "RichEdit4", { 16, 928, 329, 113 }, u"amphcast.rtf", u"amphval.rtf",
        u"Margen de frecuencia:\n"
        u"\n"
        u" 0-2 Mhz (-3 dB).\n"
        u" Entrada por canal II. \n"
        u" Diferencia de fase entre X-Y: < 3º bajo 120 kHz." },
    { "RichEdit5", { 16, 1080, 329, 201 }, u"testc.rtf", u"testv.rtf",
        u"Tensión de test:\n"
        u"                       Máx. 8,5 Vef( sin carga).\n"
        u"\n"
        u"Corriente de test: \n"
        u"                       Máx. 24 mAef( cortocircuito)\n"
        u"\n"
        u"Frecuencia de test:\n"
        u"                        50-60 Hz (frec. de red).\n"
        u"                        Conexión cable banana 4 mm Ø.\n"
        u"                        Circuito de prueba conectado a masa." },
    { "RichEdit6", { 16, 1320, 329, 497 }, u"variosc.rtf", u"variosv.rtf",
        u"Tubo de rayos catódicos:\n"
        u"\n"
        u"D14-362 GY/93. (Tubo de alta persistencia GM/93 con \n"
        u"aumento). Pantalla rectangular 8 x 10cm, retícula \n"
        u"interna, filameto-cátodo de caldeo rápido. Tensión de \n"
        u"aceleración:2000 V. Rot. del haz: Ajustable en la parte \n"
        u"delantera.\n"
        u"\n"
        u"Calibrador:\n"
        u"\n"
        u"Generador de onda rectangular aprox. 1kHz. para el \n"
        u"ajuste de la sonda atenuadora.\n"
        u"Tensión de salida: 0,2V y 2V±1%.\n"
        u"\n"
        u"Regulación electrónica de todas las tensiones.\n"
        u"\n"
        u"Clase de protección Y (CEI 348). Conexión a la red \n"
        u"conmutable ext. a: 110, 125, 220, 240 V ~ (50-60 Hz).\n"
        u"Fluctuación admisible de la red: ±10%.\n"
        u"\n"
        u"Consumo:\n"
        u"\n"
        u" Aproximadamente 37 W.\n"
        u" Peso:  Aprox. 7 kg.\n"
        u" Color:  Marrón-Techno.\n"
        u" Caja:  Ancho = 285 mm.\n"
        u"           Alto  = 145 mm.\n"
        u"           Largo = 380 mm.\n" },
} };

} // namespace

QString TForm13::designText(int pane)
{
    return pane >= 0 && pane < int(kPanes.size()) ? QString::fromUtf16(kPanes[pane].design) : QString();
}

TForm13::TForm13()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form13"));

    // Each heading above its pane, in the order the list reads.
    std::array<Label *, 6> headings {};
    std::array<RichTextPane *, 6> panes {};
    for (int i = 0; i < int(kHeadings.size()); ++i) {
        headings[i] = ReferenceStyle::heading(
            client(), kHeadings[i].name, kHeadings[i].geometry, QString::fromUtf16(kHeadings[i].castilian));
        panes[i] = ReferenceStyle::pane(client(), kPanes[i].name, kPanes[i].geometry, design().color);
        panes[i]->setPlainText(designText(i));
    }
    Label2 = headings[0];
    Label3 = headings[1];
    Label4 = headings[2];
    Label5 = headings[3];
    Label6 = headings[4];
    Label7 = headings[5];
    RichEdit1 = panes[0];
    RichEdit2 = panes[1];
    RichEdit3 = panes[2];
    RichEdit4 = panes[3];
    RichEdit5 = panes[4];
    RichEdit6 = panes[5];

    BitBtn1 = new GlyphButton(client(), { 152, 1824, 75, 24 }, QStringLiteral("&Cerrar"), ButtonKind::Close);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
}

void TForm13::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Datos técnicos", u"Dades tècniques"));
    const std::array<Label *, 6> headings = { Label2, Label3, Label4, Label5, Label6, Label7 };
    for (int i = 0; i < int(kHeadings.size()); ++i) {
        if (kHeadings[i].valencian)
            headings[i]->setText(pick(kHeadings[i].castilian, kHeadings[i].valencian));
    }
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));

    // A pane whose file cannot be read keeps its design text, and so do the panes after it.
    const std::array<RichTextPane *, 6> panes
        = { RichEdit1, RichEdit2, RichEdit3, RichEdit4, RichEdit5, RichEdit6 };
    for (int i = 0; i < int(kPanes.size()); ++i) {
        panes[i]->setAccessibleName(headings[i]->text());
        if (!panes[i]->loadFromFile(pick(kPanes[i].castilianFile, kPanes[i].valencianFile)))
            return;
    }
}
