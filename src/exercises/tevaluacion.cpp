#include "tevaluacion.h"

#include "cursors.h"
#include "embeddedpictures.h"

#include <QCoreApplication>
#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>

#include <array>

namespace {

FormDesign formDesign()
{
    return FormDesign {
        .left = 0,
        .top = 85,
        .width = 638,
        .height = 372,
        .caption = QString(),
    };
}

/** One line of a question: its label's name, place and text in both languages. */
struct QuestionLine
{
    const char *name;
    Geometry geometry;
    const char16_t *castilian;
    const char16_t *valencian;
};

/** A question reads as one sentence across one or two lines of its page. */
struct Question
{
    QuestionLine first;
    QuestionLine second;
};

// clang-format off
constexpr std::array<Question, kEvaluationQuestions> kQuestions = {{
    {{"Label1", {64, 0, 471, 13},
      u"Indicar sobre la imagen qué botón se ha de pulsar para visualizar las ondas de los ",
      u"Indicar sobre la imatge què botó s'ha de polsar per a visualitzar les ones dels "},
     {"Label9", {64, 16, 177, 13}, u"canales I y II simultáneamente.", u"canals I i II simultàniament."}},
    {{"Label2", {40, 8, 511, 13},
      u"Indicar sobre la imagen qué botón se ha de pulsar para visualizar las figuras de Lissajous.",
      u"Indicar sobre la imatge què botó s'ha de polsar per a visualitzar les figures de Lissajous."},
     {}},
    {{"Label3", {40, 0, 507, 13},
      u"Indicar sobre la imagen qué botón se ha de pulsar para visualizar la suma de las  señales",
      u"Indicar sobre la imatge què botó s'ha de polsar per a visualitzar la suma dels senyals"},
     {"Label10", {40, 16, 117, 13}, u"de los canales I y II.", u"dels canals I i II."}},
    {{"Label4", {128, 8, 351, 13},
      u"Indicar con qué botón elegimos el tipo de disparo de la señal.",
      u"Indicar amb què botó elegim el tipus de disparament del senyal."},
     {}},
    {{"Label5", {96, 8, 419, 13},
      u"Indicar qué mando se utiliza para cambiar la escala de voltios del canal I.",
      u"Indicar què comandament s'utilitza per canviar l'escala de volts del canal I."},
     {}},
    {{"Label6", {128, 8, 356, 13},
      u"Indicar que mando se utiliza para regular la escala de tiempos.",
      u"Indicar què comandament s'utilitza per a regular l'escala de temps."},
     {}},
    {{"Label7", {88, 8, 405, 13},
      u"Indicar qué botón se utiliza para elegir el flanco de disparo de la señal.",
      u"Indicar què botó s'utilitza per a elegir el flanc de disparament del senyal."},
     {}},
    {{"Label8", {128, 8, 347, 13},
      u"Indicar qué botón se utiliza para invertir la señal del canal II.",
      u"Indicar què botó s'utilitza per a invertir el senyal del canal II."},
     {}},
    {{"Label11", {192, 8, 225, 13},
      u"¿Qué botón conecta a tierra al canal I?",
      u"¿Qué botó connecta a terra el canal I?"},
     {}},
    {{"Label12", {150, 8, 311, 13},
      u"¿Donde se conectaría una entrada de trigger externa?",
      u"On es connectaria una entrada de trigger externa?"},
     {}},
}};
// clang-format on

// The questionnaire's state belongs to the module: every window of the class shares it.
int score = 0;
std::array<bool, kEvaluationQuestions> answered = {};

const QColor kLight3DGrey(0xe0, 0xe0, 0xe0);

/** Tabs with a narrower margin round their captions, so that all ten stand side by side. */
class SnugTabs : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 6;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

Tevaluacion::Tevaluacion()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("evaluacion"));

    // The photograph is drawn at its own size from the control's top-left corner.
    Image1 = new Picture(client(), { 48, 0, 561, 241 }, PictureMode::Plain);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(embeddedPicture(EmbeddedPictures::evaluationPanel));

    // In table order: a later hot-spot lies on top and takes the clicks where two share pixels.
    for (const EvaluationSpot &spot : kEvaluationSpots) {
        auto *hotSpot
            = new HotSpot(client(), { spot.rect.left, spot.rect.top, spot.rect.width, spot.rect.height },
                QString::fromUtf16(spot.hint));
        hotSpot->setObjectName(QLatin1String(spot.name));
        // A hint that is not shown still names the control to a screen reader.
        if (!spot.hintShown)
            hotSpot->setToolTip(QString());
        connect(hotSpot, &HotSpot::clicked, this, [this, &spot] { hotSpotClick(spot); });
        connect(hotSpot, &HotSpot::mouseMoved, this, [this, hotSpot] { hotSpotMouseMove(hotSpot); });
        m_hotSpots.append(hotSpot);
    }

    ipant = new HotSpot(client(),
        { kEvaluationScreen.left, kEvaluationScreen.top, kEvaluationScreen.width, kEvaluationScreen.height },
        QStringLiteral("Pantalla"));
    ipant->setObjectName(QStringLiteral("ipant"));

    paginas = new QTabWidget(client());
    paginas->setObjectName(QStringLiteral("paginas"));
    paginas->setGeometry(16, 240, 609, 65);
    // One style serves the tabs of every questionnaire window; the application owns it.
    static SnugTabs *const tabStyle = [] {
        auto *style = new SnugTabs;
        style->setParent(QCoreApplication::instance());
        return style;
    }();
    paginas->tabBar()->setStyle(tabStyle);
    paginas->setUsesScrollButtons(true);
    paginas->tabBar()->setExpanding(false);
    const QFont questionFont = Fonts::standard(Fonts::Style::Bold);
    for (int i = 0; i < kEvaluationQuestions; ++i) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("c%1").arg(i + 1));
        page->setAutoFillBackground(false);
        QList<Label *> labels;
        for (const QuestionLine *line : { &kQuestions[i].first, &kQuestions[i].second }) {
            if (!line->name)
                continue;
            auto *label = new Label(page, line->geometry, QString::fromUtf16(line->castilian), true);
            label->setObjectName(QLatin1String(line->name));
            label->setFont(questionFont);
            label->setTextColor(Qt::black);
            labels.append(label);
        }
        paginas->addTab(page, QStringLiteral("Cuestión %1").arg(i + 1));
        m_pages.append(page);
        m_questionLabels.append(labels);
    }
    connect(paginas, &QTabWidget::currentChanged, this, &Tevaluacion::paginasChanging);

    Panel1 = new Panel(client(), { 112, 312, 313, 25 });
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setBevels(Bevel::None, Bevel::None);
    Panel1->setBorderWidth(4);
    Panel1->setColor(kLight3DGrey);
    Panel1->setFont(Fonts::standard(Fonts::Style::Bold));
    QPalette red = Panel1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Panel1->setPalette(red);
    Panel1->setToolTip(QStringLiteral("Los mensajes sobre las cuestiones aparecen aquí"));
    Panel1->hide();

    BitBtn1 = new GlyphButton(client(), { 440, 312, 81, 25 }, QStringLiteral("Nota Final"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::markGlyph));
    BitBtn1->setToolTip(QStringLiteral("Pulsar al finalizar todas las cuestiones"));
    connect(BitBtn1, &QPushButton::clicked, this, &Tevaluacion::BitBtn1Click);

    BitBtn2 = new GlyphButton(client(), { 536, 312, 75, 25 }, QStringLiteral("&Cerrar"), ButtonKind::Close);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    // The keyboard answers as the mouse does: Tab meets the controls of the photograph in reading order,
    // then the questions' tabs and the buttons; Space or Enter presses the control with the ring.
    QList<QWidget *> order;
    for (HotSpot *spot : m_hotSpots) {
        spot->setKeyboardReachable(true);
        order.append(spot);
    }
    order = inReadingOrder(order);
    order << paginas << BitBtn1 << BitBtn2;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Tevaluacion::FormCreate()
{
    CursorTable::installHandCursor();
    copyLanguageFlag();
    setWindowTitle(pick(u"Autoevaluación", u"Autoevaluació"));
    BitBtn2->setText(pick(u"&Cerrar", u"Tancar"));
    for (int i = 0; i < kEvaluationQuestions; ++i) {
        paginas->setTabText(i, pick(u"Cuestión ", u"Qüestió ") + QString::number(i + 1));
        const Question &question = kQuestions[i];
        const QuestionLine *lines[] = { &question.first, &question.second };
        for (int k = 0; k < m_questionLabels[i].size(); ++k) {
            Label *label = m_questionLabels[i][k];
            label->setText(pick(lines[k]->castilian, lines[k]->valencian));
            // A line that would run past its page is set a hair tighter rather than cut.
            label->fitWithin(paginas->width() - 8 - label->x());
        }
    }
}

