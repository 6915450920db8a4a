#include "tform8.h"

#include "cursors.h"
#include "embeddedpictures.h"
#include "utilitiespages.h"

#include <QStackedWidget>

#include <array>

using namespace UtilitiesPages;

// The pages' labels and texts are rows of UtilitiesPages; what follows is the window's frame, its
// panels and the setting of the labels' lines, which the creation and the handlers share.
namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 4,
        .top = -5,
        .width = 632,
        .height = 454,
        .caption = QString(),
    };
}

/** The page control's raised edge; the pages lie inside it. */
constexpr int kPageInset = 4;
constexpr int kPageWidth = 624 - 2 * kPageInset;
/** How close to the page's right edge a line of text may come. */
constexpr int kRightMargin = 4;

/**
 * Whether two fragments would read as one word if set edge to edge: a word that ends in a Latin
 * letter and a letter after it ("Xsen" then omega). A Greek letter runs into the t after it.
 */
bool needsSpace(const Label *before, const Label *after)
{
    const QString a = before->text();
    const QString b = after->text();
    return !a.isEmpty() && !b.isEmpty() && a.back().isLetter() && a.back().unicode() < 0x370
        && b.front().isLetter();
}

const QColor kPanelColour(0xdf, 0xdf, 0xdf);
constexpr int kPanelBorder = 4;

/** An explanation panel of the sine-wave page, bound to the member its handlers reach it by. */
struct PanelRow
{
    const char *name;
    Panel *TForm8::*member;
    Geometry geometry;
};

// Made after the zones, so an open panel lies above the picture and the zones.
constexpr std::array<PanelRow, 3> kPanels = { {
    { "put", &TForm8::put, { 128, 128, 401, 25 } },
    { "pw", &TForm8::pw, { 120, 208, 393, 25 } },
    { "pij", &TForm8::pij, { 64, 240, 529, 25 } },
} };

} // namespace

