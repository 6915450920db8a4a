#include "tform22.h"

#include "referencestyle.h"
#include "tform21.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 343,
        .top = 5,
        .width = 293,
        .height = 447,
        .caption = QStringLiteral("Etapa Horizontal"),
        .color = ReferenceStyle::litEdgeColour(),
        .font = Fonts::pixels(QStringLiteral("MS Sans Serif"), 11),
        // The three texts reach down to the close button; the window scrolls over them.
        .scrollHeight = 1745,
    };
}

} // namespace

const QList<TForm22::Figure> &TForm22::figureTable()
{
    // The front panel needs no translation; the other figures carry words.
    static const QList<Figure> table = {
        { "BitBtn1", u"org2c.bmp", u"org2v.bmp", { 15, 52, 323, 315 } },
        { "BitBtn3", u"panel4.bmp", u"panel4.bmp", { 15, 52, 316, 272 } },
        { "BitBtn4", u"barridoc.bmp", u"barridov.bmp", { 1, 1, 335, 448 } },
    };
    return table;
}

TForm22::TForm22()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form22"));
    const QColor ground = design().color;
    RichEdit1 = ReferenceStyle::pane(client(), "RichEdit1", { 8, 16, 249, 505 }, ground);
    Label1 = ReferenceStyle::heading(
        client(), "Label1", { 64, 520, 125, 17 }, QStringLiteral("Circuito de disparo"));
    RichEdit2 = ReferenceStyle::pane(client(), "RichEdit2", { 8, 560, 249, 609 }, ground);
    Label2 = ReferenceStyle::heading(
        client(), "Label2", { 64, 1192, 141, 17 }, QStringLiteral("Generador de barrido"));
    RichEdit3 = ReferenceStyle::pane(client(), "RichEdit3", { 8, 1224, 249, 481 }, ground);
    // The student may type into the texts; nothing typed is kept.
    for (RichTextPane *pane : { RichEdit1, RichEdit2, RichEdit3 })
        pane->setAcceptsTyping(true);

    BitBtn1 = ReferenceStyle::figureButton(client(), "BitBtn1", 208, 552);
    BitBtn3 = ReferenceStyle::figureButton(client(), "BitBtn3", 128, 1112);
    BitBtn4 = ReferenceStyle::figureButton(client(), "BitBtn4", 88, 1472);
    BitBtn2 = ReferenceStyle::closeButton(client(), "BitBtn2", { 88, 1720, 75, 25 });
    connect(BitBtn1, &QPushButton::clicked, this, &TForm22::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm22::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm22::BitBtn4Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm22::BitBtn2Click);
}

void TForm22::FormCreate()
{
    copyLanguageFlag();
    // The figure window comes first, so it stands behind the text once both are shown.
    TForm21 *figures = createWindow(Form21);
    pairWindows(this, figures);
    figures->showWindow();

    BitBtn1->setAccessibleName(pick(u"Figura: organización de la etapa", u"Figura: organització de l'etapa"));
    BitBtn3->setAccessibleName(pick(u"Figura: panel frontal", u"Figura: panell frontal"));
    BitBtn4->setAccessibleName(pick(u"Figura: señales del barrido", u"Figura: senyals de l'escombratge"));

    // A text that cannot be read stops here: what follows keeps its design text.
    setWindowTitle(pick(u"Etapa Horizontal", u"Etapa Horitzontal"));
    if (!RichEdit1->loadFromFile(pick(u"ehorc1.rtf", u"ehorv1.rtf")))
        return;
    Label1->setText(pick(u"Circuito de disparo", u"Circuit de disparament"));
    if (!RichEdit2->loadFromFile(pick(u"ehorizc2.rtf", u"ehorizv2.rtf")))
        return;
    Label2->setText(pick(u"Generador de barrido", u"Generador d'escaneig"));
    if (!RichEdit3->loadFromFile(pick(u"ehoriz3c.rtf", u"ehoriz3v.rtf")))
        return;
    BitBtn2->setText(pick(u"&Cerrar", u"&Tancar"));
}

void TForm22::FormHide()
{
    closePartner();
}

// Closes this window and its figure window.
void TForm22::BitBtn2Click()
{
    closePartner();
    close();
}

void TForm22::figureClick(int figure)
{
    TForm21 *figures = partner();
    if (figure < 0 || figure >= figureTable().size() || !figures)
        return;
    const Figure &row = figureTable()[figure];
    // A figure that cannot be read leaves the window's figure, size and place as they were.
    if (!figures->showFigure(pick(row.castilianPicture, row.valencianPicture)))
        return;
    ReferenceStyle::setWindowBounds(figures, row.window);
}
