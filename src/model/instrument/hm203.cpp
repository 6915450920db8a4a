#include "hm203.h"

#include "componenttester.h"
#include "decimalformat.h"
#include "verticalpath.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

using C = Hm203Control;

/** TIME/DIV and VOLTS/DIV positions count clockwise: the slowest sweep and the least sensitive range
 * (the last of the steps) are position 0. */
double stepAtPosition(const QList<double> &steps, int position)
{
    const int last = int(steps.size()) - 1;
    return steps.at(last - std::clamp(position, 0, last));
}

/** The position of the step nearest to a value, by ratio. */
int positionOfStep(const QList<double> &steps, double value)
{
    int best = 0;
    for (int i = 1; i < steps.size(); ++i) {
        if (std::abs(std::log(steps.at(i) / value)) < std::abs(std::log(steps.at(best) / value)))
            best = i;
    }
    return int(steps.size()) - 1 - best;
}

/** How a control is worked follows from what part of the front it is. */
constexpr ControlStyle styleOf(const char *panelName)
{
    switch (hm203Part(panelName)->kind) {
    case ControlKind::PushButton:
        return ControlStyle::Button;
    case ControlKind::RotarySwitch:
    case ControlKind::SlideSwitch:
        return ControlStyle::Switch;
    default:
        return ControlStyle::Knob;
    }
}

/** A control of the table; a name that is no part of the front does not compile. */
constexpr Hm203ControlInfo control(Hm203Control id, const char *panelName, const char16_t *label, int minimum,
    int maximum, int initial, int pageStep)
{
    return { id, panelName, label, styleOf(panelName), minimum, maximum, initial, pageStep };
}

// clang-format off
constexpr std::array<Hm203ControlInfo, kHm203ControlCount> kControls = { {
    control(C::Power,           "Interruptor", u"POWER",              0,   1,   1,  1),
    control(C::Intensity,       "intensidad",  u"INTENS.",            0, 100,  70, 10),
    control(C::Focus,           "focus",       u"FOCUS",              0, 100,  50, 10),
    control(C::TraceRotation,   "traza",       u"TR",               -50,  50,   0, 10),
    control(C::XMagnifier,      "xmag",        u"X-MAG x10",          0,   1,   0,  1),
    control(C::XY,              "xy",          u"X-Y",                0,   1,   0,  1),
    control(C::XPosition,       "xpos",        u"X-POS",            -60,  60,   0, 10),
    control(C::HoldOff,         "holdoff",     u"HOLD OFF",           0, 100,   0, 10),
    control(C::TriggerCoupling, "trigger",     u"TRIG.",              0,   4,   0,  1),
    control(C::TimeDiv,         "time",        u"TIME/DIV",           0,  17,   9,  3),
    control(C::TimeCal,         "cal1",        u"TIME/DIV CAL",       0, 100, 100, 10),
    control(C::AtNorm,          "atnorm",      u"AT/NORM",            0,   1,   0,  1),
    control(C::Level,           "level",       u"LEVEL",            -40,  40,   0, 10),
    control(C::AltTrigger,      "alt",         u"ALT",                0,   1,   0,  1),
    control(C::Slope,           "flanco",      u"SLOPE",              0,   1,   0,  1),
    control(C::ExtTrigger,      "ext",         u"EXT.",               0,   1,   0,  1),
    control(C::YPositionI,      "ypos",        u"Y-POS I",          -60,  60,   0, 10),
    control(C::VoltsDivI,       "volts1",      u"VOLTS/DIV I",        0,  11,   4,  3),
    control(C::VoltsCalI,       "cal2",        u"VOLTS/DIV I CAL",    0, 100, 100, 10),
    control(C::GroundI,         "gd1",         u"GD I",               0,   1,   0,  1),
    control(C::DcI,             "acdc1",       u"AC/DC I",            0,   1,   1,  1),
    control(C::InvertI,         "inv1",        u"INV I",              0,   1,   0,  1),
    control(C::MagnifyI,        "ymag1",       u"Y-MAG x5 I",         0,   1,   0,  1),
    control(C::MagnifyII,       "ymag2",       u"Y-MAG x5 II",        0,   1,   0,  1),
    control(C::VoltsDivII,      "volts2",      u"VOLTS/DIV II",       0,  11,   4,  3),
    control(C::VoltsCalII,      "cal3",        u"VOLTS/DIV II CAL",   0, 100, 100, 10),
    control(C::YPositionII,     "ypos2",       u"Y-POS II",         -60,  60,   0, 10),
    control(C::DcII,            "acdc2",       u"AC/DC II",           0,   1,   1,  1),
    control(C::GroundII,        "gd2",         u"GD II",              0,   1,   0,  1),
    control(C::ChannelII,       "ch12",        u"CH I/II",            0,   1,   0,  1),
    control(C::Dual,            "dual",        u"DUAL",               0,   1,   0,  1),
    control(C::Add,             "add",         u"ADD",                0,   1,   0,  1),
    control(C::InvertII,        "inv2",        u"INV II",             0,   1,   0,  1),
    control(C::Tester,          "tester",      u"COMPONENT TESTER",   0,   1,   0,  1),
} };
// clang-format on

