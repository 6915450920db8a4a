#include "tproblemas.h"

#include "embeddedpictures.h"
#include "exercisefigures.h"
#include "problemjudge.h"

#include <QLineEdit>
#include <QTabWidget>

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 5,
        .top = 40,
        .width = 630,
        .height = 437,
        .caption = QStringLiteral("Problemas"),
    };
}

struct PageRow
{
    const char *page;
    const char *image;
    const char *button;
    int problem;
};

// The check buttons of problems 3 and 4 are named the other way round.
constexpr std::array<PageRow, 7> kPages = { {
    { "prob1", "Image1", "BitBtn1", 1 },
    { "prob2", "Image2", "BitBtn2", 2 },
    { "prob3", "Image3", "BitBtn4", 3 },
    { "problema4", "Image4", "BitBtn3", 4 },
    { "problema5", "Image5", "BitBtn5", 5 },
    { "problema6", "Image6", "BitBtn6", 6 },
    { "problema7", "Image7", "BitBtn7", 7 },
} };

struct StatementRow
{
    int page;
    const char *name;
    Geometry geometry;
    const char16_t *castilian;
    const char16_t *valencian;
};

// The statements, set by language; the blanks inside and before some of them belong to the texts.
const std::array<StatementRow, 10> kStatements = { {
    { 0, "Label1", { 8, 4, 580, 17 },
        u"¿Qué características tiene la señal de la figura, suponiendo que la base de tiempos",
        u"¿Qué característiques té el senyal de la figura, suposant que la base de temps" },
    { 0, "Label2", { 8, 22, 580, 17 },
        u"señala 0,2 ms/div  y el selector de escala del canal I  5 volts/div?",
        u"assenyala 0,2 ms/div i el selector d'escala del canal I  5 volts/div?" },
    { 1, "Label6", { 8, 4, 580, 17 },
        u"Indicar el desfase entre las señales suponiendo que la base de tiempos  señala 0,1 ms/div",
        u"Indiqueu el desfasament entre els senyals suposant que la base de temps  senyala 0,1 ms/div" },
    { 3, "Label11", { 8, 4, 580, 17 },
        u"Indicar el período de la señal de la figura.La base de tiempos marca 1ms/div.",
        u"Indicar el període del senyal de la figura.La base de temps marca 1ms/div." },
    { 4, "Label12", { 8, 4, 580, 17 }, u"Indicar la frecuencia f de la señal mostrada en pantalla.",
        u"Indicar la freqüència f del senyal mostrat en pantalla." },
    { 4, "Label13", { 8, 22, 580, 17 }, u" Suponiendo que la base de tiempos es 1 ms/div.",
        u" Suposant que la base de temps és 1 ms/div." },
    { 5, "Label16", { 8, 4, 580, 17 },
        u"Indicar la pulsación de la señal de la figura, teniendo en cuenta que",
        u"Indicar la polsació del senyal de la figura, tenint en comte que" },
    { 5, "Label17", { 8, 22, 580, 17 }, u" la base de tiempos es 1 ms/div.",
        u" la base de temps és 1 ms/div." },
    { 6, "Label20", { 8, 4, 580, 17 },
        u"Indicar cual sería la fase, la amplitud y el período de la señal mostrada.",
        u"Indicar quina seria la fase, l'amplitud i el període del senyal mostrat." },
    { 6, "Label21", { 8, 22, 580, 17 }, u"Nota: Escribir donde proceda, fase, amplitud, o periodo.",
        u"Nota: Escriure on calga, fase, amplitud, o periode." },
} };

struct CaptionRow
{
    int page;
    const char *name;
    Geometry geometry;
    const char16_t *text;
    /** The quantity's name before the box, right-aligned to it; otherwise the unit after it. */
    bool beforeBox;
};

