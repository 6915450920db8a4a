#include "tform7.h"

#include "cursors.h"
#include "embeddedpictures.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 70,
        .top = 87,
        .width = 538,
        .height = 366,
        .caption = QStringLiteral("Realización de la práctica"),
    };
}

QFont headingFont()
{
    return Fonts::points(QStringLiteral("Times New Roman"), 11, Fonts::Style::Bold);
}

QFont linkFont()
{
    return Fonts::points(QStringLiteral("Times New Roman"), 11, Fonts::Style::Bold | Fonts::Style::Underline);
}

const QColor kLight3D(0xdf, 0xdf, 0xdf);
constexpr int kPanelBorder = 4;
constexpr int kMargin = 8;

/** The client area's width as designed; the client widget takes its size only once laid out. */
int clientWidth(const Form &form)
{
    return form.design().width - 8;
}

} // namespace

TForm7::TForm7()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form7"));

    Image1 = new Picture(client(), { 96, 48, 345, 217 });
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(embeddedPicture(EmbeddedPictures::practiceCircuit));

    Label1 = new Label(client(), { 8, 8, 513, 17 }, QString(), true);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(headingFont());
    setLine(Label1,
        QStringLiteral("Realizar el circuito de la figura, teniendo en cuenta que las conexiones a tierra "));

    Label2 = new Label(client(), { 48, 32, 428, 17 }, QString(), true);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(headingFont());
    setLine(Label2, QStringLiteral("del generador de funciones y de los canales I y II deben coincidir."));

    // Lies over the picture, on the oscilloscope's box, and names it in the window's language.
    Label5 = new Label(client(), { 128, 128, 84, 15 }, QStringLiteral("Osciloscopio"), true);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(Fonts::points(QStringLiteral("Courier New"), 9));

    pprobl = new Panel(client(), { 24, 248, 473, 25 });
    pprobl->setObjectName(QStringLiteral("pprobl"));
    pprobl->setBevels(Bevel::None, Bevel::None);
    pprobl->setBorderWidth(kPanelBorder);
    pprobl->setColor(kLight3D);
    pprobl->hide();
    connect(pprobl, &Panel::clicked, this, &TForm7::pproblClick);

    auto link = [this](const char *name, const Geometry &geometry, const QString &text) {
        auto *label = new Label(client(), geometry, QString(), true);
        label->setObjectName(QLatin1String(name));
        label->setFont(linkFont());
        label->setTextColor(Qt::blue);
        label->setText(text);
        return label;
    };
    Label3 = link("Label3", { 96, 280, 74, 17 }, QStringLiteral("Problema 1"));
    Label4 = link("Label4", { 320, 280, 74, 17 }, QStringLiteral("Problema 2"));
    connect(Label3, &Label::clicked, this, &TForm7::Label3Click);
    connect(Label4, &Label::clicked, this, &TForm7::Label4Click);
    connect(Label3, &Label::mouseMoved, this, &TForm7::Label3MouseMove);
    connect(Label4, &Label::mouseMoved, this, &TForm7::Label4MouseMove);

    BitBtn1 = new GlyphButton(client(), { 208, 304, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
}

void TForm7::FormCreate()
{
    CursorTable::installHandCursor();
    copyLanguageFlag();
    // The title reads the same in both languages and is left as it is.
    setLine(Label1,
        pick(u"Realizar el circuito de la figura, teniendo en cuenta que las conexiones a tierra",
            u"Realitzar el circuit de la figura, tenint en compte que les conexions a terra"));
    setLine(Label2,
        pick(u"del generador de funciones y de los canales I y II deben coincidir.",
            u"del generador de funcions i dels canals I i II han de coincidir."));
    Label5->setText(pick(u"Osciloscopio", u"Oscil.loscopi"));
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));
}

void TForm7::FormActivate()
{
    pprobl->hide();
}

// Shows the first problem: amplitude, period, frequency and pulsation of both signals.
void TForm7::Label3Click()
{
    showProblem(
        pick(u"Hallar la amplitud (Ue y Ur), el periodo, la frecuencia, y la pulsación de ambas señales.",
            u"Hallar l'amplitud (Ue i Ur), el periode, la freqüència, i la polsació de ambdós senyals."));
}

// Shows the second problem: the phase angle between the signals, in dual mode and by Lissajous figures.
void TForm7::Label4Click()
{
    showProblem(
        pick(u"Hallar el ángulo de desfase entre las dos señales por el métododual y el de las figuras de "
             u"lissajous.",
            u"Hallar l'àngle de desfasament entre els dos senyals pel mètodedual i el de les figures de "
            u"lissajous."));
}

// Shows the hand cursor over the link to the first problem.
void TForm7::Label3MouseMove()
{
    Label3->setCursor(CursorTable::cursor(CursorTable::kHand));
}

// Shows the hand cursor over the link to the second problem.
void TForm7::Label4MouseMove()
{
    Label4->setCursor(CursorTable::cursor(CursorTable::kHand));
}

void TForm7::pproblClick()
{
    pprobl->hide();
}

// Closes the window.
void TForm7::BitBtn1Click()
{
    close();
}

void TForm7::showProblem(const QString &statement)
{
    pprobl->hide();
    // One line in the panel's room, set closer rather than cut at its edges.
    pprobl->setFont(Fonts::fitted(design().font, statement, pprobl->width() - 2 * kPanelBorder));
    pprobl->setText(statement);
    pprobl->show();
}

void TForm7::setLine(Label *label, const QString &text)
{
    label->setText(text);
    label->fitWithin(clientWidth(*this) - kMargin - label->x());
}
