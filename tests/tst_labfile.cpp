#include "labfile.h"
#include "labvalues.h"
#include "taskstestsupport.h"

#include <QFile>
#include <QRegularExpression>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

/** A lab that is right but for what a row puts in its task. */
QByteArray labWith(const QByteArray &task)
{
    return "# A lab to spoil\n"
           "titulo = { es = \"Prueba\", va = \"Prova\" }\n"
           "introduccion = { es = \"Una prueba.\", va = \"Una prova.\" }\n"
           "\n"
           "[[tarea]]\n"
           "objetivo = { es = \"Haz algo.\", va = \"Fes alguna cosa.\" }\n"
        + task;
}

void spoilt(const char *name, const QByteArray &text, int line, const QString &key, const QString &castilian,
    const QString &valencian)
{
    QTest::newRow(name) << text << line << key << castilian << valencian;
}

} // namespace

class TestLabFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quantities_data();
    void quantities();
    void positions_data();
    void positions();
    void switchesReadBack();
    void errors_data();
    void errors();
    void limits();
    void missingFile();
    void textsKeepTheirLetters();
    void docsExample();
    void docsNameEveryKey();
    void shippedLabs();
};

void TestLabFile::quantities_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("read");
    const auto row = [](const char *written, CheckValue kind, double value, bool read = true) {
        QTest::newRow(written) << QString::fromUtf8(written) << int(kind) << value << read;
    };
    row("2,5 kHz", CheckValue::Hertz, 2500.0);
    row("2.5kHz", CheckValue::Hertz, 2500.0);
    row("1 MHz", CheckValue::Hertz, 1e6);
    row("500 Hz", CheckValue::Hertz, 500.0);
    row("0,2 ms", CheckValue::Seconds, 2e-4);
    row("1 µs", CheckValue::Seconds, 1e-6);
    row("1 us", CheckValue::Seconds, 1e-6);
    row("35 ns", CheckValue::Seconds, 35e-9);
    row("2 s", CheckValue::Seconds, 2.0);
    row("50 mV", CheckValue::Volts, 0.05);
    row("4 Vpp", CheckValue::Volts, 4.0);
    row("500 mVpp", CheckValue::Volts, 0.5);
    row("−1,5 V", CheckValue::Volts, -1.5);
    row("-90°", CheckValue::Degrees, -90.0);
    row("60 grados", CheckValue::Degrees, 60.0);
    row("60 graus", CheckValue::Degrees, 60.0);
    row("2,5", CheckValue::Number, 2.5);
    // Another kind's unit, no unit, an exponent, two decimal marks, garbage.
    row("2,5 kHz as volts", CheckValue::Volts, 0.0, false);
    row("2,5", CheckValue::Hertz, 0.0, false);
    row("1e3 Hz", CheckValue::Hertz, 0.0, false);
    row("1,2,5 V", CheckValue::Volts, 0.0, false);
    row("kHz", CheckValue::Hertz, 0.0, false);
    row("2 kV", CheckValue::Volts, 0.0, false);
    row("", CheckValue::Number, 0.0, false);
}

void TestLabFile::quantities()
{
    QFETCH(QString, written);
    QFETCH(int, kind);
    QFETCH(double, value);
    QFETCH(bool, read);
    const std::optional<double> got = LabValues::quantity(written, CheckValue(kind));
    QCOMPARE(got.has_value(), read);
    if (read)
        QVERIFY2(std::abs(*got - value) <= 1e-12 * std::max(1.0, std::abs(value)), qPrintable(written));
}