void Tevaluacion::FormActivate()
{
    Panel1->hide();
    score = 0;
    answered.fill(false);
    paginas->setCurrentWidget(page(1));
}

// Turning to another question hides the last message; the points gathered stay.
void Tevaluacion::paginasChanging()
{
    Panel1->hide();
}

// Shows the final mark: the points gathered so far.
void Tevaluacion::BitBtn1Click()
{
    Panel1->setText(QString::number(score) + pick(u"   puntos", u"   punts"));
    Panel1->show();
}

void Tevaluacion::hotSpotClick(const EvaluationSpot &spot)
{
    // The page is told by identity, not by its caption.
    if (spot.question != 0 && paginas->currentWidget() == page(spot.question))
        puntuacion(spot.question);
    else
        Image2Click();
}

// Tells the student that the control clicked does not answer the question.
void Tevaluacion::Image2Click()
{
    Panel1->setText(pick(u"Respuesta Inorrecta", u"Resposta Incorrecta"));
    Panel1->show();
}

void Tevaluacion::puntuacion(int question)
{
    bool &done = answered[question - 1];
    if (done)
        return;
    ++score;
    done = true;
    Panel1->setText(pick(u"Respuesta Correcta", u"Resposta Correcta"));
    Panel1->show();
}

void Tevaluacion::hotSpotMouseMove(HotSpot *spot)
{
    spot->setCursor(CursorTable::cursor(CursorTable::kHand));
}

HotSpot *Tevaluacion::hotSpot(const QString &name) const
{
    for (HotSpot *spot : m_hotSpots)
        if (spot->objectName() == name)
            return spot;
    return nullptr;
}

QList<Label *> Tevaluacion::questionLabels(int question) const
{
    return m_questionLabels.value(question - 1);
}
