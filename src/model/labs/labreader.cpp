#include "labreader.h"

#include "componenttester.h"
#include "taskfamilies.h"
#include "taskjudging.h"
#include "tomlerror.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <tuple>

namespace LabFileReading {

QString qs(std::string_view text)
{
    return fromToml(text);
}

/** What a value of a kind is, for "se esperaba …". */
Wording expectedOf(CheckValue kind)
{
    switch (kind) {
    case CheckValue::Yes:
        return { QStringLiteral("true"), QStringLiteral("true") };
    case CheckValue::Channel:
        return { QStringLiteral("un canal, «CH I» o «CH II»"), QStringLiteral("un canal, «CH I» o «CH II»") };
    case CheckValue::Number:
        return { QStringLiteral("un número, p. ej. 5 o \"2,5\""),
            QStringLiteral("un nombre, p. ex. 5 o \"2,5\"") };
    case CheckValue::Range:
        return { QStringLiteral("un número o dos entre corchetes, p. ej. [\"4,5\", \"5,5\"]"),
            QStringLiteral("un nombre o dos entre claudàtors, p. ex. [\"4,5\", \"5,5\"]") };
    case CheckValue::Volts:
        return { QStringLiteral("un número con unidad, p. ej. \"0,5 V\" o \"50 mV\""),
            QStringLiteral("un nombre amb unitat, p. ex. \"0,5 V\" o \"50 mV\"") };
    case CheckValue::Hertz:
        return { QStringLiteral("un número con unidad, p. ej. \"2,5 kHz\""),
            QStringLiteral("un nombre amb unitat, p. ex. \"2,5 kHz\"") };
    case CheckValue::Seconds:
        return { QStringLiteral("un número con unidad, p. ej. \"0,2 ms\""),
            QStringLiteral("un nombre amb unitat, p. ex. \"0,2 ms\"") };
    case CheckValue::Degrees:
        return { QStringLiteral("un ángulo con unidad, p. ej. \"60°\""),
            QStringLiteral("un angle amb unitat, p. ex. \"60°\"") };
    case CheckValue::Position:
        return { QStringLiteral("{ mando = \"…\", posicion = \"…\" }"),
            QStringLiteral("{ mando = \"…\", posicion = \"…\" }") };
    }
    return {};
}

void Reader::onlyKeys(const toml::table &table, std::initializer_list<std::string_view> allowed)
{
    QStringList names;
    for (std::string_view name : allowed)
        names << qs(name);
    for (auto &&[key, node] : table) {
        bool known = false;
        for (std::string_view name : allowed)
            known = known || key.str() == name;
        if (!known)
            fail(key.source(), qs(key.str()),
                { QStringLiteral("clave desconocida; se esperaba una de: %1")
                        .arg(names.join(QStringLiteral(", "))),
                    QStringLiteral("clau desconeguda; s'esperava una de: %1")
                        .arg(names.join(QStringLiteral(", "))) });
    }
}

std::optional<QString> Reader::text(const toml::node &node, const QString &key)
{
    const auto *string = node.as_string();
    if (!string) {
        fail(node.source(), key,
            { QStringLiteral("se esperaba un texto entre comillas"),
                QStringLiteral("s'esperava un text entre cometes") });
        return std::nullopt;
    }
    const QString said = qs(string->get()).trimmed();
    if (said.size() > LabLimits::maximumText) {
        fail(node.source(), key,
            { QStringLiteral("el texto es demasiado largo: %1 caracteres como mucho")
                    .arg(LabLimits::maximumText),
                QStringLiteral("el text és massa llarg: %1 caràcters com a molt")
                    .arg(LabLimits::maximumText) });
        return std::nullopt;
    }
    return said;
}

std::optional<Wording> Reader::words(const toml::table &table, std::string_view key, bool required)
{
    const toml::node *node = table.get(key);
    const QString name = qs(key);
    if (!node) {
        if (required)
            fail(table.source(), name,
                { QStringLiteral("falta; se esperaba { es = \"…\", va = \"…\" }"),
                    QStringLiteral("falta; s'esperava { es = \"…\", va = \"…\" }") });
        return std::nullopt;
    }
    const toml::table *both = node->as_table();
    if (!both) {
        fail(node->source(), name,
            { QStringLiteral("se esperaba el texto en las dos lenguas: { es = \"…\", va = \"…\" }"),
                QStringLiteral("s'esperava el text en les dues llengües: { es = \"…\", va = \"…\" }") });
        return std::nullopt;
    }
    onlyKeys(*both, { "es", "va" });
    Wording said;
    bool whole = true;
    for (auto [language, into] :
        { std::pair { "es", &said.castilian }, std::pair { "va", &said.valencian } }) {
        const toml::node *one = both->get(language);
        const QString where = name + u'.' + QLatin1String(language);
        if (!one) {
            fail(both->source(), where,
                { QStringLiteral("falta el texto en esta lengua"),
                    QStringLiteral("falta el text en esta llengua") });
            whole = false;
            continue;
        }
        const std::optional<QString> said = text(*one, where);
        if (said && said->isEmpty())
            fail(one->source(), where,
                { QStringLiteral("el texto está vacío"), QStringLiteral("el text és buit") });
        if (!said || said->isEmpty()) {
            whole = false;
            continue;
        }
        *into = *said;
    }
    if (!whole)
        return std::nullopt;
    return said;
}

std::optional<double> Reader::value(const toml::node &node, const QString &key, CheckValue kind)
{
    std::optional<double> read;
    if (const auto *string = node.as_string())
        read = LabValues::quantity(qs(string->get()), kind);
    else if (kind == CheckValue::Number || kind == CheckValue::Range) {
        if (const auto *integer = node.as_integer())
            read = double(integer->get());
        else if (const auto *floating = node.as_floating_point(); floating && std::isfinite(floating->get()))
            read = floating->get();
    }
    if (!read) {
        const Wording expected = expectedOf(kind);
        fail(node.source(), key,
            { QStringLiteral("se esperaba %1").arg(expected.castilian),
                QStringLiteral("s'esperava %1").arg(expected.valencian) });
    }
    return read;
}

QList<double> Reader::drawn(
    const toml::node &node, const QString &key, CheckValue kind, Span span, const QString &unit)
{
    QList<const toml::node *> items;
    if (const toml::array *list = node.as_array()) {
        if (list->empty() || list->size() > std::size_t(LabLimits::maximumDraws)) {
            fail(node.source(), key,
                { QStringLiteral("la lista debe tener de 1 a %1 valores").arg(LabLimits::maximumDraws),
                    QStringLiteral("la llista ha de tindre d'1 a %1 valors").arg(LabLimits::maximumDraws) });
            return {};
        }
        for (const toml::node &item : *list)
            items << &item;
    } else {
        items << &node;
    }
    QList<double> values;
    for (const toml::node *item : items) {
        const std::optional<double> read = value(*item, key, kind);
        if (!read)
            return {};
        if (*read < span.low - 1e-12 || *read > span.high + 1e-12) {
            const auto said = [&](double value) {
                if (kind == CheckValue::Hertz)
                    return hertz(value);
                // The true minus sign, as every negative number we write.
                QString number = formatDecimal(value);
                if (number.startsWith(u'-'))
                    number[0] = QChar(0x2212);
                return unit.isEmpty() ? number : number + u' ' + unit;
            };
            fail(item->source(), key,
                { QStringLiteral("fuera del margen del generador: entre %1 y %2")
                        .arg(said(span.low), said(span.high)),
                    QStringLiteral("fora del marge del generador: entre %1 i %2")
                        .arg(said(span.low), said(span.high)) });
            return {};
        }
        values << *read;
    }
    return values;
}

std::optional<LabChannel> Reader::channel(const toml::node &node, const QString &key)
{
    if (const auto *string = node.as_string()) {
        const QString said = qs(string->get()).simplified();
        if (said.compare(QStringLiteral("CH I"), Qt::CaseInsensitive) == 0)
            return LabChannel::I;
        if (said.compare(QStringLiteral("CH II"), Qt::CaseInsensitive) == 0)
            return LabChannel::II;
    }
    const Wording expected = expectedOf(CheckValue::Channel);
    fail(node.source(), key,
        { QStringLiteral("se esperaba %1").arg(expected.castilian),
            QStringLiteral("s'esperava %1").arg(expected.valencian) });
    return std::nullopt;
}

std::optional<bool> Reader::flag(const toml::node &node, const QString &key)
{
    if (const auto *boolean = node.as_boolean())
        return boolean->get();
    fail(node.source(), key,
        { QStringLiteral("se esperaba true o false"), QStringLiteral("s'esperava true o false") });
    return std::nullopt;
}

std::optional<std::function<void(GeneratorSettings &, quint32)>> Reader::generator(
    const toml::table &table, LabBench &bench)
{
    onlyKeys(table,
        { "forma", "frecuencia", "amplitud_1", "continua_1", "frecuencia_2", "amplitud_2", "continua_2",
            "fase_2", "ruido", "zumbido", "rafagas", "conexion", "salida_1_a_trig_inp", "sonda_1", "sonda_2",
            "ajuste_sonda_1", "ajuste_sonda_2",
            // The bench's circuits and the tester's parts.
            "circuito", "comprobador" });
    const int before = int(errors.size());
    GeneratorSettings fixed;
    if (const toml::node *node = table.get("forma"))
        fixed.waveform = chosen(*this, *node, QStringLiteral("forma"), kWaveforms).value_or(fixed.waveform);
    if (const toml::node *node = table.get("conexion"))
        fixed.hookup = chosen(*this, *node, QStringLiteral("conexion"), kHookups).value_or(fixed.hookup);
    if (const toml::node *node = table.get("sonda_1"))
        fixed.probeI = chosen(*this, *node, QStringLiteral("sonda_1"), kProbes).value_or(fixed.probeI);
    if (const toml::node *node = table.get("sonda_2"))
        fixed.probeII = chosen(*this, *node, QStringLiteral("sonda_2"), kProbes).value_or(fixed.probeII);
    if (const toml::node *node = table.get("rafagas"))
        fixed.burst = flag(*node, QStringLiteral("rafagas")).value_or(false);
    if (const toml::node *node = table.get("salida_1_a_trig_inp"))
        fixed.outputIToTriggerInput = flag(*node, QStringLiteral("salida_1_a_trig_inp")).value_or(false);
    circuitKeys(table, fixed);

    // The numbers, each with the generator's range; a list is drawn among.
    struct Numeric
    {
        std::string_view key;
        double GeneratorSettings::*field;
        CheckValue kind;
        Span span;
        const char *unit;
    };
    using namespace GeneratorLimits;
    const Numeric numerics[] {
        { "frecuencia", &GeneratorSettings::frequencyHz, CheckValue::Hertz,
            { minimumHz, maximumHzOf(fixed.waveform) }, "Hz" },
        { "amplitud_1", &GeneratorSettings::amplitudeIVpp, CheckValue::Volts, { 0.0, maximumVpp }, "Vpp" },
        { "continua_1", &GeneratorSettings::offsetIVolts, CheckValue::Volts,
            { -maximumOffset, maximumOffset }, "V" },
        // Without it, output II runs at output I's frequency.
        { "frecuencia_2", &GeneratorSettings::frequencyIIHz, CheckValue::Hertz,
            { minimumHz, maximumHzOf(fixed.waveform) }, "Hz" },
        { "amplitud_2", &GeneratorSettings::amplitudeIIVpp, CheckValue::Volts, { 0.0, maximumVpp }, "Vpp" },
        { "continua_2", &GeneratorSettings::offsetIIVolts, CheckValue::Volts,
            { -maximumOffset, maximumOffset }, "V" },
        { "fase_2", &GeneratorSettings::phaseIIDegrees, CheckValue::Degrees, { -maximumPhase, maximumPhase },
            "°" },
        { "ruido", &GeneratorSettings::noiseVolts, CheckValue::Volts, { 0.0, maximumNoise }, "V" },
        { "zumbido", &GeneratorSettings::humVolts, CheckValue::Volts, { 0.0, maximumHum }, "V" },
        { "ajuste_sonda_1", &GeneratorSettings::compensationI, CheckValue::Number,
            { Probes::minimumCompensation, Probes::maximumCompensation }, "" },
        { "ajuste_sonda_2", &GeneratorSettings::compensationII, CheckValue::Number,
            { Probes::minimumCompensation, Probes::maximumCompensation }, "" },
    };
    QList<std::pair<double GeneratorSettings::*, QList<double>>> draws;
    for (const Numeric &numeric : numerics) {
        const toml::node *node = table.get(numeric.key);
        if (!node)
            continue;
        const QList<double> values
            = drawn(*node, qs(numeric.key), numeric.kind, numeric.span, QString::fromUtf8(numeric.unit));
        if (!values.isEmpty())
            draws.append({ numeric.field, values });
    }
    if (errors.size() > before)
        return std::nullopt;
    auto prepare = [fixed, draws](GeneratorSettings &generator, quint32 draw) {
        generator = fixed;
        for (const auto &[field, values] : draws)
            generator.*field = values.at(qsizetype(draw % quint32(values.size())));
    };
    prepare(bench, 0);
    return prepare;
}

QString Reader::oneOf(const toml::node &node, const QString &key, const QStringList &ids)
{
    const auto *string = node.as_string();
    const QString said = string ? qs(string->get()).trimmed() : QString();
    if (ids.contains(said))
        return said;
    QStringList quoted;
    for (const QString &id : ids)
        quoted << QStringLiteral("«%1»").arg(id);
    fail(node.source(), key,
        { QStringLiteral("se esperaba uno de: %1").arg(quoted.join(QStringLiteral(", "))),
            QStringLiteral("s'esperava un de: %1").arg(quoted.join(QStringLiteral(", "))) });
    return {};
}

QStringList benchCircuitIds()
{
    QStringList circuits;
    for (const Circuit &circuit : benchCircuits())
        circuits << circuit.id;
    return circuits;
}

void Reader::circuitKeys(const toml::table &table, GeneratorSettings &fixed)
{
    const auto idOf = [&](const char *key, const QStringList &ids) -> QString {
        const toml::node *node = table.get(key);
        return node ? oneOf(*node, qs(key), ids) : QString();
    };
    const QStringList circuits = benchCircuitIds();
    QStringList parts;
    for (const TesterPart &part : testerParts())
        parts << part.id;
    fixed.circuit = idOf("circuito", circuits);
    fixed.testerPart = idOf("comprobador", parts);
    // A circuit is on the inputs only when the hookup says so, and the hookup needs a circuit to be on.
    const toml::node *circuit = table.get("circuito");
    if (fixed.hookup == Hookup::Circuit && !circuit)
        fail(table.get("conexion")->source(), QStringLiteral("conexion"),
            { QStringLiteral("con «circuito» falta la clave circuito = \"…\", uno de: %1")
                    .arg(circuits.join(QStringLiteral(", "))),
                QStringLiteral("amb «circuito» falta la clau circuito = \"…\", un de: %1")
                    .arg(circuits.join(QStringLiteral(", "))) });
    if (circuit && fixed.hookup != Hookup::Circuit)
        fail(circuit->source(), QStringLiteral("circuito"),
            { QStringLiteral("un circuito va con conexion = \"circuito\""),
                QStringLiteral("un circuit va amb conexion = \"circuito\"") });
}

std::optional<Hm203Task> Reader::task(const toml::table &table)
{
    onlyKeys(table, { "id", "objetivo", "mandos", "generador", "ajuste", "medida", "prediccion" });
    const int before = int(errors.size());
    Hm203Task task;
    if (const toml::node *id = table.get("id")) {
        const std::optional<QString> name = text(*id, QStringLiteral("id"));
        static const QRegularExpression kName(QStringLiteral("^[A-Za-z0-9_]{1,40}$"));
        if (name && !kName.match(*name).hasMatch())
            fail(id->source(), QStringLiteral("id"),
                { QStringLiteral("se esperaban de 1 a 40 letras sin acentos, cifras o «_»"),
                    QStringLiteral("s'esperaven d'1 a 40 lletres sense accents, xifres o «_»") });
        task.id = name.value_or(QString());
    }
    task.goal = words(table, "objetivo", true).value_or(Wording {});
    if (const toml::node *node = table.get("mandos")) {
        const toml::array *list = node->as_array();
        if (!list)
            fail(node->source(), QStringLiteral("mandos"),
                { QStringLiteral("se esperaba una lista de mandos, p. ej. [\"TIME/DIV\"]"),
                    QStringLiteral("s'esperava una llista de comandaments, p. ex. [\"TIME/DIV\"]") });
        for (std::size_t i = 0; list && i < list->size() && i < std::size_t(kHm203ControlCount); ++i) {
            const toml::node &item = *list->get(i);
            const std::optional<QString> label = text(item, QStringLiteral("mandos"));
            const std::optional<Hm203Control> control = label ? LabValues::control(*label) : std::nullopt;
            if (label && !control)
                fail(item.source(), QStringLiteral("mandos"),
                    { QStringLiteral("no hay ningún mando «%1» en el panel").arg(label->left(40)),
                        QStringLiteral("no hi ha cap comandament «%1» en el panell").arg(label->left(40)) });
            if (control && !task.about.contains(*control))
                task.about << *control;
        }
    }
    LabBench bench;
    if (const toml::node *node = table.get("generador")) {
        if (const toml::table *settings = node->as_table()) {
            if (auto prepare = generator(*settings, bench))
                task.prepare = *prepare;
        } else {
            fail(node->source(), QStringLiteral("generador"),
                { QStringLiteral("se esperaba una tabla [tarea.generador]"),
                    QStringLiteral("s'esperava una taula [tarea.generador]") });
        }
    }
    if (!task.prepare)
        task.prepare = [](GeneratorSettings &generator, quint32) { generator = {}; };
    if (errors.size() > before)
        return std::nullopt;

    // Exactly one way of judging.
    const std::pair<std::string_view, bool (Reader::*)(const toml::table &, const LabBench &, Hm203Task &)>
        kinds[] {
            { "ajuste", &Reader::setting },
            { "medida", &Reader::measurement },
            { "prediccion", &Reader::prediction },
        };
    int found = 0;
    for (const auto &[key, read] : kinds) {
        const toml::node *node = table.get(key);
        if (!node)
            continue;
        if (++found > 1) {
            fail(node->source(), qs(key),
                { QStringLiteral("una tarea se juzga de una sola manera: [tarea.ajuste], [tarea.medida] o "
                                 "[tarea.prediccion]"),
                    QStringLiteral("una tasca es jutja d'una sola manera: [tarea.ajuste], [tarea.medida] o "
                                   "[tarea.prediccion]") });
            return std::nullopt;
        }
        const toml::table *section = node->as_table();
        if (!section) {
            fail(node->source(), qs(key),
                { QStringLiteral("se esperaba una tabla [tarea.%1]").arg(qs(key)),
                    QStringLiteral("s'esperava una taula [tarea.%1]").arg(qs(key)) });
            return std::nullopt;
        }
        (this->*read)(*section, bench, task);
    }
    if (found == 0)
        fail(table.source(), QStringLiteral("tarea"),
            { QStringLiteral("falta cómo se juzga: [tarea.ajuste], [tarea.medida] o [tarea.prediccion]"),
                QStringLiteral("falta com es jutja: [tarea.ajuste], [tarea.medida] o [tarea.prediccion]") });
    if (errors.size() > before)
        return std::nullopt;
    return task;
}

std::optional<Lab> Reader::read(const toml::table &root)
{
    onlyKeys(root, { "titulo", "introduccion", "tarea" });
    Lab lab;
    lab.fileName = m_fileName;
    lab.title = words(root, "titulo", true).value_or(Wording {});
    lab.introduction = words(root, "introduccion", true).value_or(Wording {});
    const toml::node *node = root.get("tarea");
    const toml::array *tasks = node ? node->as_array() : nullptr;
    if (!tasks || tasks->empty() || tasks->size() > std::size_t(LabLimits::maximumTasks)) {
        fail(node ? node->source() : root.source(), QStringLiteral("tarea"),
            { QStringLiteral("se esperaban de 1 a %1 tareas, cada una tras [[tarea]]")
                    .arg(LabLimits::maximumTasks),
                QStringLiteral("s'esperaven d'1 a %1 tasques, cadascuna després de [[tarea]]")
                    .arg(LabLimits::maximumTasks) });
        return std::nullopt;
    }
    QSet<QString> ids;
    for (const toml::node &item : *tasks) {
        const toml::table *table = item.as_table();
        if (!table) {
            fail(item.source(), QStringLiteral("tarea"),
                { QStringLiteral("se esperaba una tabla [[tarea]]"),
                    QStringLiteral("s'esperava una taula [[tarea]]") });
            continue;
        }
        std::optional<Hm203Task> task = this->task(*table);
        if (!task)
            continue;
        if (!task->id.isEmpty()) {
            if (ids.contains(task->id))
                fail(table->get("id")->source(), QStringLiteral("id"),
                    { QStringLiteral("otra tarea ya se llama «%1»").arg(task->id),
                        QStringLiteral("una altra tasca ja es diu «%1»").arg(task->id) });
            ids.insert(task->id);
        }
        lab.tasks << std::move(*task);
    }
    if (!errors.isEmpty())
        return std::nullopt;
    return lab;
}

} // namespace LabFileReading
