#include "hm203tasks.h"

#include "problemjudge.h"
#include "taskgoals.h"
#include "taskjudging.h"
#include "taskprediction.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

using namespace TaskJudging;
using namespace TaskGoals;
using C = Hm203Control;

/** A unit a student may type after a number, and what it is worth in the task's unit. */
struct UnitSpelling
{
    const char16_t *unit;
    const char16_t *spelling;
    double factor;
};

// Longer spellings first, so that "ms" is not read as "s" after an "m".
constexpr UnitSpelling kSpellings[] {
    { u"°", u"grados", 1.0 },
    { u"°", u"graus", 1.0 },
    { u"°", u"°", 1.0 },
    { u"°", u"º", 1.0 },
    { u"Hz", u"kHz", 1000.0 },
    { u"Hz", u"Hz", 1.0 },
    { u"V", u"mV", 1e-3 },
    { u"V", u"V", 1.0 },
    { u"ms", u"µs", 1e-3 },
    { u"ms", u"us", 1e-3 },
    { u"ms", u"ms", 1.0 },
    { u"ms", u"s", 1000.0 },
    { u"ns", u"µs", 1000.0 },
    { u"ns", u"us", 1000.0 },
    { u"ns", u"ns", 1.0 },
};

/** No measurement a student types is longer than this; a longer text is a paste, not an answer. */
constexpr qsizetype kLongestAnswer = 40;

} // namespace

std::optional<double> readTypedNumber(const QString &typed, const char16_t *unit)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > kLongestAnswer)
        return std::nullopt;
    // A minus sign from a word processor reads like the hyphen.
    QString text = trimmed;
    text.replace(u'\u2212', u'-');
    double factor = 1.0;
    if (unit) {
        const QStringView wanted(unit);
        for (const UnitSpelling &spelling : kSpellings) {
            const QStringView spelt(spelling.spelling);
            if (wanted == QStringView(spelling.unit) && text.endsWith(spelt, Qt::CaseInsensitive)) {
                // "ms" also ends in "s": a letter left before the unit means another unit was typed.
                const QString rest = text.left(text.size() - spelt.size());
                if (!rest.isEmpty() && rest.back().isLetter())
                    return std::nullopt;
                text = rest;
                factor = spelling.factor;
                break;
            }
        }
    }
    const std::optional<double> value = ProblemJudge::readQuantity(text);
    if (!value || !std::isfinite(*value * factor))
        return std::nullopt;
    return *value * factor;
}

TaskVerdict judgeTask(
    const Hm203Task &task, const Hm203 &scope, const BeamMoment &moment, std::optional<double> answer)
{
    if (scope.isPressed(Hm203Control::Power) && moment.warming())
        return notMet(text(u"El tubo se está calentando: la traza aparecerá en unos segundos."),
            text(u"El tub s'està escalfant: la traça apareixerà d'ací a uns segons."));
    return task.judge(scope, answer);
}

QList<Hm203Control> keptControls(const Hm203Task &task)
{
    QList<Hm203Control> kept;
    for (Hm203Control control : task.about)
        if (!task.prediction || !task.prediction->asked.contains(control))
            kept << control;
    return kept;
}

QList<Hm203Control> startingControls(const Hm203Task &task)
{
    const QList<Hm203Control> kept = keptControls(task);
    QList<Hm203Control> reset;
    for (const Hm203ControlInfo &info : hm203Controls())
        if (!kept.contains(info.id))
            reset << info.id;
    return reset;
}