double clampedOr(double value, double low, double high, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

/** A calibrator square: from 0 V up to the terminal's voltage, 1 kHz. */
InputSignal calibrator(double volts)
{
    InputSignal s;
    s.waveform = Waveform::Square;
    s.frequencyHz = CalTerminals::hz;
    s.amplitudeVpp = volts;
    s.offsetVolts = volts / 2.0;
    return s;
}

InputSignal generatorOutput(const GeneratorSettings &g, bool second)
{
    InputSignal s;
    s.waveform = g.waveform;
    s.frequencyHz = second ? g.outputIIHz() : g.frequencyHz;
    s.amplitudeVpp = second ? g.amplitudeIIVpp : g.amplitudeIVpp;
    s.offsetVolts = second ? g.offsetIIVolts : g.offsetIVolts;
    s.phaseDegrees = second ? g.phaseIIDegrees : 0.0;
    s.noiseVolts = g.noiseVolts;
    s.humVolts = g.humVolts;
    if (g.burst) {
        s.burstCycles = GeneratorLimits::burstCycles;
        s.burstPeriodCycles = GeneratorLimits::burstPeriodCycles;
    }
    if (g.waveform != Waveform::Sine)
        s.smoothingSeconds = gaussianSigmaForRise(GeneratorEdges::riseSeconds);
    return s;
}

/** Whether a trace is still visibly on its way after a coupling switch: settled once what is left is under
 * a hundredth of a division. */
bool stillSettling(const ScopeSettings &s)
{
    return std::abs(s.channelI.settlingVolts) > 0.01 * s.channelI.voltsPerDiv
        || std::abs(s.channelII.settlingVolts) > 0.01 * s.channelII.voltsPerDiv;
}

} // namespace

const std::array<Hm203ControlInfo, kHm203ControlCount> &hm203Controls()
{
    return kControls;
}

const Hm203ControlInfo &controlInfo(Hm203Control control)
{
    return kControls[std::size_t(control)];
}

double calMagnification(int position)
{
    return 1.0 + 1.5 * (100 - position) / 100.0;
}

std::optional<Hm203Control> calKnobOf(Hm203Control range)
{
    switch (range) {
    case C::TimeDiv:
        return C::TimeCal;
    case C::VoltsDivI:
        return C::VoltsCalI;
    case C::VoltsDivII:
        return C::VoltsCalII;
    default:
        return std::nullopt;
    }
}

Hm203::Hm203()
{
    for (const Hm203ControlInfo &info : kControls)
        m_values[std::size_t(info.id)] = info.initial;
}

bool Hm203::setValue(Hm203Control control, int value)
{
    const Hm203ControlInfo &info = controlInfo(control);
    const int kept = std::clamp(value, info.minimum, info.maximum);
    int &slot = m_values[std::size_t(control)];
    if (slot == kept)
        return false;
    slot = kept;
    return true;
}

bool Hm203::setValueAt(Hm203Control control, int value, double seconds)
{
    const bool first = control == C::DcI || control == C::GroundI;
    const bool second = control == C::DcII || control == C::GroundII;
    const ScopeSettings before = scopeSettings();
    if (!setValue(control, value))
        return false;
    if (first || second) {
        const ScopeSettings after = scopeSettings();
        const ChannelSettings &was = first ? before.channelI : before.channelII;
        const ChannelSettings &now = first ? after.channelI : after.channelII;
        Settling &settling = m_settling[first ? 0 : 1];
        if (now.coupling == Coupling::AC && was.coupling != Coupling::AC) {
            // The signal's whole mean comes through at first, and fades as the capacitor charges.
            settling = { now.signal.highPassSeconds > 0.0 ? 0.0 : now.signal.offsetVolts, seconds };
        } else if (now.coupling != Coupling::AC) {
            settling = {};
        }
    }
    return true;
}

