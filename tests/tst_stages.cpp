#include "tform19.h"
#include "tform20.h"
#include "tform21.h"
#include "tform22.h"
#include "windowtestsupport.h"

#include <QScrollArea>
#include <QScrollBar>

namespace {

const QString kCircuitHeadingCastilian = QStringLiteral("   Selector     Atenuador     Sensibilidad");
const QString kCircuitHeadingValencian = QStringLiteral("   Selector     Atenuador     Sensibilitat");

} // namespace

class TestStages : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void verticalPairOpens_data() { languages(); }
    void verticalPairOpens();
    void verticalFigureButtons_data();
    void verticalFigureButtons();
    void activationRestoresTheDefaultFigures();
    void activationReadsTheNewestLanguage();
    void missingVerticalFiles_data();
    void missingVerticalFiles();

    void horizontalPairOpens_data() { languages(); }
    void horizontalPairOpens();
    void horizontalFigureButtons_data();
    void horizontalFigureButtons();
    void missingHorizontalText_data();
    void missingHorizontalText();
    void missingHorizontalFigures_data();
    void missingHorizontalFigures();
};

void TestStages::verticalPairOpens()
{
    QFETCH(bool, castilian);
    setLanguage(castilian);
    ShowOrder order;
    menu("Descripcindelaetapavertical1");
    QCOMPARE(order.shown, (QStringList { "Form19", "Form20" }));
    QVERIFY(Form19 && Form20);
    QVERIFY(Form19->isVisible() && Form20->isVisible());
    // the figure window, shown second, ends in front
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form20.data()));
    QCOMPARE(Form19->partner(), Form20.data());
    QCOMPARE(Form20->partner(), Form19.data());

    QCOMPARE(Form19->windowTitle(), QStringLiteral("Etapa Vertical"));
    QCOMPARE(outerFrame(Form19), QRect(361, 5, 279, 441));
    QCOMPARE(Form19->client()->height(), 1249);
    QCOMPARE(inClient(Form19->RichEdit1, Form19), QRect(8, 8, 241, 1201));
    QCOMPARE(Form19->RichEdit1->toPlainText(), fileText(castilian ? "evertc.rtf" : "evertv.rtf"));
    QVERIFY(Form19->RichEdit1->isReadOnly());
    QVERIFY(Form19->RichEdit1->document()->size().height() <= Form19->RichEdit1->height() + 1);
    checkFigureButton(Form19, "BitBtn1", { 184, 176, 25, 25 });
    checkFigureButton(Form19, "BitBtn2", { 184, 376, 25, 25 });
    checkFigureButton(Form19, "BitBtn3", { 176, 696, 25, 25 });
    checkFigureButton(Form19, "BitBtn4", { 176, 1040, 25, 25 });
    QCOMPARE(inClient(Form19->BitBtn5, Form19), QRect(88, 1224, 65, 25));
    QCOMPARE(Form19->BitBtn5->text(), QLatin1String(castilian ? "&Cerrar" : "&Tancar"));

    QCOMPARE(outerFrame(Form20), QRect(1, 3, 354, 449));
    QCOMPARE(Form20->windowTitle(), QString());
    QCOMPARE(Form20->Label1->text(),
        QLatin1String(castilian ? "Diagrama de bloques de la etapa vertical"
                                : "Diagrama de blocs de l'etapa vertical"));
    QCOMPARE(Form20->Label2->text(), QStringLiteral("Panel Frontal"));
    QCOMPARE(Form20->Image1->fileName(), QLatin1String(castilian ? "evertc.bmp" : "evertv.bmp"));
    QCOMPARE(Form20->Image2->fileName(), QStringLiteral("panel.bmp"));
    // both figures fit their areas whole
    for (Picture *picture : { Form20->Image1, Form20->Image2 }) {
        QVERIFY(!picture->picture().isNull());
        QVERIFY2(picture->picture().width() <= picture->width()
                && picture->picture().height() <= picture->height(),
            qPrintable(picture->fileName()));
    }
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form20, QStringLiteral("form20-") + suffix(castilian));
    auto *scroll = Form19->findChild<QScrollArea *>();
    for (int top : { 0, 400, 800, scroll->verticalScrollBar()->maximum() }) {
        scroll->verticalScrollBar()->setValue(top);
        saveGrab(Form19, QStringLiteral("form19-%1-%2").arg(suffix(castilian)).arg(top));
    }
}

