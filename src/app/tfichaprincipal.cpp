#include "tfichaprincipal.h"

#include "companion.h"
#include "cursors.h"
#include "embeddedpictures.h"
#include "helpviewer.h"
#include "language.h"
#include "launcher.h"
#include "taboutbox.h"
#include "taparato.h"
#include "tcuestiones.h"
#include "tform10.h"
#include "tform11.h"
#include "tform13.h"
#include "tform14.h"
#include "tform15.h"
#include "tform16.h"
#include "tform17.h"
#include "tform18.h"
#include "tform19.h"
#include "tform20.h"
#include "tform21.h"
#include "tform22.h"
#include "tform23.h"
#include "tform8.h"
#include "tosciloscopio.h"
#include "tpractica.h"
#include "tproblemas.h"
#include "tpw.h"

#include <QMenuBar>
#include <QResizeEvent>

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 1,
        .top = -1,
        .width = 645,
        .height = 79,
        .caption = QStringLiteral("Vantela"),
        .frame = FrameKind::Sizeable,
    };
}

enum class MenuKind { Menu, Item, Separator };

struct MenuRow
{
    int depth;
    MenuKind kind;
    const char *name;
    const char16_t *caption;
};

// The menu bar in display order; depth 0 is the bar itself. The captions are the design-time
// (Castilian) ones. The two nameless rows are empty entries with no action.
constexpr std::array<MenuRow, 38> kMenu = { {
    { 0, MenuKind::Menu, "Practica1", u"&Práctica" },
    { 1, MenuKind::Item, "Descripcindelaparato1", u"Descripción del aparato" },
    { 1, MenuKind::Item, "Utilidadesdelosciloscopio1", u"Utilidades del osciloscopio" },
    { 1, MenuKind::Item, "Realizacindelaprctica1", u"Realización de la práctica" },
    { 1, MenuKind::Separator, "N1", u"-" },
    { 1, MenuKind::Item, "Salir1", u"Salir" },
    { 0, MenuKind::Menu, "Comportamiento", u"&Vantela" },
    { 1, MenuKind::Item, "Composc", u"Comportamiento del Osciloscopio" },
    { 1, MenuKind::Separator, "N6", u"-" },
    { 1, MenuKind::Item, "ComportamientodelTRC1", u"Comportamiento del T.R.C." },
    { 0, MenuKind::Menu, "Problemas1", u"Ejer&cicios" },
    { 1, MenuKind::Item, "Problemas2", u"Cuestiones" },
    { 1, MenuKind::Separator, "N2", u"-" },
    { 1, MenuKind::Item, "Problemas3", u"Problemas" },
    { 0, MenuKind::Menu, "Autoevaluacion1", u"&Autoevaluación" },
    { 1, MenuKind::Item, "Cuestionario1", u"Cuestionario" },
    { 0, MenuKind::Menu, "Herramientas1", u"&Herramientas" },
    { 1, MenuKind::Item, "Calculadora1", u"Ca&culadora" },
    { 1, MenuKind::Item, "BlocdeNotas1", u"Anotar" },
    { 1, MenuKind::Separator, "N3", u"-" },
    { 1, MenuKind::Menu, "idioma1", u"Idioma" },
    { 2, MenuKind::Item, "Castellano1", u"Castellano" },
    { 2, MenuKind::Item, "VAl1", u"Valencià" },
    { 1, MenuKind::Item, "", u"" },
    { 1, MenuKind::Separator, "N7", u"-" },
    { 1, MenuKind::Item, "Osciloscopiovirtual1", u"Osciloscopio virtual" },
    { 0, MenuKind::Menu, "Descripciondetallada2", u"&Información Complementaria" },
    { 1, MenuKind::Item, "Diagramadebloquesdelosciloscopio1", u"Diagrama de bloques del osciloscopio" },
    { 1, MenuKind::Item, "DescripcindetalladadelTRC1", u"Descripción detallada del T.R.C." },
    { 1, MenuKind::Item, "Descripcindelaetapavertical1", u"Descripción de la etapa vertical" },
    { 1, MenuKind::Item, "Descripcindelaetapahorizontal1", u"Descripción de la etapa horizontal" },
    { 1, MenuKind::Item, "Osciloscopiosdedoblecanal1", u"Osciloscopios de doble canal" },
    { 1, MenuKind::Item, "DatostcnicosdelHM2031", u"Datos técnicos del HM-203" },
    { 0, MenuKind::Menu, "Ayuda1", u"A&yuda" },
    { 1, MenuKind::Item, "Temasdeayuda1", u"Temas de ayuda" },
    { 1, MenuKind::Separator, "N4", u"-" },
    { 1, MenuKind::Item, "About1", u"Acerca de ..." },
    { 0, MenuKind::Item, "", u"" },
} };

