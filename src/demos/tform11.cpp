#include "tform11.h"

#include "behaviourcases.h"
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

const QList<TForm11::CaseButton> &TForm11::caseTable()
{
    // Each button stands beside the paragraph of its case; the same pictures serve both languages.
    static const QList<CaseButton> table = {
        { "BitBtn2", 176, "p12.bmp", nullptr },
        { "BitBtn3", 216, "p11.bmp", nullptr },
        { "BitBtn4", 264, "p3.bmp", nullptr },
        { "BitBtn5", 312, "p13.bmp", nullptr },
        { "BitBtn6", 368, "p10.bmp", nullptr },
        { "BitBtn7", 504, "p15.bmp", nullptr },
        { "BitBtn8", 544, "p4.bmp", nullptr },
        { "BitBtn9", 576, "p8.bmp", nullptr },
        { "BitBtn10", 768, "p7.bmp", "p16.bmp" },
        { "BitBtn11", 816, "p1.bmp", nullptr },
        { "BitBtn12", 864, "p14.bmp", nullptr },
        { "BitBtn13", 912, "p5.bmp", nullptr },
        { "BitBtn14", 952, "p9.bmp", nullptr },
    };
    return table;
}

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
    const QImage glyph = embeddedPicture(QStringLiteral("glyph_case.bmp"));
    const QList<CaseButton> &table = caseTable();
    for (int row = 0; row < table.size(); ++row) {
        auto *button
            = new GlyphButton(client(), { 0, table[row].top, kCaseButtonSide, kCaseButtonSide }, QString());
        button->setObjectName(QLatin1String(table[row].name));
        button->setGlyph(glyph);
        if (table[row].alternatePicture)
            connect(button, &QPushButton::clicked, this, &TForm11::BitBtn10Click);
        else
            connect(button, &QPushButton::clicked, this, [this, row] { caseButtonClick(row); });
        caseButtons << button;
    }

    BitBtn1 = new GlyphButton(client(), { 152, 1056, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(QStringLiteral("glyph_close.bmp")));
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
    const QList<CaseButton> &table = caseTable();
    for (int row = 0; row < table.size(); ++row) {
        if (const BehaviourCase *shown = behaviourCaseForFile(QLatin1String(table[row].picture)))
            caseButtons[row]->setAccessibleName(castilian() ? shown->castilian : shown->valencian);
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

void TForm11::BitBtn1Click()
{
    close();
    closePartner();
}

void TForm11::caseButtonClick(int row)
{
    if (row < 0 || row >= caseTable().size() || !partner())
        return;
    partner()->pantalla->loadFromFile(QLatin1String(caseTable()[row].picture));
}

void TForm11::BitBtn10Click()
{
    Tform10 *screen = partner();
    if (!screen)
        return;
    const auto row = std::find_if(caseTable().begin(), caseTable().end(),
        [](const CaseButton &b) { return b.alternatePicture != nullptr; });
    // A picture that cannot be read leaves the screen and the turn as they were.
    const char *picture = m_alternate ? row->alternatePicture : row->picture;
    if (!screen->pantalla->loadFromFile(QLatin1String(picture)))
        return;
    m_alternate = !m_alternate;
}