void TestStages::verticalFigureButtons_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("heading");
    for (bool castilian : { true, false }) {
        const QString upper = QLatin1String(castilian ? "evertc.bmp" : "evertv.bmp");
        const QString heading = QLatin1String(
            castilian ? "Diagrama de bloques de la etapa vertical" : "Diagrama de blocs de l'etapa vertical");
        const char *lang = castilian ? "c" : "v";
        QTest::addRow("%s BitBtn1", lang)
            << castilian << "BitBtn1"
            << "circui.bmp"
            << "panel.bmp" << (castilian ? kCircuitHeadingCastilian : kCircuitHeadingValencian);
        QTest::addRow("%s BitBtn2", lang) << castilian << "BitBtn2" << upper << "panel1.bmp" << heading;
        QTest::addRow("%s BitBtn3", lang) << castilian << "BitBtn3" << upper << "panel2.bmp" << heading;
        QTest::addRow("%s BitBtn4", lang) << castilian << "BitBtn4" << upper << "panel3.bmp" << heading;
    }
}

void TestStages::verticalFigureButtons()
{
    QFETCH(bool, castilian);
    QFETCH(QString, name);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(QString, heading);
    setLanguage(castilian);
    menu("Descripcindelaetapavertical1");
    activate(Form19);
    press(Form19, qPrintable(name));
    QCOMPARE(Form20->Image1->fileName(), upper);
    QCOMPARE(Form20->Image2->fileName(), lower);
    QVERIFY(Form20->Image2->picture() == decodedFile(lower));
    QCOMPARE(Form20->Label1->text(), heading);
    // the button neither shows nor activates the figure window
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form19.data()));
    for (Picture *picture : { Form20->Image1, Form20->Image2 })
        QVERIFY2(picture->picture().width() <= picture->width()
                && picture->picture().height() <= picture->height(),
            qPrintable(picture->fileName()));
    // the column headings stand over the circuit, inside the window
    QVERIFY(inClient(Form20->Label1, Form20).right() < Form20->client()->width());
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form20, QStringLiteral("form20-%1-%2").arg(suffix(castilian), name));
}

void TestStages::activationRestoresTheDefaultFigures()
{
    menu("Descripcindelaetapavertical1");
    activate(Form19);
    press(Form19, "BitBtn1");
    press(Form19, "BitBtn4");
    Form20->setWindowTitle(QStringLiteral("x"));
    // clicking into the figure window brings back the diagram and the front panel
    activate(Form20);
    QCOMPARE(Form20->Image1->fileName(), QStringLiteral("evertc.bmp"));
    QCOMPARE(Form20->Image2->fileName(), QStringLiteral("panel.bmp"));
    QVERIFY(Form20->Image1->picture() == decodedFile(QStringLiteral("evertc.bmp")));
    QCOMPARE(Form20->windowTitle(), QString());
    // but the heading keeps the circuit's column headings
    QCOMPARE(Form20->Label1->text(), kCircuitHeadingCastilian);
    // coming back from the main window does the same
    press(Form19, "BitBtn2");
    activate(fichaprincipal);
    activate(Form20);
    QCOMPARE(Form20->Image2->fileName(), QStringLiteral("panel.bmp"));
}

void TestStages::activationReadsTheNewestLanguage()
{
    menu("Descripcindelaetapavertical1");
    QPointer<TForm19> castilianText = Form19;
    QPointer<TForm20> castilianFigures = Form20;
    setLanguage(false);
    menu("Descripcindelaetapavertical1");
    // the class's copy is Valencian now: the older figure window takes the Valencian diagram
    activate(castilianFigures);
    QCOMPARE(castilianFigures->Image1->fileName(), QStringLiteral("evertv.bmp"));
    QCOMPARE(castilianFigures->Label1->text(), QStringLiteral("Diagrama de bloques de la etapa vertical"));
    // and the older text's circuit button the Valencian headings, in its own figure window
    press(castilianText, "BitBtn1");
    QCOMPARE(castilianFigures->Label1->text(), kCircuitHeadingValencian);
    QCOMPARE(Form20->Label1->text(), QStringLiteral("Diagrama de blocs de l'etapa vertical"));
    QCOMPARE(castilianText->BitBtn5->text(), QStringLiteral("&Cerrar"));
}

