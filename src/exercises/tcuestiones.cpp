#include "tcuestiones.h"
#include "embeddedpictures.h"

#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>

#include <array>

namespace {

// Built on demand: fonts can only be resolved once the application exists.
FormDesign formDesign()
{
    return FormDesign {
        .left = 5,
        .top = 117,
        .width = 630,
        .height = 309,
        .caption = QStringLiteral("Cuestiones"),
    };
}

struct QuestionRow
{
    const char *page;
    const char *label;
    Geometry labelGeometry;
    const char *group;
    Geometry groupGeometry;
    int correct;
    const char16_t *castilian;
    const char16_t *valencian;
    /** The options in both languages; a null Valencian option reads as the Castilian one. */
    std::array<const char16_t *, 4> castilianOptions;
    std::array<const char16_t *, 4> valencianOptions;
};

const std::array<QuestionRow, 7> kQuestions = { {
    { "cu1", "Label1", { 24, 8, 217, 17 }, "bc1", { 272, 32, 305, 121 }, 0,
        u"¿Cual es la función del filamento (F)?", u"Qual és la funció del filament (F)?",
        { u"Calienta al cátodo para que emita electrones", u"Emite electrones al ser calentado por el cátodo",
            u"Controla la emisión de electrones", nullptr },
        { u"Escalfa el càtode perquè emeta electrons", u"Emet electrons al ser escalfat pel cátode",
            u"Controla l'emisió d'electrons", nullptr } },
    { "cu2", "Label2", { 256, 8, 302, 17 }, "bc2", { 272, 40, 281, 105 }, 2,
        u"¿Como pueden visualizarse las figuras de Lissajous?",
        u"Com poden visualitzar-se les figures de Lissajous?",
        { u"Mediante la pulsación del botón DUAL", u"Aumentando la base de tiempos", u"Pulsando el botón X-Y",
            nullptr },
        { u"Mitjançant la polsació del botó DUAL", u"Augmentant la base de temps", u"Polsant el botó X-Y",
            nullptr } },
    { "cu3", "Label3", { 8, 8, 302, 17 }, "bc3", { 256, 48, 329, 105 }, 1,
        u"¿Qué funció tienen las placas de deflexión Ph y Pv?",
        u"Què funció ténen les plaques de deflexió Ph i Pv?",
        { u"Acelerar los electrones", u"Conseguir que el haz se desvíe a cualquier punto de la pantalla",
            u"Emitir electrones", nullptr },
        { u"Accelerar els electrons", u"Aconseguir que el feix es desvie a qualsevol punt de la pantalla",
            u"Emetre electrons", nullptr } },
    { "cu4", "Label4", { 96, 8, 377, 17 }, "bc4", { 64, 40, 457, 105 }, 2,
        u"¿Que precauciones debemos tomar al trabajar con el osciloscopio?",
        u"Què precaucions debem prendre al treballar amb l'oscil.loscopi?",
        { u"No encender y apagar consecutivamente el osciloscopio pues daña el cátodo del TRC",
            u"No dejar un punto fijo en la pantalla", u"Las dos anteriores son ciertas", nullptr },
        { u"No encendre i apagar consecutivament l'oscil.loscopi ja que fa malbé el càtode del TRC",
            u"No deixar un punt fixe a la pantalla", u"Les dues anteriors són certes", nullptr } },
    { "cu5", "Label5", { 120, 24, 315, 17 }, "bc5", { 112, 48, 329, 105 }, 1,
        u"Cuando hablamos de nivel de disparo nos referimos a :",
        u"Quan parlem de nivell de disparament ens referim a :",
        { u"Regulación de la base de tiempos", u"Punto a partir del cual comienza el trazado de la señal",
            u"Si la señal comienza con tensiones positivas o negativas", nullptr },
        { u"Regulació de la base de temps", u"Punt a partir del qual comença el traçat del senyal",
            u"Si el senyal comiença amb tensions positives o negatives", nullptr } },
    // Question 6's options read the same in both languages.
    { "cu6", "Label10", { 272, 8, 302, 17 }, "bc6", { 280, 32, 297, 105 }, 2,
        u"Indicar el ángulo de desfase de las siguientes señales",
        u"Indicar l'àngle de desfasament dels següents senyals",
        { u"Figura1=180°,Figura2=35°, Figura3=90°,Figura4=0°",
            u"Figura1=90°,Figura2=35°, Figura3=180°,Figura4=0°",
            u"Figura1=0°,Figura2=35°, Figura3=90°,Figura4=180°",
            u"Figura1=0°,Figura2=35°, Figura3=180°,Figura4=90°" },
        { nullptr, nullptr, nullptr, nullptr } },
    { "cu7", "Label11", { 16, 8, 536, 17 }, "bc7", { 240, 40, 337, 105 }, 2,
        u"Estas dos imágenes corresponden a la misma señal, ¿porqué se visualizan de forma diferente?",
        u"Estes dues imatges corresponen al mateix senyal, perquè es visualitzen de forma diferent?",
        { u"Porque una de ellas se ha modificado mediante el mando X-pos",
            u"Porque el botón SLOPE es diferente en ambas", u"Porque no tienen el mismo nivel de disparo",
            nullptr },
        { u"Perque una de elles s'ha modificat mitjançant el comandament X-pos",
            u"Perque el botó SLOPE és diferent en ambdues",
            u"Perque no ténen el mateix nivell de disparament", nullptr } },
} };

struct ImageRow
{
    int page;
    const char *name;
    Geometry geometry;
    const char *picture;
    /** What a screen reader says of the picture. */
    const char16_t *castilian;
    const char16_t *valencian;
};

// Each picture is drawn at its own size, cut at the control's edges.
constexpr std::array<ImageRow, 6> kImages = { {
    { 0, "Image1", { 0, 24, 241, 105 }, EmbeddedPictures::questionTube,
        u"Esquema del tubo de rayos catódicos con sus partes marcadas",
        u"Esquema del tub de raigs catòdics amb les seues parts marcades" },
    { 1, "Image2", { 8, 8, 185, 153 }, EmbeddedPictures::questionEllipse, u"Pantalla con una elipse",
        u"Pantalla amb una el·lipse" },
    { 2, "Image3", { -8, 40, 257, 105 }, EmbeddedPictures::questionTube,
        u"Esquema del tubo de rayos catódicos con sus partes marcadas",
        u"Esquema del tub de raigs catòdics amb les seues parts marcades" },
    { 5, "Image4", { 16, 40, 249, 81 }, EmbeddedPictures::questionLissajous, u"Cuatro figuras de Lissajous",
        u"Quatre figures de Lissajous" },
    { 6, "Image5", { 0, 40, 105, 81 }, EmbeddedPictures::questionLevel1, u"Pantalla con una senoide",
        u"Pantalla amb una sinusoide" },
    { 6, "Image6", { 120, 40, 105, 81 }, EmbeddedPictures::questionLevel2,
        u"La misma senoide, empezada en otro punto", u"La mateixa sinusoide, començada en un altre punt" },
} };

/** The width inside the page control's frame. */
constexpr int kPageWidth = 587;

constexpr std::array<int, 4> kFigureCaptionLefts = { 40, 96, 152, 208 };

QStringList optionTexts(const QuestionRow &row, Language language)
{
    QStringList texts;
    for (int i = 0; i < 4; ++i) {
        const char16_t *text = row.valencianOptions[i]
            ? inLanguage(language, row.castilianOptions[i], row.valencianOptions[i])
            : row.castilianOptions[i];
        if (text)
            texts << QString::fromUtf16(text);
    }
    return texts;
}

/** Sets letters closer where an option would not fit its group. */
void fitOptions(RadioGroup *group)
{
    for (int i = 0; i < group->count(); ++i) {
        QRadioButton *button = group->button(i);
        const int indicator
            = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button);
        const int room = button->width() - indicator - 8;
        button->setFont(Fonts::fitted(group->font(), button->text(), room));
    }
}

} // namespace

