#include "helpviewer.h"
#include "launcher.h"
#include "taboutbox.h"
#include "testsupport.h"
#include "tfichaprincipal.h"

#include <QMenuBar>
#include <QTextBrowser>
#include <QtTest>

namespace {

struct Relabelled
{
    const char *name;
    const char16_t *castilian;
    const char16_t *valencian;
};

// What the language buttons relabel; the main window's title is the row without a name.
const Relabelled kRelabelled[] = {
    { "", u"Vantela", u"Vantela" },
    { "Practica1", u"&Práctica", u"&Pràctica" },
    { "Descripcindelaparato1", u"Descripción del aparato", u"Descripció de l'aparell" },
    { "Utilidadesdelosciloscopio1", u"Utilidades del osciloscopio", u"Utilitats de l'oscil.loscopi" },
    { "Realizacindelaprctica1", u"Realización de la práctica", u"Realització de la pràctica" },
    { "Salir1", u"Salir", u"Eixir" },
    { "Problemas1", u"Ejer&cicios", u"&Exercicis" },
    { "Problemas2", u"Cuestiones", u"Qüestions" },
    { "Problemas3", u"Problemas", u"Problemes" },
    { "Autoevaluacion1", u"&Autoevaluación", u"&Autoevaluació" },
    { "Cuestionario1", u"Cuestionario", u"Qüestionari" },
    { "Herramientas1", u"&Herramientas", u"Ei&nes" },
    { "Comportamiento", u"&Vantela", u"&Vantela" },
    { "Composc", u"Comportamiento del Osciloscopio", u"Comportament de l'Oscil.loscopi" },
    { "ComportamientodelTRC1", u"Comportamiento del T.R.C.", u"Comportament del T.R.C." },
    { "Descripciondetallada2", u"&Información Complementaria", u"&Informació Complementària" },
    { "Diagramadebloquesdelosciloscopio1", u"Diagrama de bloques del osciloscopio",
        u"Diagrama de blocs de l'oscil.loscopi" },
    { "DescripcindetalladadelTRC1", u"Descripción detallada del T.R.C.", u"Descripció detallada del T.R.C." },
    { "Descripcindelaetapavertical1", u"Descripción de la etapa vertical",
        u"Descripció de l'etapa vertical" },
    { "Descripcindelaetapahorizontal1", u"Descripción de la etapa horizontal",
        u"Descripció de l'etapa horitzontal" },
    { "Osciloscopiosdedoblecanal1", u"Osciloscopios de doble canal", u"Oscil.loscopis de doble canal" },
    { "DatostcnicosdelHM2031", u"Datos técnicos del HM-203", u"Dades tècniques del HM-203" },
    { "About1", u"Acerca de...", u"Tocant a..." },
    { "Ayuda1", u"A&yuda", u"Aju&da" },
    { "Temasdeayuda1", u"Temas de ayuda", u"Temes d'ajuda" },
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startsInCastilian();
    void languageSwitchRelabels_data();
    void languageSwitchRelabels();
    void languageSwitchKeepsFixedCaptions();
    void languageIsToldOncePerSwitch_data();
    void languageIsToldOncePerSwitch();
    void menuHasSeparatorsAndNamelessItems();
    void aboutBoxInEachLanguage();
    void twoAboutBoxesAreIndependent();
    void languageCopyIsSharedByTheClass();
    void enterPressesTheDefaultButton();
    void toolsReturnAtOnceWhenNothingIsFound();
    void helpShowsContentsOrSaysItIsMissing();
    void toolButtonsHaveTooltips();
    void salirClosesTheMainWindow();

private:
    void click(const char *buttonName);
    ScratchAppDir *m_dir = nullptr;
};

void TestShell::initTestCase()
{
    m_dir = new ScratchAppDir;
    openWindow(fichaprincipal);
    QVERIFY(fichaprincipal);
}

void TestShell::click(const char *buttonName)
{
    auto *button = fichaprincipal->findChild<QPushButton *>(QLatin1String(buttonName));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestShell::startsInCastilian()
{
    QVERIFY(!fichaprincipal->cast->isEnabled());
    QVERIFY(!fichaprincipal->menuItem(QStringLiteral("Castellano1"))->isEnabled());
    QVERIFY(fichaprincipal->val->isEnabled());
    QVERIFY(fichaprincipal->menuItem(QStringLiteral("VAl1"))->isEnabled());
    QCOMPARE(ProgramLanguage::current(), Language::Castilian);
    QCOMPARE(fichaprincipal->windowTitle(), QStringLiteral("Vantela"));
    QCOMPARE(fichaprincipal->menuItem(QStringLiteral("Practica1"))->text(), QStringLiteral("&Práctica"));
    QCOMPARE(fichaprincipal->menuItem(QStringLiteral("About1"))->text(), QStringLiteral("Acerca de ..."));
}

void TestShell::languageSwitchRelabels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");
    for (const Relabelled &row : kRelabelled)
        QTest::newRow(*row.name ? row.name : "title")
            << QString::fromLatin1(row.name) << QString::fromUtf16(row.castilian)
            << QString::fromUtf16(row.valencian);
}

void TestShell::languageSwitchRelabels()
{
    QFETCH(QString, name);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    auto shown = [&] {
        return name.isEmpty() ? fichaprincipal->windowTitle() : fichaprincipal->menuItem(name)->text();
    };
    click("val");
    QCOMPARE(shown(), valencian);
    QCOMPARE(ProgramLanguage::current(), Language::Valencian);
    QVERIFY(fichaprincipal->cast->isEnabled() && !fichaprincipal->val->isEnabled());
    QVERIFY(!fichaprincipal->menuItem(QStringLiteral("VAl1"))->isEnabled());
    // the menu item does the same as the button
    fichaprincipal->menuItem(QStringLiteral("Castellano1"))->trigger();
    QCOMPARE(shown(), castilian);
    QCOMPARE(ProgramLanguage::current(), Language::Castilian);
    QVERIFY(!fichaprincipal->cast->isEnabled() && fichaprincipal->val->isEnabled());
    fichaprincipal->menuItem(QStringLiteral("VAl1"))->trigger();
    QCOMPARE(shown(), valencian);
    click("cast");
    QCOMPARE(shown(), castilian);
}

void TestShell::languageIsToldOncePerSwitch_data()
{
    // Buttons by their names, menu items by theirs; what is not on offer does nothing.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("switches");
    QTest::newRow("button") << QStringList { "val" } << 1;
    QTest::newRow("menu item") << QStringList { "VAl1" } << 1;
    QTest::newRow("there and back") << QStringList { "val", "Castellano1", "VAl1", "cast" } << 4;
    QTest::newRow("only what is offered") << QStringList { "val", "val", "VAl1", "Castellano1", "cast" } << 2;
    QTest::newRow("already Castilian") << QStringList { "cast", "Castellano1" } << 0;
}

void TestShell::languageIsToldOncePerSwitch()
{
    QFETCH(QStringList, steps);
    QFETCH(int, switches);
    QSignalSpy told(&ProgramLanguage::instance(), &ProgramLanguage::changed);
    for (const QString &step : steps) {
        if (QAction *item = fichaprincipal->menuItem(step))
            item->trigger();
        else
            click(qPrintable(step));
        const Language offered = fichaprincipal->val->isEnabled() ? Language::Castilian : Language::Valencian;
        QCOMPARE(ProgramLanguage::current(), offered);
        if (!told.isEmpty())
            QCOMPARE(told.last().at(0).value<Language>(), offered);
    }
    QCOMPARE(told.count(), switches);
    click("cast");
}

void TestShell::languageSwitchKeepsFixedCaptions()
{
    const QStringList fixed { "Calculadora1", "BlocdeNotas1", "idioma1", "Castellano1", "VAl1" };
    QStringList before;
    for (const QString &name : fixed)
        before << fichaprincipal->menuItem(name)->text();
    click("val");
    for (int i = 0; i < fixed.size(); ++i)
        QCOMPARE(fichaprincipal->menuItem(fixed[i])->text(), before[i]);
    QCOMPARE(fichaprincipal->cast->text(), QStringLiteral("Castellano"));
    QCOMPARE(fichaprincipal->val->text(), QStringLiteral("Valencià"));
    QCOMPARE(fichaprincipal->val->toolTip(), QStringLiteral("Idioma"));
    click("cast");
    QCOMPARE(fichaprincipal->menuItem(QStringLiteral("About1"))->text(), QStringLiteral("Acerca de..."));
    QCOMPARE(fichaprincipal->menuItem(QStringLiteral("Calculadora1"))->text(), QStringLiteral("Ca&culadora"));
}

void TestShell::menuHasSeparatorsAndNamelessItems()
{
    const QList<QAction *> bar = fichaprincipal->MainMenu1->actions();
    QCOMPARE(bar.size(), 8);
    QVERIFY(bar.last()->text().isEmpty() && !bar.last()->menu());
    const QList<QAction *> tools
        = fichaprincipal->menuItem(QStringLiteral("Herramientas1"))->menu()->actions();
    // The design's five entries, then the virtual oscilloscope after a separator of its own.
    QCOMPARE(tools.size(), 7);
    QVERIFY(tools[2]->isSeparator());
    QVERIFY(tools[4]->text().isEmpty() && !tools[4]->isSeparator());
    QVERIFY(tools[5]->isSeparator());
    QCOMPARE(tools[6]->text(), QStringLiteral("Osciloscopio virtual"));
    const QList<QAction *> practice
        = fichaprincipal->menuItem(QStringLiteral("Practica1"))->menu()->actions();
    QVERIFY(practice[3]->isSeparator());
    QCOMPARE(practice[4]->text(), QStringLiteral("Salir"));
}

void TestShell::aboutBoxInEachLanguage()
{
    fichaprincipal->menuItem(QStringLiteral("About1"))->trigger();
    QPointer<TAboutBox> castilian = AboutBox;
    QVERIFY(castilian && castilian->isVisible());
    QCOMPARE(castilian->windowTitle(), QStringLiteral("Acerca de..."));
    QCOMPARE(castilian->Label1->text(), QStringLiteral("Vantela"));
    QCOMPARE(castilian->Label5->text(), QStringLiteral("Versión 1.0"));
    QCOMPARE(castilian->size(), QSize(298, 199));
    saveGrab(castilian, QStringLiteral("aboutbox-castilian"));
    saveGrab(fichaprincipal, QStringLiteral("main-castilian"));

    click("val");
    fichaprincipal->menuItem(QStringLiteral("About1"))->trigger();
    QCOMPARE(AboutBox->windowTitle(), QStringLiteral("Acerca de..."));
    QCOMPARE(AboutBox->Label5->text(), QStringLiteral("Versió 1.0"));
    QCOMPARE(AboutBox->credits.at(0)->text(), QStringLiteral("Curs interactiu sobre l'oscil·loscopi"));
    saveGrab(AboutBox, QStringLiteral("aboutbox-valencian"));
    saveGrab(fichaprincipal, QStringLiteral("main-valencian"));
    // the box opened before the switch keeps its texts
    QCOMPARE(castilian->Label5->text(), QStringLiteral("Versión 1.0"));
    click("cast");
    // every credit line fits its label
    for (Label *line : AboutBox->credits)
        QVERIFY2(
            line->fontMetrics().horizontalAdvance(line->text()) <= line->width(), qPrintable(line->text()));
}

void TestShell::twoAboutBoxesAreIndependent()
{
    fichaprincipal->About1Click();
    QPointer<TAboutBox> first = AboutBox;
    fichaprincipal->About1Click();
    QPointer<TAboutBox> second = AboutBox;
    QVERIFY(first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    QTest::mouseClick(first->OKButton, Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QVERIFY(second->isVisible());
    QVERIFY(first); // hidden, not destroyed
    QCOMPARE(AboutBox.data(), second.data());
    second->close();
}

void TestShell::languageCopyIsSharedByTheClass()
{
    fichaprincipal->About1Click();
    QCOMPARE(TAboutBox::language(), Language::Castilian);
    click("val");
    QCOMPARE(TAboutBox::language(), Language::Castilian); // nothing changes until a new window is created
    fichaprincipal->About1Click();
    QCOMPARE(TAboutBox::language(), Language::Valencian);
    click("cast");
}

void TestShell::enterPressesTheDefaultButton()
{
    fichaprincipal->About1Click();
    QPointer<TAboutBox> box = AboutBox;
    QVERIFY(box->isVisible());
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(!box->isVisible());
}

void TestShell::toolsReturnAtOnceWhenNothingIsFound()
{
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(Launcher::startFirst({ QStringLiteral("no-such-calculator-here") }), QString());
    QVERIFY(timer.elapsed() < 1000);
    // both ways of asking for a tool are wired to the same handler and return at once
    QTest::mouseClick(fichaprincipal->BitBtn1, Qt::LeftButton);
    fichaprincipal->menuItem(QStringLiteral("Calculadora1"))->trigger();
    QTest::mouseClick(fichaprincipal->BitBtn3, Qt::LeftButton);
    QVERIFY(fichaprincipal->isVisible());
}

void TestShell::helpShowsContentsOrSaysItIsMissing()
{
    fichaprincipal->menuItem(QStringLiteral("Temasdeayuda1"))->trigger();
    QVERIFY(HelpViewer::instance() && HelpViewer::instance()->isVisible());
    const QString text = HelpViewer::instance()->browser()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Castellano")));
    QVERIFY(text.contains(QStringLiteral("Valencià")));

    QFile::remove(m_dir->filePath(HelpViewer::helpFile()));
    fichaprincipal->Temasdeayuda1Click();
    QVERIFY(HelpViewer::instance()->browser()->toPlainText().contains(HelpViewer::helpFile()));
    m_dir->restore(HelpViewer::helpFile());
    HelpViewer::instance()->close();
}

void TestShell::toolButtonsHaveTooltips()
{
    QCOMPARE(fichaprincipal->BitBtn1->toolTip(), QStringLiteral("Calculadora"));
    QCOMPARE(fichaprincipal->BitBtn3->toolTip(), QStringLiteral("Anotar"));
    QCOMPARE(fichaprincipal->cast->toolTip(), QStringLiteral("Idioma"));
    QVERIFY(!fichaprincipal->BitBtn1->icon().isNull());
}

void TestShell::salirClosesTheMainWindow()
{
    fichaprincipal->About1Click();
    fichaprincipal->menuItem(QStringLiteral("Salir1"))->trigger();
    QVERIFY(!fichaprincipal->isVisible());
    Form::destroyAll();
    QVERIFY(!fichaprincipal);
    QVERIFY(!AboutBox);
    delete m_dir;
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
