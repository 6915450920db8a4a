#include "circuit.h"

#include "tomlerror.h"

#include <toml++/toml.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

/** The circuits the course ships, in the order the panel offers them (files in assets/circuits/). */
constexpr const char *kShippedCircuits[] = {
    "media_onda",
    "media_onda_filtro",
    "puente",
    "puente_filtro",
    "paso_bajo",
    "paso_alto",
    "rlc_serie",
};

LabError error(const toml::source_region &where, const QString &key, Wording message)
{
    return { int(where.begin.line), int(where.begin.column), key, std::move(message) };
}

/** A node's name as SPICE takes it and as nothing else can be read into. */
bool isNodeName(const QString &name)
{
    static const QRegularExpression node(QStringLiteral("^[A-Za-z0-9_]{1,32}$"));
    return node.match(name).hasMatch();
}

/**
 * The netlist's lines, or what is wrong with one. Only what describes a circuit passes: components and
 * continuation lines, .model, .subckt and .ends, .param and .func. An analysis, a .control section (which
 * can run commands), an .include or a .lib (which read other files) and .end are the program's to add or
 * nobody's.
 */
std::optional<QStringList> netlistLines(const QString &text, int firstLine, QList<LabError> &errors)
{
    static const QStringList allowed { QStringLiteral(".model"), QStringLiteral(".subckt"),
        QStringLiteral(".ends"), QStringLiteral(".param"), QStringLiteral(".func") };
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > CircuitLimits::maximumLines) {
        errors << LabError {
            firstLine, 0, QStringLiteral("circuito"),
            { QStringLiteral("el circuito tiene demasiadas líneas: %1 como mucho")
                    .arg(CircuitLimits::maximumLines),
                QStringLiteral("el circuit té massa línies: %1 com a molt").arg(CircuitLimits::maximumLines) }
        };
        return std::nullopt;
    }
    QStringList kept;
    bool good = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('*')))
            continue;
        for (const QChar c : line) {
            if (c.unicode() > 126 || (c.unicode() < 32 && c != QLatin1Char('\t'))) {
                errors << LabError { firstLine + int(i), 0, QStringLiteral("circuito"),
                    { QStringLiteral(
                          "el circuito solo puede llevar letras sin acentos, cifras y signos de SPICE"),
                        QStringLiteral("el circuit només pot portar lletres sense accents, xifres i signes "
                                       "de SPICE") } };
                return std::nullopt;
            }
        }
        // The names the program gives the sources it adds are its own.
        static const QRegularExpression reserved(
            QStringLiteral("(^|\\s)(vgen[12]|rgen[12]|gen[12]_src|vtest|rtest|tester_src)(\\s|$)"),
            QRegularExpression::CaseInsensitiveOption);
        if (const QRegularExpressionMatch taken = reserved.match(line); taken.hasMatch()) {
            errors << LabError { firstLine + int(i), 0, QStringLiteral("circuito"),
                { QStringLiteral("«%1» es un nombre que pone el programa (el generador y el comprobador): "
                                 "usa otro")
                        .arg(taken.captured(2)),
                    QStringLiteral("«%1» és un nom que posa el programa (el generador i el comprovador): "
                                   "usa'n un altre")
                        .arg(taken.captured(2)) } };
            good = false;
            continue;
        }
        if (line.startsWith(QLatin1Char('.'))) {
            const QString command = line.section(QLatin1Char(' '), 0, 0).toLower();
            if (!allowed.contains(command)) {
                errors << LabError { firstLine + int(i), 0, QStringLiteral("circuito"),
                    { QStringLiteral(
                          "«%1» no puede ir en el circuito: solo componentes, .model, .subckt, .ends, "
                          ".param y .func (el programa pone el análisis)")
                            .arg(command),
                        QStringLiteral(
                            "«%1» no pot anar en el circuit: només components, .model, .subckt, .ends, "
                            ".param i .func (el programa posa l'anàlisi)")
                            .arg(command) } };
                good = false;
                continue;
            }
        }
        kept << line;
    }
    if (good && kept.isEmpty()) {
        errors << LabError { firstLine, 0, QStringLiteral("circuito"),
            { QStringLiteral("el circuito está vacío"), QStringLiteral("el circuit està buit") } };
        return std::nullopt;
    }
    return good ? std::optional(kept) : std::nullopt;
}

/** Reads what circuits and tester parts share: names, description and netlist. */
class CircuitReader
{
public:
    QList<LabError> errors;

