#pragma once

#include "beamwriting.h"
#include "circuitsolver.h"
#include "hm203panel.h"
#include "screentraces.h"
#include "verticalpath.h"
#include "wording.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>

/** Every control of the HM-203 the student can operate, in the order the keyboard reaches them. */
enum class Hm203Control {
    Power,
    Intensity,
    Focus,
    TraceRotation,
    XMagnifier,
    XY,
    XPosition,
    HoldOff,
    TriggerCoupling,
    TimeDiv,
    TimeCal,
    AtNorm,
    Level,
    AltTrigger,
    Slope,
    ExtTrigger,
    YPositionI,
    VoltsDivI,
    VoltsCalI,
    GroundI,
    DcI,
    InvertI,
    MagnifyI,
    MagnifyII,
    VoltsDivII,
    VoltsCalII,
    YPositionII,
    DcII,
    GroundII,
    ChannelII,
    Dual,
    Add,
    InvertII,
    Tester,
};
inline constexpr int kHm203ControlCount = int(Hm203Control::Tester) + 1;

/** How a control is worked: a push button is in or out, a switch clicks between steps, a knob turns. */
enum class ControlStyle { Button, Switch, Knob };

/** One control: the part of the front-panel picture it is, the name it is announced by, and its range. */
struct Hm203ControlInfo
{
    Hm203Control id;
    /** The part of the front it is, in the catalogue of parts (hm203panel.h). */
    const char *panelName;
    /** The name printed on the panel, which screen readers announce. */
    const char16_t *label;
    ControlStyle style;
    int minimum;
    int maximum;
    /** The position the instrument opens with. */
    int initial;
    /** How far one Page Up or Page Down turns it. */
    int pageStep;
};

/** The table of every control, indexed by Hm203Control. */
const std::array<Hm203ControlInfo, kHm203ControlCount> &hm203Controls();
const Hm203ControlInfo &controlInfo(Hm203Control control);

/**
 * How much a CAL knob turned away from its calibrated stop stretches the picture: the fine adjustment
 * works 1:2,5, so fully back it raises the sensitivity 2,5 times (5 mV/cm reads as 2 mV/cm) and speeds
 * the sweep up as much (0,5 µs/cm becomes 0,2 µs/cm), as the technical data give it.
 */
double calMagnification(int position);
/** The fine knob inside a TIME/DIV or VOLTS/DIV switch; none for other controls. */
std::optional<Hm203Control> calKnobOf(Hm203Control range);

/** What the inputs of the oscilloscope are wired to. */
enum class Hookup {
    /** Output I of the generator on CH I, output II on CH II. */
    Generator,
    /** The practice circuit: output I drives a series C and R; CH I sees Ue, CH II the voltage across R. */
    RcCircuit,
    /** CH I on the 0.2 V terminal of the CAL socket (output II stays on CH II). */
    Calibrator02,
    /** CH I on the 2 V terminal of the CAL socket. */
    Calibrator2,
    /** One of the bench's circuits (GeneratorSettings::circuit), simulated: the generator drives it and the
     * probes sit where the circuit's file puts them. */
    Circuit,
};

/** The CAL socket's two terminals, each a 1 kHz square from 0 V up to its voltage (the panel's "0.2 V" and
 * "2 V", HM-203 manual, calibrator). */
namespace CalTerminals {
inline constexpr double lowVolts = 0.2;
inline constexpr double highVolts = 2.0;
inline constexpr double hz = 1000.0;
} // namespace CalTerminals

/** The two-channel function generator beside the oscilloscope, and how things are wired. */
struct GeneratorSettings
{
    Waveform waveform = Waveform::Sine;
    double frequencyHz = 1000.0;
    double amplitudeIVpp = 4.0;
    double offsetIVolts = 0.0;
    double amplitudeIIVpp = 2.0;
    double offsetIIVolts = 0.0;
    /** Output II against output I, in degrees; negative lags. With the outputs at different frequencies,
     * where output II's cycle stands when output I's starts. */
    double phaseIIDegrees = 0.0;
    /** Output II's own frequency; 0 runs it at output I's, as a generator with one clock does. */
    double frequencyIIHz = 0.0;
    Hookup hookup = Hookup::Generator;
    /** Output I wired to the TRIG. INP. socket as well, for EXT. to trigger from; with nothing on the socket
     * EXT. finds no trigger. */
    bool outputIToTriggerInput = false;
    /** The bench circuit on the inputs when hookup is Circuit, by its id (circuit.h). */
    QString circuit {};
    /** The part in the component tester's socket, by its id (componenttester.h); empty when it is open. */
    QString testerPart {};
    /** Noise on both outputs, in volts rms, and the 50 Hz hum the leads pick up, in volts peak. */
    double noiseVolts = 0.0;
    double humVolts = 0.0;
    /** Bursts: the waveform runs a few cycles, then pauses (GeneratorLimits::burstCycles of every
     * burstPeriodCycles). */
    bool burst = false;
    /** The probe on each channel, and each ×10 probe's trimmer. The trimmers start a little off, so the
     * first thing a ×10 probe asks for is its compensation on the calibrator. */
    Probe probeI = Probe::Times1;
    Probe probeII = Probe::Times1;
    double compensationI = 0.8;
    double compensationII = 1.2;