void TestStages::missingVerticalFiles_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("file");
    for (bool castilian : { true, false }) {
        const char *lang = castilian ? "c" : "v";
        for (const char *file :
            { castilian ? "evertc.rtf" : "evertv.rtf", "panel.bmp", castilian ? "evertc.bmp" : "evertv.bmp",
                "circui.bmp", "panel1.bmp", "panel2.bmp", "panel3.bmp" })
            QTest::addRow("%s %s", lang, file) << castilian << QString::fromLatin1(file);
    }
}

void TestStages::missingVerticalFiles()
{
    QFETCH(bool, castilian);
    QFETCH(QString, file);
    setLanguage(castilian);
    const QString upper = QLatin1String(castilian ? "evertc.bmp" : "evertv.bmp");
    const QString heading = QLatin1String(
        castilian ? "Diagrama de bloques de la etapa vertical" : "Diagrama de blocs de l'etapa vertical");
    const Removed gone = remove(file);
    menu("Descripcindelaetapavertical1");
    QVERIFY(Form19->isVisible() && Form20->isVisible());
    if (file.endsWith(QLatin1String(".rtf"))) {
        // the window is still shown, with an empty text
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        QVERIFY(Form19->RichEdit1->toPlainText().isEmpty());
        QCOMPARE(Form19->BitBtn5->text(), QLatin1String(castilian ? "&Cerrar" : "&Tancar"));
    } else if (file == QLatin1String("panel.bmp")) {
        // activation stops at its first step: neither figure is read
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        QVERIFY(Form20->Image1->picture().isNull() && Form20->Image2->picture().isNull());
    } else if (file == upper) {
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        QCOMPARE(Form20->Image2->fileName(), QStringLiteral("panel.bmp"));
        QVERIFY(Form20->Image1->picture().isNull());
    } else {
        QVERIFY(m_errors.isEmpty());
        const char *name = file == QLatin1String("circui.bmp") ? "BitBtn1"
            : file == QLatin1String("panel1.bmp")              ? "BitBtn2"
            : file == QLatin1String("panel2.bmp")              ? "BitBtn3"
                                                               : "BitBtn4";
        press(Form19, name);
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        // the figure window keeps what it showed, heading included
        QCOMPARE(Form20->Image1->fileName(), upper);
        QCOMPARE(Form20->Image2->fileName(), QStringLiteral("panel.bmp"));
        QCOMPARE(Form20->Label1->text(), heading);
    }
}

void TestStages::horizontalPairOpens()
{
    QFETCH(bool, castilian);
    setLanguage(castilian);
    ShowOrder order;
    menu("Descripcindelaetapahorizontal1");
    // the figure window is shown while the text is being created, before the text itself
    QCOMPARE(order.shown, (QStringList { "Form21", "Form22" }));
    QVERIFY(Form22 && Form21);
    QVERIFY(Form22->isVisible() && Form21->isVisible());
    // the figure window is opened while the text is created, so the text ends in front
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form22.data()));
    QCOMPARE(Form22->partner(), Form21.data());
    QCOMPARE(Form21->partner(), Form22.data());

    QCOMPARE(Form22->windowTitle(), QLatin1String(castilian ? "Etapa Horizontal" : "Etapa Horitzontal"));
    QCOMPARE(outerFrame(Form22), QRect(343, 5, 293, 447));
    QCOMPARE(Form22->client()->height(), 1745);
    QCOMPARE(
        Form22->Label1->text(), QLatin1String(castilian ? "Circuito de disparo" : "Circuit de disparament"));
    QCOMPARE(
        Form22->Label2->text(), QLatin1String(castilian ? "Generador de barrido" : "Generador d'escaneig"));
    QCOMPARE(Form22->BitBtn2->text(), QLatin1String(castilian ? "&Cerrar" : "&Tancar"));
    QCOMPARE(inClient(Form22->BitBtn2, Form22), QRect(88, 1720, 75, 25));
    const QStringList files = castilian ? QStringList { "ehorc1.rtf", "ehorizc2.rtf", "ehoriz3c.rtf" }
                                        : QStringList { "ehorv1.rtf", "ehorizv2.rtf", "ehoriz3v.rtf" };
    const QList<RichTextPane *> panes = { Form22->RichEdit1, Form22->RichEdit2, Form22->RichEdit3 };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(panes[i]->toPlainText(), fileText(files[i]));
        QVERIFY2(panes[i]->document()->size().height() <= panes[i]->height() + 1, qPrintable(files[i]));
        // the student may type; nothing is kept
        QVERIFY(!panes[i]->isReadOnly());
    }
    checkFigureButton(Form22, "BitBtn1", { 208, 552, 25, 25 });
    checkFigureButton(Form22, "BitBtn3", { 128, 1112, 25, 25 });
    checkFigureButton(Form22, "BitBtn4", { 88, 1472, 25, 25 });
    // each heading sits between its panes
    QVERIFY(inClient(Form22->Label1, Form22).bottom() < inClient(Form22->RichEdit2, Form22).top());
    QVERIFY(inClient(Form22->Label2, Form22).top() > inClient(Form22->RichEdit2, Form22).bottom());

    const QString diagram = QLatin1String(castilian ? "ehoriz.bmp" : "ehorizv.bmp");
    QCOMPARE(Form21->windowTitle(),
        QLatin1String(castilian ? "Diagrama de la etapa horizontal" : "Diagrama de l'etapa horitzontal"));
    QCOMPARE(outerFrame(Form21), QRect(59, 88, 208, 349));
    QCOMPARE(Form21->Image1->fileName(), diagram);
    QCOMPARE(inClient(Form21->Image1, Form21), QRect(QPoint(8, 8), decodedFile(diagram).size()));
    QVERIFY(Form21->client()->rect().contains(inClient(Form21->Image1, Form21)));
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form21, QStringLiteral("form21-") + suffix(castilian));
    auto *scroll = Form22->findChild<QScrollArea *>();
    for (int top : { 0, 450, 900, 1300, scroll->verticalScrollBar()->maximum() }) {
        scroll->verticalScrollBar()->setValue(top);
        saveGrab(Form22, QStringLiteral("form22-%1-%2").arg(suffix(castilian)).arg(top));
    }
}