void TestLabFile::positions_data()
{
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("written");
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("read");
    using C = Hm203Control;
    QTest::newRow("0,2 ms") << int(C::TimeDiv) << QStringLiteral("0,2 ms") << 2e-4 << true;
    QTest::newRow("1 µs/div") << int(C::TimeDiv) << QStringLiteral("1 µs/div") << 1e-6 << true;
    QTest::newRow("0,3 ms between steps") << int(C::TimeDiv) << QStringLiteral("0,3 ms") << 0.0 << false;
    QTest::newRow("0,5 V") << int(C::VoltsDivI) << QStringLiteral("0,5 V") << 0.5 << true;
    QTest::newRow("50 mV on II") << int(C::VoltsDivII) << QStringLiteral("50 mV") << 0.05 << true;
    QTest::newRow("AC on AC/DC I") << int(C::DcI) << QStringLiteral("AC") << 0.0 << true;
    QTest::newRow("a time on VOLTS/DIV") << int(C::VoltsDivI) << QStringLiteral("1 ms") << 0.0 << false;
}

void TestLabFile::positions()
{
    QFETCH(int, control);
    QFETCH(QString, written);
    QFETCH(double, step);
    QFETCH(bool, read);
    const auto which = Hm203Control(control);
    const std::optional<int> position = LabValues::position(which, written);
    QCOMPARE(position.has_value(), read);
    if (!read)
        return;
    if (which == Hm203Control::DcI) {
        // The button out is AC, as the model couples the channel.
        Hm203 scope;
        scope.setValue(which, *position);
        QCOMPARE(scope.scopeSettings().channelI.coupling, Coupling::AC);
        return;
    }
    const double at = which == Hm203Control::TimeDiv ? Hm203::secondsPerDivAt(*position)
                                                     : Hm203::voltsPerDivAt(*position);
    QVERIFY(std::abs(at - step) <= 1e-9 * step);
}

void TestLabFile::switchesReadBack()
{
    // Every switch and button position, written as its skirt reads in either language, reads back as itself;
    // every control by the name printed on the panel.
    const Hm203 scope;
    for (const Hm203ControlInfo &info : hm203Controls()) {
        QCOMPARE(LabValues::control(QString::fromUtf16(info.label)), std::optional(info.id));
        QCOMPARE(LabValues::control(QString::fromUtf16(info.label).toLower()), std::optional(info.id));
        if (info.style == ControlStyle::Button) {
            QCOMPARE(LabValues::position(info.id, u"pulsado"), std::optional(info.maximum));
            QCOMPARE(LabValues::position(info.id, u"suelto"), std::optional(info.minimum));
        }
        if (info.style != ControlStyle::Switch)
            continue;
        for (int p = info.minimum; p <= info.maximum; ++p)
            for (const LanguageInfo &language : kLanguages) {
                const QString read = scope.readingAt(info.id, p, language.language);
                const std::optional<int> back = LabValues::position(info.id, read);
                QVERIFY2(back, qPrintable(read));
                QCOMPARE(scope.readingAt(info.id, *back, language.language), read);
            }
    }
    QVERIFY(!LabValues::control(u"TIME DIV"));
}