    /** The frequency output II runs at. */
    double outputIIHz() const { return frequencyIIHz > 0.0 ? frequencyIIHz : frequencyHz; }

    bool operator==(const GeneratorSettings &) const = default;
};

/** The generator's ranges. */
namespace GeneratorLimits {
inline constexpr double minimumHz = 1.0;
/** A sine goes to 50 MHz, a square or a triangle to 10 MHz. */
inline constexpr double maximumHz = 50e6;
inline constexpr double maximumPulseHz = 10e6;
/** The highest frequency a waveform goes to. */
constexpr double maximumHzOf(Waveform waveform)
{
    return waveform == Waveform::Sine ? maximumHz : maximumPulseHz;
}
/** 24 Vpp open-circuit: 12 V peak, what a bench transformer's 8,5 V rms gives the rectifiers. */
inline constexpr double maximumVpp = 24.0;
inline constexpr double maximumOffset = 10.0;
inline constexpr double maximumPhase = 180.0;
inline constexpr double maximumNoise = 2.0;
inline constexpr double maximumHum = 2.0;
/** A burst is four cycles, then six cycles' pause. */
inline constexpr int burstCycles = 4;
inline constexpr int burstPeriodCycles = 10;
} // namespace GeneratorLimits

/** The practice circuit: 1 kΩ and 100 nF. */
namespace PracticeCircuit {
inline constexpr double ohms = 1000.0;
inline constexpr double farads = 100e-9;
inline constexpr double timeConstant = ohms * farads;
} // namespace PracticeCircuit

/** The tube after POWER: its cathode heats for a while with the screen dark, then the trace fades in. */
namespace WarmUp {
inline constexpr double darkSeconds = 2.0;
inline constexpr double fadeSeconds = 1.5;
inline constexpr double seconds = darkSeconds + fadeSeconds;
/** What a real tube takes: an indirectly heated oxide cathode reaches its emitting temperature some 15 to
 * 30 s after its heater is switched on (CRT data sheets' heater warm-up). The model shortens it so that a
 * student is not held up; the explanation says what the instrument itself would take. */
inline constexpr double realTubeSeconds = 20.0;
/** The share of its light the beam has sincePowerOn after POWER: dark while the cathode heats, then fading
 * in. */
constexpr double light(double sincePowerOn)
{
    return std::clamp((sincePowerOn - darkSeconds) / fadeSeconds, 0.0, 1.0);
}
} // namespace WarmUp

/** The moment a screen is drawn at: the clock, and how long the instrument has been switched on. */
struct BeamMoment
{
    double seconds = 0.0;
    double sincePowerOn = 1e9;

    /** True while the tube is still dark or fading in after POWER. */
    bool warming() const { return sincePowerOn < WarmUp::seconds; }
};

/** What the tube face shows at a moment, and how it looks. */
struct LiveScreen
{
    ScreenTraces traces;
    /** 0 (nothing) to 1. */
    double brightness = 0.0;
    /** How far the spot spreads around the sharp line, in divisions. */
    double spread = 0.0;
    /** TR: the whole picture turned this many degrees, anticlockwise positive. */
    double rotationDegrees = 0.0;
    /** True when the picture changes with time even though no control moves. */
    bool moving = false;
};

/** What the beam writes on the face over a stretch of time, and with what current and spot. */
struct BeamFrame
{
    BeamWriting writing;
    /** 0 (no light) to 1 (INTENS at its stop), the warm-up included. */
    double current = 0.0;
    /** The spot's spread, in divisions. */
    double spotSpread = 0.0;
    /** TR: the whole picture turned this many degrees, anticlockwise positive. */
    double rotationDegrees = 0.0;
    /** True when the picture changes with time though no control moves. */
    bool moving = false;
};

/**
 * The HM-203 as the student operates it: the position of every control, the generator wired to
 * its inputs, and what the screen shows. Every position is a whole step within its control's range,
 * so no sequence of changes can put the instrument into a state it cannot draw.
 */
class Hm203
{
public:
    /** Ready to use: switched on and warm, a 4 Vpp, 1 kHz sine on CH I, 1 V/div, 0,2 ms/div, AT. */
    Hm203();

