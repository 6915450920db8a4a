#include "tracewording.h"

#include "wordparts.h"

#include <optional>

// Why the trigger finds nothing, and what the trace does then: dark in NORM, running in AT, following the
// mains or shaking with what rides on the signal.
namespace TraceWording {

using C = Hm203Control;
using namespace Parts;

TriggerReason triggerReason(const TriggerContext &c)
{
    const QString name = channelName(c.second);
    switch (c.miss) {
    case TriggerMiss::None:
    case TriggerMiss::LevelOutside:
        break;
    case TriggerMiss::TooSmall: {
        if (c.external) {
            const QString volts = formatDecimal(TriggerSensitivity::externalVolts);
            return { TraceCause::BelowTriggerThreshold,
                { text(u"por TRIG. INP. el disparo necesita %1 Vpp y la señal no llega").arg(volts),
                    text(u"per TRIG. INP. el disparament necessita %1 Vpp i el senyal no hi arriba")
                        .arg(volts) },
                { text(u"suelta %1 para disparar desde un canal").arg(label(C::ExtTrigger)),
                    text(u"deixa anar %1 per a disparar des d'un canal").arg(label(C::ExtTrigger)) } };
        }
        const QString height = divisions(c.heightDivisions);
        const QString needed = formatDecimal(TriggerSensitivity::internalDivisions);
        const Wording probe = c.tenthProbe ? words(u"con la sonda ×10, ", u"amb la sonda ×10, ") : Wording {};
        const QString volts = label(channelControls(c.second).volts);
        return { TraceCause::BelowTriggerThreshold,
            { text(u"%1la señal de %2 solo ocupa %3 divisiones, menos de las %4 que necesita el disparo")
                    .arg(probe.castilian, name, height, needed),
                text(u"%1el senyal de %2 només ocupa %3 divisions, menys de les %4 que necessita el "
                     u"disparament")
                    .arg(probe.valencian, name, height, needed) },
            { text(u"gira %1 a un paso más sensible").arg(volts),
                text(u"gira %1 a un pas més sensible").arg(volts) } };
    }
    case TriggerMiss::NoSignal: {
        if (c.external && !c.externalWired)
            return { TraceCause::TriggerSourceEmpty,
                words(u"el disparo toma la señal de TRIG. INP. (EXT.), donde no hay nada conectado",
                    u"el disparament pren el senyal de TRIG. INP. (EXT.), on no hi ha res connectat"),
                { text(u"suelta %1 o lleva a TRIG. INP. también la salida I del generador")
                        .arg(label(C::ExtTrigger)),
                    text(u"deixa anar %1 o porta a TRIG. INP. també l'eixida I del generador")
                        .arg(label(C::ExtTrigger)) } };
        if (c.external)
            return { TraceCause::TriggerSourceEmpty,
                words(u"el disparo toma la señal de TRIG. INP. (EXT.), que no lleva ninguna",
                    u"el disparament pren el senyal de TRIG. INP. (EXT.), que no en porta cap"),
                { text(u"suelta %1").arg(label(C::ExtTrigger)),
                    text(u"deixa anar %1").arg(label(C::ExtTrigger)) } };
        const QString other = channelName(!c.second);
        const QString button = label(C::ChannelII);
        return { TraceCause::TriggerSourceEmpty,
            { text(u"el disparo toma la señal de %1, que no lleva ninguna").arg(name),
                text(u"el disparament pren el senyal de %1, que no en porta cap").arg(name) },
            c.second ? Wording { text(u"suelta %1 para disparar desde %2").arg(button, other),
                text(u"deixa anar %1 per a disparar des de %2").arg(button, other) }
                     : Wording { text(u"pulsa %1 para disparar desde %2").arg(button, other),
                         text(u"polsa %1 per a disparar des de %2").arg(button, other) } };
    }
    case TriggerMiss::Grounded: {
        const QString ground = label(channelControls(c.second).ground);
        return { TraceCause::Grounded,
            { text(u"el disparo toma la señal de %1, que está en GD").arg(name),
                text(u"el disparament pren el senyal de %1, que està en GD").arg(name) },
            { text(u"suelta %1").arg(ground), text(u"deixa anar %1").arg(ground) } };
    }
    case TriggerMiss::Filtered: {
        const QString trig = label(C::TriggerCoupling);
        const Wording mend { text(u"pon %1 en AC o DC").arg(trig), text(u"posa %1 en AC o DC").arg(trig) };
        if (c.highPass)
            return { TraceCause::TriggerFiltered,
                { text(u"%1 en HF solo deja pasar al disparo las señales rápidas, y esta es lenta").arg(trig),
                    text(u"%1 en HF només deixa passar al disparament els senyals ràpids, i este és lent")
                        .arg(trig) },
                mend };
        return { TraceCause::TriggerFiltered,
            { text(u"%1 en LF solo deja pasar al disparo las señales lentas, y esta es rápida").arg(trig),
                text(u"%1 en LF només deixa passar al disparament els senyals lents, i este és ràpid")
                    .arg(trig) },
            mend };
    }
    case TriggerMiss::TooFast: {
        const QString band = formatDecimal(TriggerBand::highestHz / 1e6) + QStringLiteral(" MHz");
        return { TraceCause::TriggerTooFast,
            { text(u"la señal es más rápida de lo que sigue el circuito de disparo, que no pasa de %1")
                    .arg(band),
                text(u"el senyal és més ràpid del que seguix el circuit de disparament, que no passa de %1")
                    .arg(band) },
            words(u"baja la frecuencia en el generador", u"baixa la freqüència en el generador") };
    }
    }
    const QString level = label(C::Level);
    const QString trig = label(C::TriggerCoupling);
    if (c.meanOutOfReach)
        return { TraceCause::LevelOutside,
            { text(u"con %1 en DC el disparo toma también la tensión continua, que lleva la señal fuera del "
                   u"alcance de %2")
                    .arg(trig, level),
                text(
                    u"amb %1 en DC el disparament pren també la tensió contínua, que porta el senyal fora de "
                    u"l'abast de %2")
                    .arg(trig, level) },
            { text(u"pon %1 en AC").arg(trig), text(u"posa %1 en AC").arg(trig) } };
    if (c.filteredOut) {
        const QString filter = c.highPass ? QStringLiteral("HF") : QStringLiteral("LF");
        return { TraceCause::TriggerFiltered,
            { text(u"%1 en %2 deja fuera la frecuencia de la señal, que no llega al disparo")
                    .arg(trig, filter),
                text(u"%1 en %2 deixa fora la freqüència del senyal, que no arriba al disparament")
                    .arg(trig, filter) },
            { text(u"pon %1 en AC").arg(trig), text(u"posa %1 en AC").arg(trig) } };
    }
    switch (c.level) {
    case LevelStand::AbovePeaks:
        return { TraceCause::LevelOutside,
            { text(u"%1 queda por encima de los picos de la señal y no la corta").arg(level),
                text(u"%1 queda per damunt dels pics del senyal i no el talla").arg(level) },
            { text(u"gira %1 hacia abajo hasta que la corte").arg(level),
                text(u"gira %1 cap avall fins que el talle").arg(level) } };
    case LevelStand::BelowPeaks:
        return { TraceCause::LevelOutside,
            { text(u"%1 queda por debajo de los mínimos de la señal y no la corta").arg(level),
                text(u"%1 queda per davall dels mínims del senyal i no el talla").arg(level) },
            { text(u"gira %1 hacia arriba hasta que la corte").arg(level),
                text(u"gira %1 cap amunt fins que el talle").arg(level) } };
    case LevelStand::Among:
    case LevelStand::Nowhere:
        break;
    }
    return { TraceCause::LevelOutside,
        { text(u"%1 queda fuera de la señal").arg(level), text(u"%1 queda fora del senyal").arg(level) },
        { text(u"gira %1 hasta que corte la señal").arg(level),
            text(u"gira %1 fins que talle el senyal").arg(level) } };
}

Wording darkInNormWords(const TriggerReason &r)
{
    const QString norm = label(C::AtNorm);
    return {
        text(u"La pantalla está oscura porque en NORM el barrido espera un disparo, y %1: %2, o pasa a AT "
             u"con %3.")
            .arg(r.why.castilian, r.mend.castilian, norm),
        text(
            u"La pantalla està fosca perquè en NORM l'escombratge espera un disparament, i %1: %2, o passa a "
            u"AT amb %3.")
            .arg(r.why.valencian, r.mend.valencian, norm)
    };
}

Wording running(const TriggerReason &r)
{
    return { sentence(
                 text(u"La traza corre porque %1, y en AT el barrido arranca sin disparo, cada vez en otro "
                      u"punto de la señal: %2")
                     .arg(r.why.castilian, r.mend.castilian)),
        sentence(text(u"La traça corre perquè %1, i en AT l'escombratge arranca sense disparament, cada "
                      u"vegada en un altre punt del senyal: %2")
                     .arg(r.why.valencian, r.mend.valencian)) };
}

namespace {

/** The filter of TRIG. that keeps out what rides on a signal and lets the signal in: HF for hum on a signal
 * fast enough for it, LF for noise alone on one slow enough; nothing where none does. */
std::optional<Wording> mendingFilter(const InputSignal &signal)
{
    const bool hum = signal.humVolts > 0.0;
    if (hum && signal.frequencyHz >= TriggerBand::highPassHz)
        return words(u"HF", u"HF");
    if (!hum && signal.noiseVolts > 0.0 && signal.frequencyHz <= TriggerBand::lowPassHz)
        return words(u"LF", u"LF");
    return std::nullopt;
}

} // namespace

Wording lineTrigger(bool lowPass, const InputSignal &signal)
{
    const QString trig = label(C::TriggerCoupling);
    const Wording position = mendingFilter(signal).value_or(words(u"AC o DC", u"AC o DC"));
    if (lowPass)
        return { text(u"La traza se desliza porque el barrido sigue a la red: %1 en LF deja fuera la señal, "
                      u"demasiado rápida, y solo deja pasar su zumbido de 50 Hz. Pon %1 en %2.")
                     .arg(trig, position.castilian),
            text(u"La traça es llisca perquè l'escombratge seguix la xarxa: %1 en LF deixa fora el senyal, "
                 u"massa ràpid, i només deixa passar el seu brunzit de 50 Hz. Posa %1 en %2.")
                .arg(trig, position.valencian) };
    return { text(
                 u"La traza corre porque %1 en ~ dispara con la red eléctrica y la señal no va al paso de la "
                 u"red: pon %1 en %2.")
                 .arg(trig, position.castilian),
        text(u"La traça corre perquè %1 en ~ dispara amb la xarxa elèctrica i el senyal no va al pas de la "
             u"xarxa: posa %1 en %2.")
            .arg(trig, position.valencian) };
}

Wording jitter(const InputSignal &signal, TriggerCoupling coupling)
{
    const QString trig = label(C::TriggerCoupling);
    // What the position of TRIG. already keeps out is not what shakes the trace.
    InputSignal heard = signal;
    if (coupling == TriggerCoupling::HF)
        heard.humVolts = 0.0;
    if (coupling == TriggerCoupling::LF)
        heard.noiseVolts = 0.0;
    const Wording rider
        = heard.humVolts > 0.0 ? words(u"el zumbido", u"el brunzit") : words(u"el ruido", u"el soroll");
    // Where no TRIG. position keeps out what rides on the signal and lets the signal in, the steepest
    // point of the wave shakes least.
    const std::optional<Wording> filter = mendingFilter(heard);
    const Wording mend = filter
        ? Wording { text(u"pon %1 en %2").arg(trig, filter->castilian),
              text(u"posa %1 en %2").arg(trig, filter->valencian) }
        : Wording { text(u"lleva %1 al centro de la señal, donde la cruza más deprisa").arg(label(C::Level)),
              text(u"porta %1 al centre del senyal, on el creua més de pressa").arg(label(C::Level)) };
    return { text(u"La traza tiembla porque %1 que lleva la señal llega al disparo: en cada barrido la señal "
                  u"cruza el nivel de %2 en otro punto de la onda. Para que no tiemble, %3.")
                 .arg(rider.castilian, label(C::Level), mend.castilian),
        text(u"La traça tremola perquè %1 que porta el senyal arriba al disparament: en cada escombratge el "
             u"senyal creua el nivell de %2 en un altre punt de l'ona. Perquè no tremole, %3.")
            .arg(rider.valencian, label(C::Level), mend.valencian) };
}

} // namespace TraceWording
