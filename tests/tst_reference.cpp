#include "tform13.h"
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

QTEST_MAIN(TestReference)
#include "tst_reference.moc"