    int value(Hm203Control control) const { return m_values[std::size_t(control)]; }
    bool isPressed(Hm203Control control) const { return value(control) != 0; }
    /** Moves a control, kept within its range. True when that changed anything. */
    bool setValue(Hm203Control control, int value);

    const GeneratorSettings &generator() const { return m_generator; }
    /** Sets the generator, each value kept within its range (a value that is not a number is refused). */
    bool setGenerator(const GeneratorSettings &settings);

    /** The calibrated step a TIME/DIV or VOLTS/DIV position stands for. */
    static double secondsPerDivAt(int position);
    static double voltsPerDivAt(int position);
    /** The position of a step (the nearest one). */
    static int timeDivPosition(double secondsPerDiv);
    static int voltsDivPosition(double voltsPerDiv);

    /** What the generator puts into a bench circuit as it is set now. */
    CircuitDrive circuitDrive() const;
    /**
     * The bench circuit's simulated signals, for the circuit and drive they were worked out for. The
     * window has them worked out away from its thread and hands them over when they come; until then the
     * probes stay on the last circuit's. A solution for another circuit or drive than the generator's now
     * is refused: a change that came since has made it stale.
     */
    bool adoptCircuit(const CircuitSolution &solution, const QString &circuit, const CircuitDrive &drive);
    /** Works the bench circuit out here and now, waiting for the simulator (for tests and the model's own
     * what-ifs; the window never calls it). False when there is no circuit or it failed. */
    bool settleCircuit();
    /** True when the probes show the circuit and drive the generator is set to now. */
    bool circuitSettled() const;
    /** What ngspice said the last time the bench circuit failed; empty when it did not. */
    QString circuitProblem() const { return m_circuitProblem; }

    /** The signals at the probes' tips: what the generator or the calibrator puts out. */
    InputSignal signalI() const;
    InputSignal signalII() const;
    /** The settings that decide the traces, CAL knobs, Y-MAG and X-MAG included. */
    ScopeSettings scopeSettings() const;
    /** The screen at a moment. */
    LiveScreen screen(const BeamMoment &moment = {}) const;
    /** What the beam writes between two moments of the clock, the second sincePowerOn after POWER. */
    BeamFrame beam(double fromSeconds, double toSeconds, double sincePowerOn = 1e9) const;
    /** The beam's current, spot and TR's turn sincePowerOn after POWER, without what it writes. */
    BeamFrame beamSpot(double sincePowerOn = 1e9) const;
    /** How bright the screen's picture is at a moment, 0 (nothing) to 1: LiveScreen::brightness. */
    double brightness(const BeamMoment &moment = {}) const;

    /**
     * The reading of a control at a position, every other control where it is: what a screen reader
     * announces after the control's name ("0,2 ms/div", "pulsado", "AC", "centro", "sin calibrar ×1,8").
     * A widget that has just moved asks with its own position, so the reading never waits for the model.
     */
    QString readingAt(Hm203Control control, int position, Language language) const;
    /** The reading of a control where it is now. */
    QString valueText(Hm203Control control, Language language) const
    {
        return readingAt(control, value(control), language);
    }
    /**
     * The same reading as a screen reader's voice is to say it, with the same numbers: units, signs and
     * factors in words ("0,2 milisegundos por división", "1,0 divisiones por encima del centro",
     * "sin calibrar, por 1,8"), and a push button's positions by the names the panel gives them ("AT",
     * "NORM"). Empty for a button that is only in or out: its checked state says that.
     */
    QString spokenReadingAt(Hm203Control control, int position, Language language) const;
    QString spokenValueText(Hm203Control control, Language language) const
    {
        return spokenReadingAt(control, value(control), language);
    }

    /**
     * Turns a control at a moment of the clock (seconds), for what takes time to happen: switched from
     * DC or GD to AC, a channel's coupling capacitor starts empty, so the trace starts where the signal's
     * mean puts it and settles to its AC place with the coupling's time constant.
     */
    bool setValueAt(Hm203Control control, int value, double seconds);
    /** The settings at a moment of the clock: a trace on its way after a coupling switch included. */
    ScopeSettings scopeSettingsAt(double seconds) const;
    /** True while a trace is still visibly on its way after a coupling switch. */
    bool settlingAt(double seconds) const;

private:
    std::array<int, kHm203ControlCount> m_values {};
    GeneratorSettings m_generator;
    /** For each channel, the mean its capacitor had still to take up when AC came in, and when. */
    struct Settling
    {
        double volts = 0.0;
        double since = 0.0;
    };
    std::array<Settling, 2> m_settling {};
    /** The bench circuit's last solution, and what it was worked out for. */
    CircuitSolution m_circuit;
    QString m_circuitId;
    CircuitDrive m_circuitDrive;
    QString m_circuitProblem;
};
