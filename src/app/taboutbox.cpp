#include "taboutbox.h"
#include "embeddedpictures.h"

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .caption = QStringLiteral("Acerca de..."),
        .color = QColor(0xf0, 0xf0, 0xf0),
        .frame = FrameKind::Dialog,
        .centred = true,
        .clientSize = QSize(298, 199),
    };
}

struct CreditLine
{
    Geometry geometry;
    bool bold;
    const char16_t *castilian;
    const char16_t *valencian;
};

constexpr std::array<CreditLine, 6> kCredits = { {
    { { 16, 56, 243, 13 }, false, u"Curso interactivo sobre el osciloscopio",
        u"Curs interactiu sobre l'oscil·loscopi" },
    { { 8, 80, 258, 13 }, false, u"Para la práctica de laboratorio con el HM-203",
        u"Per a la pràctica de laboratori amb l'HM-203" },
    { { 24, 104, 15, 13 }, false, u"©", u"©" },
    { { 48, 104, 86, 13 }, true, u"Equipo Vantela", u"Equip Vantela" },
    { { 144, 104, 92, 13 }, false, u"2026", u"2026" },
    { { 48, 128, 174, 13 }, true, u"Licencia para uso docente", u"Llicència per a ús docent" },
} };

} // namespace

TAboutBox::TAboutBox()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("AboutBox"));
    Panel1 = new Panel(client(), { 8, 8, 281, 153 });
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setBevels(Bevel::Lowered, Bevel::Raised);
    Panel1->setColor(design().color);

    ProgramIcon = new Picture(Panel1, { 8, 0, 49, 33 }, PictureMode::Centred);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPicture(embeddedPicture(EmbeddedPictures::emblem));
    ProgramIcon->setAccessibleName(QStringLiteral("Vantela"));

    Label1 = new Label(Panel1, { 72, 8, 145, 22 }, QStringLiteral("Vantela"), false);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Fonts::pixels(QStringLiteral("Arial"), 19, Fonts::Style::Bold));

    Label5 = new Label(Panel1, { 112, 32, 65, 13 }, QStringLiteral("Versión 1.0"), false);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(Fonts::standard(Fonts::Style::Bold));

    for (int i = 0; i < int(kCredits.size()); ++i) {
        const CreditLine &line = kCredits[i];
        auto *label = new Label(Panel1, line.geometry, QString::fromUtf16(line.castilian), false);
        label->setObjectName(QStringLiteral("Credit%1").arg(i + 1));
        if (line.bold)
            label->setFont(Fonts::standard(Fonts::Style::Bold));
        credits.append(label);
    }

    OKButton = new QPushButton(QStringLiteral("OK"), client());
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 172, 75, 25);
    setDefaultButton(OKButton);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::FormCreate()
{
    copyLanguageFlag();
    Label1->setText(QStringLiteral("Vantela"));
    Label5->setText(pick(u"Versión 1.0", u"Versió 1.0"));
    for (int i = 0; i < int(kCredits.size()); ++i)
        credits[i]->setText(pick(kCredits[i].castilian, kCredits[i].valencian));
}

void TAboutBox::OKButtonClick()
{
    close();
}
