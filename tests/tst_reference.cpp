#include "cursors.h"
#include "tform13.h"
#include "tform14.h"
#include "tform15.h"
#include "tform16.h"
#include "windowtestsupport.h"

#include <QScrollArea>
#include <QScrollBar>

namespace {

struct TechnicalPane
{
    const char *heading;
    const char *pane;
    const char *castilianFile;
    const char *valencianFile;
};

// Each heading and the pane below it, top to bottom.
const TechnicalPane kTechnical[] = {
    { "Label2", "RichEdit1", "modof.rtf", "modef.rtf" },
    { "Label3", "RichEdit2", "ampvcast.rtf", "ampvval.rtf" },
    { "Label4", "RichEdit3", "basetie.rtf", "basetem.rtf" },
    { "Label5", "RichEdit4", "amphcast.rtf", "amphval.rtf" },
    { "Label6", "RichEdit5", "testc.rtf", "testv.rtf" },
    { "Label7", "RichEdit6", "variosc.rtf", "variosv.rtf" },
};

// The nine parts as the student finds them: the names to click, and what the text window becomes.
struct PartCase
{
    QStringList labels;
    const char *titleCastilian;
    const char *titleValencian;
    const char *fileCastilian;
    const char *fileValencian;
    QSize viewer;
    QRect window;
};

const QList<PartCase> &partCases()
{
    static const QList<PartCase> cases = {
        { { "efil" }, "Filamento", "Filament", "fil.rtf", "filv.rtf", { 273, 57 }, { 158, 89, 298, 85 } },
        { { "ecat" }, "El Cátodo", "El Càtode", "catodo.rtf", "catodov.rtf", { 337, 65 },
            { 150, 73, 362, 98 } },
        { { "erej" }, "La Rejilla", "La Reixa", "rejilla.rtf", "rejillav.rtf", { 321, 153 },
            { 160, 4, 341, 183 } },
        { { "eelec", "Label7" }, "Primer Anodo Acelerador", "Primer Anode Accelerador", "primera.rtf",
            "primerav.rtf", { 385, 153 }, { 138, 16, 403, 182 } },
        { { "Label5", "Label6" }, "Electrodo de enfoque", "Elèctrode d'enfocament", "eenfoque.rtf",
            "enfoquev.rtf", { 385, 89 }, { 122, 59, 403, 123 } },
        { { "Label9", "Label10" }, "Segundo Anodo", "Segon Anode", "sanodo.rtf", "sanodov.rtf", { 417, 65 },
            { 106, 64, 438, 96 } },
        { { "Label12", "Label13", "Label15", "Label16" }, "Sistema de Deflexión", "Sistema de Deflexió",
            "deflexion.rtf", "deflexv.rtf", { 425, 145 }, { 99, 14, 446, 173 } },
        { { "Label18" }, "Acelerador Final", "Accelerador Final", "afinal.rtf", "afinalv.rtf", { 457, 97 },
            { 94, 46, 477, 129 } },
        { { "Label19" }, "La Pantalla", "La Pantalla", "pantalla.rtf", "pantv.rtf", { 417, 121 },
            { 104, 16, 438, 155 } },
    };
    return cases;
}

Label *partLabel(const QString &name)
{
    return Form14->findChild<Label *>(name);
}

void clickPart(TForm14 *tube, const QString &name)
{
    Label *label = tube->findChild<Label *>(name);
    QVERIFY2(label, qPrintable(name));
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, label->height() / 2));
}

} // namespace

class TestReference : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void blockDiagram_data();
    void blockDiagram();
    void missingDiagramLeavesTheWindowEmpty();

    void technicalData_data();
    void technicalData();
    void designTextsStayUntilTheFilesAreRead();
    void missingTechnicalFileKeepsTheRestAsDesigned_data();
    void missingTechnicalFileKeepsTheRestAsDesigned();

    void tubeOpensWithoutItsTextWindow();
    void partLabels_data();
    void partLabels();
    void arrowsPointFromTheirNames();
    void partClicks_data();
    void partClicks();
    void secondPartHidesRefillsAndMoves();
    void missingPartFileLeavesTheTextHidden_data();
    void missingPartFileLeavesTheTextHidden();
    void tubeAndTextCloseTogether_data();
    void tubeAndTextCloseTogether();
    void twoTubesKeepToTheirOwnTexts();
    void olderTubeSpeaksTheNewestLanguage();
    void withoutTheCursorFileNamesStillWork();
};

