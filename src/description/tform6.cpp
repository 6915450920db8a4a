#include "tform6.h"

#include "cursors.h"
#include "embeddedpictures.h"

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 39,
        .top = 109,
        .width = 583,
        .height = 331,
        .caption = QString(),
    };
}

// The labels' members, in the order of the part table.
constexpr std::array<Label * TForm6::*, 6> kPartMembers = {
    &TForm6::efil,
    &TForm6::ecat,
    &TForm6::erej,
    &TForm6::Label1,
    &TForm6::eph,
    &TForm6::epan,
};

const QColor kFaceColour(0xf0, 0xf0, 0xf0);

} // namespace

TForm6::TForm6()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form6"));

    Image1 = new Picture(client(),
        { kTubePictureLeft, kTubePictureTop, kTubePictureWidth, kTubePictureHeight }, PictureMode::Stretched);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(embeddedPicture(EmbeddedPictures::tube));

    for (int i = 0; i < int(kTubeParts.size()); ++i) {
        const TubePart &part = kTubeParts[i];
        auto *label = new Label(
            client(), { part.rect.left, part.rect.top, part.rect.width, part.rect.height }, QString(), true);
        label->setObjectName(QLatin1String(part.name));
        label->setFont(Fonts::pixels(QStringLiteral("MS Sans Serif"), 13, Fonts::Style::Underline));
        label->setTextColor(QColor::fromRgb(part.colour));
        label->setText(QString::fromUtf16(part.captionCastilian));
        connect(label, &Label::clicked, this, [this, &part] { partClick(part); });
        connect(label, &Label::mouseMoved, this, [this, label] { partMouseMove(label); });
        this->*kPartMembers[i] = label;
        m_partLabels.append(label);
    }

    auto arrow = [this](const TubeArrow &design) {
        auto *label = new Label(client(),
            { design.rect.left, design.rect.top, design.rect.width, design.rect.height }, QString(), false);
        label->setObjectName(QLatin1String(design.name));
        label->setFont(Fonts::pixels(QStringLiteral("Symbol"), 13, Fonts::Style::Bold));
        label->setTextColor(QColor::fromRgb(kTubeBlue));
        label->setAlignment(Qt::AlignCenter);
        label->setSymbolText(QString(QChar(design.symbolCode)));
        return label;
    };
    Label2 = arrow(kTubeUpArrow);
    Label3 = arrow(kTubeDownArrow);

    BitBtn1 = new GlyphButton(client(), { 256, 272, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);

    auto textPanel = [this](QWidget *parent, const char *name, const Geometry &geometry) {
        auto *panel = new Panel(parent, geometry);
        panel->setObjectName(QLatin1String(name));
        panel->setBevels(Bevel::None, Bevel::None);
        panel->setColor(kFaceColour);
        return panel;
    };
    Panel2 = textPanel(client(), "Panel2", { 8, 32, 433, 25 });
    Panel4 = textPanel(client(), "Panel4", { 8, 56, 433, 25 });
    Panel1 = textPanel(client(), "Panel1", { 48, 192, 465, 25 });
    Panel3 = textPanel(client(), "Panel3", { 48, 216, 465, 25 });
    // A raised panel left inside the bottom box's first line; only its top edge falls within it.
    pp = new Panel(Panel1, { 8, 24, 185, 41 });
    pp->setObjectName(QStringLiteral("pp"));
    pp->setBevels(Bevel::Raised, Bevel::None);
    pp->setColor(kFaceColour);
    pp->setText(QStringLiteral("pp"));

    connect(Panel2, &Panel::clicked, this, &TForm6::Panel2Click);
    connect(Panel4, &Panel::clicked, this, &TForm6::Panel2Click);
    connect(Panel1, &Panel::clicked, this, &TForm6::Panel1Click);
    connect(Panel3, &Panel::clicked, this, &TForm6::Panel1Click);
}

void TForm6::FormCreate()
{
    CursorTable::installHandCursor();
    copyLanguageFlag();
    setWindowTitle(pick(u"Descripción del tubo de rayos catódicos", u"Descripció del tub de raigs catòdics"));
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));
    for (int i = 0; i < int(kTubeParts.size()); ++i)
        m_partLabels[i]->setText(pick(kTubeParts[i].captionCastilian, kTubeParts[i].captionValencian));
}

void TForm6::FormActivate()
{
    ini();
}

// Closes the window.
void TForm6::BitBtn1Click()
{
    close();
}

void TForm6::ini()
{
    Panel1->hide();
    Panel2->hide();
    Panel3->hide();
    Panel4->hide();
}

// Hides the explanation in the box at the bottom of the drawing, both its lines.
void TForm6::Panel1Click()
{
    Panel1->hide();
    Panel3->hide();
}

// Hides the explanation in the box at the top of the drawing, both its lines.
void TForm6::Panel2Click()
{
    Panel2->hide();
    Panel4->hide();
}

void TForm6::partClick(const TubePart &part)
{
    ini();
    const bool top = part.box == TubePart::Box::Top;
    Panel *first = top ? Panel2 : Panel1;
    Panel *second = top ? Panel4 : Panel3;
    setLine(first, pick(part.firstCastilian, part.firstValencian));
    first->show();
    // A one-line explanation leaves the box's second line hidden.
    if (part.secondCastilian) {
        setLine(second, pick(part.secondCastilian, part.secondValencian));
        second->show();
    }
}

void TForm6::setLine(Panel *line, const QString &text)
{
    // The lines have no border: the whole width holds the text, set a hair tighter where it would be cut.
    line->setFont(Fonts::fitted(design().font, text, line->width()));
    line->setText(text);
}

void TForm6::partMouseMove(Label *label)
{
    label->setCursor(CursorTable::cursor(CursorTable::kHand));
}

Label *TForm6::partLabel(const QString &name) const
{
    for (Label *label : m_partLabels)
        if (label->objectName() == name)
            return label;
    return nullptr;
}