TForm8::TForm8()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form8"));

    PageControl1 = new QStackedWidget(client());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 624, 427);
    PageControl1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PageControl1->setLineWidth(2);
    PageControl1->setContentsMargins(2, 2, 2, 2);
    const auto addPage = [this](const char *name) {
        auto *page = new QWidget;
        page->setObjectName(QLatin1String(name));
        PageControl1->addWidget(page);
        return page;
    };
    pag1 = addPage("pag1");
    pag3 = addPage("pag3");
    pag4 = addPage("pag4");
    pag5 = addPage("pag5");
    pag6 = addPage("pag6");
    pag7 = addPage("pag7");

    const auto picture
        = [](QWidget *page, const char *name, const Geometry &geometry, PictureMode mode, const char *file) {
              auto *control = new Picture(page, geometry, mode);
              control->setObjectName(QLatin1String(name));
              control->setPicture(embeddedPicture(QLatin1String(file)));
              return control;
          };

    // The index.
    imsen = picture(pag1, "imsen", { 0, 16, 129, 105 }, PictureMode::Plain, EmbeddedPictures::utilitiesSine);
    imdual
        = picture(pag1, "imdual", { 0, 120, 129, 105 }, PictureMode::Plain, EmbeddedPictures::utilitiesDual);
    imlis = picture(pag1, "imlis", { 0, 224, 129, 105 }, PictureMode::Plain, EmbeddedPictures::utilitiesXy);
    RichEdit1 = new RichTextPane(pag1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(136, 32, 441, 273);
    RichEdit1->setFont(Fonts::points(QStringLiteral("Times New Roman"), 11));
    RichEdit1->setBackgroundColor(Qt::white);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BitBtn1 = new GlyphButton(pag1, { 512, 376, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm8::BitBtn1Click);

    // The sine wave, with its click zones and the panels they open.
    imsenoide = picture(pag3, "imsenoide",
        { kSinePictureLeft, kSinePictureTop, kSinePictureWidth, kSinePictureHeight }, PictureMode::Centred,
        EmbeddedPictures::utilitiesSineWave);
    for (const SineZone &zone : kSineZones) {
        auto *spot = new HotSpot(pag3, { zone.rect.left, zone.rect.top, zone.rect.width, zone.rect.height },
            QString::fromUtf16(zone.hint));
        spot->setObjectName(QLatin1String(zone.name));
        connect(spot, &HotSpot::clicked, this, [this, &zone] { zoneClick(zone); });
        connect(spot, &HotSpot::mouseMoved, this, [this, spot] { handMouseMove(spot); });
        m_zones.insert(spot->objectName(), spot);
    }
    for (const PanelRow &row : kPanels) {
        auto *panel = new Panel(pag3, row.geometry);
        panel->setObjectName(QLatin1String(row.name));
        panel->setBevels(Bevel::None, Bevel::None);
        panel->setBorderWidth(kPanelBorder);
        panel->setColor(kPanelColour);
        panel->hide();
        connect(panel, &Panel::clicked, this, [this, panel] { panelClick(panel); });
        this->*row.member = panel;
    }

    imcomp = picture(
        pag4, "imcomp", { 168, 32, 281, 281 }, PictureMode::Plain, EmbeddedPictures::utilitiesPhase);
    imosc = picture(
        pag5, "imosc", { 24, -8, 561, 249 }, PictureMode::Centred, EmbeddedPictures::utilitiesScope);
    imdesdual = picture(pag6, "imdesdual", { 128, 108, 360, 290 }, PictureMode::Plain,
        EmbeddedPictures::utilitiesDualMeasure);
    imdeslis = picture(
        pag7, "imdeslis", { 16, 52, 260, 200 }, PictureMode::Plain, EmbeddedPictures::utilitiesXyMeasure);
    pant
        = picture(pag7, "pant", { 300, 56, 220, 180 }, PictureMode::Plain, EmbeddedPictures::utilitiesScreen);

    for (const LabelRow &row : kLabels) {
        QWidget *parent = page(row.page);
        auto *label = new Label(parent, row.geometry, QString(), true);
        label->setObjectName(QLatin1String(row.name));
        label->setFont(lookFont(row.look));
        label->setTextColor(lookColour(row.look));
        if (isSymbol(row.look))
            label->setSymbolText(QString::fromUtf16(row.caption));
        else
            label->setText(QString::fromUtf16(row.caption ? row.caption : textRow(row.name)->castilian));
        m_labels.insert(label->objectName(), label);
    }
    eutil = label(QStringLiteral("eutil"));
    ecarac = label(QStringLiteral("ecarac"));
    eang = label(QStringLiteral("eang"));
    emed = label(QStringLiteral("emed"));
    Label31 = label(QStringLiteral("Label31"));
    Label34 = label(QStringLiteral("Label34"));
    const std::array<std::pair<Label *, void (TForm8::*)()>, 5> links = { {
        { ecarac, &TForm8::ecaracClick },
        { eang, &TForm8::eangClick },
        { emed, &TForm8::emedClick },
        { Label31, &TForm8::Label31Click },
        { Label34, &TForm8::Label34Click },
    } };
    for (const auto &[link, handler] : links) {
        connect(link, &Label::clicked, this, handler);
        connect(link, &Label::mouseMoved, this, [this, link] { handMouseMove(link); });
    }

    SpeedButton2 = backButton(pag3, "SpeedButton2", { 24, 384, 33, 25 });
    SpeedButton3 = backButton(pag4, "SpeedButton3", { 8, 392, 33, 25 });
    SpeedButton4 = backButton(pag5, "SpeedButton4", { 8, 392, 33, 25 });
    SpeedButton5 = backButton(pag6, "SpeedButton5", { 8, 392, 33, 25 });
    SpeedButton6 = backButton(pag7, "SpeedButton6", { 8, 392, 33, 25 });
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm8::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm8::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TForm8::SpeedButton4Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &TForm8::SpeedButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &TForm8::SpeedButton6Click);

    const auto screenButton = [this](const char *name, const Geometry &geometry, const QString &caption) {
        auto *button = new GlyphButton(pag7, geometry, caption);
        button->setObjectName(QLatin1String(name));
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    SpeedButton7 = screenButton("SpeedButton7", { 532, 104, 65, 25 }, QStringLiteral("DUAL"));
    SpeedButton8 = screenButton("SpeedButton8", { 532, 140, 65, 25 }, QStringLiteral("X-Y"));
    connect(SpeedButton7, &QPushButton::clicked, this, &TForm8::SpeedButton7Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &TForm8::SpeedButton8Click);

    layoutLines();
    PageControl1->setCurrentWidget(pag1);
}

GlyphButton *TForm8::backButton(QWidget *page, const char *name, const Geometry &geometry)
{
    auto *button = new GlyphButton(page, geometry, QString());
    button->setObjectName(QLatin1String(name));
    button->setGlyph(embeddedPicture(EmbeddedPictures::backGlyph));
    // A speed button never takes the focus from the page.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TForm8::FormCreate()
{
    CursorTable::installHandCursor();
    setWindowTitle(QString());
    copyLanguageFlag();

    // The buttons without a caption are named for screen readers by what they do.
    const QString back = pick(u"Volver", u"Tornar");
    for (GlyphButton *button : { SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6 }) {
        button->setToolTip(back);
        button->setAccessibleName(back);
    }
    SpeedButton7->setToolTip(pick(u"Las dos señales en modo dual", u"Els dos senyals en mode dual"));
    SpeedButton8->setToolTip(pick(u"Las dos señales en modo X-Y", u"Els dos senyals en mode X-Y"));

    for (const TextRow &row : kTexts) {
        const QString name = QLatin1String(row.name);
        if (name == QLatin1String("BitBtn1")) {
            BitBtn1->setText(pick(row.castilian, row.valencian));
        } else if (name == QLatin1String("RichEdit1")) {
            // A text that cannot be read leaves every later text as designed.
            if (!RichEdit1->loadFromFile(pick(row.castilian, row.valencian)))
                return;
        } else {
            label(name)->setText(pick(row.castilian, row.valencian));
        }
    }
    layoutLines();
}

void TForm8::layoutLines()
{
    // Long sentences stay whole: set a hair tighter where a line would pass the page's edge.
    for (const LabelRow &row : kLabels) {
        if (!isSymbol(row.look))
            label(QLatin1String(row.name))->fitWithin(kPageWidth - kRightMargin - row.geometry.left);
    }
    for (const LineRow &line : kLines) {
        QList<Label *> labels;
        QList<int> lefts;
        int ascent = 0;
        for (const char *name : line.names) {
            if (!name)
                break;
            Label *label = *name ? this->label(QLatin1String(name)) : nullptr;
            labels << label;
            if (label)
                ascent = std::max(ascent, label->fontMetrics().ascent());
        }
        // From each fragment's design place, or just after the fragment before it.
        int x = line.left < 0 ? 0 : line.left;
        Label *previous = nullptr;
        for (Label *label : labels) {
            if (!label) {
                x += kFormulaSpace;
                lefts << x;
                continue;
            }
            if (previous && needsSpace(previous, label))
                x += previous->fontMetrics().horizontalAdvance(QLatin1Char(' '));
            if (line.designPlaces)
                x = std::max(x, labelRow(label->objectName())->geometry.left);
            lefts << x;
            x += label->width() - 1;
            previous = label;
        }
        int shift = line.left < 0 ? (kPageWidth - x) / 2 : std::min(0, kPageWidth - kRightMargin - x);
        for (int i = 0; i < labels.size(); ++i) {
            if (labels[i])
                labels[i]->move(
                    std::max(0, lefts[i] + shift), line.top + ascent - labels[i]->fontMetrics().ascent());
        }
    }
}

void TForm8::FormActivate()
{
    inicio();
    showPage(pag1);
}

// The close button of the index: the window hides.
void TForm8::BitBtn1Click()
{
    close();
}

// The index's link to the characteristics of a sine wave.
void TForm8::ecaracClick()
{
    showPage(pag3);
}

// The index's link to the phase angle between two waves.
void TForm8::eangClick()
{
    showPage(pag4);
}

// The index's link to measuring with the oscilloscope.
void TForm8::emedClick()
{
    showPage(pag5);
}

// The measurements page's link to measuring the phase in dual mode.
void TForm8::Label31Click()
{
    showPage(pag6);
}

// The measurements page's link to measuring the phase by Lissajous figures.
void TForm8::Label34Click()
{
    showPage(pag7);
}

// Back from the sine wave to the index.
void TForm8::SpeedButton2Click()
{
    showPage(pag1);
}

// Back from the phase angle to the index.
void TForm8::SpeedButton3Click()
{
    showPage(pag1);
}

// Back from the measurements to the index.
void TForm8::SpeedButton4Click()
{
    showPage(pag1);
}

// Back from the dual-mode measurement to the measurements, not to the index.
void TForm8::SpeedButton5Click()
{
    showPage(pag5);
}

// Back from the Lissajous measurement to the measurements, not to the index.
void TForm8::SpeedButton6Click()
{
    showPage(pag5);
}

void TForm8::inicio()
{
    put->hide();
    pw->hide();
    pij->hide();
}

void TForm8::zoneClick(const SineZone &zone)
{
    Panel *target = panel(QLatin1String(zone.panel));
    inicio();
    const QString text = pick(zone.castilian, zone.valencian);
    // One line in the window's font, set a hair tighter where it would be cut.
    target->setFont(Fonts::fitted(design().font, text, target->width() - 2 * kPanelBorder));
    target->setText(text);
    target->show();
}

void TForm8::panelClick(Panel *panel)
{
    panel->hide();
}

// Shows on the screen the two signals in dual mode.
void TForm8::SpeedButton7Click()
{
    pant->loadFromFile(QStringLiteral("pdual.bmp"));
}

// Shows on the screen the two signals in X-Y mode, as a Lissajous figure.
void TForm8::SpeedButton8Click()
{
    pant->loadFromFile(QStringLiteral("plis.bmp"));
}

void TForm8::handMouseMove(QWidget *control)
{
    control->setCursor(CursorTable::cursor(CursorTable::kHand));
}

Panel *TForm8::panel(const QString &name) const
{
    for (Panel *panel : panels())
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}

QWidget *TForm8::page(int number) const
{
    switch (number) {
    case 1:
        return pag1;
    case 3:
        return pag3;
    case 4:
        return pag4;
    case 5:
        return pag5;
    case 6:
        return pag6;
    case 7:
        return pag7;
    default:
        return nullptr;
    }
}

void TForm8::showPage(QWidget *page)
{
    PageControl1->setCurrentWidget(page);
}