void TestReference::blockDiagram_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::newRow("castellano") << true << QStringLiteral("Diagrama de Bloques") << QStringLiteral("dbc.bmp");
    // a small b in Valencian
    QTest::newRow("valencià") << false << QStringLiteral("Diagrama de blocs") << QStringLiteral("dbv.bmp");
}

void TestReference::blockDiagram()
{
    QFETCH(bool, castilian);
    QFETCH(QString, title);
    QFETCH(QString, file);
    setLanguage(castilian);
    menu("Diagramadebloquesdelosciloscopio1");
    QVERIFY(Form16 && Form16->isVisible());
    QCOMPARE(Form16->windowTitle(), title);
    QCOMPARE(outerFrame(Form16), QRect(165, 97, 378, 341));
    QCOMPARE(inClient(Form16->Image1, Form16), QRect(0, 0, 369, 313));
    QCOMPARE(Form16->Image1->fileName(), file);
    const QImage diagram = decodedFile(file);
    QVERIFY(!diagram.isNull());
    QVERIFY(Form16->Image1->picture() == diagram);
    // the whole diagram shows in its area, without being cut
    QVERIFY(diagram.width() <= 369 && diagram.height() <= 313);
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form16, QStringLiteral("form16-") + QLatin1String(castilian ? "c" : "v"));
}

void TestReference::missingDiagramLeavesTheWindowEmpty()
{
    for (bool castilian : { true, false }) {
        startCase(castilian);
        const QString file = QLatin1String(castilian ? "dbc.bmp" : "dbv.bmp");
        {
            const Removed gone = remove(file);
            menu("Diagramadebloquesdelosciloscopio1");
        }
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        QVERIFY(Form16->isVisible());
        QCOMPARE(
            Form16->windowTitle(), QLatin1String(castilian ? "Diagrama de Bloques" : "Diagrama de blocs"));
        QVERIFY(Form16->Image1->picture().isNull());
    }
}

void TestReference::technicalData_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QStringList>("texts");
    // title, the six headings top to bottom, the button
    QTest::newRow("castellano") << true
                                << QStringList { "Datos técnicos", "Modos de funcionamiento",
                                       "Amplificador Vertical", "Base de tiempos", "Amplificador Horizontal",
                                       "Tester de componentes", "Varios", "&Cerrar" };
    // the vertical amplifier's heading stays Castilian; the button has no accelerator
    QTest::newRow("valencià") << false
                              << QStringList { "Dades tècniques", "Modes de funcionament",
                                     "Amplificador Vertical", "Base de temps", "Amplificador Horitzontal",
                                     "Tester de components", "Varis", "Tancar" };
}

