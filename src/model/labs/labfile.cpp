#include "labfile.h"

#include "labcatalogue.h"
#include "labvalues.h"
#include "taskfamilies.h"
#include "taskjudging.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <toml++/toml.h>

#include <cmath>
#include <string_view>
#include <tuple>

namespace {

using TaskJudging::Look;
using TaskJudging::Problem;

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
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

/** A quantity's range, for the message when a value is out of it. */
struct Span
{
    double low;
    double high;
};

/** Reads one file, gathering every error it finds. */
class Reader
{
public:
    explicit Reader(QString fileName)
        : m_fileName(std::move(fileName))
    {
    }

    std::optional<Lab> read(const toml::table &root);
    QList<LabError> errors;

    void fail(const toml::source_region &where, const QString &key, Wording message)
    {
        if (errors.size() < LabLimits::maximumErrors)
            errors << LabError { int(where.begin.line), int(where.begin.column), key, std::move(message) };
    }
    void fail(int line, const QString &key, Wording message)
    {
        if (errors.size() < LabLimits::maximumErrors)
            errors << LabError { line, 0, key, std::move(message) };
    }

private:
    /** Reports every key of a table that is not one of the allowed, with the allowed ones. */
    void onlyKeys(const toml::table &table, std::initializer_list<std::string_view> allowed);
    /** A text in both languages: { es = "…", va = "…" }. */
    std::optional<Wording> words(const toml::table &table, std::string_view key, bool required);
    /** A string value's text, bounded. */
    std::optional<QString> text(const toml::node &node, const QString &key);
    /** A value of a kind: a string with its unit or, for plain numbers, a TOML number too. */
    std::optional<double> value(const toml::node &node, const QString &key, CheckValue kind);
    /** A value that may be a list to draw among; each checked against a span. */
    QList<double> drawn(
        const toml::node &node, const QString &key, CheckValue kind, Span span, const QString &unit);
    std::optional<LabChannel> channel(const toml::node &node, const QString &key);
    std::optional<bool> flag(const toml::node &node, const QString &key);

    std::optional<Hm203Task> task(const toml::table &table);
    /** The generator's keys, as a function of the draw; the bench with draw 0 in bench. */
    std::optional<std::function<void(GeneratorSettings &, quint32)>> generator(
        const toml::table &table, LabBench &bench);
    bool setting(const toml::table &table, const LabBench &bench, Hm203Task &task);
    bool measurement(const toml::table &table, const LabBench &bench, Hm203Task &task);
    bool prediction(const toml::table &table, const LabBench &bench, Hm203Task &task);
    std::optional<CheckArgs> checkArgs(const toml::node &node, const LabCheck &check, const QString &key);
    std::optional<std::pair<Hm203Control, int>> controlPosition(const toml::table &table);

