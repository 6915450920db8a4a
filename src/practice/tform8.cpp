#include "tform8.h"

#include "cursors.h"

#include <QStackedWidget>

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 4,
        .top = -5,
        .width = 632,
        .height = 454,
        .caption = QString(),
    };
}

/** The page control's raised edge; the pages lie inside it. */
constexpr int kPageInset = 4;
constexpr int kPageWidth = 624 - 2 * kPageInset;
/** How close to the page's right edge a line of text may come. */
constexpr int kRightMargin = 4;

/** How a label looks: the book's titles, links, running text and the two kinds of formula. */
enum class Look {
    Title, ///< bold, underlined, black
    Title12, ///< the same, a point larger
    Link, ///< bold, underlined, blue, with the hand over it
    Text, ///< plain black text
    Text12, ///< plain black text, a point larger
    Formula, ///< red, a point larger
    Symbol, ///< the Symbol face, black: w and j read as omega and phi
    SymbolRed, ///< the Symbol face, red
};

struct LabelRow
{
    const char *name;
    int page;
    Geometry geometry;
    Look look;
    const char16_t *caption;
};

// Every label of the book with its design-time caption; a label whose text changes with the
// language has none here and starts with the Castilian text of kTexts. The labels of the two
// measurement pages are placed by kLines once their texts are known.
constexpr std::array<LabelRow, 62> kLabels = { {
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
    { "Label54", 7, { 150, 310, 140, 19 }, Look::Formula, u"x = 0 ,   y = Y sen " },
    { "Label55", 7, { 290, 310, 10, 19 }, Look::SymbolRed, u"j" },
    { "Label56", 7, { 300, 310, 30, 19 }, Look::Formula, u" = a" },
    { "Label57", 7, { 370, 310, 50, 19 }, Look::Formula, u"Y = b" },
    { "Label58", 7, { 200, 338, 90, 17 }, Look::Text, nullptr },
    { "Label59", 7, { 290, 338, 10, 19 }, Look::Symbol, u" j" },
    { "Label60", 7, { 300, 338, 60, 17 }, Look::Text, u" = a / b" },
} };

/** One line of labels set side by side on their common baseline. */
struct LineRow
{
    /** Where the line starts; a negative left centres it on the page. */
    int left;
    int top;
    /** Each fragment keeps its design place unless the one before it reaches that far. */
    bool designPlaces;
    /** The labels from left to right; an empty name leaves a wider space. */
    std::array<const char *, 6> names;
};

constexpr int kCentred = -1;
constexpr int kFormulaSpace = 40;