void TestReference::technicalData()
{
    QFETCH(bool, castilian);
    QFETCH(QStringList, texts);
    setLanguage(castilian);
    menu("DatostcnicosdelHM2031");
    QVERIFY(Form13 && Form13->isVisible());
    QCOMPARE(Form13->windowTitle(), texts[0]);
    QCOMPARE(outerFrame(Form13), QRect(145, 95, 375, 349));
    // the window scrolls over the whole list, down to the close button's lower edge
    QCOMPARE(Form13->client()->height(), 1848);
    QCOMPARE(inClient(Form13->BitBtn1, Form13), QRect(152, 1824, 75, 24));
    QCOMPARE(Form13->BitBtn1->text(), texts[7]);

    int previousBottom = 0;
    for (int i = 0; i < 6; ++i) {
        auto *heading = Form13->findChild<Label *>(QLatin1String(kTechnical[i].heading));
        auto *pane = Form13->findChild<RichTextPane *>(QLatin1String(kTechnical[i].pane));
        QVERIFY(heading && pane);
        QCOMPARE(heading->text(), texts[i + 1]);
        QCOMPARE(heading->font().bold(), true);
        QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(0x80, 0x00, 0x00));
        // each heading stands between the pane above it and its own pane, wholly within the window
        const QRect headingArea = inClient(heading, Form13);
        const QRect paneArea = inClient(pane, Form13);
        QVERIFY2(headingArea.top() >= previousBottom && headingArea.bottom() < paneArea.top(),
            kTechnical[i].heading);
        QVERIFY(headingArea.right() < Form13->client()->width());
        previousBottom = paneArea.bottom();
        const QString file
            = QLatin1String(castilian ? kTechnical[i].castilianFile : kTechnical[i].valencianFile);
        QCOMPARE(pane->toPlainText(), fileText(file));
        QVERIFY(pane->isReadOnly());
        QCOMPARE(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // the text fits its pane, which never scrolls
        QVERIFY2(pane->document()->size().height() <= pane->height() + 1, qPrintable(file));
    }
    QVERIFY(m_errors.isEmpty());

    auto *scroll = Form13->findChild<QScrollArea *>();
    saveGrab(Form13, QStringLiteral("form13-top-") + QLatin1String(castilian ? "c" : "v"));
    scroll->verticalScrollBar()->setValue(900);
    saveGrab(Form13, QStringLiteral("form13-middle-") + QLatin1String(castilian ? "c" : "v"));
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    saveGrab(Form13, QStringLiteral("form13-end-") + QLatin1String(castilian ? "c" : "v"));

    QTest::mouseClick(Form13->BitBtn1, Qt::LeftButton);
    QVERIFY(!Form13->isVisible());
    QVERIFY(Form13);
}

void TestReference::designTextsStayUntilTheFilesAreRead()
{
    // A window built but not yet created shows the design figures.
    TForm13 designed;
    QCOMPARE(designed.windowTitle(), QStringLiteral("Datos técnicos"));
    const QStringList modes = designed.RichEdit1->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(modes.value(0), QString());
    QCOMPARE(modes.value(1), QStringLiteral("Canal I,canal II, canal I y II."));
    const QStringList vertical = designed.RichEdit2->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(vertical.size(), 15);
    // written for the Symbol face, shown as stored in the pane's own
    QCOMPARE(vertical.value(12), QStringLiteral("1 MW  çç 30 pF."));
    const QStringList tester = designed.RichEdit5->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(tester.size(), 10);
    for (int line : { 1, 4 })
        QVERIFY(tester[line].startsWith(QString(23, QLatin1Char(' ')) + QStringLiteral("Máx.")));
    for (int line : { 7, 8, 9 })
        QVERIFY(
            tester[line].startsWith(QString(24, QLatin1Char(' '))) && tester[line][24] != QLatin1Char(' '));
    const QStringList various = designed.RichEdit6->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(various.value(27), QStringLiteral("           Largo = 380 mm."));
    QCOMPARE(various.last(), QString());
}

void TestReference::missingTechnicalFileKeepsTheRestAsDesigned_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("missing");
    for (int i = 0; i < 6; ++i) {
        QTest::addRow("%s", kTechnical[i].castilianFile) << true << i;
        QTest::addRow("%s", kTechnical[i].valencianFile) << false << i;
    }
}

void TestReference::missingTechnicalFileKeepsTheRestAsDesigned()
{
    QFETCH(bool, castilian);
    QFETCH(int, missing);
    setLanguage(castilian);
    const auto fileOf = [castilian](int i) {
        return QLatin1String(castilian ? kTechnical[i].castilianFile : kTechnical[i].valencianFile);
    };
    {
        const Removed gone = remove(fileOf(missing));
        menu("DatostcnicosdelHM2031");
    }
    QCOMPARE(m_errors, QStringList { cannotOpen(fileOf(missing)) });
    QVERIFY(Form13->isVisible());
    // the headings and the button are all set before the first pane is read
    QCOMPARE(Form13->Label7->text(), QLatin1String(castilian ? "Varios" : "Varis"));
    QCOMPARE(Form13->BitBtn1->text(), QLatin1String(castilian ? "&Cerrar" : "Tancar"));
    const QList<RichTextPane *> panes = { Form13->RichEdit1, Form13->RichEdit2, Form13->RichEdit3,
        Form13->RichEdit4, Form13->RichEdit5, Form13->RichEdit6 };
    for (int i = 0; i < 6; ++i) {
        const QString expected = i < missing ? fileText(fileOf(i)) : TForm13::designText(i);
        QCOMPARE(panes[i]->toPlainText(), expected);
    }
}