void TestLabFile::errors_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("castilian");
    QTest::addColumn<QString>("valencian");

    spoilt("not TOML", "titulo = { es = \"Prueba\"\n", 1, QString(), "no es TOML válido", "no és TOML vàlid");
    spoilt("unknown top key", "autor = \"yo\"\n" + labWith("[tarea.ajuste]\ncomprobar = [ { xy = true } ]\n"),
        1, "autor", "clave desconocida; se esperaba una de: titulo, introduccion, tarea",
        "clau desconeguda; s'esperava una de: titulo, introduccion, tarea");
    spoilt("not UTF-8", labWith("").replace("Haz algo.", "Haz \xe9sto."), 6, QString(), "no está en UTF-8",
        "no està en UTF-8");
    spoilt("a key with its accent", labWith("[tarea.prediccion]\nexplicación = 1\n"), 8, "explicación",
        "fuera de las comillas no se escriben acentos", "fora de les cometes no s'escriuen accents");
    spoilt("title missing", "introduccion = { es = \"a\", va = \"b\" }\n[[tarea]]\n", 1, "titulo",
        "falta; se esperaba { es", "falta; s'esperava { es");
    spoilt("title in one language", "titulo = \"Prueba\"\n", 1, "titulo",
        "se esperaba el texto en las dos lenguas", "s'esperava el text en les dues llengües");
    spoilt("Valencian missing", "titulo = { es = \"Prueba\" }\n", 1, "titulo.va",
        "falta el texto en esta lengua", "falta el text en esta llengua");
    spoilt("empty goal", labWith("").replace("\"Haz algo.\"", "\"  \""), 6, "objetivo.es",
        "el texto está vacío", "el text és buit");
    spoilt("no tasks", "titulo = { es = \"a\", va = \"b\" }\nintroduccion = { es = \"a\", va = \"b\" }\n", 1,
        "tarea", "se esperaban de 1 a 60 tareas", "s'esperaven d'1 a 60 tasques");
    spoilt("unknown task key", labWith("nivel = 3\n[tarea.ajuste]\ncomprobar = [ { xy = true } ]\n"), 7,
        "nivel", "clave desconocida; se esperaba una de: id, objetivo, mandos, generador",
        "clau desconeguda; s'esperava una de: id, objetivo, mandos, generador");
    spoilt("unknown control", labWith("mandos = [\"TIME DIV\"]\n"), 7, "mandos",
        "no hay ningún mando «TIME DIV» en el panel", "no hi ha cap comandament «TIME DIV» en el panell");
    spoilt("frequency without unit", labWith("[tarea.generador]\nfrecuencia = \"2,5\"\n"), 8, "frecuencia",
        "se esperaba un número con unidad, p. ej. \"2,5 kHz\"",
        "s'esperava un nombre amb unitat, p. ex. \"2,5 kHz\"");
    spoilt("frequency as a number", labWith("[tarea.generador]\nfrecuencia = 2500\n"), 8, "frecuencia",
        "se esperaba un número con unidad", "s'esperava un nombre amb unitat");
    spoilt("square too fast", labWith("[tarea.generador]\nforma = \"cuadrada\"\nfrecuencia = \"20 MHz\"\n"),
        9, "frecuencia", "fuera del margen del generador: entre 1 Hz y 10 MHz",
        "fora del marge del generador: entre 1 Hz i 10 MHz");
    spoilt("output II too fast for a square",
        labWith("[tarea.generador]\nforma = \"cuadrada\"\nfrecuencia_2 = \"12 MHz\"\n"), 9, "frecuencia_2",
        "fuera del margen del generador: entre 1 Hz y 10 MHz",
        "fora del marge del generador: entre 1 Hz i 10 MHz");
    spoilt("output II below 1 Hz", labWith("[tarea.generador]\nfrecuencia_2 = \"0 Hz\"\n"), 8, "frecuencia_2",
        "fuera del margen del generador: entre 1 Hz y 50 MHz",
        "fora del marge del generador: entre 1 Hz i 50 MHz");
    spoilt("output II's frequency without unit",
        labWith("[tarea.generador]\nfrecuencia_2 = [\"2 kHz\", 1500]\n"), 8, "frecuencia_2",
        "se esperaba un número con unidad", "s'esperava un nombre amb unitat");
    spoilt("a figure's ratio as a word",
        labWith("[tarea.ajuste]\ncomprobar = [ { figura_xy = \"doble\" } ]\n"), 8, "figura_xy",
        "se esperaba un número", "s'esperava un nombre");
    spoilt("an unknown slip", labWith("[tarea.medida]\nmagnitud = \"frecuencia\"\ndeslices = [\"razón\"]\n"),
        9, "deslices", "se esperaba uno de «sonda», «pico», «unidad», «periodo», «cal», «razon»",
        "s'esperava un de «sonda», «pico», «unidad», «periodo», «cal», «razon»");
    spoilt("amplitude too large", labWith("[tarea.generador]\namplitud_1 = \"25 Vpp\"\n"), 8, "amplitud_1",
        "fuera del margen del generador: entre 0 Vpp y 24 Vpp",
        "fora del marge del generador: entre 0 Vpp i 24 Vpp");
    spoilt("a drawn value out of range", labWith("[tarea.generador]\ncontinua_1 = [\"1 V\", \"12 V\"]\n"), 8,
        "continua_1", "entre −10 V y 10 V", "entre −10 V i 10 V");
    spoilt("too many to draw",
        labWith("[tarea.generador]\nfrecuencia = [" + QByteArray("\"1 kHz\", ").repeated(13) + "]\n"), 8,
        "frecuencia", "la lista debe tener de 1 a 12 valores", "la llista ha de tindre d'1 a 12 valors");
    spoilt("unknown waveform", labWith("[tarea.generador]\nforma = \"sierra\"\n"), 8, "forma",
        "se esperaba «senoidal» o «cuadrada» o «triangular»",
        "s'esperava «senoidal» o «cuadrada» o «triangular»");
    spoilt("unknown hookup", labWith("[tarea.generador]\nconexion = \"sonda\"\n"), 8, "conexion",
        "se esperaba «generador» o «circuito RC»", "s'esperava «generador» o «circuito RC»");
    spoilt("unknown circuit", labWith("[tarea.generador]\nconexion = \"circuito\"\ncircuito = \"diodo\"\n"),
        9, "circuito", "se esperaba uno de: «media_onda», «media_onda_filtro»",
        "s'esperava un de: «media_onda», «media_onda_filtro»");
    spoilt("a circuit hooked up without one", labWith("[tarea.generador]\nconexion = \"circuito\"\n"), 8,
        "conexion", "con «circuito» falta la clave circuito", "amb «circuito» falta la clau circuito");
    spoilt("a circuit not hooked up", labWith("[tarea.generador]\ncircuito = \"paso_bajo\"\n"), 8, "circuito",
        "un circuito va con conexion = \"circuito\"", "un circuit va amb conexion = \"circuito\"");
    spoilt("unknown tester part", labWith("[tarea.generador]\ncomprobador = \"r2k2\"\n"), 8, "comprobador",
        "se esperaba uno de: «r100», «r1k»", "s'esperava un de: «r100», «r1k»");
    spoilt("a ripple with no circuit", labWith("[tarea.medida]\nmagnitud = \"rizado\"\n"), 8, "magnitud",
        "Esta magnitud se mide en un circuito", "Esta magnitud es mesura en un circuit");
    spoilt("a bend with no part", labWith("[tarea.medida]\nmagnitud = \"codo_inverso\"\n"), 8, "magnitud",
        "El codo se lee en la figura de una pieza", "El colze es llig en la figura d'una peça");
    spoilt("burst not a flag", labWith("[tarea.generador]\nrafagas = \"sí\"\n"), 8, "rafagas",
        "se esperaba true o false", "s'esperava true o false");
    spoilt("unknown generator key", labWith("[tarea.generador]\nfrec = \"1 kHz\"\n"), 8, "frec",
        "clave desconocida; se esperaba una de: forma, frecuencia",
        "clau desconeguda; s'esperava una de: forma, frecuencia");
    spoilt("no judging", labWith("mandos = [\"TIME/DIV\"]\n"), 5, "tarea", "falta cómo se juzga",
        "falta com es jutja");
    spoilt("two judgings",
        labWith("[tarea.ajuste]\ncomprobar = [ { xy = true } ]\n[tarea.medida]\nmagnitud = \"periodo\"\n"), 9,
        "medida", "una tarea se juzga de una sola manera", "una tasca es jutja d'una sola manera");
    spoilt("empty checks", labWith("[tarea.ajuste]\ncomprobar = []\n"), 8, "comprobar",
        "se esperaba una lista de 1 a 20 comprobaciones", "s'esperava una llista d'1 a 20 comprovacions");
    spoilt("two keys in a check", labWith("[tarea.ajuste]\ncomprobar = [ { xy = true, estable = true } ]\n"),
        8, "comprobar", "cada comprobación es una clave con su valor entre llaves",
        "cada comprovació és una clau amb el seu valor entre claus");
    spoilt("unknown check", labWith("[tarea.ajuste]\ncomprobar = [ { bonito = true } ]\n"), 8, "bonito",
        "comprobación desconocida; se esperaba una de:", "comprovació desconeguda; s'esperava una de:");
    spoilt("quantity missing", labWith("[tarea.medida]\ncanal = \"CH I\"\n"), 7, "magnitud",
        "falta; se esperaba", "falta; s'esperava");
    spoilt("unknown quantity", labWith("[tarea.medida]\nmagnitud = \"potencia\"\n"), 8, "magnitud",
        "se esperaba", "s'esperava");
    spoilt("change missing",
        labWith("[tarea.prediccion]\npregunta = { es = \"¿?\", va = \"?\" }\nexplicacion = { es = \"a\", va "
                "= \"b\" }\n"),
        7, "cambio", "se esperaba { mando = \"…\", posicion = \"…\" }, { sonda_1 = \"x10\" }, { circuito",
        "s'esperava { mando = \"…\", posicion = \"…\" }, { sonda_1 = \"x10\" }, { circuito");
    // A change of the generator's, asked on the half-wave rectifier: the change on line 13.
    const auto onRectifier = [](const QByteArray &hookup, const QByteArray &change) {
        return labWith("[tarea.generador]\nconexion = \"" + hookup
            + "\"\ncircuito = \"media_onda\"\n[tarea.prediccion]\npregunta = { es = \"¿?\", va = \"?\" }\n"
              "explicacion = { es = \"a\", va = \"b\" }\ncambio = "
            + change + "\n");
    };
    spoilt("a change to an unknown circuit", onRectifier("circuito", "{ circuito = \"puente_doble\" }"), 13,
        "circuito", "se esperaba uno de: «media_onda», «media_onda_filtro»",
        "s'esperava un de: «media_onda», «media_onda_filtro»");
    spoilt("a change to the circuit on the bench", onRectifier("circuito", "{ circuito = \"media_onda\" }"),
        13, "cambio", "El circuito «media_onda» ya está en el banco",
        "El circuit «media_onda» ja està en el banc");
    spoilt("a circuit change with the generator's sines",
        labWith("[tarea.prediccion]\npregunta = { es = \"¿?\", va = \"?\" }\nexplicacion = { es = \"a\", va "
                "= \"b\" }\ncambio = { circuito = \"media_onda_filtro\" }\n"),
        10, "cambio", "se pregunta con un circuito en el banco", "es pregunta amb un circuit en el banc");
    spoilt("a frequency change beyond the generator", onRectifier("circuito", "{ frecuencia = \"80 MHz\" }"),
        13, "frecuencia", "fuera del margen del generador: entre 1 Hz y 50 MHz",
        "fora del marge del generador: entre 1 Hz i 50 MHz");
    spoilt("a frequency change without unit", onRectifier("circuito", "{ frecuencia = 500 }"), 13,
        "frecuencia", "se esperaba un número con unidad", "s'esperava un nombre amb unitat");
    spoilt("two frequencies for one change",
        onRectifier("circuito", "{ frecuencia = [\"1 kHz\", \"2 kHz\"] }"), 13, "frecuencia",
        "se esperaba una sola frecuencia", "s'esperava una sola freqüència");
    spoilt("a circuit and a frequency at once",
        onRectifier("circuito", "{ circuito = \"media_onda_filtro\", frecuencia = \"100 Hz\" }"), 13,
        "frecuencia", "clave desconocida; se esperaba una de: circuito",
        "clau desconeguda; s'esperava una de: circuito");
    spoilt("position between steps",
        labWith("[tarea.prediccion]\npregunta = { es = \"¿?\", va = \"?\" }\nexplicacion = { es = \"a\", va "
                "= \"b\" }\n"
                "cambio = { mando = \"TIME/DIV\", posicion = \"0,3 ms\" }\n"),
        10, "posicion", "TIME/DIV no tiene esa posición; se esperaba un paso del conmutador",
        "TIME/DIV no té esta posició; s'esperava un pas del commutador");
    spoilt("bad id", labWith("id = \"tarea uno\"\n[tarea.ajuste]\ncomprobar = [ { xy = true } ]\n"), 7, "id",
        "se esperaban de 1 a 40 letras sin acentos", "s'esperaven d'1 a 40 lletres sense accents");
}