ScopeSettings Hm203::scopeSettingsAt(double seconds) const
{
    ScopeSettings s = scopeSettings();
    for (int k = 0; k < 2; ++k) {
        ChannelSettings &channel = k == 0 ? s.channelI : s.channelII;
        const Settling &settling = m_settling[std::size_t(k)];
        if (channel.coupling == Coupling::AC && settling.volts != 0.0 && std::isfinite(seconds))
            channel.settlingVolts = settling.volts
                * std::exp(-std::max(0.0, seconds - settling.since) / VerticalInput::couplingSeconds);
    }
    return s;
}

bool Hm203::settlingAt(double seconds) const
{
    return stillSettling(scopeSettingsAt(seconds));
}

bool Hm203::setGenerator(const GeneratorSettings &settings)
{
    using namespace GeneratorLimits;
    GeneratorSettings g = settings;
    const GeneratorSettings &old = m_generator;
    g.frequencyHz = clampedOr(g.frequencyHz, minimumHz, maximumHzOf(g.waveform), old.frequencyHz);
    // Output II's frequency is its own, or 0 to follow output I's.
    if (g.frequencyIIHz != 0.0)
        g.frequencyIIHz = clampedOr(g.frequencyIIHz, minimumHz, maximumHzOf(g.waveform), old.frequencyIIHz);
    g.amplitudeIVpp = clampedOr(g.amplitudeIVpp, 0.0, maximumVpp, old.amplitudeIVpp);
    g.amplitudeIIVpp = clampedOr(g.amplitudeIIVpp, 0.0, maximumVpp, old.amplitudeIIVpp);
    g.offsetIVolts = clampedOr(g.offsetIVolts, -maximumOffset, maximumOffset, old.offsetIVolts);
    g.offsetIIVolts = clampedOr(g.offsetIIVolts, -maximumOffset, maximumOffset, old.offsetIIVolts);
    g.phaseIIDegrees = clampedOr(g.phaseIIDegrees, -maximumPhase, maximumPhase, old.phaseIIDegrees);
    g.compensationI = clampedOr(
        g.compensationI, Probes::minimumCompensation, Probes::maximumCompensation, old.compensationI);
    g.compensationII = clampedOr(
        g.compensationII, Probes::minimumCompensation, Probes::maximumCompensation, old.compensationII);
    const bool changed = g != old;
    m_generator = g;
    return changed;
}

double Hm203::secondsPerDivAt(int position)
{
    return stepAtPosition(secondsPerDivSteps(), position);
}

double Hm203::voltsPerDivAt(int position)
{
    return stepAtPosition(voltsPerDivSteps(), position);
}

int Hm203::timeDivPosition(double secondsPerDiv)
{
    return positionOfStep(secondsPerDivSteps(), secondsPerDiv);
}

int Hm203::voltsDivPosition(double voltsPerDiv)
{
    return positionOfStep(voltsPerDivSteps(), voltsPerDiv);
}

CircuitDrive Hm203::circuitDrive() const
{
    const GeneratorSettings &g = m_generator;
    return { g.waveform, g.frequencyHz, g.amplitudeIVpp, g.offsetIVolts, g.amplitudeIIVpp, g.offsetIIVolts,
        g.phaseIIDegrees };
}

bool Hm203::adoptCircuit(const CircuitSolution &solution, const QString &circuit, const CircuitDrive &drive)
{
    if (m_generator.hookup != Hookup::Circuit || circuit != m_generator.circuit || !(drive == circuitDrive()))
        return false;
    // A circuit ngspice could not settle leaves the bench as it was, and says why.
    m_circuitProblem = solution.ok ? QString() : solution.message;
    if (!solution.ok)
        return false;
    m_circuit = solution;
    m_circuitId = circuit;
    m_circuitDrive = drive;
    return true;
}

bool Hm203::settleCircuit()
{
    if (m_generator.hookup != Hookup::Circuit)
        return false;
    const Circuit *circuit = benchCircuit(m_generator.circuit);
    if (!circuit)
        return false;
    const CircuitDrive drive = circuitDrive();
    return adoptCircuit(solveCircuit(*circuit, drive), m_generator.circuit, drive);
}

bool Hm203::circuitSettled() const
{
    return m_generator.hookup != Hookup::Circuit
        || (m_circuitId == m_generator.circuit && m_circuitDrive == circuitDrive());
}