void TestReference::tubeOpensWithoutItsTextWindow()
{
    menu("DescripcindetalladadelTRC1");
    QVERIFY(Form14 && Form15);
    QVERIFY(Form14->isVisible());
    QVERIFY(!Form15->isVisible());
    QCOMPARE(Form14->partner(), Form15.data());
    QCOMPARE(Form15->partner(), Form14.data());
    QCOMPARE(Form14->windowTitle(), QStringLiteral("T.R.C."));
    QCOMPARE(outerFrame(Form14), QRect(54, 190, 554, 255));
    QCOMPARE(inClient(Form14->Image1, Form14), QRect(24, 0, 521, 217));
    QCOMPARE(Form14->Image1->picture().size(), QSize(503, 202));
    QCOMPARE(inClient(Form14->BitBtn1, Form14), QRect(216, 200, 75, 25));
    QCOMPARE(Form14->BitBtn1->text(), QStringLiteral("&Cerrar"));
    QVERIFY(!Form14->BitBtn1->icon().isNull());
    // the text window waits, untitled, with three empty lines
    QCOMPARE(outerFrame(Form15), QRect(104, 33, 411, 149));
    QCOMPARE(Form15->windowTitle(), QString());
    QCOMPARE(inClient(Form15->RichEdit1, Form15), QRect(8, 0, 385, 113));
    QCOMPARE(Form15->RichEdit1->toPlainText(), QStringLiteral("\n\n"));
    QCOMPARE(Form15->RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(Form15->RichEdit1->isReadOnly());
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form14, QStringLiteral("form14-c"));
}

void TestReference::partLabels_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QString>("text");
    struct Row
    {
        const char *name;
        QPoint place;
        const char *castilian;
        const char *valencian;
    };
    const Row rows[] = {
        { "efil", { 8, 96 }, "Filamento", "Filament" },
        { "ecat", { 48, 128 }, "Cátodo", "Càtode" },
        { "erej", { 80, 48 }, "Rejilla", "Reixa" },
        { "eelec", { 88, 152 }, "Electrodo", "Elèctrode" },
        { "Label7", { 72, 168 }, "preacelerador", "preaccelerador" },
        { "Label5", { 128, 32 }, "Electrodo", "Elèctrode" },
        { "Label6", { 128, 48 }, "enfoque", "d'enfocament" },
        { "Label9", { 160, 152 }, "Segundo", "Segon" },
        { "Label10", { 168, 168 }, "ánodo", "ànode" },
        { "Label12", { 208, 32 }, "Placas deflexión", "Plaques deflexió" },
        { "Label13", { 216, 48 }, "horizontal", "horitzontal" },
        { "Label15", { 248, 160 }, "Placas deflexión", "Plaques deflexió" },
        { "Label16", { 272, 176 }, "vertical", "vertical" },
        { "Label18", { 320, 24 }, "Acelerador final", "Accelerador final" },
        { "Label19", { 472, 136 }, "Pantalla", "Pantalla" },
    };
    for (bool castilian : { true, false })
        for (const Row &row : rows)
            QTest::addRow("%s %s", castilian ? "c" : "v", row.name)
                << castilian << QString::fromLatin1(row.name) << row.place
                << QString::fromUtf8(castilian ? row.castilian : row.valencian);
}

