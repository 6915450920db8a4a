#include "tform10.h"
#include "tform11.h"
#include "tform14.h"
#include "tform15.h"
#include "tform17.h"
#include "tform18.h"
#include "tform19.h"
#include "tform20.h"
#include "tform21.h"
#include "tform22.h"
#include "windowtestsupport.h"

#include <QScrollArea>
#include <QScrollBar>

#include <functional>

namespace {

/** The pairs that live and close together, each opened by its menu command. */
struct PairKind
{
    const char *menuItem;
    /** The two windows just opened, reading (or acting) window first. */
    std::function<std::pair<Form *, Form *>()> newest;
    /** Presses, in the first window, a button that changes the second; returns what it showed. */
    std::function<QString(Form *, Form *)> act;
    /** What the second window shows now. */
    std::function<QString(Form *)> shown;
};

const QList<PairKind> &pairKinds()
{
    static const QList<PairKind> kinds = {
        { "Composc",
            [] {
                return std::pair<Form *, Form *> { Form11, form10 };
            },
            [](Form *texts, Form *) {
                press(texts, "BitBtn5");
                return QStringLiteral("p13.bmp");
            },
            [](Form *screen) { return static_cast<Tform10 *>(screen)->pantalla->fileName(); } },
        { "Descripcindelaetapavertical1",
            [] {
                return std::pair<Form *, Form *> { Form19, Form20 };
            },
            [](Form *text, Form *) {
                press(text, "BitBtn3");
                return QStringLiteral("panel2.bmp");
            },
            [](Form *figures) { return static_cast<TForm20 *>(figures)->Image2->fileName(); } },
        { "Descripcindelaetapahorizontal1",
            [] {
                return std::pair<Form *, Form *> { Form22, Form21 };
            },
            [](Form *text, Form *) {
                press(text, "BitBtn3");
                return QStringLiteral("panel4.bmp");
            },
            [](Form *figures) { return static_cast<TForm21 *>(figures)->Image1->fileName(); } },
        { "Osciloscopiosdedoblecanal1",
            [] {
                return std::pair<Form *, Form *> { Form17, Form18 };
            },
            [](Form *text, Form *) {
                press(text, "BitBtn3");
                return QStringLiteral("fig22.bmp");
            },
            [](Form *figures) { return static_cast<TForm18 *>(figures)->Image1->fileName(); } },
        { "DescripcindetalladadelTRC1",
            [] {
                return std::pair<Form *, Form *> { Form14, Form15 };
            },
            [](Form *tube, Form *) {
                Label *label = tube->findChild<Label *>(QStringLiteral("Label19"));
                QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
                return QStringLiteral("La Pantalla");
            },
            [](Form *text) { return text->windowTitle(); } },
    };
    return kinds;
}

} // namespace

class TestCompanions : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void init() { startCase(); }
    void cleanupTestCase() { endSuite(); }

    void dualChannelPairOpens_data() { languages(); }
    void dualChannelPairOpens();
    void dualChannelFigureButtons_data() { languages(); }
    void dualChannelFigureButtons();
    void dualChannelButtonsSpeakTheNewestLanguage();
    void missingDualChannelFiles_data();
    void missingDualChannelFiles();

    void pairClosesTogether_data();
    void pairClosesTogether();
    void twoPairsKeepApart_data();
    void twoPairsKeepApart();
};