struct RelabelRow
{
    const char *name; // empty for the window title
    const char16_t *castilian;
    const char16_t *valencian;
};

// What the language commands relabel, in order. Everything else keeps its caption.
constexpr std::array<RelabelRow, 26> kRelabel = { {
    { "", u"Vantela", u"Vantela" },
    { "Practica1", u"&Práctica", u"&Pràctica" },
    { "Descripcindelaparato1", u"Descripción del aparato", u"Descripció de l'aparell" },
    { "Utilidadesdelosciloscopio1", u"Utilidades del osciloscopio", u"Utilitats de l'oscil.loscopi" },
    { "Realizacindelaprctica1", u"Realización de la práctica", u"Realització de la pràctica" },
    { "Salir1", u"Salir", u"Eixir" },
    { "Problemas1", u"Ejer&cicios", u"&Exercicis" },
    { "Problemas2", u"Cuestiones", u"Qüestions" },
    { "Problemas3", u"Problemas", u"Problemes" },
    { "Autoevaluacion1", u"&Autoevaluación", u"&Autoevaluació" },
    { "Cuestionario1", u"Cuestionario", u"Qüestionari" },
    { "Herramientas1", u"&Herramientas", u"Ei&nes" },
    { "Comportamiento", u"&Vantela", u"&Vantela" },
    { "Composc", u"Comportamiento del Osciloscopio", u"Comportament de l'Oscil.loscopi" },
    { "ComportamientodelTRC1", u"Comportamiento del T.R.C.", u"Comportament del T.R.C." },
    { "Descripciondetallada2", u"&Información Complementaria", u"&Informació Complementària" },
    { "Diagramadebloquesdelosciloscopio1", u"Diagrama de bloques del osciloscopio",
        u"Diagrama de blocs de l'oscil.loscopi" },
    { "DescripcindetalladadelTRC1", u"Descripción detallada del T.R.C.", u"Descripció detallada del T.R.C." },
    { "Descripcindelaetapavertical1", u"Descripción de la etapa vertical",
        u"Descripció de l'etapa vertical" },
    { "Descripcindelaetapahorizontal1", u"Descripción de la etapa horizontal",
        u"Descripció de l'etapa horitzontal" },
    { "Osciloscopiosdedoblecanal1", u"Osciloscopios de doble canal", u"Oscil.loscopis de doble canal" },
    { "DatostcnicosdelHM2031", u"Datos técnicos del HM-203", u"Dades tècniques del HM-203" },
    { "About1", u"Acerca de...", u"Tocant a..." },
    { "Ayuda1", u"A&yuda", u"Aju&da" },
    { "Temasdeayuda1", u"Temas de ayuda", u"Temes d'ajuda" },
    { "Osciloscopiovirtual1", u"Osciloscopio virtual", u"Oscil·loscopi virtual" },
} };

using Handler = void (Tfichaprincipal::*)();

struct MenuHandler
{
    const char *name;
    Handler handler;
};

constexpr MenuHandler kHandlers[] = {
    { "Salir1", &Tfichaprincipal::Salir1Click },
    { "Calculadora1", &Tfichaprincipal::Calculadora1Click },
    { "BlocdeNotas1", &Tfichaprincipal::BlocdeNotas1Click },
    { "Castellano1", &Tfichaprincipal::castClick },
    { "VAl1", &Tfichaprincipal::valClick },
    { "Temasdeayuda1", &Tfichaprincipal::Temasdeayuda1Click },
    { "About1", &Tfichaprincipal::About1Click },
    { "Descripcindelaparato1", &Tfichaprincipal::Descripcindelaparato1Click },
    { "Composc", &Tfichaprincipal::ComposcClick },
    { "ComportamientodelTRC1", &Tfichaprincipal::ComportamientodelTRC1Click },
    { "Realizacindelaprctica1", &Tfichaprincipal::Realizacindelaprctica1Click },
    { "Utilidadesdelosciloscopio1", &Tfichaprincipal::Utilidadesdelosciloscopio1Click },
    { "Cuestionario1", &Tfichaprincipal::Cuestionario1Click },
    { "Problemas2", &Tfichaprincipal::Problemas2Click },
    { "Problemas3", &Tfichaprincipal::Problemas3Click },
    { "Diagramadebloquesdelosciloscopio1", &Tfichaprincipal::Diagramadebloquesdelosciloscopio1Click },
    { "DescripcindetalladadelTRC1", &Tfichaprincipal::DescripcindetalladadelTRC1Click },
    { "Descripcindelaetapavertical1", &Tfichaprincipal::Descripcindelaetapavertical1Click },
    { "Descripcindelaetapahorizontal1", &Tfichaprincipal::Descripcindelaetapahorizontal1Click },
    { "Osciloscopiosdedoblecanal1", &Tfichaprincipal::Osciloscopiosdedoblecanal1Click },
    { "DatostcnicosdelHM2031", &Tfichaprincipal::DatostcnicosdelHM2031Click },
    { "Osciloscopiovirtual1", &Tfichaprincipal::Osciloscopiovirtual1Click },
};

} // namespace

