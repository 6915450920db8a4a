#include "tpractica.h"

#include "cursors.h"
#include "tform4.h"
#include "tform7.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists. The chooser reads
// like the description chooser: the same links, button and place, a little wider for its
// longer first link.
FormDesign formDesign()
{
    return FormDesign {
        .left = 150,
        .top = 144,
        .width = 429,
        .height = 156,
        .caption = QStringLiteral("Práctica"),
        .centred = true,
    };
}

QFont linkFont()
{
    return Fonts::pixels(QStringLiteral("Times"), 19, Fonts::Style::Bold | Fonts::Style::Underline);
}

/** The room a link keeps from each side of the window. */
constexpr int kSideMargin = 12;

/** The client area's width as designed; the client widget takes its size only once laid out. */
int clientWidth(const Form &form)
{
    return form.design().width - 8;
}

} // namespace

Tpractica::Tpractica()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("practica"));

    auto link = [this](const char *name, const Geometry &geometry) {
        auto *label = new Label(client(), geometry, QString(), true);
        label->setObjectName(QLatin1String(name));
        label->setFont(linkFont());
        label->setTextColor(Qt::blue);
        return label;
    };
    Label2 = link("Label2", { kSideMargin, 24, 397, 22 });
    Label3 = link("Label3", { kSideMargin, 56, 397, 22 });
    setLink(Label2, QStringLiteral("Puesta en funcionamiento del osciloscopio"));
    setLink(Label3, QStringLiteral("Descripción de la práctica"));

    BitBtn1 = new GlyphButton(client(), { 173, 96, 75, 25 }, QStringLiteral("&Cerrar"), ButtonKind::Close);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    connect(Label2, &Label::clicked, this, &Tpractica::Label2Click);
    connect(Label3, &Label::clicked, this, &Tpractica::Label3Click);
    connect(Label2, &Label::mouseMoved, this, &Tpractica::Label2MouseMove);
    connect(Label3, &Label::mouseMoved, this, &Tpractica::Label3MouseMove);
}

void Tpractica::FormCreate()
{
    copyLanguageFlag();
    CursorTable::installHandCursor();
    setLink(Label2,
        pick(u"Puesta en funcionamiento del osciloscopio", u"Posta en funcionamient de l'oscil.loscopi"));
    setLink(Label3, pick(u"Descripción de la práctica", u"Descripció de la pràctica"));
    setWindowTitle(pick(u"Práctica", u"Pràctica"));
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));
}

// Opens a new walkthrough of switching the oscilloscope on.
void Tpractica::Label2Click()
{
    openWindow(Form4);
}

// Opens a new description of the practice: its circuit and its two problems.
void Tpractica::Label3Click()
{
    openWindow(Form7);
}

// Shows the hand cursor over the link to switching the oscilloscope on.
void Tpractica::Label2MouseMove()
{
    Label2->setCursor(CursorTable::cursor(CursorTable::kHand));
}

// Shows the hand cursor over the link to the practice's description.
void Tpractica::Label3MouseMove()
{
    Label3->setCursor(CursorTable::cursor(CursorTable::kHand));
}

void Tpractica::setLink(Label *link, const QString &text)
{
    link->setText(text);
    link->fitWithin(clientWidth(*this) - 2 * kSideMargin);
    link->move((clientWidth(*this) - link->width()) / 2, link->y());
}