// The formulas of the phase page keep their design places where the text leaves room, and are
// pushed right where a wider face would run one fragment into the next. The two measurement pages
// flow their sentences and formulas the same way.
constexpr std::array<LineRow, 17> kLines = { {
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

/**
 * Whether two fragments would read as one word if set edge to edge: a word that ends in a Latin
 * letter and a letter after it ("Xsen" then omega). A Greek letter runs into the t after it.
 */
bool needsSpace(const Label *before, const Label *after)
{
    const QString a = before->text();
    const QString b = after->text();
    return !a.isEmpty() && !b.isEmpty() && a.back().isLetter() && a.back().unicode() < 0x370
        && b.front().isLetter();
}

/** The texts the creation handler sets, in the order it sets them; two rows stand for the button and the text
 * file. */
struct TextRow
{
    const char *name;
    const char16_t *castilian;
    const char16_t *valencian;
};

constexpr std::array<TextRow, 29> kTexts = { {
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

const LabelRow *labelRow(const QString &name)
{
    for (const LabelRow &row : kLabels)
        if (name == QLatin1String(row.name))
            return &row;
    return nullptr;
}

const QColor kPanelColour(0xdf, 0xdf, 0xdf);
constexpr int kPanelBorder = 4;

struct PanelRow
{
    const char *name;
    Panel *TForm8::*member;
    Geometry geometry;
};

// Made after the zones, so an open panel lies above the picture and the zones.
constexpr std::array<PanelRow, 3> kPanels = { {
    { "put", &TForm8::put, { 128, 128, 401, 25 } },
    { "pw", &TForm8::pw, { 120, 208, 393, 25 } },
    { "pij", &TForm8::pij, { 64, 240, 529, 25 } },
} };

} // namespace

TForm8::TForm8()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form8"));

    PageControl1 = new QStackedWidget(client());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 624, 427);
    PageControl1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PageControl1->setLineWidth(2);
    PageControl1->setContentsMargins(2, 2, 2, 2);
    const auto addPage = [this](const char *name) {
        auto *page = new QWidget;
        page->setObjectName(QLatin1String(name));
        PageControl1->addWidget(page);
        return page;
    };
    pag1 = addPage("pag1");
    pag3 = addPage("pag3");
    pag4 = addPage("pag4");
    pag5 = addPage("pag5");
    pag6 = addPage("pag6");
    pag7 = addPage("pag7");

    const auto picture
        = [](QWidget *page, const char *name, const Geometry &geometry, PictureMode mode, const char *file) {
              auto *control = new Picture(page, geometry, mode);
              control->setObjectName(QLatin1String(name));
              control->setPicture(embeddedPicture(QLatin1String(file)));
              return control;
          };

    // The index.
    imsen = picture(pag1, "imsen", { 0, 16, 129, 105 }, PictureMode::Plain, "util_sine.bmp");
    imdual = picture(pag1, "imdual", { 0, 120, 129, 105 }, PictureMode::Plain, "util_dual.bmp");
    imlis = picture(pag1, "imlis", { 0, 224, 129, 105 }, PictureMode::Plain, "util_xy.bmp");
    RichEdit1 = new RichTextPane(pag1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(136, 32, 441, 273);
    RichEdit1->setFont(Fonts::points(QStringLiteral("Times New Roman"), 11));
    RichEdit1->setBackgroundColor(Qt::white);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BitBtn1 = new GlyphButton(pag1, { 512, 376, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(QLatin1String("glyph_close.bmp")));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm8::BitBtn1Click);

    // The sine wave, with its click zones and the panels they open.
    imsenoide = picture(pag3, "imsenoide",
        { kSinePictureLeft, kSinePictureTop, kSinePictureWidth, kSinePictureHeight }, PictureMode::Centred,
        "util_sinewave.bmp");
    for (const SineZone &zone : kSineZones) {
        auto *spot = new HotSpot(pag3, { zone.rect.left, zone.rect.top, zone.rect.width, zone.rect.height },
            QString::fromUtf16(zone.hint));
        spot->setObjectName(QLatin1String(zone.name));
        connect(spot, &HotSpot::clicked, this, [this, &zone] { zoneClick(zone); });
        connect(spot, &HotSpot::mouseMoved, this, [this, spot] { handMouseMove(spot); });
        m_zones.insert(spot->objectName(), spot);
    }
    for (const PanelRow &row : kPanels) {
        auto *panel = new Panel(pag3, row.geometry);
        panel->setObjectName(QLatin1String(row.name));
        panel->setBevels(Bevel::None, Bevel::None);
        panel->setBorderWidth(kPanelBorder);
        panel->setColor(kPanelColour);
        panel->hide();
        connect(panel, &Panel::clicked, this, [this, panel] { panelClick(panel); });
        this->*row.member = panel;
    }

    imcomp = picture(pag4, "imcomp", { 168, 32, 281, 281 }, PictureMode::Plain, "util_phase.bmp");
    imosc = picture(pag5, "imosc", { 24, -8, 561, 249 }, PictureMode::Centred, "util_scope.bmp");
    imdesdual
        = picture(pag6, "imdesdual", { 128, 108, 360, 290 }, PictureMode::Plain, "util_dualmeasure.bmp");
    imdeslis = picture(pag7, "imdeslis", { 16, 52, 260, 200 }, PictureMode::Plain, "util_xymeasure.bmp");
    pant = picture(pag7, "pant", { 300, 56, 220, 180 }, PictureMode::Plain, "util_screen.bmp");

    for (const LabelRow &row : kLabels) {
        QWidget *parent = page(row.page);
        auto *label = new Label(parent, row.geometry, QString(), true);
        label->setObjectName(QLatin1String(row.name));
        label->setFont(lookFont(row.look));
        label->setTextColor(lookColour(row.look));
        if (isSymbol(row.look))
            label->setSymbolText(QString::fromUtf16(row.caption));
        else
            label->setText(QString::fromUtf16(row.caption ? row.caption : textRow(row.name)->castilian));
        m_labels.insert(label->objectName(), label);
    }
    eutil = label(QStringLiteral("eutil"));
    ecarac = label(QStringLiteral("ecarac"));
    eang = label(QStringLiteral("eang"));
    emed = label(QStringLiteral("emed"));
    Label31 = label(QStringLiteral("Label31"));
    Label34 = label(QStringLiteral("Label34"));
    const std::array<std::pair<Label *, void (TForm8::*)()>, 5> links = { {
        { ecarac, &TForm8::ecaracClick },
        { eang, &TForm8::eangClick },
        { emed, &TForm8::emedClick },
        { Label31, &TForm8::Label31Click },
        { Label34, &TForm8::Label34Click },
    } };
    for (const auto &[link, handler] : links) {
        connect(link, &Label::clicked, this, handler);
        connect(link, &Label::mouseMoved, this, [this, link] { handMouseMove(link); });
    }

    SpeedButton2 = backButton(pag3, "SpeedButton2", { 24, 384, 33, 25 });
    SpeedButton3 = backButton(pag4, "SpeedButton3", { 8, 392, 33, 25 });
    SpeedButton4 = backButton(pag5, "SpeedButton4", { 8, 392, 33, 25 });
    SpeedButton5 = backButton(pag6, "SpeedButton5", { 8, 392, 33, 25 });
    SpeedButton6 = backButton(pag7, "SpeedButton6", { 8, 392, 33, 25 });
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm8::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm8::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TForm8::SpeedButton4Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &TForm8::SpeedButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &TForm8::SpeedButton6Click);

    const auto screenButton = [this](const char *name, const Geometry &geometry, const QString &caption) {
        auto *button = new GlyphButton(pag7, geometry, caption);
        button->setObjectName(QLatin1String(name));
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    SpeedButton7 = screenButton("SpeedButton7", { 532, 104, 65, 25 }, QStringLiteral("DUAL"));
    SpeedButton8 = screenButton("SpeedButton8", { 532, 140, 65, 25 }, QStringLiteral("X-Y"));
    connect(SpeedButton7, &QPushButton::clicked, this, &TForm8::SpeedButton7Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &TForm8::SpeedButton8Click);

    layoutLines();
    PageControl1->setCurrentWidget(pag1);
}

GlyphButton *TForm8::backButton(QWidget *page, const char *name, const Geometry &geometry)
{
    auto *button = new GlyphButton(page, geometry, QString());
    button->setObjectName(QLatin1String(name));
    button->setGlyph(embeddedPicture(QLatin1String("glyph_back.bmp")));
    // A speed button never takes the focus from the page.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TForm8::FormCreate()
{
    CursorTable::installHandCursor();
    setWindowTitle(QString());
    copyLanguageFlag();

    // The buttons without a caption are named for screen readers by what they do.
    const QString back = pick(u"Volver", u"Tornar");
    for (GlyphButton *button : { SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6 }) {
        button->setToolTip(back);
        button->setAccessibleName(back);
    }
    SpeedButton7->setToolTip(pick(u"Las dos señales en modo dual", u"Els dos senyals en mode dual"));
    SpeedButton8->setToolTip(pick(u"Las dos señales en modo X-Y", u"Els dos senyals en mode X-Y"));

    for (const TextRow &row : kTexts) {
        const QString name = QLatin1String(row.name);
        if (name == QLatin1String("BitBtn1")) {
            BitBtn1->setText(pick(row.castilian, row.valencian));
        } else if (name == QLatin1String("RichEdit1")) {
            // A text that cannot be read leaves every later text as designed.
            if (!RichEdit1->loadFromFile(pick(row.castilian, row.valencian)))
                return;
        } else {
            label(name)->setText(pick(row.castilian, row.valencian));
        }
    }
    layoutLines();
}

void TForm8::layoutLines()
{
    // Long sentences stay whole: set a hair tighter where a line would pass the page's edge.
    for (const LabelRow &row : kLabels) {
        if (!isSymbol(row.look))
            label(QLatin1String(row.name))->fitWithin(kPageWidth - kRightMargin - row.geometry.left);
    }
    for (const LineRow &line : kLines) {
        QList<Label *> labels;
        QList<int> lefts;
        int ascent = 0;
        for (const char *name : line.names) {
            if (!name)
                break;
            Label *label = *name ? this->label(QLatin1String(name)) : nullptr;
            labels << label;
            if (label)
                ascent = std::max(ascent, label->fontMetrics().ascent());
        }
        // From each fragment's design place, or just after the fragment before it.
        int x = line.left < 0 ? 0 : line.left;
        Label *previous = nullptr;
        for (Label *label : labels) {
            if (!label) {
                x += kFormulaSpace;
                lefts << x;
                continue;
            }
            if (previous && needsSpace(previous, label))
                x += previous->fontMetrics().horizontalAdvance(QLatin1Char(' '));
            if (line.designPlaces)
                x = std::max(x, labelRow(label->objectName())->geometry.left);
            lefts << x;
            x += label->width() - 1;
            previous = label;
        }
        int shift = line.left < 0 ? (kPageWidth - x) / 2 : std::min(0, kPageWidth - kRightMargin - x);
        for (int i = 0; i < labels.size(); ++i) {
            if (labels[i])
                labels[i]->move(
                    std::max(0, lefts[i] + shift), line.top + ascent - labels[i]->fontMetrics().ascent());
        }
    }
}

void TForm8::FormActivate()
{
    inicio();
    showPage(pag1);
}

void TForm8::BitBtn1Click()
{
    close();
}

void TForm8::ecaracClick()
{
    showPage(pag3);
}

void TForm8::eangClick()
{
    showPage(pag4);
}

void TForm8::emedClick()
{
    showPage(pag5);
}

void TForm8::Label31Click()
{
    showPage(pag6);
}

void TForm8::Label34Click()
{
    showPage(pag7);
}

void TForm8::SpeedButton2Click()
{
    showPage(pag1);
}

void TForm8::SpeedButton3Click()
{
    showPage(pag1);
}

void TForm8::SpeedButton4Click()
{
    showPage(pag1);
}

void TForm8::SpeedButton5Click()
{
    showPage(pag5);
}

void TForm8::SpeedButton6Click()
{
    showPage(pag5);
}

void TForm8::inicio()
{
    put->hide();
    pw->hide();
    pij->hide();
}

void TForm8::zoneClick(const SineZone &zone)
{
    Panel *target = panel(QLatin1String(zone.panel));
    inicio();
    const QString text = pick(zone.castilian, zone.valencian);
    // One line in the window's font, set a hair tighter where it would be cut.
    target->setFont(Fonts::fitted(design().font, text, target->width() - 2 * kPanelBorder));
    target->setText(text);
    target->show();
}

void TForm8::panelClick(Panel *panel)
{
    panel->hide();
}

void TForm8::SpeedButton7Click()
{
    pant->loadFromFile(QStringLiteral("pdual.bmp"));
}

void TForm8::SpeedButton8Click()
{
    pant->loadFromFile(QStringLiteral("plis.bmp"));
}

void TForm8::handMouseMove(QWidget *control)
{
    control->setCursor(CursorTable::cursor(CursorTable::kHand));
}

Panel *TForm8::panel(const QString &name) const
{
    for (Panel *panel : panels())
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}

QWidget *TForm8::page(int number) const
{
    switch (number) {
    case 1:
        return pag1;
    case 3:
        return pag3;
    case 4:
        return pag4;
    case 5:
        return pag5;
    case 6:
        return pag6;
    case 7:
        return pag7;
    default:
        return nullptr;
    }
}

void TForm8::showPage(QWidget *page)
{
    PageControl1->setCurrentWidget(page);
}