void TestCompanions::dualChannelPairOpens()
{
    QFETCH(bool, castilian);
    setLanguage(castilian);
    ShowOrder order;
    menu("Osciloscopiosdedoblecanal1");
    QCOMPARE(order.shown, (QStringList { "Form17", "Form18" }));
    QVERIFY(Form17 && Form18);
    QVERIFY(Form17->isVisible() && Form18->isVisible());
    // the figure window ends in front
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form18.data()));
    QCOMPARE(Form17->partner(), Form18.data());
    QCOMPARE(Form18->partner(), Form17.data());
    // spelt as the program has always spelt it
    QCOMPARE(Form17->windowTitle(),
        QLatin1String(castilian ? "Ociloscopios de doble canal" : "Oscil.loscopis de doble canal"));
    QCOMPARE(outerFrame(Form17), QRect(337, 11, 297, 438));
    QCOMPARE(Form17->client()->height(), 809);
    QCOMPARE(Form17->RichEdit1->toPlainText(), fileText(castilian ? "dcanalc.rtf" : "dcanalv.rtf"));
    QVERIFY(Form17->RichEdit1->document()->size().height() <= Form17->RichEdit1->height() + 1);
    QVERIFY(!Form17->RichEdit1->isReadOnly());
    QCOMPARE(Form17->BitBtn1->text(), QLatin1String(castilian ? "&Cerrar" : "Tancar"));
    QCOMPARE(inClient(Form17->BitBtn1, Form17), QRect(112, 784, 75, 25));
    checkFigureButton(Form17, "BitBtn2", { 72, 128, 25, 25 });
    checkFigureButton(Form17, "BitBtn3", { 72, 464, 25, 25 });

    const QString diagram = QLatin1String(castilian ? "dbloqc.bmp" : "dbloqv.bmp");
    QCOMPARE(Form18->windowTitle(), QLatin1String(castilian ? "Diagrama de Bloques" : "Diagrama de Blocs"));
    QCOMPARE(outerFrame(Form18), QRect(4, 36, 320, 401));
    QCOMPARE(Form18->Image1->fileName(), diagram);
    QCOMPARE(Form18->Image1->size(), decodedFile(diagram).size());
    QVERIFY(m_errors.isEmpty());
    saveGrab(Form18, QStringLiteral("form18-") + suffix(castilian));
    auto *scroll = Form17->findChild<QScrollArea *>();
    for (int top : { 0, 400, scroll->verticalScrollBar()->maximum() }) {
        scroll->verticalScrollBar()->setValue(top);
        saveGrab(Form17, QStringLiteral("form17-%1-%2").arg(suffix(castilian)).arg(top));
    }
}

void TestCompanions::dualChannelFigureButtons()
{
    QFETCH(bool, castilian);
    setLanguage(castilian);
    menu("Osciloscopiosdedoblecanal1");
    const QSize windowSize = Form18->size();
    activate(Form17);
    press(Form17, "BitBtn2");
    QCOMPARE(Form18->windowTitle(), QLatin1String(castilian ? "Barrido alternado" : "Escaneig alternat"));
    const QString alternate = QLatin1String(castilian ? "fig23.bmp" : "fig23v.bmp");
    QCOMPARE(Form18->Image1->fileName(), alternate);
    QVERIFY(Form18->Image1->picture() == decodedFile(alternate));
    saveGrab(Form18, QStringLiteral("form18-%1-fig23").arg(suffix(castilian)));
    press(Form17, "BitBtn3");
    QCOMPARE(Form18->windowTitle(), QLatin1String(castilian ? "Barrido muestreado" : "Escaneig de mostreig"));
    const QString chopped = QLatin1String(castilian ? "fig22.bmp" : "fig22v.bmp");
    QCOMPARE(Form18->Image1->fileName(), chopped);
    QCOMPARE(Form18->Image1->size(), decodedFile(chopped).size());
    saveGrab(Form18, QStringLiteral("form18-%1-fig22").arg(suffix(castilian)));
    // the window keeps its size and stays behind the text
    QCOMPARE(Form18->size(), windowSize);
    QCOMPARE(Form::lastActive(), static_cast<Form *>(Form17.data()));
    // the figures can be swapped at will
    press(Form17, "BitBtn2");
    QCOMPARE(Form18->Image1->fileName(), alternate);
    QVERIFY(m_errors.isEmpty());
}

