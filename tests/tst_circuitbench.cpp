#include "circuitbench.h"
#include "circuitschematic.h"
#include "generatorpanel.h"
#include "livepanel.h"
#include "schematicpainter.h"
#include "testsupport.h"
#include "tfichaprincipal.h"
#include "tosciloscopio.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <numbers>

/** The bench's circuits beside the oscilloscope: chosen at the generator, simulated without holding the
 * window up, drawn as a schematic; and a teacher's own part for the tester. */
class TestCircuitBench : public WindowSuite
{
    Q_OBJECT

private:
    Tosciloscopio *open()
    {
        menu("Osciloscopiovirtual1");
        osciloscopio->generador->setHidden(HiddenReading::None);
        return osciloscopio;
    }
    LivePanel *panel() { return osciloscopio->panel; }
    GeneratorPanel *generator() { return osciloscopio->generador; }
    /** Picks a bench circuit in the hookup list by its name, with the keys. */
    void chooseCircuit(const QString &id)
    {
        const Circuit *circuit = benchCircuit(id);
        QVERIFY(circuit);
        const int index = generator()->hookup()->findText(circuit->name.in(ProgramLanguage::current()));
        QVERIFY(index >= int(Hookup::Circuit));
        chooseByKeys(generator()->hookup(), index);
    }
    /** Writes a teacher's file in the scratch folder. */
    QString teacherFile(const QString &name, const QByteArray &text)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return {};
        return path;
    }
    /** The time the simulator may take on a slow, shared machine. */
    static constexpr int kSimulating = 30000;
    QTemporaryDir m_files;

