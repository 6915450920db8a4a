#include "tform5.h"

#include "cursors.h"
#include "embeddedpictures.h"

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 19,
        .top = 90,
        .width = 612,
        .height = 361,
        .caption = QString(),
    };
}

struct PanelRow
{
    const char *name;
    Panel *TForm5::*member;
    Geometry geometry;
    int borderWidth;
};

// The ten information panels. They are created after the hot-spots, so an open panel lies above
// the picture and every hot-spot and takes the clicks in its area.
constexpr std::array<PanelRow, 10> kPanels = { {
    { "Ppant", &TForm5::Ppant, { 64, 168, 225, 25 }, 1 },
    { "pbajoi", &TForm5::pbajoi, { 48, 224, 377, 25 }, 1 },
    { "pbajod", &TForm5::pbajod, { 8, 256, 569, 25 }, 1 },
    { "pmedioi", &TForm5::pmedioi, { 280, 152, 185, 33 }, 1 },
    { "pmediod", &TForm5::pmediod, { 384, 152, 169, 25 }, 0 },
    { "psupi", &TForm5::psupi, { 144, 112, 441, 25 }, 1 },
    { "psupd", &TForm5::psupd, { 240, 64, 329, 25 }, 1 },
    { "ppeq", &TForm5::ppeq, { 344, 40, 185, 25 }, 1 },
    { "ppeqi", &TForm5::ppeqi, { 256, 88, 169, 25 }, 1 },
    { "pinfc", &TForm5::pinfc, { 224, 208, 361, 25 }, 1 },
} };

// The order in which every click hides the panels.
constexpr std::array<Panel * TForm5::*, 10> kHideOrder = {
    &TForm5::pbajod,
    &TForm5::pbajoi,
    &TForm5::pmedioi,
    &TForm5::pmediod,
    &TForm5::psupd,
    &TForm5::psupi,
    &TForm5::Ppant,
    &TForm5::ppeq,
    &TForm5::ppeqi,
    &TForm5::pinfc,
};

const QColor kFaceColour(0xf0, 0xf0, 0xf0);

/** Writes one line into an information panel, set a hair tighter where it would be cut. */
void setPanelText(Panel *panel, const QFont &windowFont, const QString &text)
{
    panel->setFont(Fonts::fitted(windowFont, text, panel->width() - 2 * panel->borderWidth()));
    panel->setText(text);
}

} // namespace

TForm5::TForm5()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form5"));

    Image1 = new Picture(client(),
        { kFrontPanelPictureLeft, kFrontPanelPictureTop, kFrontPanelPictureWidth, kFrontPanelPictureHeight },
        PictureMode::Stretched);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(embeddedPicture(EmbeddedPictures::frontPanel));

    einf2 = new Label(client(), { 64, 8, 25, 13 }, QString(), true);
    einf2->setObjectName(QStringLiteral("einf2"));
    einf2->setFont(Fonts::standard(Fonts::Style::Bold));
    einf2->setTextColor(QColor(0x00, 0x80, 0x00));

    einf1 = new Label(client(), { 152, 280, 309, 17 }, QString(), true);
    einf1->setObjectName(QStringLiteral("einf1"));
    einf1->setFont(Fonts::pixels(QStringLiteral("Times"), 15));
    einf1->setTextColor(Qt::black);

    BitBtn1 = new GlyphButton(client(), { 272, 304, 75, 25 }, QString(), ButtonKind::Ok);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm5::BitBtn1Click);

    // In table order: a later hot-spot lies on top and takes the clicks where two overlap.
    for (const FrontPanelSpot &spot : kFrontPanelSpots) {
        auto *hotSpot
            = new HotSpot(client(), { spot.rect.left, spot.rect.top, spot.rect.width, spot.rect.height },
                QString::fromUtf16(spot.hint));
        hotSpot->setObjectName(QLatin1String(spot.name));
        if (spot.castilian)
            connect(hotSpot, &HotSpot::clicked, this, [this, &spot] { hotSpotClick(spot); });
        if (spot.handPointer)
            connect(hotSpot, &HotSpot::mouseMoved, this, [this, hotSpot] { hotSpotMouseMove(hotSpot); });
        m_hotSpots.append(hotSpot);
    }

    for (const PanelRow &row : kPanels) {
        auto *panel = new Panel(client(), row.geometry);
        panel->setObjectName(QLatin1String(row.name));
        panel->setBevels(Bevel::None, Bevel::None);
        panel->setBorderWidth(row.borderWidth);
        panel->setColor(kFaceColour);
        panel->hide();
        connect(panel, &Panel::clicked, this, [this, panel] { panelClick(panel); });
        this->*row.member = panel;
        m_panels.append(panel);
    }
}

void TForm5::FormCreate()
{
    CursorTable::installHandCursor();
    copyLanguageFlag();
    setWindowTitle(pick(u"Mandos del Osciloscopio", u"Comandaments de l'oscil.loscopi"));
    BitBtn1->setText(pick(u"&Cerrar", u"Tancar"));
    einf1->setText(pick(u"Pulsar sobre la zona de la que se desee obtener información",
        u"Polsar sobre la zona de la que es desitge obtindre informació"));
}

void TForm5::FormActivate()
{
    inicializacion();
}

// Closes the window.
void TForm5::BitBtn1Click()
{
    close();
}

void TForm5::inicializacion()
{
    for (Panel *TForm5::*member : kHideOrder)
        (this->*member)->hide();
}

void TForm5::hotSpotClick(const FrontPanelSpot &spot)
{
    Panel *target = panel(QLatin1String(spot.panel));
    if (!target)
        return;
    inicializacion();
    if (spot.warningCastilian) {
        // The warning is only ever seen in red: every other click empties it.
        einf2->setTextColor(Qt::red);
        setPanelText(target, design().font, pick(spot.castilian, spot.valencian));
        einf2->setText(pick(spot.warningCastilian, spot.warningValencian));
        target->show();
    } else {
        setPanelText(target, design().font, pick(spot.castilian, spot.valencian));
        target->show();
        einf2->setText(QString());
    }
}

void TForm5::hotSpotMouseMove(HotSpot *spot)
{
    spot->setCursor(CursorTable::cursor(CursorTable::kHand));
}

void TForm5::panelClick(Panel *panel)
{
    panel->hide();
}

HotSpot *TForm5::hotSpot(const QString &name) const
{
    for (HotSpot *spot : m_hotSpots)
        if (spot->objectName() == name)
            return spot;
    return nullptr;
}

Panel *TForm5::panel(const QString &name) const
{
    for (Panel *panel : m_panels)
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}