void TestLabFile::errors()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, key);
    QFETCH(QString, castilian);
    QFETCH(QString, valencian);
    const LabReading reading = readLab(text, QStringLiteral("prueba.toml"));
    // A file with any error is no lab at all.
    QVERIFY(!reading.lab);
    QVERIFY(!reading.errors.isEmpty());
    QStringList told;
    bool found = false;
    for (const LabError &error : reading.errors) {
        const QString es = describeLabError(error, QStringLiteral("prueba.toml"), Language::Castilian);
        const QString va = describeLabError(error, QStringLiteral("prueba.toml"), Language::Valencian);
        told << es;
        if (error.line != line || error.key != key || !es.contains(castilian) || !va.contains(valencian))
            continue;
        found = true;
        // The student reads where: the file, the line and the key, in their language.
        QVERIFY2(es.startsWith(QStringLiteral("prueba.toml, línea %1").arg(line)), qPrintable(es));
        QVERIFY2(va.startsWith(QStringLiteral("prueba.toml, línia %1").arg(line)), qPrintable(va));
        if (!key.isEmpty())
            QVERIFY2(es.contains(QStringLiteral(", ") + key + QStringLiteral(": ")), qPrintable(es));
    }
    QVERIFY2(found, qPrintable(told.join(u'\n')));
}