void TestReference::partLabels()
{
    QFETCH(bool, castilian);
    QFETCH(QString, name);
    QFETCH(QPoint, place);
    QFETCH(QString, text);
    setLanguage(castilian);
    menu("DescripcindetalladadelTRC1");
    Label *label = partLabel(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->accessibleName(), text);
    QCOMPARE(inClient(label, Form14).topLeft(), place);
    // blue, bold, underlined, and wholly inside the window
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QVERIFY(label->font().bold() && label->font().underline());
    QVERIFY(inClient(label, Form14).right() < Form14->client()->width());
    QCOMPARE(Form14->BitBtn1->text(), QLatin1String(castilian ? "&Cerrar" : "&Tancar"));
    QCOMPARE(Form14->windowTitle(), QStringLiteral("T.R.C."));
    // the hand shows once the pointer has moved over the name, from entry 20
    QVERIFY(CursorTable::has(CursorTable::kDetailedTubeHand));
    pointerOver(label);
    QCOMPARE(label->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(label->cursor().pixmap().toImage(),
        CursorTable::cursor(CursorTable::kDetailedTubeHand).pixmap().toImage());
    if (name == QLatin1String("Label19"))
        saveGrab(Form14, QStringLiteral("form14-") + QLatin1String(castilian ? "c" : "v"));
}

void TestReference::arrowsPointFromTheirNames()
{
    menu("DescripcindetalladadelTRC1");
    struct Row
    {
        const char *name;
        QRect area;
        QChar arrow;
        int characterHeight;
    };
    const QChar up(0x2191);
    const QChar down(0x2193);
    const Row rows[] = {
        { "Label1", { 80, 112, 17, 17 }, up, 12 },
        { "Label2", { 96, 72, 17, 15 }, down, 12 },
        { "Label3", { 112, 128, 17, 27 }, up, 24 },
        { "Label4", { 144, 64, 13, 23 }, down, 19 },
        { "Label8", { 176, 128, 17, 27 }, up, 24 },
        { "Label11", { 232, 64, 13, 23 }, down, 19 },
        { "Label14", { 288, 128, 17, 27 }, up, 24 },
        { "Label17", { 360, 40, 13, 23 }, down, 19 },
    };
    QCOMPARE(Form14->arrows.size(), 8);
    for (const Row &row : rows) {
        auto *arrow = Form14->findChild<Label *>(QLatin1String(row.name));
        QVERIFY2(arrow, row.name);
        QCOMPARE(inClient(arrow, Form14), row.area);
        QCOMPARE(arrow->text(), QString(row.arrow));
        QVERIFY(arrow->font().bold());
        // the arrow is drawn whole inside its label
        const QRect drawn = QFontMetrics(arrow->font()).boundingRect(arrow->text());
        QVERIFY2(drawn.width() <= row.area.width() + 1, row.name);
        // clicking an arrow, the drawing or the background does nothing
        QTest::mouseClick(arrow, Qt::LeftButton);
    }
    QTest::mouseClick(Form14->Image1, Qt::LeftButton, {}, QPoint(300, 100));
    QTest::mouseClick(Form14->client(), Qt::LeftButton, {}, QPoint(500, 220));
    QVERIFY(!Form15->isVisible());
    QCOMPARE(Form15->windowTitle(), QString());
}

void TestReference::partClicks_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("part");
    for (bool castilian : { true, false })
        for (int part = 0; part < partCases().size(); ++part)
            for (const QString &label : partCases()[part].labels)
                QTest::addRow("%s %s", castilian ? "c" : "v", qPrintable(label))
                    << castilian << label << part;
}

void TestReference::partClicks()
{
    QFETCH(bool, castilian);
    QFETCH(QString, label);
    QFETCH(int, part);
    const PartCase &expected = partCases()[part];
    setLanguage(castilian);
    menu("DescripcindetalladadelTRC1");
    clickPart(Form14, label);
    const QString file = QLatin1String(castilian ? expected.fileCastilian : expected.fileValencian);
    QVERIFY(Form15->isVisible());
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form15.data()));
    QCOMPARE(Form15->windowTitle(),
        QString::fromUtf8(castilian ? expected.titleCastilian : expected.titleValencian));
    QCOMPARE(Form15->RichEdit1->toPlainText(), fileText(file));
    QCOMPARE(inClient(Form15->RichEdit1, Form15), QRect(QPoint(8, 0), expected.viewer));
    QCOMPARE(outerFrame(Form15), expected.window);
    // the text window stands above the tube, at most 8 pixels into it
    QVERIFY(expected.window.bottom() < 190 + 8);
    // the viewer, its scroll bar always shown, sits wholly in the window
    QVERIFY(Form15->RichEdit1->verticalScrollBar()->isVisible());
    QVERIFY(Form15->client()->rect().contains(inClient(Form15->RichEdit1, Form15)));
    QVERIFY(Form14->isVisible());
    QVERIFY(m_errors.isEmpty());
    if (label == expected.labels.first())
        saveGrab(Form15, QStringLiteral("form15-%1-%2").arg(castilian ? "c" : "v", file.section('.', 0, 0)));
}