void TestCompanions::dualChannelButtonsSpeakTheNewestLanguage()
{
    menu("Osciloscopiosdedoblecanal1");
    QPointer<TForm17> castilianText = Form17;
    QPointer<TForm18> castilianFigures = Form18;
    setLanguage(false);
    menu("Osciloscopiosdedoblecanal1");
    // the class's copy is Valencian now, for the older pair's buttons too, in its own figure window
    press(castilianText, "BitBtn2");
    QCOMPARE(castilianFigures->windowTitle(), QStringLiteral("Escaneig alternat"));
    QCOMPARE(castilianFigures->Image1->fileName(), QStringLiteral("fig23v.bmp"));
    QCOMPARE(Form18->windowTitle(), QStringLiteral("Diagrama de Blocs"));
    // while what the older window set at its creation stays Castilian
    QCOMPARE(castilianText->windowTitle(), QStringLiteral("Ociloscopios de doble canal"));
    QCOMPARE(castilianText->BitBtn1->text(), QStringLiteral("&Cerrar"));
}

void TestCompanions::missingDualChannelFiles_data()
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
    // an empty button: a file the pair reads as it is created
    const Row rows[] = { { "dcanalc.rtf", "dcanalv.rtf", "" }, { "dbloqc.bmp", "dbloqv.bmp", "" },
        { "fig23.bmp", "fig23v.bmp", "BitBtn2" }, { "fig22.bmp", "fig22v.bmp", "BitBtn3" } };
    for (bool castilian : { true, false })
        for (const Row &row : rows)
            QTest::addRow("%s", castilian ? row.castilian : row.valencian)
                << castilian << QString::fromLatin1(castilian ? row.castilian : row.valencian)
                << QString::fromLatin1(row.button);
}

void TestCompanions::missingDualChannelFiles()
{
    QFETCH(bool, castilian);
    QFETCH(QString, file);
    QFETCH(QString, button);
    setLanguage(castilian);
    if (button.isEmpty()) {
        {
            const Removed gone = remove(file);
            menu("Osciloscopiosdedoblecanal1");
        }
        QCOMPARE(m_errors, QStringList { cannotOpen(file) });
        QVERIFY(Form17->isVisible() && Form18->isVisible());
        QCOMPARE(Form::lastActive(), static_cast<Form *>(Form18.data()));
        if (file.endsWith(QLatin1String(".rtf"))) {
            // the pane stays empty and the button keeps its design caption
            QVERIFY(Form17->RichEdit1->toPlainText().isEmpty());
            QCOMPARE(Form17->BitBtn1->text(), QStringLiteral("&Cerrar"));
        } else {
            // the figure window stands empty under its title
            QCOMPARE(Form18->windowTitle(),
                QLatin1String(castilian ? "Diagrama de Bloques" : "Diagrama de Blocs"));
            QVERIFY(Form18->Image1->picture().isNull());
        }
        return;
    }
    // a missing figure leaves the new title over the previous picture
    menu("Osciloscopiosdedoblecanal1");
    const QString diagram = Form18->Image1->fileName();
    {
        const Removed gone = remove(file);
        press(Form17, qPrintable(button));
    }
    QCOMPARE(m_errors, QStringList { cannotOpen(file) });
    const bool alternate = button == QLatin1String("BitBtn2");
    QCOMPARE(Form18->windowTitle(),
        QString::fromUtf8(alternate ? (castilian ? "Barrido alternado" : "Escaneig alternat")
                                    : (castilian ? "Barrido muestreado" : "Escaneig de mostreig")));
    QCOMPARE(Form18->Image1->fileName(), diagram);
    // the other figure still comes
    press(Form17, alternate ? "BitBtn3" : "BitBtn2");
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(Form18->Image1->fileName() != diagram);
}

void TestCompanions::pairClosesTogether_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("how");
    for (int kind = 0; kind < pairKinds().size() - 1; ++kind) {
        const char *name = pairKinds()[kind].menuItem;
        QTest::addRow("%s first closed", name) << kind << QStringLiteral("first");
        QTest::addRow("%s second closed", name) << kind << QStringLiteral("second");
        QTest::addRow("%s close button", name) << kind << QStringLiteral("button");
    }
}