    std::optional<QString> text(const toml::table &table, std::string_view key, bool required)
    {
        const toml::node *node = table.get(key);
        if (!node) {
            if (required)
                errors << LabError { 1, 0, fromToml(key),
                    { QStringLiteral("falta esta clave"), QStringLiteral("falta esta clau") } };
            return std::nullopt;
        }
        if (!node->is_string()) {
            errors << error(node->source(), fromToml(key),
                { QStringLiteral("se esperaba un texto entre comillas"),
                    QStringLiteral("s'esperava un text entre cometes") });
            return std::nullopt;
        }
        return fromToml(node->as_string()->get());
    }

    std::optional<Wording> words(const toml::table &table, std::string_view key, bool required)
    {
        const toml::node *node = table.get(key);
        if (!node) {
            if (required)
                errors << LabError { 1, 0, fromToml(key),
                    { QStringLiteral("falta esta clave"), QStringLiteral("falta esta clau") } };
            return required ? std::nullopt : std::optional(Wording {});
        }
        const toml::table *both = node->as_table();
        const toml::node *es = both ? both->get("es") : nullptr;
        const toml::node *va = both ? both->get("va") : nullptr;
        if (!es || !va || !es->is_string() || !va->is_string() || both->size() != 2) {
            errors << error(node->source(), fromToml(key),
                { QStringLiteral("se esperaba el texto en las dos lenguas: { es = \"…\", va = \"…\" }"),
                    QStringLiteral("s'esperava el text en les dues llengües: { es = \"…\", va = \"…\" }") });
            return std::nullopt;
        }
        return Wording { fromToml(es->as_string()->get()), fromToml(va->as_string()->get()) };
    }

    QString node(const toml::table &table, std::string_view key)
    {
        const std::optional<QString> name = text(table, key, false);
        if (name && !isNodeName(*name)) {
            errors << error(table.get(key)->source(), fromToml(key),
                { QStringLiteral(
                      "se esperaba el nombre de un nudo del circuito (letras sin acentos, cifras, _)"),
                    QStringLiteral(
                        "s'esperava el nom d'un nus del circuit (lletres sense accents, xifres, _)") });
            return {};
        }
        return name.value_or(QString());
    }

    void onlyKeys(const toml::table &table, std::initializer_list<std::string_view> keys)
    {
        for (const auto &[key, value] : table) {
            if (std::find(keys.begin(), keys.end(), key.str()) != keys.end())
                continue;
            QStringList names;
            for (std::string_view k : keys)
                names << fromToml(k);
            errors << error(key.source(), fromToml(key.str()),
                { QStringLiteral("clave desconocida; se esperaba una de: %1")
                        .arg(names.join(QStringLiteral(", "))),
                    QStringLiteral("clau desconeguda; s'esperava una de: %1")
                        .arg(names.join(QStringLiteral(", "))) });
        }
    }

    std::optional<QStringList> netlist(const toml::table &table)
    {
        const std::optional<QString> body = text(table, "circuito", true);
        if (!body)
            return std::nullopt;
        // A multi-line text starts on the line after its key.
        const int first = int(table.get("circuito")->source().begin.line) + 1;
        return netlistLines(*body, first, errors);
    }
};

std::optional<toml::table> parsed(const QByteArray &bytes, QList<LabError> &errors)
{
    if (bytes.size() > CircuitLimits::maximumBytes) {
        errors << LabError { 0, 0, QString(),
            { QStringLiteral("el archivo es demasiado grande para ser un circuito: %1 KiB como mucho")
                    .arg(CircuitLimits::maximumBytes / 1024),
                QStringLiteral("el fitxer és massa gran per a ser un circuit: %1 KiB com a molt")
                    .arg(CircuitLimits::maximumBytes / 1024) } };
        return std::nullopt;
    }
    const TomlText ascii = plainTomlText(bytes);
    if (!ascii.errors.isEmpty()) {
        errors << ascii.errors;
        return std::nullopt;
    }
    try {
        return toml::parse(std::string_view(ascii.text));
    } catch (const toml::parse_error &e) {
        errors << tomlParseError(e);
        return std::nullopt;
    }
}

QByteArray fileBytes(const QString &path, QList<LabError> &errors)
{
    QFile file(path);
    if (!file.exists()) {
        errors << LabError { 0, 0, QString(),
            { QStringLiteral("el archivo no existe"), QStringLiteral("el fitxer no existix") } };
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        errors << LabError { 0, 0, QString(),
            { QStringLiteral("no se puede leer el archivo (%1)").arg(file.errorString()),
                QStringLiteral("no es pot llegir el fitxer (%1)").arg(file.errorString()) } };
        return {};
    }
    return file.read(CircuitLimits::maximumBytes + 1);
}