void TestStages::horizontalFigureButtons_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRect>("window");
    for (bool castilian : { true, false }) {
        const char *lang = castilian ? "c" : "v";
        QTest::addRow("%s BitBtn1", lang)
            << castilian << "BitBtn1" << (castilian ? "org2c.bmp" : "org2v.bmp") << QRect(15, 52, 323, 315);
        // the front panel needs no translation
        QTest::addRow("%s BitBtn3", lang) << castilian << "BitBtn3"
                                          << "panel4.bmp" << QRect(15, 52, 316, 272);
        QTest::addRow("%s BitBtn4", lang)
            << castilian << "BitBtn4" << (castilian ? "barridoc.bmp" : "barridov.bmp")
            << QRect(1, 1, 335, 448);
    }
}

void TestStages::horizontalFigureButtons()
{
    QFETCH(bool, castilian);
    QFETCH(QString, name);
    QFETCH(QString, picture);
    QFETCH(QRect, window);
    setLanguage(castilian);
    menu("Descripcindelaetapahorizontal1");
    const QString title = Form21->windowTitle();
    press(Form22, qPrintable(name));
    QCOMPARE(Form21->Image1->fileName(), picture);
    QVERIFY(Form21->Image1->picture() == decodedFile(picture));
    // the picture control takes the figure's size, the window its new size and place
    QCOMPARE(Form21->Image1->size(), decodedFile(picture).size());
    QCOMPARE(outerFrame(Form21), window);
    // the figure fits the window it is given
    QVERIFY2(Form21->client()->rect().contains(inClient(Form21->Image1, Form21)), qPrintable(picture));
    // the title stays whatever the figure
    QCOMPARE(Form21->windowTitle(), title);
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form22.data()));
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form21, QStringLiteral("form21-%1-%2").arg(suffix(castilian), picture.section('.', 0, 0)));
}

void TestStages::missingHorizontalText_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("missing");
    const char *castilianFiles[] = { "ehorc1.rtf", "ehorizc2.rtf", "ehoriz3c.rtf" };
    const char *valencianFiles[] = { "ehorv1.rtf", "ehorizv2.rtf", "ehoriz3v.rtf" };
    for (int i = 0; i < 3; ++i) {
        QTest::addRow("%s", castilianFiles[i]) << true << i;
        QTest::addRow("%s", valencianFiles[i]) << false << i;
    }
}