    QString m_fileName;
};

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

/** A word of a closed list a key takes, with what each means. */
template <class Value> struct Choice
{
    const char *word;
    Value value;
};

template <class Value, std::size_t N>
std::optional<Value> chosen(
    Reader &reader, const toml::node &node, const QString &key, const Choice<Value> (&choices)[N])
{
    QStringList words;
    for (const Choice<Value> &choice : choices)
        words << QStringLiteral("«%1»").arg(QString::fromUtf8(choice.word));
    if (const auto *string = node.as_string()) {
        const QString said = qs(string->get()).simplified();
        for (const Choice<Value> &choice : choices)
            if (said.compare(QString::fromUtf8(choice.word), Qt::CaseInsensitive) == 0)
                return choice.value;
    }
    reader.fail(node.source(), key,
        { QStringLiteral("se esperaba %1").arg(words.join(QStringLiteral(" o "))),
            QStringLiteral("s'esperava %1").arg(words.join(QStringLiteral(" o "))) });
    return std::nullopt;
}

constexpr Choice<Waveform> kWaveforms[] {
    { "senoidal", Waveform::Sine },
    { "cuadrada", Waveform::Square },
    { "triangular", Waveform::Triangle },
};
constexpr Choice<Hookup> kHookups[] {
    { "generador", Hookup::Generator },
    { "circuito RC", Hookup::RcCircuit },
    { "calibrador 0,2 V", Hookup::Calibrator02 },
    { "calibrador 2 V", Hookup::Calibrator2 },
};
constexpr Choice<Probe> kProbes[] {
    { "x1", Probe::Times1 },
    { "×1", Probe::Times1 },
    { "x10", Probe::Times10 },
    { "×10", Probe::Times10 },
};

std::optional<std::function<void(GeneratorSettings &, quint32)>> Reader::generator(
    const toml::table &table, LabBench &bench)
{
    onlyKeys(table,
        { "forma", "frecuencia", "amplitud_1", "continua_1", "amplitud_2", "continua_2", "fase_2", "ruido",
            "zumbido", "rafagas", "conexion", "salida_1_a_trig_inp", "sonda_1", "sonda_2", "ajuste_sonda_1",
            "ajuste_sonda_2" });
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

std::optional<std::pair<Hm203Control, int>> Reader::controlPosition(const toml::table &table)
{
    onlyKeys(table, { "mando", "posicion" });
    const toml::node *name = table.get("mando");
    const toml::node *where = table.get("posicion");
    if (!name || !where) {
        fail(table.source(), QString::fromUtf8(name ? "posicion" : "mando"),
            { QStringLiteral("falta; se esperaba { mando = \"…\", posicion = \"…\" }"),
                QStringLiteral("falta; s'esperava { mando = \"…\", posicion = \"…\" }") });
        return std::nullopt;
    }
    const std::optional<QString> label = text(*name, QStringLiteral("mando"));
    if (!label)
        return std::nullopt;
    const std::optional<Hm203Control> control = LabValues::control(*label);
    if (!control) {
        fail(name->source(), QStringLiteral("mando"),
            { QStringLiteral(
                  "no hay ningún mando «%1» en el panel; se esperaba su nombre tal como está impreso, "
                  "p. ej. «TIME/DIV» o «Y-POS I»")
                    .arg(label->left(40)),
                QStringLiteral(
                    "no hi ha cap comandament «%1» en el panell; s'esperava el seu nom tal com està "
                    "imprés, p. ex. «TIME/DIV» o «Y-POS I»")
                    .arg(label->left(40)) });
        return std::nullopt;
    }
    std::optional<int> position;
    if (const auto *boolean = where->as_boolean())
        position = boolean->get() ? controlInfo(*control).maximum : controlInfo(*control).minimum;
    else if (const auto *integer = where->as_integer())
        position = LabValues::position(*control, QString::number(integer->get()));
    else if (const auto *string = where->as_string())
        position = LabValues::position(*control, qs(string->get()));
    if (!position) {
        const Wording takes = LabValues::positionsOf(*control);
        fail(where->source(), QStringLiteral("posicion"),
            { QStringLiteral("%1 no tiene esa posición; se esperaba %2")
                    .arg(QString::fromUtf16(controlInfo(*control).label), takes.castilian),
                QStringLiteral("%1 no té esta posició; s'esperava %2")
                    .arg(QString::fromUtf16(controlInfo(*control).label), takes.valencian) });
        return std::nullopt;
    }
    return std::pair { *control, *position };
}

std::optional<CheckArgs> Reader::checkArgs(const toml::node &node, const LabCheck &check, const QString &key)
{
    CheckArgs args;
    switch (check.value) {
    case CheckValue::Yes:
        if (const auto *boolean = node.as_boolean(); boolean && boolean->get())
            return args;
        fail(node.source(), key, { QStringLiteral("se esperaba true"), QStringLiteral("s'esperava true") });
        return std::nullopt;
    case CheckValue::Channel:
        if (const std::optional<LabChannel> which = channel(node, key)) {
            args.channel = *which;
            return args;
        }
        return std::nullopt;
    case CheckValue::Range:
        if (const toml::array *pair = node.as_array()) {
            if (pair->size() != 2 || !pair->get(0) || !pair->get(1)) {
                fail(node.source(), key,
                    { QStringLiteral("se esperaban dos números, el menor y el mayor"),
                        QStringLiteral("s'esperaven dos nombres, el menor i el major") });
                return std::nullopt;
            }
            const std::optional<double> low = value(*pair->get(0), key, CheckValue::Number);
            const std::optional<double> high = value(*pair->get(1), key, CheckValue::Number);
            if (!low || !high)
                return std::nullopt;
            if (*low > *high) {
                fail(node.source(), key,
                    { QStringLiteral("el primer número debe ser el menor"),
                        QStringLiteral("el primer nombre ha de ser el menor") });
                return std::nullopt;
            }
            args.low = *low;
            args.high = *high;
            args.value = (*low + *high) / 2.0;
            return args;
        }
        [[fallthrough]];
    case CheckValue::Number:
    case CheckValue::Volts:
    case CheckValue::Hertz:
    case CheckValue::Seconds:
    case CheckValue::Degrees:
        if (const std::optional<double> read
            = value(node, key, check.value == CheckValue::Range ? CheckValue::Number : check.value)) {
            args.value = args.low = args.high = *read;
            return args;
        }
        return std::nullopt;
    case CheckValue::Position:
        if (const toml::table *table = node.as_table()) {
            if (const auto position = controlPosition(*table)) {
                std::tie(args.control, args.position) = *position;
                return args;
            }
            return std::nullopt;
        }
        fail(node.source(), key,
            { QStringLiteral("se esperaba %1").arg(expectedOf(CheckValue::Position).castilian),
                QStringLiteral("s'esperava %1").arg(expectedOf(CheckValue::Position).valencian) });
        return std::nullopt;
    }
    return std::nullopt;
}

bool Reader::setting(const toml::table &table, const LabBench &bench, Hm203Task &task)
{
    onlyKeys(table, { "comprobar", "elogio" });
    const int before = int(errors.size());
    const std::optional<Wording> praise = words(table, "elogio", false);
    const toml::node *listed = table.get("comprobar");
    const toml::array *checks = listed ? listed->as_array() : nullptr;
    if (!checks || checks->empty() || checks->size() > std::size_t(LabLimits::maximumChecks)) {
        fail(listed ? listed->source() : table.source(), QStringLiteral("comprobar"),
            { QStringLiteral(
                  "se esperaba una lista de 1 a %1 comprobaciones, p. ej. [ { canal_estable = \"CH I\" } ]")
                    .arg(LabLimits::maximumChecks),
                QStringLiteral(
                    "s'esperava una llista d'1 a %1 comprovacions, p. ex. [ { canal_estable = \"CH I\" } ]")
                    .arg(LabLimits::maximumChecks) });
        return false;
    }
    QList<std::pair<const LabCheck *, CheckArgs>> steps;
    for (const toml::node &item : *checks) {
        const toml::table *one = item.as_table();
        if (!one || one->size() != 1) {
            fail(item.source(), QStringLiteral("comprobar"),
                { QStringLiteral(
                      "cada comprobación es una clave con su valor entre llaves, p. ej. { periodos = 5 }"),
                    QStringLiteral("cada comprovació és una clau amb el seu valor entre claus, p. ex. { "
                                   "periodos = 5 }") });
            continue;
        }
        const auto entry = *one->begin();
        const toml::key &key = entry.first;
        const toml::node &node = entry.second;
        const QString name = qs(key.str());
        const LabCheck *found = nullptr;
        QStringList known;
        for (const LabCheck &check : labChecks()) {
            known << QString::fromUtf8(check.key);
            if (key.str() == check.key)
                found = &check;
        }
        if (!found) {
            fail(key.source(), name,
                { QStringLiteral("comprobación desconocida; se esperaba una de: %1")
                        .arg(known.join(QStringLiteral(", "))),
                    QStringLiteral("comprovació desconeguda; s'esperava una de: %1")
                        .arg(known.join(QStringLiteral(", "))) });
            continue;
        }
        if (const std::optional<CheckArgs> args = checkArgs(node, *found, name))
            steps.append({ found, *args });
    }
    if (errors.size() > before)
        return false;
    task.judge = [steps, bench, praise](const Hm203 &scope, std::optional<double>) -> TaskVerdict {
        const Look look(scope);
        if (Problem p = TaskJudging::beamProblem(look))
            return *p;
        if (Problem p = TaskJudging::hookupProblem(look, bench.hookup))
            return *p;
        std::optional<Wording> said = praise;
        for (const auto &[check, args] : steps) {
            if (Problem p = check->check(look, bench, args))
                return *p;
            if (check->praise && !praise)
                if (std::optional<Wording> own = check->praise(look, bench, args))
                    said = own;
        }
        if (said)
            return TaskJudging::met(said->castilian, said->valencian);
        return TaskJudging::wellDone();
    };
    return true;
}

bool Reader::measurement(const toml::table &table, const LabBench &bench, Hm203Task &task)
{
    onlyKeys(table, { "magnitud", "canal", "esperado", "tolerancia", "deslices" });
    const int before = int(errors.size());
    const toml::node *named = table.get("magnitud");
    const LabQuantity *quantity = nullptr;
    QStringList known;
    for (const LabQuantity &row : labQuantities())
        known << QStringLiteral("«%1»").arg(QString::fromUtf8(row.key));
    if (!named) {
        fail(table.source(), QStringLiteral("magnitud"),
            { QStringLiteral("falta; se esperaba %1").arg(known.join(QStringLiteral(", "))),
                QStringLiteral("falta; s'esperava %1").arg(known.join(QStringLiteral(", "))) });
        return false;
    }
    if (const auto *string = named->as_string())
        for (const LabQuantity &row : labQuantities())
            if (string->get() == row.key)
                quantity = &row;
    if (!quantity) {
        fail(named->source(), QStringLiteral("magnitud"),
            { QStringLiteral("se esperaba %1").arg(known.join(QStringLiteral(", "))),
                QStringLiteral("s'esperava %1").arg(known.join(QStringLiteral(", "))) });
        return false;
    }
    LabMeasurement asked;
    if (const toml::node *node = table.get("canal")) {
        asked.channel = channel(*node, QStringLiteral("canal")).value_or(LabChannel::I);
        if (asked.channel == LabChannel::II && !quantity->onChannelII)
            fail(node->source(), QStringLiteral("canal"),
                { QStringLiteral("esta magnitud se mide en CH I"),
                    QStringLiteral("esta magnitud es mesura en CH I") });
    }
    if (const toml::node *node = table.get("esperado"))
        asked.expected = value(*node, QStringLiteral("esperado"), quantity->unit);
    if (const toml::node *node = table.get("tolerancia")) {
        asked.tolerance = value(*node, QStringLiteral("tolerancia"), quantity->unit);
        if (asked.tolerance && *asked.tolerance <= 0.0)
            fail(node->source(), QStringLiteral("tolerancia"),
                { QStringLiteral("se esperaba un valor mayor que cero"),
                    QStringLiteral("s'esperava un valor major que zero") });
    }
    if (const toml::node *node = table.get("deslices")) {
        const std::span<const char *const> keys = readingSlipKeys();
        QStringList words;
        for (const char *key : keys)
            words << QStringLiteral("«%1»").arg(QString::fromUtf8(key));
        QList<ReadingSlip> slips;
        const toml::array *list = node->as_array();
        if (!list)
            fail(node->source(), QStringLiteral("deslices"),
                { QStringLiteral("se esperaba una lista de %1").arg(words.join(QStringLiteral(", "))),
                    QStringLiteral("s'esperava una llista de %1").arg(words.join(QStringLiteral(", "))) });
        for (std::size_t i = 0; list && i < list->size(); ++i) {
            const toml::node &item = *list->get(i);
            const auto *string = item.as_string();
            qsizetype found = -1;
            for (qsizetype k = 0; string && k < qsizetype(keys.size()); ++k)
                if (string->get() == keys[std::size_t(k)])
                    found = k;
            if (found < 0)
                fail(item.source(), QStringLiteral("deslices"),
                    { QStringLiteral("se esperaba uno de %1").arg(words.join(QStringLiteral(", "))),
                        QStringLiteral("s'esperava un de %1").arg(words.join(QStringLiteral(", "))) });
            else
                slips << ReadingSlip(found);
        }
        asked.slips = slips;
    }
    if (errors.size() > before)
        return false;
    Wording why;
    const std::optional<MeasuringParts> parts = quantity->make(asked, bench, why);
    if (!parts) {
        fail(named->source(), QStringLiteral("magnitud"), why);
        return false;
    }
    task.answerUnit = parts->answerUnit;
    task.hidden = parts->hidden;
    task.judge = parts->judge;
    return true;
}

bool Reader::prediction(const toml::table &table, const LabBench &bench, Hm203Task &task)
{
    onlyKeys(table, { "pregunta", "cambio", "explicacion" });
    const int before = int(errors.size());
    LabPrediction asked;
    asked.question = words(table, "pregunta", true).value_or(Wording {});
    asked.explanation = words(table, "explicacion", true).value_or(Wording {});
    const toml::node *node = table.get("cambio");
    const toml::table *change = node ? node->as_table() : nullptr;
    if (!change) {
        fail(node ? node->source() : table.source(), QStringLiteral("cambio"),
            { QStringLiteral("se esperaba { mando = \"…\", posicion = \"…\" } o { sonda_1 = \"x10\" }"),
                QStringLiteral("s'esperava { mando = \"…\", posicion = \"…\" } o { sonda_1 = \"x10\" }") });
        return false;
    }
    if (const toml::node *probe = change->get("sonda_1")) {
        onlyKeys(*change, { "sonda_1" });
        asked.change.probe = chosen(*this, *probe, QStringLiteral("sonda_1"), kProbes);
    } else if (const auto position = controlPosition(*change)) {
        std::tie(asked.change.control, asked.change.position) = *position;
    }
    if (errors.size() > before)
        return false;
    Wording why;
    const std::optional<PredictionParts> parts = makePrediction(asked, bench, why);
    if (!parts) {
        fail(node->source(), QStringLiteral("cambio"), why);
        return false;
    }
    task.prediction = parts->prediction;
    task.judge = parts->judge;
    for (Hm203Control control : parts->about)
        if (!task.about.contains(control))
            task.about << control;
    return true;
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

/** A lab file made plain ASCII for the parser, or where it has a letter TOML allows in no key. */
struct AsciiLab
{
    std::string text;
    /** The line and the word of a letter outside a text or a comment that is not plain ASCII. */
    int accentLine = 0;
    QString accentWord;
};

/**
 * The file as the parser is given it: every letter beyond ASCII in a text written as its escape ("\u00F3"),
 * a literal text ('…') turned into a basic one so that it can hold them, and those of comments dropped. TOML
 * allows such letters nowhere else, so one outside texts and comments (a key written with its accent,
 * "posición") is told rather than parsed. Lines stay where they were, so the parser's line numbers hold.
 *
 * toml++ 3.3 (Debian 12's) must never see those letters: its test for Unicode blanks reaches a path it
 * marks unreachable for many of them, wherever it looks for a blank, even inside what a broken file
 * leaves unclosed (upstream issues 190 and 295, mended after 3.3).
 */
AsciiLab asciiForParser(const QString &file)
{
    enum class In { Nothing, Comment, Basic, Literal, LongBasic, LongLiteral };
    const QList<uint> code = file.toUcs4();
    AsciiLab lab;
    lab.text.reserve(std::size_t(code.size()) + 64);
    In in = In::Nothing;
    int line = 1;
    const auto at = [&](qsizetype i, const char *what) {
        for (qsizetype k = 0; what[k]; ++k)
            if (i + k >= code.size() || code.at(i + k) != uint(uchar(what[k])))
                return false;
        return true;
    };
    const auto escaped = [](uint c) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, c > 0xFFFF ? "\\U%08X" : "\\u%04X", c);
        return std::string(buffer);
    };
    const auto wordy = [](uint c) { return c >= 0x80 || QChar::isLetterOrNumber(char32_t(c)) || c == '_'; };
    for (qsizetype i = 0; i < code.size(); ++i) {
        const uint c = code.at(i);
        if (c == '\n') {
            ++line;
            if (in == In::Comment)
                in = In::Nothing;
            // An unclosed one-line text ends with its line, as the parser ends it, with an error.
            if (in == In::Basic || in == In::Literal) {
                lab.text += '"';
                in = In::Nothing;
            }
            lab.text += '\n';
            continue;
        }
        switch (in) {
        case In::Nothing:
            if (c >= 0x80) {
                qsizetype from = i;
                while (from > 0 && wordy(code.at(from - 1)))
                    --from;
                qsizetype to = i;
                while (to < code.size() && to - from < 40 && wordy(code.at(to)))
                    ++to;
                lab.accentLine = line;
                lab.accentWord = QString::fromUcs4(
                    reinterpret_cast<const char32_t *>(code.constData() + from), to - from);
                return lab;
            }
            if (c == '#') {
                in = In::Comment;
            } else if (at(i, "\"\"\"")) {
                in = In::LongBasic;
                lab.text += "\"\"";
                i += 2;
            } else if (at(i, "'''")) {
                in = In::LongLiteral;
                lab.text += "\"\"\"";
                i += 2;
                continue;
            } else if (c == '"') {
                in = In::Basic;
            } else if (c == '\'') {
                in = In::Literal;
                lab.text += '"';
                continue;
            }
            lab.text += char(c);
            break;
        case In::Comment:
            lab.text += c < 0x80 ? char(c) : '?';
            break;
        case In::Basic:
        case In::LongBasic:
            if (c == '\\' && i + 1 < code.size()) {
                // An escape keeps its character, unless it is one no escape has.
                const uint next = code.at(++i);
                lab.text += '\\';
                lab.text += next < 0x80 ? char(next) : '?';
                if (next == '\n')
                    ++line;
                break;
            }
            if (in == In::Basic && c == '"')
                in = In::Nothing;
            if (in == In::LongBasic && at(i, "\"\"\"")) {
                in = In::Nothing;
                lab.text += "\"\"";
                i += 2;
            }
            lab.text += c < 0x80 ? std::string(1, char(c)) : escaped(c);
            break;
        case In::Literal:
        case In::LongLiteral:
            if (in == In::Literal && c == '\'') {
                in = In::Nothing;
                lab.text += '"';
            } else if (in == In::LongLiteral && at(i, "'''")) {
                in = In::Nothing;
                lab.text += "\"\"\"";
                i += 2;
            } else if (c == '\\' || c == '"') {
                // What a literal text holds as it stands, a basic one holds escaped.
                lab.text += '\\';
                lab.text += char(c);
            } else {
                lab.text += c < 0x80 ? std::string(1, char(c)) : escaped(c);
            }
            break;
        }
    }
    return lab;
}

} // namespace