/** A file read from disk by a reader of its bytes; what it gives remembers the whole path. */
template <typename Reading, typename Read, typename Field>
Reading readFile(const QString &path, Read read, Field field)
{
    Reading reading;
    const QByteArray bytes = fileBytes(path, reading.errors);
    if (!reading.errors.isEmpty())
        return reading;
    reading = read(bytes, QFileInfo(path).fileName());
    if (auto &found = reading.*field)
        found->fileName = path;
    return reading;
}

} // namespace

CircuitReading readCircuit(const QByteArray &bytes, const QString &fileName)
{
    CircuitReading reading;
    const std::optional<toml::table> root = parsed(bytes, reading.errors);
    if (!root)
        return reading;
    CircuitReader reader;
    reader.onlyKeys(*root, { "nombre", "descripcion", "circuito", "salida_1", "salida_2", "ch_1", "ch_2" });
    Circuit c;
    c.id = QFileInfo(fileName).completeBaseName();
    c.fileName = fileName;
    c.name = reader.words(*root, "nombre", true).value_or(Wording {});
    c.description = reader.words(*root, "descripcion", false).value_or(Wording {});
    c.netlist = reader.netlist(*root).value_or(QStringList {});
    c.outputI = reader.node(*root, "salida_1");
    c.outputII = reader.node(*root, "salida_2");
    c.probeI = reader.node(*root, "ch_1");
    c.probeII = reader.node(*root, "ch_2");
    if (reader.errors.isEmpty() && c.outputI.isEmpty() && c.outputII.isEmpty())
        reader.errors << LabError { 1, 0, QStringLiteral("salida_1"),
            { QStringLiteral("el circuito necesita al menos una salida del generador: salida_1 o salida_2"),
                QStringLiteral(
                    "el circuit necessita almenys una eixida del generador: salida_1 o salida_2") } };
    reading.errors = reader.errors;
    if (reading.errors.isEmpty())
        reading.circuit = c;
    return reading;
}

CircuitReading readCircuitFile(const QString &path)
{
    return readFile<CircuitReading>(path, readCircuit, &CircuitReading::circuit);
}

TesterPartReading readTesterPart(const QByteArray &bytes, const QString &fileName)
{
    TesterPartReading reading;
    TesterPart part;
    part.id = QFileInfo(fileName).completeBaseName();
    part.fileName = fileName;
    if (!fileName.endsWith(QLatin1String(".toml"), Qt::CaseInsensitive)) {
        // A bare netlist: its first line is its title, as SPICE has it.
        if (bytes.size() > CircuitLimits::maximumBytes) {
            reading.errors << LabError { 0, 0, QString(),
                { QStringLiteral("el archivo es demasiado grande para ser un componente"),
                    QStringLiteral("el fitxer és massa gran per a ser un component") } };
            return reading;
        }
        const QString text = QString::fromUtf8(bytes);
        const QString title
            = text.section(QLatin1Char('\n'), 0, 0).trimmed().remove(QLatin1Char('*')).trimmed();
        part.name
            = { title.isEmpty() ? part.id : title.left(80), title.isEmpty() ? part.id : title.left(80) };
        const std::optional<QStringList> lines
            = netlistLines(text.section(QLatin1Char('\n'), 1), 2, reading.errors);
        if (lines) {
            part.netlist = *lines;
            reading.part = part;
        }
        return reading;
    }
    const std::optional<toml::table> root = parsed(bytes, reading.errors);
    if (!root)
        return reading;
    CircuitReader reader;
    reader.onlyKeys(*root, { "nombre", "descripcion", "circuito" });
    part.name = reader.words(*root, "nombre", true).value_or(Wording {});
    part.description = reader.words(*root, "descripcion", false).value_or(Wording {});
    part.netlist = reader.netlist(*root).value_or(QStringList {});
    reading.errors = reader.errors;
    if (reading.errors.isEmpty())
        reading.part = part;
    return reading;
}

TesterPartReading readTesterPartFile(const QString &path)
{
    return readFile<TesterPartReading>(path, readTesterPart, &TesterPartReading::part);
}

const QList<Circuit> &benchCircuits()
{
    static const QList<Circuit> circuits = [] {
        QList<Circuit> list;
        for (const char *id : kShippedCircuits) {
            const QString path = QStringLiteral(":/circuits/%1.toml").arg(QLatin1String(id));
            CircuitReading reading = readCircuitFile(path);
            // The shipped files are tested to read; one that does not is left out rather than half-offered.
            if (reading.circuit)
                list << *reading.circuit;
        }
        return list;
    }();
    return circuits;
}

const Circuit *benchCircuit(const QString &id)
{
    for (const Circuit &c : benchCircuits()) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}