void TestLabFile::limits()
{
    // Larger than any lab: refused before it is parsed.
    const QByteArray huge = "# " + QByteArray(LabLimits::maximumBytes, 'x') + "\n";
    LabReading reading = readLab(huge, QStringLiteral("grande.toml"));
    QVERIFY(!reading.lab);
    QCOMPARE(reading.errors.size(), 1);
    QVERIFY(describeLabError(reading.errors.first(), QStringLiteral("grande.toml"), Language::Castilian)
                .contains(QStringLiteral("demasiado grande")));
    // A text far longer than any goal.
    reading = readLab(labWith("").replace("Haz algo.", QByteArray(LabLimits::maximumText + 1, 'a')),
        QStringLiteral("largo.toml"));
    QVERIFY(!reading.lab);
    QCOMPARE(reading.errors.first().key, QStringLiteral("objetivo.es"));
    // More tasks than any session holds.
    QByteArray many = labWith("[tarea.ajuste]\ncomprobar = [ { xy = true } ]\n");
    for (int i = 0; i < LabLimits::maximumTasks; ++i)
        many += "[[tarea]]\nobjetivo = { es = \"a\", va = \"b\" }\n[tarea.ajuste]\ncomprobar = [ { xy = true "
                "} ]\n";
    reading = readLab(many, QStringLiteral("muchas.toml"));
    QVERIFY(!reading.lab);
    QCOMPARE(reading.errors.first().key, QStringLiteral("tarea"));
    // So many mistakes that only the first are told.
    QByteArray wrong = labWith("");
    for (int i = 0; i < 50; ++i)
        wrong += "mal" + QByteArray::number(i) + " = 1\n";
    reading = readLab(wrong, QStringLiteral("mal.toml"));
    QCOMPARE(reading.errors.size(), LabLimits::maximumErrors);
}