void TestReference::secondPartHidesRefillsAndMoves()
{
    menu("DescripcindetalladadelTRC1");
    HideCounter hides(Form15);
    clickPart(Form14, QStringLiteral("ecat"));
    QCOMPARE(outerFrame(Form15), QRect(150, 73, 362, 98));
    clickPart(Form14, QStringLiteral("Label18"));
    // hidden once in between, then shown again in its new place with the new text
    QCOMPARE(hides.hides, 1);
    QVERIFY(Form15->isVisible());
    QCOMPARE(Form15->windowTitle(), QStringLiteral("Acelerador Final"));
    QCOMPARE(Form15->RichEdit1->toPlainText(), fileText(QStringLiteral("afinal.rtf")));
    QCOMPARE(outerFrame(Form15), QRect(94, 46, 477, 129));
    // closed by its own close box, the next click brings it back
    Form15->close();
    QVERIFY(!Form15->isVisible() && Form14->isVisible());
    clickPart(Form14, QStringLiteral("efil"));
    QVERIFY(Form15->isVisible());
    QCOMPARE(outerFrame(Form15), QRect(158, 89, 298, 85));
}

void TestReference::missingPartFileLeavesTheTextHidden_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("part");
    for (bool castilian : { true, false })
        for (int part = 0; part < partCases().size(); ++part)
            QTest::addRow("%s", castilian ? partCases()[part].fileCastilian : partCases()[part].fileValencian)
                << castilian << part;
}

void TestReference::missingPartFileLeavesTheTextHidden()
{
    QFETCH(bool, castilian);
    QFETCH(int, part);
    const PartCase &expected = partCases()[part];
    const QString file = QLatin1String(castilian ? expected.fileCastilian : expected.fileValencian);
    setLanguage(castilian);
    menu("DescripcindetalladadelTRC1");
    // another part shown first, so a failure has something to leave
    const int other = (part + 1) % partCases().size();
    clickPart(Form14, partCases()[other].labels.first());
    const QString before = Form15->RichEdit1->toPlainText();
    const QRect placeBefore = outerFrame(Form15);
    {
        const Removed gone = remove(file);
        clickPart(Form14, expected.labels.first());
    }
    QCOMPARE(m_errors, QStringList { cannotOpen(file) });
    // hidden, under the new title, with the old text, size and place
    QVERIFY(!Form15->isVisible());
    QCOMPARE(Form15->windowTitle(),
        QString::fromUtf8(castilian ? expected.titleCastilian : expected.titleValencian));
    QCOMPARE(Form15->RichEdit1->toPlainText(), before);
    QCOMPARE(outerFrame(Form15), placeBefore);
    // the tube window stays usable
    QVERIFY(Form14->isVisible());
    clickPart(Form14, expected.labels.first());
    QVERIFY(Form15->isVisible());
    QCOMPARE(m_errors.size(), 1);
}

void TestReference::tubeAndTextCloseTogether_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cerrar") << QStringLiteral("button");
    QTest::newRow("tube close box") << QStringLiteral("tube");
    QTest::newRow("text close box") << QStringLiteral("text");
}