void TestStages::missingHorizontalText()
{
    QFETCH(bool, castilian);
    QFETCH(int, missing);
    setLanguage(castilian);
    const QStringList files = castilian ? QStringList { "ehorc1.rtf", "ehorizc2.rtf", "ehoriz3c.rtf" }
                                        : QStringList { "ehorv1.rtf", "ehorizv2.rtf", "ehoriz3v.rtf" };
    {
        const Removed gone = remove(files[missing]);
        menu("Descripcindelaetapahorizontal1");
    }
    QCOMPARE(m_errors, QStringList { cannotOpen(files[missing]) });
    // both windows stand, the figure window opened before the texts were read
    QVERIFY(Form22->isVisible() && Form21->isVisible());
    QCOMPARE(Form21->Image1->fileName(), QLatin1String(castilian ? "ehoriz.bmp" : "ehorizv.bmp"));
    QCOMPARE(Form22->windowTitle(), QLatin1String(castilian ? "Etapa Horizontal" : "Etapa Horitzontal"));
    // what comes after the missing text keeps its design text
    const QString label1 = missing >= 1
        ? QLatin1String(castilian ? "Circuito de disparo" : "Circuit de disparament")
        : QStringLiteral("Circuito de disparo");
    const QString label2 = missing >= 2
        ? QLatin1String(castilian ? "Generador de barrido" : "Generador d'escaneig")
        : QStringLiteral("Generador de barrido");
    QCOMPARE(Form22->Label1->text(), label1);
    QCOMPARE(Form22->Label2->text(), label2);
    QCOMPARE(Form22->BitBtn2->text(), QStringLiteral("&Cerrar"));
    const QList<RichTextPane *> panes = { Form22->RichEdit1, Form22->RichEdit2, Form22->RichEdit3 };
    for (int i = 0; i < 3; ++i)
        QCOMPARE(panes[i]->toPlainText().isEmpty(), i >= missing);
    // the pair still works and closes together
    press(Form22, "BitBtn2");
    QVERIFY(!Form22->isVisible() && !Form21->isVisible());
}

void TestStages::missingHorizontalFigures_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("button");
    struct Row
    {
        const char *castilian;
        const char *valencian;
        const char *button;
    };
    // an empty button: the diagram the figure window reads as it is created
    const Row rows[] = { { "ehoriz.bmp", "ehorizv.bmp", "" }, { "org2c.bmp", "org2v.bmp", "BitBtn1" },
        { "panel4.bmp", "panel4.bmp", "BitBtn3" }, { "barridoc.bmp", "barridov.bmp", "BitBtn4" } };
    for (bool castilian : { true, false })
        for (const Row &row : rows)
            QTest::addRow("%s %s", castilian ? "c" : "v", castilian ? row.castilian : row.valencian)
                << castilian << QString::fromLatin1(castilian ? row.castilian : row.valencian)
                << QString::fromLatin1(row.button);
}

void TestStages::missingHorizontalFigures()
{
    QFETCH(bool, castilian);
    QFETCH(QString, file);
    QFETCH(QString, button);
    setLanguage(castilian);
    const QString diagram = QLatin1String(castilian ? "ehoriz.bmp" : "ehorizv.bmp");
    const QString title
        = QLatin1String(castilian ? "Diagrama de la etapa horizontal" : "Diagrama de l'etapa horitzontal");
    if (button.isEmpty()) {
        {
            const Removed gone = remove(file);
            menu("Descripcindelaetapahorizontal1");
        }
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        // both windows stand; the figure window is empty under its title, the texts all read
        QVERIFY(Form21->isVisible() && Form22->isVisible());
        QCOMPARE(Form21->windowTitle(), title);
        QVERIFY(Form21->Image1->picture().isNull());
        QCOMPARE(Form22->BitBtn2->text(), QLatin1String(castilian ? "&Cerrar" : "&Tancar"));
        return;
    }
    // a figure button's picture: the window keeps its figure, size, place and title
    menu("Descripcindelaetapahorizontal1");
    const QRect before = outerFrame(Form21);
    {
        const Removed gone = remove(file);
        press(Form22, qPrintable(button));
    }
    QCOMPARE(m_errors, QStringList { cannotOpen(file) });
    QCOMPARE(Form21->Image1->fileName(), diagram);
    QCOMPARE(Form21->Image1->size(), decodedFile(diagram).size());
    QCOMPARE(outerFrame(Form21), before);
    QCOMPARE(Form21->windowTitle(), title);
}

QTEST_MAIN(TestStages)
#include "tst_stages.moc"