void TestLabFile::missingFile()
{
    QTemporaryDir dir;
    const LabReading missing = readLabFile(dir.filePath(QStringLiteral("no.toml")));
    QVERIFY(!missing.lab);
    QCOMPARE(describeLabError(missing.errors.first(), QStringLiteral("no.toml"), Language::Valencian),
        QStringLiteral("no.toml: el fitxer no existix"));
}

void TestLabFile::textsKeepTheirLetters()
{
    // Every way TOML writes a text keeps its letters: basic and literal, on one line or several, escapes.
    const QByteArray text
        = "titulo = { es = 'Práctica «1»: \"señal\" \\ 50 %', va = \"\"\"Pràctica\nl·l €\"\"\" }\n"
          "introduccion = { es = \"Tensión \\\"x\\\" \\u00f1 𝑓\", va = '''C:\\camí \"a\"''' }\n"
          "# Un comentario con acentos: ñ, à, ç\n"
          "[[tarea]]\nobjetivo = { es = \"a\", va = \"b\" }\n"
          "[tarea.ajuste]\ncomprobar = [ { xy = true } ]\n";
    const LabReading reading = readLab(text, QStringLiteral("letras.toml"));
    for (const LabError &error : reading.errors)
        qWarning(
            "%s", qPrintable(describeLabError(error, QStringLiteral("letras.toml"), Language::Castilian)));
    QVERIFY(reading.lab);
    QCOMPARE(reading.lab->title.castilian, QStringLiteral("Práctica «1»: \"señal\" \\ 50 %"));
    QCOMPARE(reading.lab->title.valencian, QStringLiteral("Pràctica\nl·l €"));
    QCOMPARE(reading.lab->introduction.castilian, QStringLiteral("Tensión \"x\" ñ 𝑓"));
    QCOMPARE(reading.lab->introduction.valencian, QStringLiteral("C:\\camí \"a\""));
}