private Q_SLOTS:
    void initTestCase() { startSuite(); }
    void cleanupTestCase() { endSuite(); }
    void init() { startCase(); }

    /** The value beside a symbol, read from its netlist line as SPICE reads the number. */
    void aValueIsReadFromItsLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("printed");
        QTest::newRow("load") << "RL carga 0 1k" << QStringLiteral("1 kΩ");
        QTest::newRow("filter") << "C1 sal 0 100n" << QStringLiteral("100 nF");
        QTest::newRow("reservoir") << "CF carga 0 100u" << QStringLiteral("100 µF");
        QTest::newRow("coil, m is milli") << "L1 gen lc 10m" << QStringLiteral("10 mH");
        QTest::newRow("bare ohms") << "R1 r 0 100" << QStringLiteral("100 Ω");
        QTest::newRow("decimal comma") << "R2 a b 4.7k" << QStringLiteral("4,7 kΩ");
        QTest::newRow("meg is mega") << "R3 a b 10Meg" << QStringLiteral("10 MΩ");
        QTest::newRow("unit letters ignored") << "C2 a b 2.2uF" << QStringLiteral("2,2 µF");
        QTest::newRow("exponent") << "C3 a b 1e-9" << QStringLiteral("1 nF");
        QTest::newRow("diode by its type") << "D1 gen carga D1N4007" << QStringLiteral("1N4007");
        QTest::newRow("a source is not printed") << "ET sec_e sec_b gen 0 1" << QString();
        QTest::newRow("nonsense") << "R4 a b banana" << QString();
    }
    void aValueIsReadFromItsLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, printed);
        QCOMPARE(ComponentValue::ofLine(line), printed);
    }

    /** A value takes the prefix that leaves one to three figures before the comma. */
    void aValueTakesItsPrefix_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("printed");
        QTest::newRow("practice R") << PracticeCircuit::ohms << QStringLiteral("1 kΩ");
        QTest::newRow("practice C") << PracticeCircuit::farads << QStringLiteral("100 nF");
        QTest::newRow("tester's source") << TesterSource::ohms << QStringLiteral("354 Ω");
        QTest::newRow("just under a step") << 999.9999999e-9 << QStringLiteral("1 µF");
        QTest::newRow("picofarads") << 4.7e-12 << QStringLiteral("4,7 pF");
        QTest::newRow("megohms") << 2.2e6 << QStringLiteral("2,2 MΩ");
    }
    void aValueTakesItsPrefix()
    {
        QFETCH(double, value);
        QFETCH(QString, printed);
        const QString unit = printed.right(1);
        QCOMPARE(ComponentValue::withUnit(value, unit), printed);
    }

    /** Both lists speak the window's language: the fixed entries, the circuits' and parts' names. */
    void theListsSpeakTheWindowsLanguage_data() { languages(); }
    void theListsSpeakTheWindowsLanguage()
    {
        QFETCH(bool, castilian);
        setLanguage(castilian);
        const Language language = rowLanguage(castilian);
        Tosciloscopio *window = open();
        QComboBox *hookup = generator()->hookup();
        QCOMPARE(hookup->count(), int(Hookup::Circuit) + int(benchCircuits().size()));
        for (qsizetype i = 0; i < benchCircuits().size(); ++i)
            QCOMPARE(
                hookup->itemText(int(Hookup::Circuit) + int(i)), benchCircuits().at(i).name.in(language));
        QComboBox *tester = generator()->testerLoad();
        QCOMPARE(tester->itemText(0), castilian ? QStringLiteral("Nada") : QStringLiteral("Res"));
        QCOMPARE(tester->itemText(tester->count() - 1),
            castilian ? QStringLiteral("Componente propio…") : QStringLiteral("Component propi…"));
        QCOMPARE(tester->count(), int(testerParts().size()) + 2);
        // The chosen circuit's description is the list's tip; screen readers hear the choice and it after the
        // list's label.
        chooseCircuit(QStringLiteral("rlc_serie"));
        const Circuit *rlc = benchCircuit(QStringLiteral("rlc_serie"));
        QCOMPARE(hookup->toolTip(), rlc->description.in(language));
        QCOMPARE(QAccessible::queryAccessibleInterface(hookup)->text(QAccessible::Description),
            rlc->name.in(language) + QStringLiteral(". ") + hookup->toolTip());
        window->close();
    }

    /** Each circuit the course ships has a schematic, which draws every resistor, capacitor, coil and diode
     * of its netlist and nothing its netlist lacks, each with a value. */
    void everyShippedCircuitIsDrawnWhole_data()
    {
        QTest::addColumn<QString>("id");
        for (const Circuit &circuit : benchCircuits())
            QTest::newRow(qPrintable(circuit.id)) << circuit.id;
        QTest::newRow("practice") << SchematicPainter::practiceCircuit;
    }
    void everyShippedCircuitIsDrawnWhole()
    {
        QFETCH(QString, id);
        QVERIFY(SchematicPainter::hasLayout(id));
        const QHash<QString, QString> values = SchematicPainter::valuesOf(id);
        const QStringList drawn = SchematicPainter::elementsOf(id);
        QStringList named;
        if (const Circuit *circuit = benchCircuit(id))
            for (const QString &line : circuit->netlist)
                named << line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        for (const QString &element : drawn)
            QVERIFY2(values.contains(element) || named.contains(element), qPrintable(element));
        for (const QString &element : values.keys())
            QVERIFY2(drawn.contains(element), qPrintable(element));
        // Black lines on white: a drawing, not a blank.
        const QImage image = SchematicPainter::render(id, { 220, 100 }, Language::Castilian);
        if (const QString dir = qEnvironmentVariable("VANTELA_GRAB_DIR"); !dir.isEmpty())
            image.save(QDir(dir).filePath(QStringLiteral("esquema-%1.png").arg(id)));
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += qGray(image.pixel(x, y)) < 100;
        QVERIFY2(ink > 400, qPrintable(QString::number(ink)));
    }

    /**
     * A circuit chosen from the keyboard: the schematic shows at once, the window goes on while ngspice
     * works, and once the result comes the screen shows it. The filters at their corner pass 1/√2 of what
     * reaches them; the series RLC at resonance passes all of it, in phase.
     */
    void aCircuitChosenByKeysReachesTheScreen_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("ratio");
        const double corner = 1.0 / (2 * std::numbers::pi * 1e3 * 100e-9);
        QTest::newRow("low-pass at its corner") << "paso_bajo" << corner << std::numbers::sqrt2 / 2;
        QTest::newRow("high-pass at its corner") << "paso_alto" << corner << std::numbers::sqrt2 / 2;
        QTest::newRow("RLC at resonance")
            << "rlc_serie" << 1.0 / (2 * std::numbers::pi * std::sqrt(10e-3 * 100e-9)) << 1.0;
    }
    void aCircuitChosenByKeysReachesTheScreen()
    {
        QFETCH(QString, id);
        QFETCH(double, hz);
        QFETCH(double, ratio);
        Tosciloscopio *window = open();
        generator()->frequency()->setValue(hz);
        panel()->setControlValue(Hm203Control::Dual, 1);
        QTRY_VERIFY(!panel()->framePending());
        const Trace before = panel()->liveScreen().traces.traces.value(1);
        chooseCircuit(id);
        // The choice came back before ngspice could answer: nothing waited for it.
        QCOMPARE(panel()->scope().generator().circuit, id);
        QVERIFY(!panel()->scope().circuitSettled());
        QVERIFY(generator()->schematic()->isVisible());
        QCOMPARE(generator()->schematic()->circuitId(), id);
        QTRY_VERIFY_WITH_TIMEOUT(panel()->scope().circuitSettled(), kSimulating);
        QTRY_VERIFY(!panel()->framePending());
        QVERIFY(panel()->liveScreen().traces.traces.value(1).points != before.points);
        const double passed
            = panel()->scope().signalII().amplitudeVpp / panel()->scope().signalI().amplitudeVpp;
        QVERIFY2(std::abs(passed - ratio) < 0.02, qPrintable(QString::number(passed)));
        QVERIFY(m_errors.isEmpty());
        saveGrab(window, QStringLiteral("osciloscopio-") + id);
        saveGrab(generator(), QStringLiteral("generador-") + id);
        panel()->setControlValue(Hm203Control::Dual, 0);
        chooseByKeys(generator()->hookup(), 0);
        QVERIFY(!generator()->schematic()->isVisible());
        window->close();
    }

    /** The practice RC circuit has its schematic too; the plain generator and the CAL socket have none. */
    void theSchematicShowsOnlyForACircuit_data()
    {
        QTest::addColumn<int>("hookup");
        QTest::addColumn<QString>("shown");
        QTest::newRow("generator") << int(Hookup::Generator) << QString();
        QTest::newRow("practice RC") << int(Hookup::RcCircuit) << SchematicPainter::practiceCircuit;
        QTest::newRow("CAL 0,2 V") << int(Hookup::Calibrator02) << QString();
        QTest::newRow("CAL 2 V") << int(Hookup::Calibrator2) << QString();
    }
    void theSchematicShowsOnlyForACircuit()
    {
        QFETCH(int, hookup);
        QFETCH(QString, shown);
        Tosciloscopio *window = open();
        chooseCircuit(QStringLiteral("puente"));
        chooseByKeys(generator()->hookup(), hookup);
        QCOMPARE(generator()->schematic()->circuitId(), shown);
        QCOMPARE(generator()->schematic()->isVisible(), !shown.isEmpty());
        window->close();
    }

    /** Two changes in a row: the first one's result, however it comes, never reaches the scope. */
    void aSupersededRequestNeverReachesTheScope()
    {
        Tosciloscopio *window = open();
        QSignalSpy adopted(window->banco, &CircuitBench::solved);
        chooseCircuit(QStringLiteral("media_onda_filtro"));
        generator()->frequency()->setValue(61);
        generator()->frequency()->setValue(73);
        QTRY_VERIFY_WITH_TIMEOUT(panel()->scope().circuitSettled(), kSimulating);
        // Let any late result of the earlier requests come in.
        QTest::qWait(200);
        QVERIFY(!adopted.isEmpty());
        for (const QList<QVariant> &result : std::as_const(adopted))
            QCOMPARE(result.at(2).value<CircuitDrive>().frequencyHz, 73.0);
        QCOMPARE(panel()->scope().circuitDrive().frequencyHz, 73.0);
        QVERIFY(panel()->scope().circuitSettled());
        window->close();
    }

    /** A teacher's part that ngspice cannot simulate is told, with its file and ngspice's words; the
     * socket keeps its part and the list its entries. */
    /** A part chosen as the window opens, before the bench has simulated it, goes in the socket once it
     * has: the socket keeps what it had until then, and the tester draws the part's own figure. */
    void aPartChosenEarlyGoesInOnceSimulated()
    {
        Tosciloscopio *window = open();
        QComboBox *tester = generator()->testerLoad();
        chooseByKeys(tester, tester->findData(QStringLiteral("l1h")));
        const QString now = panel()->scope().generator().testerPart;
        QVERIFY(now == QStringLiteral("l1h") || now.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(
            panel()->scope().generator().testerPart, QStringLiteral("l1h"), kSimulating);
        window->close();
    }

    void aBrokenTeacherPartChangesNothing()
    {
        Tosciloscopio *window = open();
        QComboBox *tester = generator()->testerLoad();
        chooseByKeys(tester, tester->findData(QStringLiteral("r1k")));
        const int entries = tester->count();
        const QString path
            = teacherFile(QStringLiteral("roto.cir"), "Un transistor sin modelo\nQ1 a 0 0 ningunmodelo\n");
        QVERIFY(window->openTesterPart(path));
        QTRY_VERIFY_WITH_TIMEOUT(!m_errors.isEmpty(), kSimulating);
        QVERIFY2(
            m_errors.constFirst().contains(QStringLiteral("roto.cir")), qPrintable(m_errors.constFirst()));
        QVERIFY(m_errors.constFirst().contains(QStringLiteral("ngspice")));
        QCOMPARE(panel()->scope().generator().testerPart, QStringLiteral("r1k"));
        QCOMPARE(tester->count(), entries);
        QCOMPARE(tester->currentData().toString(), QStringLiteral("r1k"));
        window->close();
    }

    /** A teacher's file with a mistake in it is told with its file, line and key, and nothing is added. */
    void aTeacherFileWithAMistakeIsTold()
    {
        Tosciloscopio *window = open();
        const int entries = generator()->testerLoad()->count();
        const QString path
            = teacherFile(QStringLiteral("mal.toml"), "nombre = 3\ncircuito = '''\nR1 a 0 1k\n'''\n");
        QVERIFY(!window->openTesterPart(path));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.constFirst().contains(QStringLiteral("mal.toml, línea 1")),
            qPrintable(m_errors.constFirst()));
        QVERIFY(m_errors.constFirst().contains(QStringLiteral("nombre")));
        QCOMPARE(generator()->testerLoad()->count(), entries);
        window->close();
    }

    /** A teacher's part that works joins the list before the last entry and goes in the socket. */
    void aTeachersPartGoesInTheSocket()
    {
        Tosciloscopio *window = open();
        QComboBox *tester = generator()->testerLoad();
        const int entries = tester->count();
        const QString path = teacherFile(QStringLiteral("propia.cir"), "Resistencia de 2,2 k\nR1 a 0 2.2k\n");
        QVERIFY(window->openTesterPart(path));
        QTRY_VERIFY_WITH_TIMEOUT(panel()->scope().generator().testerPart.startsWith(u"propio:"), kSimulating);
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(tester->count(), entries + 1);
        QCOMPARE(tester->currentText(), QStringLiteral("Resistencia de 2,2 k"));
        QCOMPARE(tester->currentIndex(), tester->count() - 2);
        QVERIFY(window->banco->warmed(panel()->scope().generator().testerPart));
        window->close();
    }
};

QTEST_MAIN(TestCircuitBench)
#include "tst_circuitbench.moc"
