#include "tform14.h"

#include "cursors.h"
#include "embeddedpictures.h"
#include "referencestyle.h"
#include "tform15.h"
#include "tubedetail.h"

#include <algorithm>
#include <string_view>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 54,
        .top = 190,
        .width = 554,
        .height = 255,
        .caption = QStringLiteral("T.R.C."),
        .font = Fonts::pixels(QStringLiteral("MS Sans Serif"), 11),
    };
}

constexpr unsigned char kUp = 173;
constexpr unsigned char kDown = 175;

/** Where a name or an arrow lies over the drawing: the picture and the window share these places. */
const TubeDetailPlace &placeOf(const char *name)
{
    const auto *place = std::find_if(kTubeDetailPlaces.cbegin(), kTubeDetailPlaces.cend(),
        [name](const TubeDetailPlace &p) { return std::string_view(p.name) == name; });
    Q_ASSERT(place != kTubeDetailPlaces.cend());
    return *place;
}

Geometry geometryOf(const TubeDetailPlace &place)
{
    return { place.left, place.top, place.width, place.height };
}

const QColor kPartBlue(0x00, 0x00, 0xff);

} // namespace

const QList<TForm14::Part> &TForm14::partTable()
{
    // Every placement keeps the text window above the tube window, so the drawing stays in view.
    static const QList<Part> table = {
        { "efilClick", u"Filamento", u"Filament", u"fil.rtf", u"filv.rtf", { 273, 57 },
            { 158, 89, 298, 85 } },
        { "ecatClick", u"El Cátodo", u"El Càtode", u"catodo.rtf", u"catodov.rtf", { 337, 65 },
            { 150, 73, 362, 98 } },
        { "erejClick", u"La Rejilla", u"La Reixa", u"rejilla.rtf", u"rejillav.rtf", { 321, 153 },
            { 160, 4, 341, 183 } },
        { "eelecClick", u"Primer Anodo Acelerador", u"Primer Anode Accelerador", u"primera.rtf",
            u"primerav.rtf", { 385, 153 }, { 138, 16, 403, 182 } },
        { "Label5Click", u"Electrodo de enfoque", u"Elèctrode d'enfocament", u"eenfoque.rtf", u"enfoquev.rtf",
            { 385, 89 }, { 122, 59, 403, 123 } },
        { "Label9Click", u"Segundo Anodo", u"Segon Anode", u"sanodo.rtf", u"sanodov.rtf", { 417, 65 },
            { 106, 64, 438, 96 } },
        { "Label12Click", u"Sistema de Deflexión", u"Sistema de Deflexió", u"deflexion.rtf", u"deflexv.rtf",
            { 425, 145 }, { 99, 14, 446, 173 } },
        { "Label18Click", u"Acelerador Final", u"Accelerador Final", u"afinal.rtf", u"afinalv.rtf",
            { 457, 97 }, { 94, 46, 477, 129 } },
        { "Label19Click", u"La Pantalla", u"La Pantalla", u"pantalla.rtf", u"pantv.rtf", { 417, 121 },
            { 104, 16, 438, 155 } },
    };
    return table;
}

const QList<TForm14::PartLabel> &TForm14::labelTable()
{
    // A two-line name is two labels that explain the same part.
    static const QList<PartLabel> table = {
        { "efil", u"Filamento", u"Filament", 0, true, nullptr },
        { "ecat", u"Cátodo", u"Càtode", 1, false, nullptr },
        { "erej", u"Rejilla", u"Reixa", 2, false, nullptr },
        { "eelec", u"Electrodo", u"Elèctrode", 3, true, u"Electrodo " },
        { "Label7", u"preacelerador", u"preaccelerador", 3, false, nullptr },
        { "Label5", u"Electrodo", u"Elèctrode", 4, false, u"Electrodo " },
        { "Label6", u"enfoque", u"d'enfocament", 4, false, nullptr },
        { "Label9", u"Segundo", u"Segon", 5, false, nullptr },
        { "Label10", u"ánodo", u"ànode", 5, false, nullptr },
        { "Label12", u"Placas deflexión", u"Plaques deflexió", 6, false, nullptr },
        { "Label13", u"horizontal", u"horitzontal", 6, false, nullptr },
        { "Label15", u"Placas deflexión", u"Plaques deflexió", 6, false, nullptr },
        { "Label16", u"vertical", u"vertical", 6, false, nullptr },
        { "Label18", u"Acelerador final", u"Accelerador final", 7, false, nullptr },
        { "Label19", u"Pantalla", u"Pantalla", 8, false, nullptr },
    };
    return table;
}

