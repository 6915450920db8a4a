#include "tform11.h"

#include "behaviourcases.h"
#include "embeddedpictures.h"
#include "tform10.h"

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 257,
        .top = 3,
        .width = 361,
        .height = 443,
        .caption = QStringLiteral("Comportamiento del osciloscopio"),
        // The three texts and their buttons reach far below the window, which scrolls.
        .scrollHeight = 1081,
    };
}

struct HeadingRow
{
    const char *name;
    Geometry geometry;
    const char16_t *castilian;
    const char16_t *valencian;
};

// The frame's line and the three headings, one above each text.
constexpr std::array<HeadingRow, 4> kHeadings = { {
    { "Label2", { 16, 24, 317, 18 }, u"  Visualización de una onda senoidal de 10 Vpp",
        u"  Visualització d'una ona senoidal de 10 Vpp" },
    { "Label1", { 24, 72, 282, 17 }, u"Estudio de los mandos Time/div y Volts/div",
        u"Estudi dels comandaments Time/div i Volts/div" },
    { "Label3", { 32, 416, 253, 17 }, u"Estudio de los mandos SLOPE y Level",
        u"Estudi dels comandaments SLOPE i Level" },
    { "Label4", { 72, 656, 206, 17 }, u"Visualización de los dos canales", u"Visualització dels dos canals" },
} };

struct PaneRow
{
    const char *name;
    Geometry geometry;
    const char16_t *castilianFile;
    const char16_t *valencianFile;
};

constexpr std::array<PaneRow, 3> kPanes = { {
    { "RichEdit1", { 0, 96, 329, 313 }, u"estc1.rtf", u"estv1.rtf" },
    { "RichEdit2", { 0, 440, 329, 201 }, u"estc2.rtf", u"estv2.rtf" },
    { "RichEdit3", { 0, 680, 329, 369 }, u"estc3.rtf", u"estv3.rtf" },
} };

constexpr int kCaseButtonSide = 25;

} // namespace

const QList<TForm11::CaseButtonPlace> &TForm11::caseButtonPlaces()
{
    // Each button stands beside the paragraph of its case.
    static const QList<CaseButtonPlace> places = {
        { "BitBtn2", 176 },
        { "BitBtn3", 216 },
        { "BitBtn4", 264 },
        { "BitBtn5", 312 },
        { "BitBtn6", 368 },
        { "BitBtn7", 504 },
        { "BitBtn8", 544 },
        { "BitBtn9", 576 },
        { "BitBtn10", 768 },
        { "BitBtn11", 816 },
        { "BitBtn12", 864 },
        { "BitBtn13", 912 },
        { "BitBtn14", 952 },
    };
    return places;
}

namespace {

/** The cases the model gives a button, in the order they show: one, or two shown in turn. */
QList<const BehaviourCase *> casesOf(const char *button)
{
    QList<const BehaviourCase *> cases;
    for (const BehaviourCase &shown : behaviourCases())
        if (shown.button == QLatin1String(button))
            cases << &shown;
    return cases;
}

} // namespace