void TestCompanions::pairClosesTogether()
{
    QFETCH(int, kind);
    QFETCH(QString, how);
    const PairKind &pair = pairKinds()[kind];
    menu(pair.menuItem);
    const auto [firstWindow, secondWindow] = pair.newest();
    QPointer<Form> first = firstWindow;
    QPointer<Form> second = secondWindow;
    HideCounter firstHides(first);
    HideCounter secondHides(second);
    if (how == QLatin1String("first")) {
        first->close();
    } else if (how == QLatin1String("second")) {
        second->close();
    } else {
        // the close button of the reading window, wherever it lies in the text
        const char *closeButton = kind == 0 ? "BitBtn1"
            : kind == 1                     ? "BitBtn5"
            : kind == 2                     ? "BitBtn2"
                                            : "BitBtn1";
        press(first, closeButton);
    }
    QVERIFY(!first->isVisible() && !second->isVisible());
    // one exchange: each window is hidden once, and closing them again does nothing more
    QCOMPARE(firstHides.hides, 1);
    QCOMPARE(secondHides.hides, 1);
    first->close();
    second->close();
    QCOMPARE(firstHides.hides, 1);
    QCOMPARE(secondHides.hides, 1);
    QVERIFY(first && second);
}

void TestCompanions::twoPairsKeepApart_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("closeOlder");
    QTest::addColumn<bool>("fromFirst");
    for (int kind = 0; kind < pairKinds().size(); ++kind) {
        const char *name = pairKinds()[kind].menuItem;
        QTest::addRow("%s older, from the first", name) << kind << true << true;
        QTest::addRow("%s older, from the second", name) << kind << true << false;
        QTest::addRow("%s newer, from the first", name) << kind << false << true;
        QTest::addRow("%s newer, from the second", name) << kind << false << false;
    }
}

void TestCompanions::twoPairsKeepApart()
{
    QFETCH(int, kind);
    QFETCH(bool, closeOlder);
    QFETCH(bool, fromFirst);
    const PairKind &pair = pairKinds()[kind];
    // the tube's text window first shows at a click: both pairs start with a part shown
    const auto opened = [&pair, kind] {
        const auto windows = pair.newest();
        if (kind == 4) {
            Label *label = windows.first->findChild<Label *>(QStringLiteral("Label18"));
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
        }
        return windows;
    };
    menu(pair.menuItem);
    const auto [olderFirst, olderSecond] = opened();
    const QString untouched = pair.shown(olderSecond);
    menu(pair.menuItem);
    const auto [newerFirst, newerSecond] = opened();
    QVERIFY(newerFirst != olderFirst && newerSecond != olderSecond);

    // the older window's buttons act on its own partner only
    const QString shown = pair.act(closeOlder ? olderFirst : newerFirst, nullptr);
    QCOMPARE(pair.shown(closeOlder ? olderSecond : newerSecond), shown);
    QCOMPARE(pair.shown(closeOlder ? newerSecond : olderSecond), untouched);
    QVERIFY(olderSecond->isVisible() && newerSecond->isVisible());

    // closing one window hides its own partner and leaves the other pair as it was
    Form *closing
        = closeOlder ? (fromFirst ? olderFirst : olderSecond) : (fromFirst ? newerFirst : newerSecond);
    closing->close();
    Form *partnerFirst = closeOlder ? olderFirst : newerFirst;
    Form *partnerSecond = closeOlder ? olderSecond : newerSecond;
    Form *otherFirst = closeOlder ? newerFirst : olderFirst;
    Form *otherSecond = closeOlder ? newerSecond : olderSecond;
    QVERIFY(!partnerSecond->isVisible());
    // the tube's text window closes nothing: closed alone it leaves its tube
    const bool textOnly = kind == 4 && !fromFirst;
    QCOMPARE(partnerFirst->isVisible(), textOnly);
    QVERIFY(otherFirst->isVisible() && otherSecond->isVisible());
}

QTEST_MAIN(TestCompanions)
#include "tst_companions.moc"
