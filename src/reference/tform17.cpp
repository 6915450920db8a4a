#include "tform17.h"

#include "referencestyle.h"
#include "tform18.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 337,
        .top = 11,
        .width = 297,
        .height = 438,
        .caption = QStringLiteral("Ociloscopios de doble canal"),
        .color = ReferenceStyle::litEdgeColour(),
        .font = Fonts::pixels(QStringLiteral("MS Sans Serif"), 11),
        // The text reaches down to the close button; the window scrolls over it.
        .scrollHeight = 809,
    };
}

} // namespace

const QList<TForm17::Figure> &TForm17::figureTable()
{
    static const QList<Figure> table = {
        { "BitBtn2", u"Barrido alternado", u"Escaneig alternat", u"fig23.bmp", u"fig23v.bmp" },
        { "BitBtn3", u"Barrido muestreado", u"Escaneig de mostreig", u"fig22.bmp", u"fig22v.bmp" },
    };
    return table;
}

TForm17::TForm17()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form17"));
    RichEdit1 = ReferenceStyle::pane(client(), "RichEdit1", { 0, 16, 273, 761 }, design().color);
    // The student may type into the text; nothing typed is kept.
    RichEdit1->setAcceptsTyping(true);
    BitBtn1 = ReferenceStyle::closeButton(client(), "BitBtn1", { 112, 784, 75, 25 });
    BitBtn2 = ReferenceStyle::figureButton(client(), "BitBtn2", 72, 128);
    BitBtn3 = ReferenceStyle::figureButton(client(), "BitBtn3", 72, 464);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm17::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm17::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm17::BitBtn3Click);
}

void TForm17::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Ociloscopios de doble canal", u"Oscil.loscopis de doble canal"));
    // The figure buttons carry no caption; screen readers name them by the figure they show.
    const QList<Figure> &table = figureTable();
    BitBtn2->setAccessibleName(pick(table[0].castilianTitle, table[0].valencianTitle));
    BitBtn3->setAccessibleName(pick(table[1].castilianTitle, table[1].valencianTitle));
    RichEdit1->setAccessibleName(windowTitle());
    // A text that cannot be read leaves the pane empty and the button with its design caption.
    if (!RichEdit1->loadFromFile(pick(u"dcanalc.rtf", u"dcanalv.rtf")))
        return;
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));
}

void TForm17::FormHide()
{
    closePartner();
}

// Closes this window and its figure window.
void TForm17::BitBtn1Click()
{
    closePartner();
    close();
}

void TForm17::figureClick(int figure)
{
    TForm18 *figures = partner();
    if (figure < 0 || figure >= figureTable().size() || !figures)
        return;
    const Figure &row = figureTable()[figure];
    // A figure that cannot be read leaves the previous one under the new title.
    figures->setWindowTitle(pick(row.castilianTitle, row.valencianTitle));
    figures->showFigure(pick(row.castilianPicture, row.valencianPicture));
}