TForm11::TForm11()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form11"));

    Bevel1 = new Panel(client(), { 16, 16, 321, 33 });
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setColor(design().color);
    Bevel1->setBevels(Bevel::Lowered, Bevel::None);

    QList<Label *> headings;
    for (const HeadingRow &row : kHeadings) {
        auto *label = new Label(client(), row.geometry, QString(), true);
        label->setObjectName(QLatin1String(row.name));
        headings << label;
    }
    Label2 = headings[0];
    Label1 = headings[1];
    Label3 = headings[2];
    Label4 = headings[3];
    Label2->setFont(Fonts::points(QStringLiteral("Times"), 12, Fonts::Style::Bold));
    Label2->setTextColor(Qt::black);
    for (Label *heading : { Label1, Label3, Label4 }) {
        heading->setFont(Fonts::points(QStringLiteral("Times New Roman"), 11, Fonts::Style::Bold));
        heading->setTextColor(Qt::blue);
    }
    for (int i = 0; i < int(kHeadings.size()); ++i)
        headings[i]->setText(QString::fromUtf16(kHeadings[i].castilian));

    QList<RichTextPane *> panes;
    for (const PaneRow &row : kPanes) {
        auto *pane = new RichTextPane(client());
        pane->setObjectName(QLatin1String(row.name));
        pane->setGeometry(row.geometry.rect());
        pane->setFont(Fonts::points(QStringLiteral("Times New Roman"), 11));
        // The window scrolls, not the texts.
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        panes << pane;
    }
    RichEdit1 = panes[0];
    RichEdit2 = panes[1];
    RichEdit3 = panes[2];
    RichEdit1->setBackgroundColor(Qt::white);
    RichEdit2->setBackgroundColor(Qt::white);

    // The buttons lie over the panes' left margins, so they are made after them.
    const QImage glyph = embeddedPicture(EmbeddedPictures::caseGlyph);
    const QList<CaseButtonPlace> &places = caseButtonPlaces();
    for (int row = 0; row < places.size(); ++row) {
        auto *button
            = new GlyphButton(client(), { 0, places[row].top, kCaseButtonSide, kCaseButtonSide }, QString());
        button->setObjectName(QLatin1String(places[row].name));
        button->setGlyph(glyph);
        if (casesOf(places[row].name).size() > 1)
            connect(button, &QPushButton::clicked, this, &TForm11::BitBtn10Click);
        else
            connect(button, &QPushButton::clicked, this, [this, row] { caseButtonClick(row); });
        caseButtons << button;
    }

    BitBtn1 = new GlyphButton(client(), { 152, 1056, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm11::BitBtn1Click);
}

void TForm11::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Comportamiento del osciloscopio", u"Comportament de l'oscil.loscopi"));
    const std::array<Label *, 4> headings = { Label2, Label1, Label3, Label4 };
    for (int i = 0; i < int(kHeadings.size()); ++i) {
        headings[i]->setText(pick(kHeadings[i].castilian, kHeadings[i].valencian));
        // The frame's line stays inside the frame; the headings inside the window.
        const int room = headings[i] == Label2 ? kHeadings[i].geometry.width
                                               : client()->width() - kHeadings[i].geometry.left - 2;
        headings[i]->fitWithin(room);
    }
    BitBtn1->setText(pick(u"&Cerrar", u"&Tancar"));

    // The case buttons carry no caption; screen readers name them by what their case shows.
    const QList<CaseButtonPlace> &places = caseButtonPlaces();
    for (int row = 0; row < places.size(); ++row) {
        if (const QList<const BehaviourCase *> cases = casesOf(places[row].name); !cases.isEmpty())
            caseButtons[row]->setAccessibleName(
                inLanguage(language(), cases.first()->castilian, cases.first()->valencian));
    }

    // A text that cannot be read leaves it and the texts after it empty.
    const std::array<RichTextPane *, 3> panes = { RichEdit1, RichEdit2, RichEdit3 };
    for (int i = 0; i < int(kPanes.size()); ++i) {
        if (!panes[i]->loadFromFile(pick(kPanes[i].castilianFile, kPanes[i].valencianFile)))
            return;
    }
}

void TForm11::FormActivate()
{
    m_alternate = false;
}

void TForm11::FormHide()
{
    // The pair goes together: hiding the texts closes its screen window.
    closePartner();
}

// Closes this window and its screen window.
void TForm11::BitBtn1Click()
{
    close();
    closePartner();
}

void TForm11::caseButtonClick(int row)
{
    if (row < 0 || row >= caseButtonPlaces().size() || !partner())
        return;
    const QList<const BehaviourCase *> cases = casesOf(caseButtonPlaces()[row].name);
    if (!cases.isEmpty())
        partner()->pantalla->loadFromFile(cases.first()->fileName);
}

// Shows on the screen window this case's two pictures in turn, one at each press.
void TForm11::BitBtn10Click()
{
    Tform10 *screen = partner();
    if (!screen)
        return;
    const QList<const BehaviourCase *> cases = casesOf("BitBtn10");
    if (cases.size() < 2)
        return;
    // A picture that cannot be read leaves the screen and the turn as they were.
    if (!screen->pantalla->loadFromFile(cases[m_alternate ? 1 : 0]->fileName))
        return;
    m_alternate = !m_alternate;
}
