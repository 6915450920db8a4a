#include "taparato.h"

#include "cursors.h"
#include "tform5.h"
#include "tform6.h"

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 181,
        .top = 144,
        .width = 357,
        .height = 156,
        .caption = QStringLiteral("Descripción del aparato"),
        .centred = true,
    };
}

QFont linkFont()
{
    return Fonts::pixels(QStringLiteral("Times"), 19, Fonts::Style::Bold | Fonts::Style::Underline);
}

} // namespace

Taparato::Taparato()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("aparato"));

    Label1
        = new Label(client(), { 32, 24, 297, 33 }, QStringLiteral("Tubo de rayos catódicos (T.R.C.)"), false);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(linkFont());
    Label1->setTextColor(Qt::blue);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // Sizes itself to its text from its left edge: a longer caption reaches further right.
    Label2 = new Label(client(), { 88, 56, 186, 22 }, QString(), true);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(linkFont());
    Label2->setTextColor(Qt::blue);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setText(QStringLiteral("Mandos del osciloscopio"));

    BitBtn1 = new GlyphButton(client(), { 144, 96, 75, 25 }, QStringLiteral("&Cerrar"), ButtonKind::Close);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    connect(Label1, &Label::clicked, this, &Taparato::Label1Click);
    connect(Label2, &Label::clicked, this, &Taparato::Label2Click);
    connect(Label1, &Label::mouseMoved, this, &Taparato::Label1MouseMove);
    connect(Label2, &Label::mouseMoved, this, &Taparato::Label2MouseMove);
}

void Taparato::FormCreate()
{
    copyLanguageFlag();
    CursorTable::installHandCursor();
    Label1->setText(pick(u"Tubo de rayos catódicos (T.R.C.)", u"Tub de raigs catòdics (T.R.C.)"));
    // The longer Valencian link grows right from the same left edge and must still end inside.
    const QString controls = pick(u"Mandos del osciloscopio", u"Comandaments de l'oscil.loscopi");
    Label2->setFont(Fonts::fitted(linkFont(), controls, design().width - 8 - Label2->x() - 1));
    Label2->setText(controls);
    setWindowTitle(pick(u"Descripción del aparato", u"Descripció de l'aparell"));
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));
}

// Opens a new description of the cathode-ray tube.
void Taparato::Label1Click()
{
    openWindow(Form6);
}

// Opens a new explorer of the oscilloscope's front-panel controls.
void Taparato::Label2Click()
{
    openWindow(Form5);
}

// Shows the hand cursor over the link to the cathode-ray tube.
void Taparato::Label1MouseMove()
{
    Label1->setCursor(CursorTable::cursor(CursorTable::kHand));
}

// Shows the hand cursor over the link to the front-panel controls.
void Taparato::Label2MouseMove()
{
    Label2->setCursor(CursorTable::cursor(CursorTable::kHand));
}
