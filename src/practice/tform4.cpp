#include "tform4.h"

#include "switchonsteps.h"

#include <QTimer>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 20,
        .top = 87,
        .width = 602,
        .height = 366,
        .caption = QStringLiteral("Puesta en funcionamiento del osciloscopio"),
    };
}

const QColor kMaroon(0x80, 0x00, 0x00);

/** The right margin every line of text keeps from the window's edge. */
constexpr int kMargin = 8;

/** The client area's width as designed; the client widget takes its size only once laid out. */
int clientWidth(const Form &form)
{
    return form.design().width - 8;
}

} // namespace

TForm4::TForm4()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("Form4"));

    Image1 = new Picture(client(), { 24, 40, 545, 240 }, PictureMode::Centred);
    Image1->setObjectName(QStringLiteral("Image1"));

    pasos = new Label(client(), { 96, 16, 374, 13 }, QString(), true);
    pasos->setObjectName(QStringLiteral("pasos"));
    pasos->setFont(Fonts::standard(Fonts::Style::Bold));
    pasos->setTextColor(kMaroon);
    setInstruction(pasos, QStringLiteral("Primer paso: Comprobar que todos los botones estén hacia afuera"));

    pasos2 = new Label(client(), { 96, 32, 5, 13 }, QString(), true);
    pasos2->setObjectName(QStringLiteral("pasos2"));
    pasos2->setFont(Fonts::standard(Fonts::Style::Bold));
    pasos2->setTextColor(kMaroon);

    PASOS3 = new Label(client(), { 40, 288, 503, 13 }, QString(), true);
    PASOS3->setObjectName(QStringLiteral("PASOS3"));
    PASOS3->setFont(Fonts::standard(Fonts::Style::Bold));
    PASOS3->setTextColor(Qt::red);
    PASOS3->setText(
        QStringLiteral("¡¡ NO DEJAR UN PUNTO FIJO EN LA PANTALLA YA QUE ESTA PODRIA QUEMARSE !!"));
    PASOS3->hide();

    BitBtn1 = new GlyphButton(client(), { 472, 312, 57, 25 }, QStringLiteral("Siguente "));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);

    BitBtn3 = new GlyphButton(client(), { 400, 312, 57, 25 }, QStringLiteral("Anterior"));
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    connect(BitBtn3, &QPushButton::clicked, this, &TForm4::BitBtn3Click);

    // Runs for the window's whole life; only the last step's warning listens to it.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm4::Timer1Timer);
    Timer1->start();
}

void TForm4::FormCreate()
{
    copyLanguageFlag();
    PASOS3->setText(pick(u"¡¡ NO DEJAR UN PUNTO FIJO EN LA PANTALLA YA QUE ESTA PODRIA QUEMARSE !!",
        u"¡¡ NO DEIXAR UN PUNT FIXE A LA PANTALLA JA QUE AQUESTA PODRIA CREMAR-SE !!"));
    // The warning stands under the photograph and ends where the photograph does.
    PASOS3->fitWithin(Image1->geometry().right() + 1 - PASOS3->x());
    setWindowTitle(
        pick(u"Puesta en funcionamiento del osciloscopio", u"Posta en funcionament de l'oscil.loscopi"));
}

void TForm4::FormActivate()
{
    m_step = 0;
    carga();
}

// Shows the next step of the switch-on procedure and its photograph; after the last, closes the window.
void TForm4::BitBtn1Click()
{
    ++m_step;
    if (m_step > kSwitchOnLastStep)
        close();
    else
        carga();
}

// Shows the previous step of the switch-on procedure and its photograph.
void TForm4::BitBtn3Click()
{
    // The button is hidden on the first step; should a photograph that could not be read have
    // left it on show there, the walk still never goes below the first step.
    if (m_step > 0)
        --m_step;
    carga();
}

// Blinks the warning about burning the screen, on the last step only.
void TForm4::Timer1Timer()
{
    if (m_blinking)
        PASOS3->setVisible(!PASOS3->isVisible());
}

void TForm4::carga()
{
    // Any step the table does not hold shows the first one.
    const int shown = m_step >= 1 && m_step <= kSwitchOnLastStep ? m_step : 0;
    const SwitchOnStep &step = kSwitchOnSteps[shown];
    if (!Image1->loadFromFile(QLatin1String(step.picture)))
        return;
    setInstruction(pasos, pick(step.castilian, step.valencian));
    setInstruction(
        pasos2, step.secondCastilian ? pick(step.secondCastilian, step.secondValencian) : QString());
    const bool last = shown == kSwitchOnLastStep;
    BitBtn1->setText(last ? pick(u"Fin", u"Fi") : pick(u"Siguiente", u"Següent"));
    m_blinking = last;
    // The first step never warns, and going back from the last one stops a warning left on.
    if (shown == 0 || shown == kSwitchOnLastStep - 1)
        PASOS3->hide();
    BitBtn3->setVisible(shown != 0);
}

void TForm4::setInstruction(Label *label, const QString &text)
{
    label->setText(text);
    label->fitWithin(clientWidth(*this) - kMargin - label->x());
}