void TestReference::tubeAndTextCloseTogether()
{
    QFETCH(QString, how);
    menu("DescripcindetalladadelTRC1");
    clickPart(Form14, QStringLiteral("erej"));
    QPointer<TForm14> tube = Form14;
    QPointer<TForm15> text = Form15;
    HideCounter tubeHides(tube);
    HideCounter textHides(text);
    if (how == QLatin1String("button"))
        QTest::mouseClick(tube->BitBtn1, Qt::LeftButton);
    else if (how == QLatin1String("tube"))
        tube->close();
    else
        text->close();
    QVERIFY(!text->isVisible());
    // the text window closes nothing: the tube stays when only the text is closed
    QCOMPARE(tube->isVisible(), how == QLatin1String("text"));
    QCOMPARE(textHides.hides, 1);
    QCOMPARE(tubeHides.hides, how == QLatin1String("text") ? 0 : 1);
    tube->close();
    text->close();
    QCOMPARE(textHides.hides, 1);
    QCOMPARE(tubeHides.hides, 1);
    QVERIFY(tube && text);
}

void TestReference::twoTubesKeepToTheirOwnTexts()
{
    menu("DescripcindetalladadelTRC1");
    QPointer<TForm14> oldTube = Form14;
    QPointer<TForm15> oldText = Form15;
    menu("DescripcindetalladadelTRC1");
    QVERIFY(Form14 != oldTube && Form15 != oldText);
    // a click in the older tube fills the older text window only
    clickPart(oldTube, QStringLiteral("Label19"));
    QVERIFY(oldText->isVisible());
    QCOMPARE(oldText->windowTitle(), QStringLiteral("La Pantalla"));
    QVERIFY(!Form15->isVisible());
    QCOMPARE(Form15->windowTitle(), QString());
    clickPart(Form14, QStringLiteral("ecat"));
    QVERIFY(Form15->isVisible());
    QCOMPARE(oldText->windowTitle(), QStringLiteral("La Pantalla"));
    // hiding the older tube hides its own text window and leaves the newer pair open
    oldTube->close();
    QVERIFY(!oldText->isVisible());
    QVERIFY(Form14->isVisible() && Form15->isVisible());
    Form14->close();
    QVERIFY(!Form15->isVisible());
}

void TestReference::olderTubeSpeaksTheNewestLanguage()
{
    menu("DescripcindetalladadelTRC1");
    QPointer<TForm14> castilianTube = Form14;
    QPointer<TForm15> castilianText = Form15;
    // switching alone changes nothing in the open pair
    setLanguage(false);
    clickPart(castilianTube, QStringLiteral("ecat"));
    QCOMPARE(castilianText->windowTitle(), QStringLiteral("El Cátodo"));
    QCOMPARE(castilianTube->findChild<Label *>(QStringLiteral("ecat"))->text(), QStringLiteral("Cátodo"));
    // a new pair takes the language for the whole class
    menu("DescripcindetalladadelTRC1");
    clickPart(castilianTube, QStringLiteral("ecat"));
    QCOMPARE(castilianText->windowTitle(), QStringLiteral("El Càtode"));
    QCOMPARE(castilianText->RichEdit1->toPlainText(), fileText(QStringLiteral("catodov.rtf")));
    // while the older window's names and button keep the language they were made in
    QCOMPARE(castilianTube->findChild<Label *>(QStringLiteral("ecat"))->text(), QStringLiteral("Cátodo"));
    QCOMPARE(castilianTube->BitBtn1->text(), QStringLiteral("&Cerrar"));
    QCOMPARE(Form14->findChild<Label *>(QStringLiteral("ecat"))->text(), QStringLiteral("Càtode"));
    QVERIFY(!Form15->isVisible());
}

void TestReference::withoutTheCursorFileNamesStillWork()
{
    {
        const Removed gone = remove(QStringLiteral("handgrab.cur"));
        menu("DescripcindetalladadelTRC1");
    }
    // not reported; entry 20 is gone and the names show the ordinary arrow
    QVERIFY(m_errors.isEmpty());
    QVERIFY(!CursorTable::has(CursorTable::kDetailedTubeHand));
    Label *label = partLabel(QStringLiteral("erej"));
    pointerOver(label);
    QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
    clickPart(Form14, QStringLiteral("erej"));
    QVERIFY(Form15->isVisible());
    // a tube window made with the file back installs the hand again
    menu("DescripcindetalladadelTRC1");
    QVERIFY(CursorTable::has(CursorTable::kDetailedTubeHand));
}

QTEST_MAIN(TestReference)
#include "tst_reference.moc"