Tfichaprincipal::Tfichaprincipal()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("fichaprincipal"));
    makeMainWindow();

    Panel1 = new Panel(client(), { 0, 0, 637, 33 });
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setBevels(Bevel::Lowered, Bevel::Raised);
    Panel1->setColor(QColor(0xc0, 0xc0, 0xc0));

    auto languageButton = [this](const char *name, const Geometry &g, const QString &caption) {
        auto *button = new QPushButton(caption, Panel1);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(g.rect());
        button->setToolTip(QStringLiteral("Idioma"));
        return button;
    };
    cast = languageButton("cast", { 168, 8, 65, 25 }, QStringLiteral("Castellano"));
    val = languageButton("val", { 240, 8, 65, 25 }, QStringLiteral("Valencià"));
    // Its enabled state is the program's language flag, which every window reads.
    ProgramLanguage::followButton(val);
    connect(cast, &QPushButton::clicked, this, &Tfichaprincipal::castClick);
    connect(val, &QPushButton::clicked, this, &Tfichaprincipal::valClick);

    auto toolButton = [this](const char *name, const Geometry &g, const char *glyph, const QString &hint) {
        auto *button = new GlyphButton(client(), g, QString());
        button->setObjectName(QLatin1String(name));
        button->setGlyph(embeddedPicture(QLatin1String(glyph)));
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        return button;
    };
    BitBtn1 = toolButton(
        "BitBtn1", { 24, 8, 33, 25 }, EmbeddedPictures::calculatorGlyph, QStringLiteral("Calculadora"));
    BitBtn3 = toolButton("BitBtn3", { 72, 8, 33, 25 }, EmbeddedPictures::noteGlyph, QStringLiteral("Anotar"));
    connect(BitBtn1, &QPushButton::clicked, this, &Tfichaprincipal::Calculadora1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tfichaprincipal::BlocdeNotas1Click);

    buildMenu();
}

void Tfichaprincipal::buildMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QList<QMenu *> open { nullptr, nullptr, nullptr };
    for (const MenuRow &row : kMenu) {
        const QString name = QLatin1String(row.name);
        const QString caption = QString::fromUtf16(row.caption);
        QAction *action = nullptr;
        if (row.kind == MenuKind::Menu) {
            auto *menu = row.depth == 0 ? MainMenu1->addMenu(caption) : open[row.depth - 1]->addMenu(caption);
            menu->setObjectName(name);
            open[row.depth] = menu;
            action = menu->menuAction();
        } else if (row.kind == MenuKind::Separator) {
            action = open[row.depth - 1]->addSeparator();
        } else {
            action = row.depth == 0 ? MainMenu1->addAction(caption) : open[row.depth - 1]->addAction(caption);
        }
        action->setObjectName(name);
        if (!name.isEmpty())
            m_items.insert(name, action);
    }
    m_items.value(QStringLiteral("Practica1"))
        ->setStatusTip(QStringLiteral("Información para la realización de la práctica"));
    m_items.value(QStringLiteral("Practica1"))
        ->setToolTip(QStringLiteral("Información para la realización de la práctica"));
    for (const MenuHandler &h : kHandlers)
        connect(m_items.value(QLatin1String(h.name)), &QAction::triggered, this, h.handler);
    setMenuBar(MainMenu1);
}