// Quantity symbols and units read the same in both languages.
constexpr int kBoxLeft = 450;
constexpr int kBoxTop = 150;
constexpr std::array<CaptionRow, 12> kCaptions = { {
    { 0, "evolt", { 314, kBoxTop + 2, kBoxLeft - 320, 17 }, u"Vp =", true },
    { 0, "Label3", { kBoxLeft + 86, kBoxTop + 2, 60, 17 }, u"V", false },
    { 1, "Label7", { 314, kBoxTop + 2, kBoxLeft - 320, 17 }, u"φ =", true },
    { 1, "Label8", { kBoxLeft + 86, kBoxTop + 2, 60, 17 }, u"°", false },
    { 2, "Label9", { 314, kBoxTop + 2, kBoxLeft - 320, 17 }, u"φ = arc sen (a / b) =", true },
    { 2, "Label10", { kBoxLeft + 86, kBoxTop + 2, 60, 17 }, u"°", false },
    { 3, "Label4", { 314, kBoxTop + 2, kBoxLeft - 320, 17 }, u"T =", true },
    { 3, "Label5", { kBoxLeft + 86, kBoxTop + 2, 60, 17 }, u"ms", false },
    { 4, "Label14", { 314, kBoxTop + 2, kBoxLeft - 320, 17 }, u"f =", true },
    { 4, "Label15", { kBoxLeft + 86, kBoxTop + 2, 60, 17 }, u"Hz", false },
    { 5, "Label18", { 314, kBoxTop + 2, kBoxLeft - 320, 17 }, u"ω =", true },
    { 5, "Label19", { kBoxLeft + 86, kBoxTop + 2, 60, 17 }, u"rad/s", false },
} };

/** The single answer boxes of problems 1 to 6, in page order. */
constexpr std::array<const char *, 6> kSingleBoxes = { "cvolt", "Edit1", "cliss", "Edit2", "cf", "cw" };

const Geometry kFigure { 8, 48, ExerciseFigures::problemScreenSize.width(),
    ExerciseFigures::problemScreenSize.height() };
const Geometry kSineFigureAt { 8, 44, 0, 0 };
const Geometry kCheckButton { kBoxLeft, kBoxTop + 40, 100, 27 };
const Geometry kSineCheckButton { 420, 150, 100, 27 };

QFont textFont()
{
    return Fonts::points(QStringLiteral("Times New Roman"), 11);
}

} // namespace

