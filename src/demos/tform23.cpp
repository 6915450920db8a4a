#include "tform23.h"

#include "datafile.h"
#include "deflectiondemo.h"
#include "embeddedpictures.h"

#include <QTimer>

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 70,
        .top = -1,
        .width = 528,
        .height = 448,
        .caption = QStringLiteral("Comportamiento del T.R.C."),
        .font = Fonts::standard(Fonts::Style::Bold),
        .centred = true,
    };
}

struct LabelRow
{
    const char *name;
    Geometry geometry;
    const char16_t *castilian;
    const char16_t *valencian;
};

// The five lines above the picture, in the window's order; the texts state the deflection
// coefficients the frames were drawn with.
constexpr std::array<LabelRow, 5> kLabels = { {
    { "Label1", { 16, 0, 489, 17 },
        u"Con este ejemplo se pretende mostrar el comportamiento del T.R.C. según la d.d.p.",
        u"Amb aquest exemple es pretén mostrar el comportament del T.R.C. segons la d.d.p." },
    { "Label2", { 16, 24, 244, 17 }, u" que  exista entre sus placas de deflexión.",
        u" que  existisca entre les seues plaques de deflexió." },
    { "Label4", { 16, 48, 475, 17 },
        u"El COEFICIENTE DE DEFLEXION indica la tensión que se ha de aplicar entre",
        u"El COEFICIENT DE DEFLEXIO indica la tensió que s'ha d'aplicar entre" },
    { "Label5", { 16, 72, 457, 17 },
        u" las placas horizontales o verticales para producir una desviación determinada.",
        u" les plaques horitzontals o verticals per a produir una desviació determinada." },
    { "Label3", { 16, 96, 496, 17 },
        u"Suponemos un coeficiente de deflexión horizontal de 32 V/cm y vertical de 14 V/cm.",
        u"Suposem un coeficient de deflexió horitzontal de 32 V/cm i vertical de 14 V/cm." },
} };

constexpr int kTickMs = 500;

QStringList radioItems()
{
    QStringList items;
    for (const DeflectionDemo::Option &option : DeflectionDemo::options())
        items << option.text;
    return items;
}

// The number of frames of a sequence: 0 is the lead-in, 1 to 5 the cases of items 0 to 4.
int sequenceLength(int sequence)
{
    if (sequence == 0)
        return DeflectionDemo::leadInFrameCount;
    return int(DeflectionDemo::caseFiles(sequence - 1).size());
}

} // namespace

TForm23::TForm23()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form23"));

    Image1 = new Picture(client(), { 96, 120, 282, 114 }, PictureMode::Centred);
    Image1->setObjectName(QStringLiteral("Image1"));

    const QFont labelFont = Fonts::points(QStringLiteral("Times New Roman"), 11);
    QList<Label *> labels;
    for (const LabelRow &row : kLabels) {
        auto *label = new Label(client(), row.geometry, QString::fromUtf16(row.castilian), true);
        label->setObjectName(QLatin1String(row.name));
        label->setFont(labelFont);
        label->setText(label->text()); // sizes it in its own font
        label->setTextColor(Qt::black);
        labels << label;
    }
    Label1 = labels[0];
    Label2 = labels[1];
    Label4 = labels[2];
    Label5 = labels[3];
    Label3 = labels[4];

    BitBtn2 = new GlyphButton(client(), { 392, 176, 73, 25 }, QStringLiteral("Cancel"), ButtonKind::Cancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    setCancelButton(BitBtn2);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm23::BitBtn2Click);

    RadioGroup1 = new RadioGroup(client(), { 152, 240, 185, 145 }, QStringLiteral("Opciones"), radioItems());
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm23::RadioGroup1Click);

    BitBtn1 = new GlyphButton(client(), { 224, 392, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    connect(BitBtn1, &QPushButton::clicked, this, &TForm23::BitBtn1Click);

    using Handler = void (TForm23::*)();
    constexpr std::array<Handler, 5> handlers = { &TForm23::Timer1Timer, &TForm23::Timer2Timer,
        &TForm23::Timer3Timer, &TForm23::Timer4Timer, &TForm23::Timer5Timer };
    for (int i = 0; i < int(handlers.size()); ++i) {
        auto *timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("Timer%1").arg(i + 1));
        timer->setInterval(kTickMs);
        // Frames follow each other on the half second, without drifting.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, handlers[i]);
        m_timers << timer;
    }
    Timer1 = m_timers[0];
    Timer2 = m_timers[1];
    Timer3 = m_timers[2];
    Timer4 = m_timers[3];
    Timer5 = m_timers[4];
}