LabReading readLab(const QByteArray &bytes, const QString &fileName)
{
    LabReading reading;
    Reader reader(fileName);
    if (bytes.size() > LabLimits::maximumBytes) {
        reader.fail({}, QString(),
            { QStringLiteral("el archivo es demasiado grande para ser una práctica: %1 KiB como mucho")
                    .arg(LabLimits::maximumBytes / 1024),
                QStringLiteral("el fitxer és massa gran per a ser una pràctica: %1 KiB com a molt")
                    .arg(LabLimits::maximumBytes / 1024) });
        reading.errors = reader.errors;
        return reading;
    }
    // An editor that saves in the old Windows code page writes accents TOML cannot read: say so plainly.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    if (utf8.hasError()) {
        const qsizetype bad = decoded.indexOf(QChar::ReplacementCharacter);
        const int line = int(decoded.left(std::max<qsizetype>(bad, 0)).count(u'\n')) + 1;
        reader.fail(line, QString(),
            { QStringLiteral("el archivo no está en UTF-8: guárdalo con la codificación UTF-8 en el editor"),
                QStringLiteral(
                    "el fitxer no està en UTF-8: guarda'l amb la codificació UTF-8 en l'editor") });
        reading.errors = reader.errors;
        return reading;
    }
    const AsciiLab ascii = asciiForParser(decoded);
    if (ascii.accentLine > 0) {
        reader.fail(ascii.accentLine, ascii.accentWord,
            { QStringLiteral(
                  "fuera de las comillas no se escriben acentos ni letras como la ñ: las claves van "
                  "sin ellos (posicion, introduccion) y los textos, entre comillas"),
                QStringLiteral(
                    "fora de les cometes no s'escriuen accents ni lletres com la ç: les claus van sense "
                    "(posicion, introduccion) i els textos, entre cometes") });
        reading.errors = reader.errors;
        return reading;
    }
    try {
        const toml::table root = toml::parse(std::string_view(ascii.text));
        reading.lab = reader.read(root);
    } catch (const toml::parse_error &error) {
        const QString detail = qs(error.description());
        reader.fail(error.source(), QString(),
            { QStringLiteral("el archivo no es TOML válido (%1)").arg(detail),
                QStringLiteral("el fitxer no és TOML vàlid (%1)").arg(detail) });
    }
    reading.errors = reader.errors;
    if (!reading.errors.isEmpty())
        reading.lab.reset();
    return reading;
}