/** Where noise and hum ride on a circuit's signal: the leads pick them up, as they do the generator's. */
static InputSignal withLeadsPickUp(InputSignal s, const GeneratorSettings &g)
{
    s.noiseVolts = g.noiseVolts;
    s.humVolts = g.humVolts;
    return s;
}

InputSignal Hm203::signalI() const
{
    switch (m_generator.hookup) {
    case Hookup::Calibrator02:
        return calibrator(CalTerminals::lowVolts);
    case Hookup::Calibrator2:
        return calibrator(CalTerminals::highVolts);
    case Hookup::Circuit:
        return withLeadsPickUp(solvedSignal(m_circuit, false), m_generator);
    case Hookup::Generator:
    case Hookup::RcCircuit:
        break;
    }
    return generatorOutput(m_generator, false);
}

InputSignal Hm203::signalII() const
{
    if (m_generator.hookup == Hookup::Circuit)
        return withLeadsPickUp(solvedSignal(m_circuit, true), m_generator);
    if (m_generator.hookup == Hookup::RcCircuit) {
        InputSignal across = generatorOutput(m_generator, false);
        across.highPassSeconds = PracticeCircuit::timeConstant;
        return across;
    }
    return generatorOutput(m_generator, true);
}

ScopeSettings Hm203::scopeSettings() const
{
    ScopeSettings s;
    // Each channel sees its tip's signal through its probe, the coupling switch and the amplifier.
    const auto channel = [this](InputSignal tip, Probe probe, double compensation, C volts, C cal, C magnify,
                             C ground, C dc, C invert, C position) {
        ChannelSettings c;
        c.voltsPerDiv
            = voltsPerDivAt(value(volts)) / calMagnification(value(cal)) / (isPressed(magnify) ? 5.0 : 1.0);
        c.coupling = isPressed(ground) ? Coupling::Ground : isPressed(dc) ? Coupling::DC : Coupling::AC;
        c.signal = throughAmplifier(throughProbe(tip, probe, compensation), c.coupling);
        c.inverted = isPressed(invert);
        c.position = value(position) / 10.0;
        return c;
    };
    const GeneratorSettings &g = m_generator;
    s.channelI = channel(signalI(), g.probeI, g.compensationI, C::VoltsDivI, C::VoltsCalI, C::MagnifyI,
        C::GroundI, C::DcI, C::InvertI, C::YPositionI);
    s.channelII = channel(signalII(), g.probeII, g.compensationII, C::VoltsDivII, C::VoltsCalII, C::MagnifyII,
        C::GroundII, C::DcII, C::InvertII, C::YPositionII);

    if (isPressed(C::XY))
        s.mode = DisplayMode::XY;
    else if (isPressed(C::Dual))
        s.mode = DisplayMode::Dual;
    else if (isPressed(C::Add))
        s.mode = DisplayMode::Add;
    else
        s.mode = isPressed(C::ChannelII) ? DisplayMode::ChannelII : DisplayMode::ChannelI;
    // DUAL and ADD pressed together chop between the channels instead of alternating whole sweeps.
    s.chopped = isPressed(C::Dual) && isPressed(C::Add);

    s.secondsPerDiv = secondsPerDivAt(value(C::TimeDiv)) / calMagnification(value(C::TimeCal));
    s.xPosition = value(C::XPosition) / 10.0;
    s.xMagnified = isPressed(C::XMagnifier) && s.mode != DisplayMode::XY;
    s.holdOff = value(C::HoldOff) / 100.0;

    // The trigger listens to the channel CH I/II picks, or to TRIG. INP., which carries output I of the
    // generator when it is wired there and nothing otherwise. LEVEL turns over the height of the screen, in
    // the source's divisions.
    TriggerSettings &t = s.trigger;
    if (isPressed(C::ExtTrigger))
        t.source = TriggerSource::External;
    else
        t.source = isPressed(C::ChannelII) ? TriggerSource::ChannelII : TriggerSource::ChannelI;
    const double sourceVoltsPerDiv = t.source == TriggerSource::ChannelI ? s.channelI.voltsPerDiv
        : t.source == TriggerSource::ChannelII                           ? s.channelII.voltsPerDiv
                                                                         : 1.0;
    t.levelVolts = value(C::Level) / 10.0 * sourceVoltsPerDiv;
    t.slope = isPressed(C::Slope) ? TriggerSlope::Falling : TriggerSlope::Rising;
    t.mode = isPressed(C::AtNorm) ? TriggerMode::Normal : TriggerMode::Automatic;
    t.coupling = TriggerCoupling(value(C::TriggerCoupling));
    t.alternate = isPressed(C::AltTrigger);
    if (m_generator.outputIToTriggerInput)
        s.externalTrigger = generatorOutput(m_generator, false);
    return s;
}