Tproblemas::Tproblemas()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("problemas"));
    const auto keep = [this](QWidget *widget, const QString &name) {
        widget->setObjectName(name);
        m_controls.insert(name, widget);
    };

    problema = new QTabWidget(client());
    keep(problema, QStringLiteral("problema"));
    problema->setGeometry(8, 8, 606, 330);
    for (const PageRow &row : kPages) {
        auto *page = new QWidget;
        keep(page, QLatin1String(row.page));
        problema->addTab(page, QStringLiteral("Problema %1").arg(row.problem));
        pages << page;
    }

    for (int i = 0; i < int(kPages.size()); ++i) {
        const PageRow &row = kPages[i];
        const bool sine = row.problem == 7;
        const QImage figure = embeddedPicture(EmbeddedPictures::problemFigures.at(row.problem - 1));
        const Geometry at = sine
            ? Geometry { kSineFigureAt.left, kSineFigureAt.top, figure.width(), figure.height() }
            : kFigure;
        auto *image = new Picture(pages[i], at);
        keep(image, QLatin1String(row.image));
        image->setPicture(figure);
        image->setAccessibleName(QStringLiteral("Figura del problema %1").arg(row.problem));

        auto *check
            = new GlyphButton(pages[i], sine ? kSineCheckButton : kCheckButton, QStringLiteral("Comprobar"));
        keep(check, QLatin1String(row.button));
        check->setGlyph(embeddedPicture(EmbeddedPictures::okGlyph));
        connect(check, &QPushButton::clicked, this, [this, problem = row.problem] { checkProblem(problem); });
    }

    for (const StatementRow &row : kStatements) {
        auto *label = new Label(pages[row.page], row.geometry, QString::fromUtf16(row.castilian), true);
        keep(label, QLatin1String(row.name));
        label->setFont(textFont());
        label->setTextColor(Qt::black);
    }
    for (const CaptionRow &row : kCaptions) {
        auto *label = new Label(pages[row.page], row.geometry, QString::fromUtf16(row.text), false);
        keep(label, QLatin1String(row.name));
        label->setFont(textFont());
        label->setTextColor(Qt::black);
        label->setAlignment((row.beforeBox ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }

    const auto makeBox = [&](QWidget *page, const QString &name, const QRect &rect) {
        auto *box = new QLineEdit(page);
        keep(box, name);
        box->setGeometry(rect);
        box->setFont(Fonts::standard());
        return box;
    };
    for (int i = 0; i < int(kSingleBoxes.size()); ++i)
        makeBox(pages[i], QLatin1String(kSingleBoxes[i]), QRect(kBoxLeft, kBoxTop, 80, 21));
    // Problem 7's boxes stand on its figure, beside the marks they name.
    const ExerciseFigures::SineFigure sine = ExerciseFigures::sineFigure();
    const QPoint figureAt(kSineFigureAt.left, kSineFigureAt.top);
    makeBox(pages[6], QStringLiteral("ca"), sine.amplitudeBox.translated(figureAt));
    makeBox(pages[6], QStringLiteral("ct"), sine.periodBox.translated(figureAt));
    makeBox(pages[6], QStringLiteral("cfase"), sine.phaseBox.translated(figureAt));
    // Enter in a box checks its problem; Tab goes from the boxes to the check button, problem 7's
    // boxes taken top to bottom.
    for (const PageRow &row : kPages) {
        QList<QLineEdit *> boxes = answerBoxes(row.problem);
        for (QLineEdit *box : boxes)
            connect(box, &QLineEdit::returnPressed, this,
                [this, problem = row.problem] { checkProblem(problem); });
        if (row.problem == 7)
            boxes = { boxes[2], boxes[0], boxes[1] };
        QList<QWidget *> chain(boxes.begin(), boxes.end());
        chain << control(QLatin1String(row.button));
        for (int i = 1; i < chain.size(); ++i)
            setTabOrder(chain[i - 1], chain[i]);
    }

    connect(problema, &QTabWidget::currentChanged, this, &Tproblemas::problemaChanging);

    Panel1 = new Panel(client(), { 154, 344, 313, 25 });
    keep(Panel1, QStringLiteral("Panel1"));
    Panel1->setBevels(Bevel::None, Bevel::None);
    Panel1->setBorderWidth(4);
    Panel1->setColor(QColor(0xe0, 0xe0, 0xe0));
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    Panel1->setPalette(palette);
    Panel1->hide();

    bcerrar = new GlyphButton(client(), { 273, 377, 75, 25 }, QStringLiteral("&Cerrar"), ButtonKind::Close);
    keep(bcerrar, QStringLiteral("bcerrar"));
    bcerrar->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
}

QList<QLineEdit *> Tproblemas::answerBoxes(int problem) const
{
    const auto box
        = [this](const char *name) { return qobject_cast<QLineEdit *>(control(QLatin1String(name))); };
    if (problem == 7)
        return { box("ca"), box("ct"), box("cfase") };
    if (problem >= 1 && problem <= int(kSingleBoxes.size())) {
        // The boxes follow the pages, and the pages the problems.
        return { box(kSingleBoxes[problem - 1]) };
    }
    return {};
}

void Tproblemas::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Problemas", u"Problemes"));
    for (const StatementRow &row : kStatements) {
        auto *label = static_cast<Label *>(control(QLatin1String(row.name)));
        label->setText(pick(row.castilian, row.valencian));
        label->fitWithin(row.geometry.width);
    }
    bcerrar->setText(pick(u"&Cerrar", u"&Tancar"));
    for (const PageRow &row : kPages)
        static_cast<QPushButton *>(control(QLatin1String(row.button)))
            ->setText(pick(u"Comprobar", u"Comprovar"));

    // Screen readers name each box by what it asks for; problem 7's by where its mark stands.
    const std::array<const char16_t *, 6> castilianNames
        = { u"Tensión de pico, en voltios", u"Desfase, en grados", u"Ángulo φ, en grados",
              u"Período, en milisegundos", u"Frecuencia, en hercios", u"Pulsación, en radianes por segundo" };
    const std::array<const char16_t *, 6> valencianNames
        = { u"Tensió de pic, en volts", u"Desfasament, en graus", u"Angle φ, en graus",
              u"Període, en mil·lisegons", u"Freqüència, en hertzs", u"Polsació, en radians per segon" };
    for (int i = 0; i < int(kSingleBoxes.size()); ++i)
        answerBoxes(i + 1).first()->setAccessibleName(pick(castilianNames[i], valencianNames[i]));
    const QList<QLineEdit *> words = answerBoxes(7);
    words[0]->setAccessibleName(pick(u"Cota de la derecha de la figura", u"Cota de la dreta de la figura"));
    words[1]->setAccessibleName(pick(u"Cota inferior de la figura", u"Cota inferior de la figura"));
    words[2]->setAccessibleName(pick(u"Cota superior de la figura", u"Cota superior de la figura"));
}

void Tproblemas::FormActivate()
{
    problema->setCurrentIndex(0);
    Panel1->hide();
}

// Hides the verdict strip as the student turns to another problem.
void Tproblemas::problemaChanging()
{
    Panel1->hide();
}

void Tproblemas::checkProblem(int problem)
{
    QStringList answers;
    for (const QLineEdit *box : answerBoxes(problem))
        answers << box->text();
    const bool right = ProblemJudge::judge(problem, answers) == Verdict::Right;
    Panel1->setText(right ? pick(u"Respuesta correcta", u"Resposta correcta")
                          : pick(u"Respuesta incorrecta", u"Resposta incorrecta"));
    Panel1->show();
}