const QList<Hm203Task> &hm203Tasks()
{
    static const QList<Hm203Task> tasks {
        { .castilian = u"Ajusta TIME/DIV para ver cinco periodos completos de la señal de 500 Hz.",
            .valencian = u"Ajusta TIME/DIV per a veure cinc períodes complets del senyal de 500 Hz.",
            .prepare = prepareTimeBase,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeTimeBase,
            .about = { C::TimeDiv } },
        { .castilian = u"Pon TIME/DIV en 1 µs/div y mira la senoide de 1 kHz.",
            .valencian = u"Posa TIME/DIV en 1 µs/div i mira la sinusoide d'1 kHz.",
            .prepare = preparePredictSweep,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgePredictSweep,
            .about = { C::TimeDiv },
            .prediction = sweepPrediction() },
        { .castilian = u"Muestra dos periodos de la señal de 1 kHz con 5 divisiones de pico a pico.",
            .valencian = u"Mostra dos períodes del senyal d'1 kHz amb 5 divisions de pic a pic.",
            .prepare = prepareTwoPeriods,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeTwoPeriods,
            .about = { C::VoltsDivI } },
        { .castilian = u"Pon VOLTS/DIV I en 0,5 V/div y mira la altura de la senoide de 3 Vpp.",
            .valencian = u"Posa VOLTS/DIV I en 0,5 V/div i mira l'altura de la sinusoide de 3 Vpp.",
            .prepare = preparePredictSensitivity,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgePredictSensitivity,
            .about = { C::VoltsDivI },
            .prediction = sensitivityPrediction() },
        { .castilian
            = u"Con Y-POS I, lleva la traza hasta que sus mínimos toquen la línea inferior de la retícula.",
            .valencian = u"Amb Y-POS I, porta la traça fins que els seus mínims toquen la línia inferior de "
                         u"la retícula.",
            .prepare = prepareBottomLine,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeBottomLine,
            .about = { C::YPositionI } },
        { .castilian = u"Haz que el barrido empiece en el flanco descendente de la señal, a 1 V o más.",
            .valencian = u"Fes que l'escombratge comence en el flanc descendent del senyal, a 1 V o més.",
            .prepare = prepareFallingStart,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeFallingStart,
            .about = { C::Slope, C::Level } },
        { .castilian
            = u"La señal de 1 Vpp va montada sobre una tensión continua de 4 V: acopla CH I en AC y haz que "
              u"ocupe 5 divisiones de pico a pico.",
            .valencian
            = u"El senyal d'1 Vpp va muntat sobre una tensió contínua de 4 V: acobla CH I en AC i fes que "
              u"ocupe 5 divisions de pic a pic.",
            .prepare = prepareAcCoupling,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeAcCoupling,
            .about = { C::DcI, C::VoltsDivI } },
        { .castilian = u"Pasa CH I de DC a AC con AC/DC I y mira dónde queda la senoide.",
            .valencian = u"Passa CH I de DC a AC amb AC/DC I i mira on queda la sinusoide.",
            .prepare = preparePredictAc,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgePredictAc,
            .about = { C::DcI },
            .prediction = acPrediction() },
        { .castilian = u"Mide la tensión de pico a pico de la señal de la salida I del generador, en V.",
            .valencian = u"Mesura la tensió de pic a pic del senyal de l'eixida I del generador, en V.",
            .prepare = preparePeakToPeak,
            .answerUnit = u"V",
            .hidden = HiddenReading::AmplitudeI,
            .judge = judgePeakToPeak,
            .about = { C::VoltsDivI } },
        { .castilian
            = u"Mide en voltios la tensión continua que lleva la señal de CH I: GD marca el cero y DC "
              u"muestra cuánto se desplaza la traza.",
            .valencian
            = u"Mesura en volts la tensió contínua que porta el senyal de CH I: GD marca el zero i DC "
              u"mostra quant es desplaça la traça.",
            .prepare = prepareDcLevel,
            .answerUnit = u"V",
            .hidden = HiddenReading::OffsetI,
            .judge = judgeDcLevel,
            .about = { C::GroundI, C::DcI, C::YPositionI } },
        { .castilian
            = u"Con CH I en el borne de 2 V del calibrador, comprueba la sensibilidad: con VOLTS/DIV I en "
              u"0,5 V/div y su mando CAL en el tope, la onda cuadrada debe ocupar 4 divisiones de pico a "
              u"pico.",
            .valencian
            = u"Amb CH I en el born de 2 V del calibrador, comprova la sensibilitat: amb VOLTS/DIV I en "
              u"0,5 V/div i el seu comandament CAL en el topall, l'ona quadrada ha d'ocupar 4 divisions de "
              u"pic a pic.",
            .prepare = prepareCalibrator,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeCalibrator,
            .about = { C::VoltsDivI, C::VoltsCalI } },
        { .castilian = u"Mide el periodo de la señal triangular de la salida I del generador, en ms.",
            .valencian = u"Mesura el període del senyal triangular de l'eixida I del generador, en ms.",
            .prepare = preparePeriod,
            .answerUnit = u"ms",
            .hidden = HiddenReading::FrequencyI,
            .judge = judgePeriod,
            .about = { C::TimeDiv } },
        { .castilian = u"Mide la frecuencia de la señal de la salida I del generador, en Hz.",
            .valencian = u"Mesura la freqüència del senyal de l'eixida I del generador, en Hz.",
            .prepare = prepareFrequency,
            .answerUnit = u"Hz",
            .hidden = HiddenReading::FrequencyI,
            .judge = judgeFrequency,
            .about = { C::TimeDiv } },
        { .castilian
            = u"Pulsa DUAL y muestra las dos señales a la vez: la del canal I en la mitad superior de la "
              u"pantalla y la del canal II en la inferior, cada una con al menos 2 divisiones de pico a "
              u"pico.",
            .valencian
            = u"Polsa DUAL i mostra els dos senyals alhora: el del canal I en la meitat superior de la "
              u"pantalla i el del canal II en la inferior, cadascun amb almenys 2 divisions de pic a pic.",
            .prepare = prepareDual,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeDual,
            .about = { C::Dual, C::YPositionI, C::YPositionII } },
        { .castilian = u"Muestra en una sola traza la diferencia CH I − CH II con ADD e INV II.",
            .valencian = u"Mostra en una sola traça la diferència CH I − CH II amb ADD i INV II.",
            .prepare = prepareDifference,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeDifference,
            .about = { C::Add, C::InvertII } },
        { .castilian = u"Mide el desfase en X-Y entre las dos salidas del generador, en grados.",
            .valencian = u"Mesura el desfasament en X-Y entre les dues eixides del generador, en graus.",
            .prepare = preparePhaseXY,
            .answerUnit = u"°",
            .hidden = HiddenReading::PhaseII,
            .judge = judgePhaseXY,
            .about = { C::XY } },
        { .castilian = u"Pulsa X-Y y mira la figura que dibujan las dos senoides desfasadas 90°.",
            .valencian = u"Polsa X-Y i mira la figura que dibuixen les dues sinusoides desfasades 90°.",
            .prepare = preparePredictXY,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgePredictXY,
            .about = { C::XY },
            .prediction = xyPrediction() },
        { .castilian
            = u"Circuito RC de prácticas: la salida I del generador alimenta 1 kΩ y 100 nF en serie. CH I "
              u"mide la tensión de entrada Ue y CH II la tensión Ur en la resistencia. Mide cuántos grados "
              u"va adelantada Ur respecto a Ue.",
            .valencian
            = u"Circuit RC de pràctiques: l'eixida I del generador alimenta 1 kΩ i 100 nF en sèrie. CH I "
              u"mesura la tensió d'entrada Ue i CH II la tensió Ur en la resistència. Mesura quants graus "
              u"va avançada Ur respecte a Ue.",
            .prepare = prepareRcLead,
            .answerUnit = u"°",
            .hidden = HiddenReading::None,
            .judge = judgeRcLead,
            .about = { C::Dual, C::XY } },
        { .castilian
            = u"Con la sonda ×10 en CH I y su punta en el borne de 0,2 V del calibrador, compénsala con su "
              u"condensador de ajuste (trimmer): la onda cuadrada debe verse con las esquinas rectas y el "
              u"techo plano.",
            .valencian = u"Amb la sonda ×10 en CH I i la punta en el born de 0,2 V del calibrador, "
                         u"compensa-la amb el seu condensador d'ajust (trimmer): l'ona quadrada s'ha de "
                         u"veure amb les cantonades rectes i el sostre pla.",
            .prepare = prepareCompensation,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeCompensation,
            .about = { C::VoltsDivI } },
        { .castilian = u"Elige la sonda ×10 para CH I en el generador y mira la altura de la senoide.",
            .valencian = u"Tria la sonda ×10 per a CH I en el generador i mira l'altura de la sinusoide.",
            .prepare = preparePredictProbe,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgePredictProbe,
            .about = {},
            .prediction = probePrediction() },
        { .castilian = u"Mide con la sonda ×10 la tensión de pico a pico de la salida I del generador, en V.",
            .valencian = u"Mesura amb la sonda ×10 la tensió de pic a pic de l'eixida I del generador, en V.",
            .prepare = prepareProbeVoltage,
            .answerUnit = u"V",
            .hidden = HiddenReading::AmplitudeI,
            .judge = judgeProbeVoltage,
            .about = { C::VoltsDivI } },
        { .castilian
            = u"Mide el tiempo de subida de la onda cuadrada de 1 MHz, del 10 al 90 % de su altura: pon "
              u"TIME/DIV en 0,5 µs/div, pulsa X-MAG x10 y gira X-POS hacia la derecha hasta ver el "
              u"comienzo de la traza, donde el flanco de subida dispara el barrido.",
            .valencian
            = u"Mesura el temps de pujada de l'ona quadrada d'1 MHz, del 10 al 90 % de la seua altura: posa "
              u"TIME/DIV en 0,5 µs/div, polsa X-MAG x10 i gira X-POS cap a la dreta fins a veure el "
              u"començament de la traça, on el flanc de pujada dispara l'escombratge.",
            .prepare = prepareRiseTime,
            .answerUnit = u"ns",
            .hidden = HiddenReading::None,
            .judge = judgeRiseTime,
            .about = { C::TimeDiv, C::XMagnifier, C::XPosition } },
        { .castilian
            = u"Busca el ancho de banda: sube la frecuencia de la senoide hasta que la traza mida 0,7 de su "
              u"altura a 1 kHz.",
            .valencian
            = u"Busca l'amplada de banda: puja la freqüència de la sinusoide fins que la traça faça 0,7 de "
              u"la seua altura a 1 kHz.",
            .prepare = prepareBandwidth,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeBandwidth,
            .about = { C::VoltsDivI } },
        { .castilian
            = u"La señal de 5 kHz lleva un fuerte zumbido de red de 50 Hz: haz que quede quieta en la "
              u"pantalla con el acoplamiento de TRIG.",
            .valencian
            = u"El senyal de 5 kHz porta un fort brunzit de xarxa de 50 Hz: fes que quede quiet en la "
              u"pantalla amb l'acoblament de TRIG.",
            .prepare = prepareHum,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeHum,
            .about = { C::TriggerCoupling } },
        { .castilian
            = u"La señal de 500 Hz lleva mucho ruido y la traza tiembla de lado a lado: haz que quede "
              u"quieta con el acoplamiento de TRIG.",
            .valencian
            = u"El senyal de 500 Hz porta molt de soroll i la traça tremola de costat a costat: fes que "
              u"quede quieta amb l'acoblament de TRIG.",
            .prepare = prepareNoise,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeNoise,
            .about = { C::TriggerCoupling } },
        { .castilian
            = u"El generador da ráfagas de 4 ciclos de cada 10: con TIME/DIV en 0,2 ms/div, haz con HOLD OFF "
              u"que se vea una sola imagen.",
            .valencian = u"El generador dona ràfegues de 4 cicles de cada 10: amb TIME/DIV en 0,2 ms/div, "
                         u"fes amb HOLD OFF que es veja una sola imatge.",
            .prepare = prepareBurst,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeBurst,
            .about = { C::TimeDiv, C::HoldOff } },
        { .castilian
            = u"Pulsa AT/NORM para pasar a NORM: la señal de 0,4 Vpp no dispara el barrido y la pantalla "
              u"queda oscura. Consigue una traza disparada sin tocar el generador.",
            .valencian
            = u"Polsa AT/NORM per a passar a NORM: el senyal de 0,4 Vpp no dispara l'escombratge i la "
              u"pantalla queda fosca. Aconseguix una traça disparada sense tocar el generador.",
            .prepare = prepareSmallSignal,
            .answerUnit = nullptr,
            .hidden = HiddenReading::None,
            .judge = judgeSmallSignal,
            .about = { C::AtNorm } },
    };
    return tasks;
}
