#include "cursors.h"
#include "tform14.h"
#include "tform15.h"
#include "windowtestsupport.h"

#include <QScrollBar>

namespace {

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

class TestTube : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

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

void TestTube::tubeOpensWithoutItsTextWindow()
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

void TestTube::partLabels_data()
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

void TestTube::partLabels()
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

void TestTube::arrowsPointFromTheirNames()
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

void TestTube::partClicks_data()
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

void TestTube::partClicks()
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

void TestTube::secondPartHidesRefillsAndMoves()
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

void TestTube::missingPartFileLeavesTheTextHidden_data()
{
    QTest::addColumn<bool>("castilian");
    QTest::addColumn<int>("part");
    for (bool castilian : { true, false })
        for (int part = 0; part < partCases().size(); ++part)
            QTest::addRow("%s", castilian ? partCases()[part].fileCastilian : partCases()[part].fileValencian)
                << castilian << part;
}

void TestTube::missingPartFileLeavesTheTextHidden()
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

void TestTube::tubeAndTextCloseTogether_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cerrar") << QStringLiteral("button");
    QTest::newRow("tube close box") << QStringLiteral("tube");
    QTest::newRow("text close box") << QStringLiteral("text");
}

void TestTube::tubeAndTextCloseTogether()
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

void TestTube::twoTubesKeepToTheirOwnTexts()
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

void TestTube::olderTubeSpeaksTheNewestLanguage()
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

void TestTube::withoutTheCursorFileNamesStillWork()
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

QTEST_MAIN(TestTube)
#include "tst_tube.moc"
