#include "tform19.h"

#include "referencestyle.h"
#include "tform20.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 361,
        .top = 5,
        .width = 279,
        .height = 441,
        .caption = QStringLiteral("Etapa Vertical"),
        .color = ReferenceStyle::litEdgeColour(),
        .font = Fonts::pixels(QStringLiteral("Times New Roman"), 15),
        // The text and its buttons reach down to the close button; the window scrolls over them.
        .scrollHeight = 1249,
    };
}

} // namespace

TForm19::TForm19()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form19"));
    RichEdit1 = ReferenceStyle::pane(client(), "RichEdit1", { 8, 8, 241, 1201 }, design().color);

    // The buttons lie over the text, beside the passages whose figures they show.
    BitBtn1 = ReferenceStyle::figureButton(client(), "BitBtn1", 184, 176);
    BitBtn2 = ReferenceStyle::figureButton(client(), "BitBtn2", 184, 376);
    BitBtn3 = ReferenceStyle::figureButton(client(), "BitBtn3", 176, 696);
    BitBtn4 = ReferenceStyle::figureButton(client(), "BitBtn4", 176, 1040);
    BitBtn5 = ReferenceStyle::closeButton(client(), "BitBtn5", { 88, 1224, 65, 25 });
    connect(BitBtn1, &QPushButton::clicked, this, &TForm19::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm19::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm19::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm19::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm19::BitBtn5Click);
}

void TForm19::FormCreate()
{
    copyLanguageFlag();
    BitBtn5->setText(pick(u"&Cerrar", u"&Tancar"));
    // The figure buttons carry no caption; screen readers name them by the figure they show.
    BitBtn1->setAccessibleName(pick(u"Figura: circuito de entrada", u"Figura: circuit d'entrada"));
    for (GlyphButton *button : { BitBtn2, BitBtn3, BitBtn4 })
        button->setAccessibleName(pick(u"Figura: panel frontal", u"Figura: panell frontal"));
    RichEdit1->setAccessibleName(windowTitle());
    RichEdit1->loadFromFile(pick(u"evertc.rtf", u"evertv.rtf"));
}

void TForm19::FormHide()
{
    closePartner();
}

// Shows in the figure window the selector, attenuator and sensitivity circuit, with their headings.
void TForm19::BitBtn1Click()
{
    TForm20 *figures = partner();
    if (!figures)
        return;
    // A circuit that cannot be read leaves the figure and its heading as they were.
    if (!figures->Image1->loadFromFile(QStringLiteral("circui.bmp")))
        return;
    figures->Label1->setText(
        pick(u"   Selector     Atenuador     Sensibilidad", u"   Selector     Atenuador     Sensibilitat"));
}

// Shows on the figure window's front panel each channel's input: socket, coupling and VOLTS/DIV.
void TForm19::BitBtn2Click()
{
    if (partner())
        partner()->Image2->loadFromFile(QStringLiteral("panel1.bmp"));
}

// Shows on the figure window's front panel each channel's Y position and the inversion of channel I.
void TForm19::BitBtn3Click()
{
    if (partner())
        partner()->Image2->loadFromFile(QStringLiteral("panel2.bmp"));
}

// Shows on the figure window's front panel the channel modes: one channel, DUAL, ADD and X-Y.
void TForm19::BitBtn4Click()
{
    if (partner())
        partner()->Image2->loadFromFile(QStringLiteral("panel3.bmp"));
}

// Closes this window and its figure window.
void TForm19::BitBtn5Click()
{
    close();
    closePartner();
}
