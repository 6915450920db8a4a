#include "circuitwording.h"

#include "componenttester.h"
#include "decimalformat.h"
#include "hm203.h"
#include "wordparts.h"

#include <cmath>

namespace TraceWording {

namespace {

using namespace Parts;

/** What a diode does, said of the tester's bent line and of the rectifiers alike. */
Wording oneWay()
{
    return words(u"conduce en un solo sentido", u"conduïx en un sol sentit");
}

/** The voltage across the part where a steep arm stands, to the tenth of a volt the figure gives. */
QString kneeVolts(double armDivisions)
{
    return formatDecimal(std::abs(armDivisions) * TesterSource::voltsPerDivision, { .decimals = 1 })
        + QStringLiteral(" V");
}

Wording line(const FigureShape &figure)
{
    const QString degrees = formatDecimal(std::abs(figure.tiltDegrees), { .decimals = 0 });
    if (degrees == QLatin1String("0"))
        return words(u"No pasa corriente: el zócalo está abierto, o lo que hay en él es una resistencia muy "
                     u"grande.",
            u"No passa corrent: el sòcol està obert, o el que hi ha és una resistència molt gran.");
    if (degrees == QLatin1String("90"))
        return words(u"No cae tensión: el zócalo está en cortocircuito.",
            u"No cau tensió: el sòcol està en curtcircuit.");
    return words(u"Una resistencia: la recta es más empinada cuanto más pequeña es, vertical en un "
                 u"cortocircuito y horizontal con el zócalo abierto.",
        u"Una resistència: la recta és més empinada com més xicoteta és, vertical en un curtcircuit i "
        u"horitzontal amb el sòcol obert.");
}

Wording ellipse(const FigureShape &figure)
{
    const QString degrees = formatDecimal(std::abs(figure.tiltDegrees), { .decimals = 0 });
    const bool upright = degrees == QLatin1String("0") || degrees == QLatin1String("90");
    if (figure.kind == FigureKind::Circle || upright)
        return words(u"Un condensador o una bobina: la corriente y la tensión van 90° desfasadas.",
            u"Un condensador o una bobina: el corrent i la tensió van 90° desfasats.");
    return words(
        u"Una resistencia y una reactancia juntas (una resistencia con un condensador, o una bobina "
        u"con la resistencia de su hilo): la corriente y la tensión van desfasadas menos de 90° y la "
        u"elipse se inclina hacia la recta de la resistencia.",
        u"Una resistència i una reactància juntes (una resistència amb un condensador, o una bobina amb la "
        u"resistència del seu fil): el corrent i la tensió van desfasats menys de 90° i l'el·lipse "
        u"s'inclina cap a la recta de la resistència.");
}

Wording oneBend(const FigureShape &figure, bool worked)
{
    const Wording way = oneWay();
    const Wording from = worked
        ? Wording { text(u", a partir de unos %1").arg(kneeVolts(figure.steepArms.first())),
              text(u", a partir d'uns %1").arg(kneeVolts(figure.steepArms.first())) }
        : Wording {};
    // The part conducts when the socket is positive, the beam then to the right: its anode is there.
    const Wording where = figure.steepRight
        ? words(u"el codo a la derecha dice que el ánodo está en el zócalo",
            u"el colze a la dreta diu que l'ànode està en el sòcol")
        : words(u"el codo a la izquierda dice que el cátodo está en el zócalo",
            u"el colze a l'esquerra diu que el càtode està en el sòcol");
    return { text(u"Un diodo: %1%2; %3.").arg(way.castilian, from.castilian, where.castilian),
        text(u"Un díode: %1%2; %3.").arg(way.valencian, from.valencian, where.valencian) };
}

Wording twoBends(const FigureShape &figure, bool worked)
{
    // The junction's own way is the bend nearer the middle; the other is its breakdown.
    const double left = figure.steepArms.first();
    const double right = figure.steepArms.last();
    const bool forwardRight = std::abs(right) < std::abs(left);
    const Wording volts = worked
        ? Wording { text(u" a partir de unos %1").arg(kneeVolts(forwardRight ? right : left)),
              text(u" a partir d'uns %1").arg(kneeVolts(forwardRight ? right : left)) }
        : Wording {};
    const Wording breaks = worked
        ? Wording { text(u", en el codo de unos %1").arg(kneeVolts(forwardRight ? left : right)),
              text(u", en el colze d'uns %1").arg(kneeVolts(forwardRight ? left : right)) }
        : Wording {};
    return { text(u"Un Zener, un LED o una unión base-emisor: conduce en un sentido%1 y también rompe en el "
                  u"otro%2.")
                 .arg(volts.castilian, breaks.castilian),
        text(u"Un Zener, un LED o una unió base-emissor: conduïx en un sentit%1 i també trenca en l'altre%2.")
            .arg(volts.valencian, breaks.valencian) };
}

/** The capacitor after a rectifier: how often it is topped up, and through what. */
Wording filtered(const Wording &recharge, const Wording &ripple)
{
    return { text(u"CH II se queda casi plana, cerca de la cresta de la onda: el condensador se recarga %1 y "
                  u"entre recargas se descarga por la carga; lo que ves moverse es el rizado, %2.")
                 .arg(recharge.castilian, ripple.castilian),
        text(u"CH II queda quasi plana, prop de la cresta de l'ona: el condensador es recarrega %1 i entre "
             u"recàrregues es descarrega per la càrrega; el que veus moure's és l'arrissat, %2.")
            .arg(recharge.valencian, ripple.valencian) };
}

Wording halfWave()
{
    const Wording way = oneWay();
    return { text(
                 u"CH II ve solo media onda: el diodo %1 y en los semiciclos negativos la carga queda a 0 V.")
                 .arg(way.castilian),
        text(u"CH II veu només mitja ona: el díode %1 i en els semicicles negatius la càrrega queda a 0 V.")
            .arg(way.valencian) };
}

Wording bridge()
{
    const Wording way = oneWay();
    return { text(u"CH II ve las dos mitades de la onda, las dos hacia arriba: cada diodo del puente %1 y "
                  u"entre los cuatro llevan los dos semiciclos a la carga en el mismo sentido.")
                 .arg(way.castilian),
        text(u"CH II veu les dues meitats de l'ona, les dues cap amunt: cada díode del pont %1 i entre els "
             u"quatre porten els dos semicicles a la càrrega en el mateix sentit.")
            .arg(way.valencian) };
}

/** The shipped circuits by their files' names (assets/circuits), with what CH II shows of each. */
struct CircuitWords
{
    const char *id;
    Wording (*channelII)();
};

const CircuitWords kCircuitWords[] = {
    { "media_onda", halfWave },
    { "media_onda_filtro",
        [] {
            const Wording way = oneWay();
            return filtered({ text(u"en cada cresta a través del diodo, que %1,").arg(way.castilian),
                                text(u"en cada cresta a través del díode, que %1,").arg(way.valencian) },
                words(u"a la frecuencia de la entrada", u"a la freqüència de l'entrada"));
        } },
    { "puente", bridge },
    { "puente_filtro",
        [] {
            return filtered(words(u"dos veces por periodo a través del puente, una en cada semiciclo,",
                                u"dues vegades per període a través del pont, una en cada semicicle,"),
                words(u"al doble de la frecuencia de la entrada", u"al doble de la freqüència de l'entrada"));
        } },
    { "paso_bajo",
        [] {
            return words(u"CH II es la tensión del condensador de un filtro paso bajo RC: copia la entrada a "
                         u"frecuencias bajas y, por encima del corte, sale más pequeña y retrasada.",
                u"CH II és la tensió del condensador d'un filtre passabaix RC: copia l'entrada a freqüències "
                u"baixes i, per damunt del tall, ix més xicoteta i endarrerida.");
        } },
    { "paso_alto",
        [] {
            return words(
                u"CH II es la tensión de la resistencia de un filtro paso alto RC: copia la entrada a "
                u"frecuencias altas y, por debajo del corte, sale más pequeña y adelantada.",
                u"CH II és la tensió de la resistència d'un filtre passaalt RC: copia l'entrada a "
                u"freqüències "
                u"altes i, per davall del tall, ix més xicoteta i avançada.");
        } },
    { "rlc_serie",
        [] {
            return words(
                u"CH II es la tensión de la resistencia del RLC serie, es decir, su corriente: en la "
                u"resonancia es igual a la entrada y está en fase con ella; fuera de ella es más "
                u"pequeña, adelantada por debajo y retrasada por encima.",
                u"CH II és la tensió de la resistència del circuit RLC en sèrie, és a dir, el seu corrent: "
                u"en "
                u"la ressonància és igual que l'entrada i està en fase amb ella; fora d'ella és més "
                u"xicoteta, "
                u"avançada per davall i endarrerida per damunt.");
        } },
};

} // namespace

Wording testerFigureMeaning(const FigureShape &figure, bool worked)
{
    switch (figure.kind) {
    case FigureKind::Line:
        return line(figure);
    case FigureKind::Ellipse:
    case FigureKind::Circle:
        return ellipse(figure);
    case FigureKind::BentLine:
        return figure.steepArms.size() == 1 ? oneBend(figure, worked) : Wording {};
    case FigureKind::TwiceBentLine:
        return twoBends(figure, worked);
    case FigureKind::Spot:
    case FigureKind::Dots:
    case FigureKind::Other:
        break;
    }
    return {};
}

std::optional<Wording> circuitChannelII(const QString &circuitId)
{
    for (const CircuitWords &circuit : kCircuitWords)
        if (circuitId == QLatin1String(circuit.id))
            return circuit.channelII();
    return std::nullopt;
}

} // namespace TraceWording