LabReading readLabFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    const auto failed = [&](Wording message) {
        LabReading reading;
        reading.errors << LabError { 0, 0, QString(), std::move(message) };
        return reading;
    };
    if (!file.exists())
        return failed({ QStringLiteral("el archivo no existe"), QStringLiteral("el fitxer no existix") });
    if (file.size() > LabLimits::maximumBytes)
        return failed(
            { QStringLiteral("el archivo es demasiado grande para ser una práctica: %1 KiB como mucho")
                    .arg(LabLimits::maximumBytes / 1024),
                QStringLiteral("el fitxer és massa gran per a ser una pràctica: %1 KiB com a molt")
                    .arg(LabLimits::maximumBytes / 1024) });
    if (!file.open(QIODevice::ReadOnly))
        return failed({ QStringLiteral("no se puede leer el archivo (%1)").arg(file.errorString()),
            QStringLiteral("no es pot llegir el fitxer (%1)").arg(file.errorString()) });
    // One byte more than allowed tells a file that grew since its size was asked.
    LabReading reading = readLab(file.read(LabLimits::maximumBytes + 1), name);
    if (reading.lab)
        reading.lab->fileName = path;
    return reading;
}

QString describeLabError(const LabError &error, const QString &fileName, Language language)
{
    QStringList where { fileName };
    if (error.line > 0)
        where << inLanguage(language, QStringLiteral("línea %1"), QStringLiteral("línia %1")).arg(error.line);
    if (!error.key.isEmpty())
        where << error.key;
    return where.join(QStringLiteral(", ")) + QStringLiteral(": ") + error.message.in(language);
}