int Tcuestiones::correctOption(int question)
{
    return question >= 0 && question < int(kQuestions.size()) ? kQuestions[question].correct : -1;
}

Tcuestiones::Tcuestiones()
    : Form(formDesign())
{
    setObjectName(QStringLiteral("cuestiones"));
    const QFont questionFont = Fonts::points(QStringLiteral("Times"), 11);

    pag = new QTabWidget(client());
    pag->setObjectName(QStringLiteral("pag"));
    pag->setGeometry(16, 16, 593, 193);
    for (int q = 0; q < int(kQuestions.size()); ++q) {
        const QuestionRow &row = kQuestions[q];
        auto *page = new QWidget;
        page->setObjectName(QLatin1String(row.page));
        pag->addTab(page, QStringLiteral("Cuestión %1").arg(q + 1));
        pages << page;
    }
    // Pictures first: the texts and groups lie over them where they meet.
    for (const ImageRow &row : kImages) {
        auto *image = new Picture(pages[row.page], row.geometry);
        image->setObjectName(QLatin1String(row.name));
        image->setPicture(embeddedPicture(QLatin1String(row.picture)));
        images << image;
    }
    for (int i = 0; i < int(kFigureCaptionLefts.size()); ++i) {
        // Sized to its text, so that the caption is never cut.
        auto *caption = new Label(
            pages[5], { kFigureCaptionLefts[i], 24, 35, 13 }, QStringLiteral("Figura%1").arg(i + 1), true);
        caption->setObjectName(QStringLiteral("Label%1").arg(6 + i));
        caption->setTextColor(Qt::black);
        figureCaptions << caption;
    }
    for (int q = 0; q < int(kQuestions.size()); ++q) {
        const QuestionRow &row = kQuestions[q];
        auto *label = new Label(pages[q], row.labelGeometry, QString::fromUtf16(row.castilian), true);
        label->setObjectName(QLatin1String(row.label));
        label->setFont(questionFont);
        label->setTextColor(Qt::black);
        questionLabels << label;
        // Only the first group has a caption, a single blank.
        auto *group = new RadioGroup(pages[q], row.groupGeometry, q == 0 ? QStringLiteral(" ") : QString(),
            optionTexts(row, Language::Castilian));
        group->setObjectName(QLatin1String(row.group));
        group->setAccessibleName(label->text());
        connect(group, &RadioGroup::clicked, this, [this, q] { bcClick(q); });
        groups << group;
    }
    connect(pag, &QTabWidget::currentChanged, this, &Tcuestiones::pagChanging);

    Panel1 = new Panel(client(), { 160, 216, 313, 25 });
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setBevels(Bevel::None, Bevel::None);
    Panel1->setBorderWidth(4);
    Panel1->setColor(QColor(0xe0, 0xe0, 0xe0));
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    Panel1->setPalette(palette);
    Panel1->hide();

    BitBtn1 = new GlyphButton(client(), { 272, 248, 75, 25 }, QStringLiteral("&Cerrar"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGlyph(embeddedPicture(EmbeddedPictures::closeGlyph));
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &Tcuestiones::BitBtn1Click);
}

void Tcuestiones::FormCreate()
{
    copyLanguageFlag();
    setWindowTitle(pick(u"Cuestiones", u"Qüestions"));
    BitBtn1->setText(pick(u"&Cerrar", u"&Tancar"));
    for (int q = 0; q < int(kQuestions.size()); ++q) {
        const QuestionRow &row = kQuestions[q];
        pag->setTabText(q,
            inLanguage(language(), QStringLiteral("Cuestión %1"), QStringLiteral("Qüestió %1")).arg(q + 1));
        questionLabels[q]->setText(pick(row.castilian, row.valencian));
        questionLabels[q]->fitWithin(kPageWidth - row.labelGeometry.left - 4);
        groups[q]->setAccessibleName(questionLabels[q]->text());
        const QStringList options = optionTexts(row, language());
        for (int i = 0; i < groups[q]->count(); ++i) {
            groups[q]->button(i)->setText(options[i]);
            groups[q]->button(i)->setAccessibleName(options[i]);
        }
        fitOptions(groups[q]);
    }
    for (int i = 0; i < int(kImages.size()); ++i)
        images[i]->setAccessibleName(pick(kImages[i].castilian, kImages[i].valencian));
}

void Tcuestiones::FormActivate()
{
    pag->setCurrentIndex(0);
    Panel1->hide();
    inicio();
}

// Turning to another question hides the verdict and clears every answer.
void Tcuestiones::pagChanging()
{
    Panel1->hide();
    inicio();
}

void Tcuestiones::inicio()
{
    // Clearing a group reports nothing, so no verdict is shown.
    for (RadioGroup *group : groups)
        group->setItemIndex(-1);
}

// Tells the student whether the option just chosen answers the question rightly.
void Tcuestiones::bcClick(int question)
{
    const bool right = groups[question]->itemIndex() == correctOption(question);
    Panel1->setText(right ? pick(u"Respuesta correcta", u"Resposta correcta")
                          : pick(u"Respuesta incorrecta", u"Resposta incorrecta"));
    Panel1->show();
}

// Closes the window.
void Tcuestiones::BitBtn1Click()
{
    close();
}