void TForm23::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Comportamiento del T.R.C.", u"Comportament del T.R.C."));
    const std::array<Label *, 5> labels = { Label1, Label2, Label4, Label5, Label3 };
    for (int i = 0; i < int(kLabels.size()); ++i) {
        labels[i]->setText(pick(kLabels[i].castilian, kLabels[i].valencian));
        // The client area is the outer width less the frame.
        labels[i]->fitWithin(design().width - 8 - kLabels[i].geometry.left - 4);
    }
    BitBtn1->setText(pick(u"&Cerrar", u"&Tancar"));
    RadioGroup1->setTitle(pick(u"Opciones", u"Opcions"));

    relojes();

    // Every frame starts as an empty bitmap of the frame size; they all share one blank picture,
    // and frames read from identical files share their pixels too.
    QImage blank(DeflectionDemo::frameWidth, DeflectionDemo::frameHeight, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const QStringList files = DeflectionDemo::allFrameFiles();
    m_frames = QList<QImage>(files.size(), blank);
    // A file that cannot be read ends the loading there; the frames after it stay empty.
    for (int i = 0; i < files.size(); ++i) {
        const std::optional<QImage> frame = DataFile::loadPicture(files[i]);
        if (!frame)
            return;
        m_frames[i] = *frame;
    }
}

void TForm23::FormDestroy()
{
    m_frames.clear();
    m_frames.squeeze();
}

void TForm23::RadioGroup1Click()
{
    // A new choice stops any animation still playing, so one timer at most drives the frames.
    relojes();
    m_leadInStep = 0;
    m_caseStep = 0;
    const int item = RadioGroup1->itemIndex();
    if (item >= 0 && item < int(m_timers.size()))
        m_timers[item]->start();
}

// Shows the next frame of the animation for Pv = 0 V, Ph = 0 V; after the last frame, stops it.
void TForm23::Timer1Timer()
{
    tick(0);
}

// Shows the next frame of the animation for Pv = 50 V, Ph = 80 V; after the last frame, stops it.
void TForm23::Timer2Timer()
{
    tick(1);
}

// Shows the next frame of the animation for Pv = 50 V, Ph = 160 V; after the last frame, stops it.
void TForm23::Timer3Timer()
{
    tick(2);
}

// Shows the next frame of the animation for Ph = 120 V, Pv = 20 V; after the last frame, stops it.
void TForm23::Timer4Timer()
{
    tick(3);
}

// Shows the next frame of the animation for Ph = 120 V, Pv = -35 V; after the last frame, stops it.
void TForm23::Timer5Timer()
{
    tick(4);
}

void TForm23::tick(int item)
{
    if (m_leadInStep < DeflectionDemo::leadInFrameCount)
        parteuno();
    else
        caseStep(item);
}

void TForm23::relojes()
{
    for (QTimer *timer : m_timers)
        timer->stop();
}

void TForm23::parteuno()
{
    ++m_leadInStep;
    Image1->setPicture(leadInFrame(m_leadInStep));
}

void TForm23::caseStep(int item)
{
    // The tick after the last frame stops the animation; the last frame stays on the screen.
    if (m_caseStep >= sequenceLength(item + 1)) {
        relojes();
        return;
    }
    ++m_caseStep;
    Image1->setPicture(caseFrame(item, m_caseStep));
}

void TForm23::partedos()
{
    caseStep(0);
}

void TForm23::partetres()
{
    caseStep(1);
}

void TForm23::partecuatro()
{
    caseStep(2);
}

void TForm23::partecinco()
{
    caseStep(3);
}

void TForm23::parteseis()
{
    caseStep(4);
}

// Stops the animation, leaving its current frame on the screen.
void TForm23::BitBtn2Click()
{
    relojes();
}

// Closes the window.
void TForm23::BitBtn1Click()
{
    close();
}

int TForm23::frameIndex(int sequence, int step) const
{
    if (sequence < 0 || sequence > int(DeflectionDemo::options().size()) || step < 1
        || step > sequenceLength(sequence))
        return -1;
    int index = step - 1;
    for (int s = 0; s < sequence; ++s)
        index += sequenceLength(s);
    return index < m_frames.size() ? index : -1;
}

QImage TForm23::leadInFrame(int step) const
{
    const int index = frameIndex(0, step);
    return index < 0 ? QImage() : m_frames[index];
}

QImage TForm23::caseFrame(int item, int step) const
{
    const int index = frameIndex(item + 1, step);
    return index < 0 ? QImage() : m_frames[index];
}
