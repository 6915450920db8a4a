#include "labreader.h"

#include "taskfamilies.h"
#include "taskjudging.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <tuple>

namespace LabFileReading {

using TaskJudging::Look;
using TaskJudging::Problem;

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
        const QString forms = QStringLiteral("{ mando = \"…\", posicion = \"…\" }, { sonda_1 = \"x10\" }, "
                                             "{ circuito = \"…\" } o { frecuencia = \"…\" }");
        fail(node ? node->source() : table.source(), QStringLiteral("cambio"),
            { QStringLiteral("se esperaba ") + forms, QStringLiteral("s'esperava ") + forms });
        return false;
    }
    if (const toml::node *probe = change->get("sonda_1")) {
        onlyKeys(*change, { "sonda_1" });
        asked.change.probe = chosen(*this, *probe, QStringLiteral("sonda_1"), kProbes);
    } else if (const toml::node *circuit = change->get("circuito")) {
        // The generator's own keys, read as [tarea.generador] reads them.
        onlyKeys(*change, { "circuito" });
        asked.change.circuit = oneOf(*circuit, QStringLiteral("circuito"), benchCircuitIds());
    } else if (const toml::node *hz = change->get("frecuencia")) {
        onlyKeys(*change, { "frecuencia" });
        const QList<double> values = drawn(*hz, QStringLiteral("frecuencia"), CheckValue::Hertz,
            { GeneratorLimits::minimumHz, GeneratorLimits::maximumHzOf(bench.waveform) },
            QStringLiteral("Hz"));
        if (values.size() > 1)
            fail(hz->source(), QStringLiteral("frecuencia"),
                { QStringLiteral("se esperaba una sola frecuencia"),
                    QStringLiteral("s'esperava una sola freqüència") });
        else if (!values.isEmpty())
            asked.change.frequencyHz = values.first();
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

} // namespace LabFileReading