void TestLabFile::docsExample()
{
    // The worked example a teacher copies from docs/labs.md loads, and does what it says.
    QFile docs(QStringLiteral(VANTELA_LABS_DIR "/../../docs/labs.md"));
    QVERIFY(docs.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(docs.readAll());
    const QRegularExpressionMatch block = QRegularExpression(
        QStringLiteral("```toml\n(.*?)```"), QRegularExpression::DotMatchesEverythingOption)
                                              .match(page);
    QVERIFY(block.hasMatch());
    const LabReading reading = readLab(block.captured(1).toUtf8(), QStringLiteral("labs.md"));
    for (const LabError &error : reading.errors)
        qWarning("%s", qPrintable(describeLabError(error, QStringLiteral("labs.md"), Language::Castilian)));
    QVERIFY(reading.lab);
    const Lab &lab = *reading.lab;
    QCOMPARE(lab.title.valencian, QStringLiteral("Pràctica 3: la base de temps"));
    QCOMPARE(lab.tasks.size(), 3);

    // Five periods of 2,5 kHz at 0,2 ms/div, 3 Vpp over six divisions at 0,5 V/div.
    const Hm203Task &setting = lab.tasks.at(0);
    QCOMPARE(setting.about, (QList { Hm203Control::TimeDiv, Hm203Control::VoltsDivI }));
    Hm203 scope;
    GeneratorSettings generator;
    setting.prepare(generator, 0);
    scope.setGenerator(generator);
    QVERIFY(!setting.judge(scope, std::nullopt).met);
    QVERIFY(setTime(scope, 0.2e-3));
    QVERIFY(!setting.judge(scope, std::nullopt).met);
    QVERIFY(setVolts(scope, false, 0.5));
    const TaskVerdict met = setting.judge(scope, std::nullopt);
    QVERIFY2(met.met, qPrintable(met.castilian));
    QVERIFY(met.castilian.startsWith(QStringLiteral("¡Conseguido! A 0,2 ms/div")));
    QVERIFY(setTime(scope, 0.5e-3));
    QVERIFY(!setting.judge(scope, std::nullopt).met);

    // Each attempt at the period draws another of the three frequencies, hidden from the student.
    const Hm203Task &period = lab.tasks.at(1);
    QCOMPARE(period.answerUnit, QStringLiteral("ms"));
    QCOMPARE(period.hidden, HiddenReading::FrequencyI);
    QSet<double> asked;
    for (quint32 draw = 0; draw < 3; ++draw) {
        period.prepare(generator, draw);
        asked.insert(generator.frequencyHz);
        QCOMPARE(generator.waveform, Waveform::Triangle);
        scope = Hm203();
        scope.setGenerator(generator);
        const double ms = 1000.0 / generator.frequencyHz;
        QVERIFY(setTime(scope, ms >= 2.0 ? 0.5e-3 : 0.1e-3));
        QVERIFY2(period.judge(scope, ms).met, qPrintable(period.judge(scope, ms).castilian));
        QVERIFY(!period.judge(scope, ms * 2.0).met);
    }
    QCOMPARE(asked, (QSet<double> { 400.0, 2500.0, 625.0 }));

    // The question: the right picture is 25 periods, and the goal is met at 1 ms/div with the file's words.
    const Hm203Task &question = lab.tasks.at(2);
    QVERIFY(question.prediction);
    question.prepare(generator, 0);
    const QList<PredictionChoice> choices = question.prediction->choices(generator, 0);
    QVERIFY(choices.size() >= 2);
    QCOMPARE(
        std::count_if(choices.begin(), choices.end(), [](const PredictionChoice &c) { return c.correct; }),
        1);
    scope = Hm203();
    scope.setGenerator(generator);
    QVERIFY(setTime(scope, 1e-3));
    const TaskVerdict looked = question.judge(scope, std::nullopt);
    QVERIFY2(looked.met, qPrintable(looked.castilian));
    QVERIFY(looked.castilian.contains(QStringLiteral("caben 25 periodos")));
}

void TestLabFile::docsNameEveryKey()
{
    // A teacher finds every check, quantity and slip the program knows in the page on writing labs, in both
    // languages.
    for (const char *page : { "labs.md", "labs.va.md" }) {
        QFile docs(QStringLiteral(VANTELA_LABS_DIR "/../../docs/") + QLatin1String(page));
        QVERIFY(docs.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(docs.readAll());
        QStringList keys;
        for (const LabCheck &check : labChecks())
            keys << QString::fromUtf8(check.key);
        for (const LabQuantity &quantity : labQuantities())
            keys << QString::fromUtf8(quantity.key);
        for (const char *slip : readingSlipKeys())
            keys << QString::fromUtf8(slip);
        for (const QString &key : keys)
            QVERIFY2(
                text.contains(QLatin1Char('`') + key + QLatin1Char('`')), qPrintable(page + (u' ' + key)));
    }
}

void TestLabFile::shippedLabs()
{
    // Every lab the course ships loads without a word of complaint, in both its copies: the one compiled in
    // and the one teachers are given to copy.
    const QDir folder(QStringLiteral(VANTELA_LABS_DIR));
    const QStringList files = folder.entryList({ QStringLiteral("*.toml") });
    QCOMPARE(files.size(), 8);
    qsizetype tasks = 0;
    for (const QString &file : files) {
        const LabReading onDisk = readLabFile(folder.filePath(file));
        QVERIFY2(onDisk.lab, qPrintable(file));
        QFile resource(shippedLabPath(file));
        QVERIFY2(resource.open(QIODevice::ReadOnly), qPrintable(file));
        QVERIFY(readLab(resource.readAll(), file).lab);
        tasks += onDisk.lab->tasks.size();
        QVERIFY(!onDisk.lab->title.castilian.isEmpty() && !onDisk.lab->introduction.valencian.isEmpty());
    }
    QCOMPARE(tasks, 46);
    QCOMPARE(courseLab().tasks.size(), 46);
}

QTEST_GUILESS_MAIN(TestLabFile)
#include "tst_labfile.moc"