double Hm203::brightness(const BeamMoment &moment) const
{
    if (!isPressed(C::Power))
        return 0.0;
    const double warm = WarmUp::light(moment.sincePowerOn);
    double brightness = value(C::Intensity) / 100.0;
    if (isPressed(C::Tester))
        return warm * brightness;
    // Long hold-off and the magnifier both leave the beam on the screen less of the time.
    brightness *= 1.0 - 0.35 * value(C::HoldOff) / 100.0;
    if (isPressed(C::XMagnifier) && !isPressed(C::XY))
        brightness *= 0.75;
    return warm * brightness;
}

LiveScreen Hm203::screen(const BeamMoment &moment) const
{
    LiveScreen live;
    if (!isPressed(C::Power))
        return live;
    const bool warming = moment.warming();
    live.rotationDegrees = value(C::TraceRotation) * 0.05;
    live.spread = 0.03 + 0.3 * std::abs(value(C::Focus) - 50) / 50.0;
    live.brightness = brightness(moment);

    if (isPressed(C::Tester)) {
        live.traces.triggered = true;
        live.traces.traces.append(testerFigure(m_generator.testerPart));
        live.moving = warming;
        return live;
    }

    const double seconds = std::isfinite(moment.seconds) ? moment.seconds : 0.0;
    ScopeSettings settings = scopeSettingsAt(seconds);
    settings.freeRunSeconds = seconds;
    // A sweep that follows the mains meets the signal at another point every time: the one armed now.
    if (followsMains(settings, settings.trigger.source))
        settings.armedSeconds = seconds;
    live.traces = computeTraces(settings);
    live.moving = warming;

    if (settings.mode == DisplayMode::XY)
        return live;
    // The picture moves when the sweeps do not start at one point of the signal, or when they come too
    // seldom for the afterglow to hold it still (alternating channels blink, a slow sweep crawls).
    const SweepTiming timing = sweepTiming(settings);
    const bool alternateTrace = settings.mode == DisplayMode::Dual && !settings.chopped;
    const double rate
        = timing.cycleSeconds > 0.0 ? 1.0 / timing.cycleSeconds / (alternateTrace ? 2.0 : 1.0) : 0.0;
    const bool perChannelRun = alternateTrace && settings.trigger.alternate;
    live.moving = live.moving || (!timing.dark && (!timing.alike || rate < Afterglow::steadyRate))
        || perChannelRun || stillSettling(settings);
    return live;
}

BeamFrame Hm203::beamSpot(double sincePowerOn) const
{
    BeamFrame frame;
    if (!isPressed(C::Power))
        return frame;
    const double warm = WarmUp::light(sincePowerOn);
    const double intensity = Beam::currentAt(value(C::Intensity) / 100.0);
    frame.current = warm * intensity;
    frame.spotSpread = Beam::spotSpread(intensity, value(C::Focus) / 100.0);
    frame.rotationDegrees = value(C::TraceRotation) * 0.05;
    frame.moving = sincePowerOn < WarmUp::seconds;
    return frame;
}

BeamFrame Hm203::beam(double fromSeconds, double toSeconds, double sincePowerOn) const
{
    BeamFrame frame = beamSpot(sincePowerOn);
    if (!isPressed(C::Power))
        return frame;
    if (isPressed(C::Tester)) {
        // The tester's figure, written once a mains period.
        const Trace figure = testerFigure(m_generator.testerPart);
        BeamStroke stroke;
        stroke.kind = TraceKind::XY;
        stroke.points = figure.points;
        const qsizetype last = figure.points.size() - 1;
        for (qsizetype i = 0; i <= last; ++i)
            stroke.times.append(double(i) / last / Mains::hz);
        stroke.repeats = Afterglow::seconds * Mains::hz;
        frame.writing.strokes.append(stroke);
        return frame;
    }
    const ScopeSettings settings = scopeSettingsAt(toSeconds);
    frame.writing = beamWriting(settings, fromSeconds, toSeconds);
    frame.moving = frame.moving || !frame.writing.steady || stillSettling(settings);
    return frame;
}