void Tfichaprincipal::FormCreate()
{
    // The program starts in Castilian: the design-time texts are the Castilian ones.
    cast->setEnabled(false);
    m_items.value(QStringLiteral("Castellano1"))->setEnabled(false);
}

void Tfichaprincipal::resizeEvent(QResizeEvent *event)
{
    Form::resizeEvent(event);
    // The button strip is aligned to the top edge over the full client width.
    Panel1->resize(client()->width(), Panel1->height());
}

void Tfichaprincipal::valClick()
{
    cast->setEnabled(true);
    m_items.value(QStringLiteral("Castellano1"))->setEnabled(true);
    val->setEnabled(false);
    m_items.value(QStringLiteral("VAl1"))->setEnabled(false);
    valenciano();
}

void Tfichaprincipal::castClick()
{
    val->setEnabled(true);
    m_items.value(QStringLiteral("VAl1"))->setEnabled(true);
    cast->setEnabled(false);
    m_items.value(QStringLiteral("Castellano1"))->setEnabled(false);
    castellano();
}

void Tfichaprincipal::castellano()
{
    relabel(Language::Castilian);
}

void Tfichaprincipal::valenciano()
{
    relabel(Language::Valencian);
}

void Tfichaprincipal::relabel(Language language)
{
    for (const RelabelRow &row : kRelabel) {
        const QString text = QString::fromUtf16(inLanguage(language, row.castilian, row.valencian));
        if (*row.name == '\0')
            setWindowTitle(text);
        else
            m_items.value(QLatin1String(row.name))->setText(text);
    }
}

void Tfichaprincipal::Salir1Click()
{
    close();
}

void Tfichaprincipal::Calculadora1Click()
{
    Launcher::startFirst(Launcher::calculators());
}

void Tfichaprincipal::BlocdeNotas1Click()
{
    Launcher::startFirst(Launcher::textEditors());
}

void Tfichaprincipal::Temasdeayuda1Click()
{
    HelpViewer::showContents(HelpViewer::helpFile());
}

void Tfichaprincipal::About1Click()
{
    openWindow(AboutBox);
}

void Tfichaprincipal::Descripcindelaparato1Click()
{
    openWindow(aparato);
}

// Opens the oscilloscope's behaviour cases: the texts and their screen window, as a pair.
void Tfichaprincipal::ComposcClick()
{
    // The screen first, then the texts, which end in front; each knows only its own partner.
    Tform10 *screen = openWindow(form10);
    pairWindows(screen, openWindow(Form11));
}

void Tfichaprincipal::ComportamientodelTRC1Click()
{
    openWindow(Form23);
}

void Tfichaprincipal::Realizacindelaprctica1Click()
{
    openWindow(practica);
}

void Tfichaprincipal::Utilidadesdelosciloscopio1Click()
{
    openWindow(Form8);
}

// Asks for the access code that opens the self-evaluation questionnaire.
void Tfichaprincipal::Cuestionario1Click()
{
    openWindow(pw);
}

// Opens a new window of multiple-choice questions on the oscilloscope.
void Tfichaprincipal::Problemas2Click()
{
    openWindow(cuestiones);
}

void Tfichaprincipal::Problemas3Click()
{
    openWindow(problemas);
}

void Tfichaprincipal::Diagramadebloquesdelosciloscopio1Click()
{
    openWindow(Form16);
}

void Tfichaprincipal::DescripcindetalladadelTRC1Click()
{
    // The text window stays hidden until the first part is clicked.
    TForm14 *tube = createWindow(Form14);
    pairWindows(tube, createWindow(Form15));
    tube->showWindow();
}

void Tfichaprincipal::Descripcindelaetapavertical1Click()
{
    TForm19 *text = openWindow(Form19);
    pairWindows(text, openWindow(Form20));
}

void Tfichaprincipal::Descripcindelaetapahorizontal1Click()
{
    // The horizontal stage opens its own figure window while it is created.
    openWindow(Form22);
}

void Tfichaprincipal::Osciloscopiosdedoblecanal1Click()
{
    // Both made before either is shown: the figure window ends in front.
    TForm17 *text = createWindow(Form17);
    TForm18 *figures = createWindow(Form18);
    pairWindows(text, figures);
    text->showWindow();
    figures->showWindow();
}

void Tfichaprincipal::DatostcnicosdelHM2031Click()
{
    openWindow(Form13);
}

void Tfichaprincipal::Osciloscopiovirtual1Click()
{
    openWindow(osciloscopio);
}