TForm14::TForm14()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form14"));

    Image1 = new Picture(client(), { 24, 0, 521, 217 }, PictureMode::Plain);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(embeddedPicture(EmbeddedPictures::tubeDetail));

    for (const PartLabel &row : labelTable()) {
        auto *label = new Label(client(), geometryOf(placeOf(row.name)),
            QString::fromUtf16(row.design ? row.design : row.castilian), true);
        label->setObjectName(QLatin1String(row.name));
        label->setFont(
            Fonts::pixels(QStringLiteral("MS Sans Serif"), 11, Fonts::Style::Bold | Fonts::Style::Underline));
        label->setTextColor(kPartBlue);
        // Most names stand on a white ground of their own over the drawing's lines.
        label->setAutoFillBackground(!row.transparent);
        const int part = row.part;
        connect(label, &Label::clicked, this, [this, part] { partClick(part); });
        connect(label, &Label::mouseMoved, this, [this, label] { partMouseMove(label); });
        partLabels << label;
    }

    // Each arrow points from the name beside it to its part of the drawing.
    for (const TubeDetailPlace &place : kTubeDetailPlaces) {
        if (place.arrow == TubeDetailPlace::Arrow::None)
            continue;
        auto *arrow = new Label(client(), geometryOf(place), QString(), false);
        arrow->setObjectName(QLatin1String(place.name));
        arrow->setFont(Fonts::pixels(QStringLiteral("Symbol"), place.characterHeight, Fonts::Style::Bold));
        arrow->setTextColor(kPartBlue);
        arrow->setSymbolText(QString(QChar(place.arrow == TubeDetailPlace::Arrow::Up ? kUp : kDown)));
        // An arrow is a drawing, not a control: clicks go through to nothing.
        arrow->setAccessibleName(QString());
        arrows << arrow;
    }

    BitBtn1 = new GlyphButton(client(), { 216, 200, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    connect(BitBtn1, &QPushButton::clicked, this, &TForm14::BitBtn1Click);
}

void TForm14::FormCreate()
{
    CursorTable::installHandCursor(CursorTable::kDetailedTubeHand);
    copyLanguageFlag();
    const QList<PartLabel> &labels = labelTable();
    for (int i = 0; i < labels.size(); ++i)
        partLabels[i]->setText(pick(labels[i].castilian, labels[i].valencian));
    BitBtn1->setText(pick(u"&Cerrar", u"&Tancar"));
}

void TForm14::FormHide()
{
    closePartner();
}

void TForm14::ocultar()
{
    if (partner())
        partner()->hide();
}

// Closes the tube window and its text window.
void TForm14::BitBtn1Click()
{
    closePartner();
    close();
}

void TForm14::partClick(int part)
{
    TForm15 *text = partner();
    if (part < 0 || part >= partTable().size() || !text)
        return;
    const Part &row = partTable()[part];
    ocultar();
    // The class's language copy, which the newest tube window may have changed since this one was made.
    text->setWindowTitle(pick(row.titleCastilian, row.titleValencian));
    // A part that cannot be read leaves the text window hidden, already under its new title.
    if (!text->RichEdit1->loadFromFile(pick(row.fileCastilian, row.fileValencian)))
        return;
    text->RichEdit1->resize(row.viewer);
    ReferenceStyle::setWindowBounds(text, row.window);
    text->showWindow();
}

void TForm14::partMouseMove(Label *label)
{
    label->setCursor(CursorTable::cursor(CursorTable::kDetailedTubeHand));
}
