#include "hm203.h"

#include <QTest>

#include <cmath>
#include <numbers>
#include <optional>

using C = Hm203Control;

namespace {

/** The instrument with its generator changed, CH I at a sensitivity. */
Hm203 instrument(const std::function<void(GeneratorSettings &)> &change, double voltsPerDiv = 1.0)
{
    Hm203 scope;
    GeneratorSettings g = scope.generator();
    change(g);
    scope.setGenerator(g);
    scope.setValue(C::VoltsDivI, Hm203::voltsDivPosition(voltsPerDiv));
    return scope;
}

/** A ×10 probe trimmed right: the band of the amplifier alone. */
void compensatedProbe(GeneratorSettings &g)
{
    g.probeI = Probe::Times10;
    g.compensationI = 1.0;
}

/** The peak of a signal over one period, found by sampling it finely. */
double peakOf(const InputSignal &s)
{
    double peak = 0.0;
    constexpr int samples = 4000;
    for (int i = 0; i < samples; ++i)
        peak = std::max(peak, std::abs(s.valueAt(s.periodSeconds() * i / samples) - s.meanVolts()));
    return peak;
}

/** The time a signal takes to rise from 10 to 90 % of a step at an edge, sampled every 10 ps. */
double riseAround(const InputSignal &s, double edge)
{
    const double low = s.valueAt(edge - 200e-9);
    const double high = s.valueAt(edge + 200e-9);
    double at10 = 0.0;
    double at90 = 0.0;
    for (double t = edge - 200e-9; t < edge + 200e-9; t += 10e-12) {
        const double share = (s.valueAt(t) - low) / (high - low);
        if (at10 == 0.0 && share >= 0.1)
            at10 = t;
        if (at90 == 0.0 && share >= 0.9)
            at90 = t;
    }
    return at90 - at10;
}

/** A first-order high-pass stepped in time: exact for an input that holds still over each step. */
struct SteppedHighPass
{
    double seconds;
    double output = 0.0;
    double lastInput = 0.0;

    double step(double input, double dt)
    {
        output = (output + input - lastInput) * std::exp(-dt / seconds);
        lastInput = input;
        return output;
    }
};

double channelIRise(const Hm203 &scope)
{
    const InputSignal s = scope.scopeSettings().channelI.signal;
    return riseAround(s, s.nextCornerAfter(0.0));
}

} // namespace

class TestFrontEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    /** A sine through the amplifier keeps its amplitude low down, and loses 3 dB at 20 MHz and 6 dB at 28
     * MHz. */
    void amplifierBand_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("gain");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("1 MHz, flat") << 1e6 << 1.0 << 0.005;
        QTest::newRow("20 MHz, -3 dB") << 20e6 << 1.0 / std::numbers::sqrt2 << 0.02;
        QTest::newRow("28 MHz, -6 dB") << 28e6 << 0.5 << 0.02;
        QTest::newRow("50 MHz, the generator's top") << 50e6 << 0.11 << 0.02;
    }
    void amplifierBand()
    {
        QFETCH(double, hz);
        QFETCH(double, gain);
        QFETCH(double, tolerance);
        const auto at = [](double f) {
            return peakOf(instrument([f](GeneratorSettings &g) {
                compensatedProbe(g);
                g.frequencyHz = f;
            })
                              .scopeSettings()
                              .channelI.signal);
        };
        const double ratio = at(hz) / at(1000.0);
        QVERIFY2(std::abs(ratio - gain) < tolerance, qPrintable(QString::number(ratio)));
    }

    /** A ×1 probe's cable takes a band of its own: at 6 MHz a further 3 dB below the amplifier alone. */
    void times1ProbeNarrowsTheBand()
    {
        const auto at = [](Probe probe) {
            return peakOf(instrument([probe](GeneratorSettings &g) {
                compensatedProbe(g);
                g.probeI = probe;
                g.frequencyHz = 6e6;
            })
                              .scopeSettings()
                              .channelI.signal);
        };
        const double ratio = at(Probe::Times1) / (Probes::times10Ratio * at(Probe::Times10));
        QVERIFY2(std::abs(ratio - 1.0 / std::numbers::sqrt2) < 0.02, qPrintable(QString::number(ratio)));
    }

    /** The ×1 probe is one RC, in series with the amplifier: beyond its 6 MHz it falls 20 dB a decade,
     * not off a Gaussian's cliff. Against the height at 1 MHz: 0,47 at 10 MHz and 0,20 at 20 MHz (the
     * RC's 1/√(1 + (f/6 MHz)²), times the amplifier's 0,92 and 0,71). */
    void times1ProbeRollsOffAsOneRc_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("share");
        QTest::newRow("10 MHz") << 10e6 << 0.47;
        QTest::newRow("20 MHz") << 20e6 << 0.20;
        QTest::newRow("50 MHz, the generator's top") << 50e6 << 0.013;
    }
    void times1ProbeRollsOffAsOneRc()
    {
        QFETCH(double, hz);
        QFETCH(double, share);
        const auto at = [](double f) {
            return peakOf(instrument([f](GeneratorSettings &g) {
                g.probeI = Probe::Times1;
                g.frequencyHz = f;
            })
                              .scopeSettings()
                              .channelI.signal);
        };
        const double ratio = at(hz) / at(1e6);
        QVERIFY2(std::abs(ratio - share) < 0.1 * share, qPrintable(QString::number(ratio)));
    }

    /** An edge through the ×1 probe rises as an RC's does, 2,2 RC = 58 ns, the amplifier's 17,5 ns and the
     * generator's 5 ns adding a little as the root of the sum of squares. */
    void times1ProbeRise()
    {
        const double rise = channelIRise(instrument([](GeneratorSettings &g) {
            g.probeI = Probe::Times1;
            g.waveform = Waveform::Square;
        }));
        const double rc = std::log(9.0) / (2.0 * std::numbers::pi * Probes::times1BandwidthHz);
        QVERIFY(std::abs(rc - 58e-9) < 0.5e-9);
        const double expected = std::sqrt(
            rc * rc + 17.5e-9 * 17.5e-9 + GeneratorEdges::riseSeconds * GeneratorEdges::riseSeconds);
        QVERIFY2(std::abs(rise - expected) < 2e-9, qPrintable(QString::number(rise)));
    }

    /** The calibrator's ideal step rises in the amplifier's 17,5 ns; the generator's own 5 ns edge adds as
     * the root of the sum of squares. */
    void riseTimes()
    {
        const double amplifier = channelIRise(instrument([](GeneratorSettings &g) {
            compensatedProbe(g);
            g.hookup = Hookup::Calibrator2;
        }));
        QVERIFY2(std::abs(amplifier - 17.5e-9) < 1e-9, qPrintable(QString::number(amplifier)));
        const double withGenerator = channelIRise(instrument([](GeneratorSettings &g) {
            compensatedProbe(g);
            g.waveform = Waveform::Square;
        }));
        const double rootSumSquare = std::hypot(amplifier, GeneratorEdges::riseSeconds);
        QVERIFY2(
            std::abs(withGenerator - rootSumSquare) < 0.1e-9, qPrintable(QString::number(withGenerator)));
    }

    /** A ×10 probe on the calibrator: its trimmer sets the step an edge makes, which settles to the
     * square's level with the network's time constant: an overshoot or a droop falls to 1/e of itself
     * after τ. */
    void probeCompensation_data()
    {
        QTest::addColumn<double>("trimmer");
        QTest::newRow("20 % high: pointed corners") << 1.2;
        QTest::newRow("20 % low: rounded corners") << 0.8;
        QTest::newRow("right: square corners") << 1.0;
    }
    void probeCompensation()
    {
        QFETCH(double, trimmer);
        const Hm203 scope = instrument([trimmer](GeneratorSettings &g) {
            g.hookup = Hookup::Calibrator2;
            g.probeI = Probe::Times10;
            g.compensationI = trimmer;
        });
        const InputSignal s = scope.scopeSettings().channelI.signal;
        const double edge = s.nextCornerAfter(0.0);
        const double low = s.valueAt(edge - 1e-6);
        const auto share = [&](double after) { return (s.valueAt(edge + after) - low) / 0.2; };
        const double tau = Probes::compensationSeconds(trimmer);
        QVERIFY(std::abs(share(200e-9) - trimmer) < 0.01);
        QVERIFY(std::abs(share(tau) - (1.0 + (trimmer - 1.0) / std::numbers::e)) < 0.01);
        QVERIFY(std::abs(share(5 * tau) - 1.0) < 0.01);
    }

    /** The probe's network: trimmed right, the head's 9 MΩ and its capacitor match the input's 1 MΩ and
     * what stands across it (the input's 30 pF and the cable's), so τ is 1 MΩ times those, 88 µs; a trimmer
     * turned up adds capacitance and lengthens it, turned down shortens it. */
    void probeTimeConstantFromItsNetwork()
    {
        const double right = Probes::compensationSeconds(1.0);
        const double expected = VerticalInput::ohms * (VerticalInput::farads + Probes::cableFarads);
        QVERIFY2(std::abs(right - expected) < 1e-3 * expected, qPrintable(QString::number(right)));
        QVERIFY(right > 80e-6 && right < 95e-6);
        QVERIFY(Probes::compensationSeconds(1.2) > right && Probes::compensationSeconds(0.8) < right);
        // The calibrator's half period still holds five time constants: each corner settles before the next.
        QVERIFY(5.0 * Probes::compensationSeconds(Probes::maximumCompensation) < 0.5e-3);
    }

    /** The closed form of a chain of first-order sections against the same chain stepped in time, every
     * 0,1 µs from switch-on until it has settled: the practice RC, AC coupling and a ×10 probe trimmed 30 %
     * high. */
    void chainsMatchASteppedCircuit_data()
    {
        QTest::addColumn<Waveform>("waveform");
        QTest::addColumn<int>("sections");
        for (const auto &[name, waveform] : { std::pair { "sine", Waveform::Sine },
                 std::pair { "square", Waveform::Square }, std::pair { "triangle", Waveform::Triangle } }) {
            QTest::addRow("%s, probe", name) << waveform << 1;
            QTest::addRow("%s, RC and probe", name) << waveform << 2;
            QTest::addRow("%s, RC, AC coupling and probe", name) << waveform << 3;
        }
    }
    void chainsMatchASteppedCircuit()
    {
        QFETCH(Waveform, waveform);
        QFETCH(int, sections);
        InputSignal ideal;
        ideal.waveform = waveform;
        ideal.amplitudeVpp = 2.0;
        ideal.frequencyHz = 1000.0;
        ideal.offsetVolts = 0.3;
        InputSignal chain = ideal;
        chain.compensation = 1.3;
        chain.compensationSeconds = Probes::compensationSeconds(chain.compensation);
        SteppedHighPass rc { sections >= 2 ? PracticeCircuit::timeConstant : 0.0 };
        // A shorter coupling constant than the input's own, so that the stepped circuit settles soon.
        SteppedHighPass coupling { 2e-3 };
        SteppedHighPass probe { chain.compensationSeconds };
        if (sections >= 2)
            chain.highPassSeconds = rc.seconds;
        if (sections >= 3)
            chain.couplingSeconds = coupling.seconds;
        constexpr double dt = 1e-7;
        double worst = 0.0;
        for (int i = 1; i <= 400000; ++i) {
            const double t = i * dt;
            double v = ideal.valueAt(t);
            if (sections >= 2)
                v = rc.step(v, dt);
            if (sections >= 3)
                v = coupling.step(v, dt);
            v += (chain.compensation - 1.0) * probe.step(v, dt);
            // Right at an edge the two may stand either side of it.
            const bool atEdge = chain.nextCornerAfter(t - 2.0 * dt) < t + 2.0 * dt;
            if (t > 0.039 && !(waveform == Waveform::Square && atEdge))
                worst = std::max(worst, std::abs(v - chain.valueAt(t)));
        }
        // A stepped edge lands up to one step late: a few thousandths of the 1 V peak.
        QVERIFY2(worst < 0.005, qPrintable(QString::number(worst)));
    }

    /** The HM-203 does not know the probe: through a ×10 one the screen shows a tenth. */
    void times10ShowsATenth()
    {
        const auto height = [](Probe probe) {
            const Hm203 scope = instrument([probe](GeneratorSettings &g) {
                g.probeI = probe;
                g.compensationI = 1.0;
            });
            return visiblePeakToPeak(scope.screen().traces.traces.value(0));
        };
        const double ratio = height(Probe::Times1) / height(Probe::Times10);
        QVERIFY2(std::abs(ratio - 10.0) < 0.05, qPrintable(QString::number(ratio)));
    }

    /** AC coupling's 0,1 µF into 1 MΩ: a 20 Hz square sags by 1 − e^(−T/2τ) over each half period. */
    void acCouplingTilts_data()
    {
        QTest::addColumn<double>("hz");
        QTest::newRow("20 Hz") << 20.0;
        QTest::newRow("5 Hz") << 5.0;
        QTest::newRow("1 kHz, all but flat") << 1000.0;
    }
    void acCouplingTilts()
    {
        QFETCH(double, hz);
        Hm203 scope = instrument([hz](GeneratorSettings &g) {
            g.waveform = Waveform::Square;
            g.frequencyHz = hz;
        });
        scope.setValue(C::DcI, 0);
        const InputSignal s = scope.scopeSettings().channelI.signal;
        const double edge = s.nextCornerAfter(0.0);
        const double half = 0.5 / hz;
        const double first = s.valueAt(edge + 1e-6);
        const double last = s.valueAt(edge + half - 1e-6);
        const double tilt = 1.0 - std::exp(-half / VerticalInput::couplingSeconds);
        QVERIFY2(std::abs((first - last) / first - tilt) < 0.002, qPrintable(QString::number(first - last)));
        // The mean is gone, so the two levels lie either side of zero.
        QVERIFY(first > 0.0 && s.valueAt(edge + half + 1e-6) < 0.0);
    }

    /** At 0,5 µs/div an edge of the generator's square spans 0,035 div, and 0,35 div at X-MAG x10 (50
     * ns/div), drawn with points enough along it to show its shape; a fast square keeps within the samples a
     * sweep may have. */
    void edgesDrawnAsTheyAre_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<bool>("magnified");
        QTest::newRow("1 MHz") << 1e6 << false;
        QTest::newRow("1 MHz, X-MAG") << 1e6 << true;
        QTest::newRow("2 MHz, X-MAG") << 2e6 << true;
        QTest::newRow("10 MHz, X-MAG") << 10e6 << true;
    }
    void edgesDrawnAsTheyAre()
    {
        QFETCH(double, hz);
        QFETCH(bool, magnified);
        Hm203 scope = instrument(
            [hz](GeneratorSettings &g) {
                compensatedProbe(g);
                g.waveform = Waveform::Square;
                g.frequencyHz = hz;
            },
            0.1);
        scope.setValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6));
        // The middle of the face is 2,5 µs into the sweep: an edge for each of these squares, 25 ns later
        // (the delay line's lead over the sweep's start).
        scope.setValue(C::XMagnifier, magnified);
        const double secondsPerDiv = magnified ? 50e-9 : 0.5e-6;
        const double centre = (DelayLine::seconds - DelayLine::sweepStartSeconds) / secondsPerDiv;
        const Trace trace = scope.screen().traces.traces.value(0);
        QVERIFY(trace.points.size() <= 20001);
        // Between 10 and 90 % of the step, ±1,6 div at 0,1 V/div, the edge in the middle of the face.
        QList<double> ends;
        int along = 0;
        for (qsizetype i = 1; i < trace.points.size(); ++i) {
            const QPointF a = trace.points.at(i - 1);
            const QPointF b = trace.points.at(i);
            if (std::abs(b.x() - centre) > 0.5)
                continue;
            along += std::abs(b.y()) < 1.6;
            for (const double level : { -1.6, 1.6 }) {
                if ((a.y() - level) * (b.y() - level) < 0.0)
                    ends.append(a.x() + (level - a.y()) / (b.y() - a.y()) * (b.x() - a.x()));
            }
        }
        QCOMPARE(ends.size(), 2);
        QVERIFY2(along >= 6, qPrintable(QString::number(along)));
        const double expected = std::hypot(17.5e-9, GeneratorEdges::riseSeconds) / secondsPerDiv;
        const double drawn = std::abs(ends.at(1) - ends.at(0));
        QVERIFY2(std::abs(drawn - expected) < 0.1 * expected, qPrintable(QString::number(drawn)));
    }

    /** The trigger takes the signal ahead of the delay line, which holds it back 25 ns longer than the
     * sweep takes to start: at the fastest sweeps the edge that fires the sweep is drawn whole, its foot at
     * the square's base first, and it crosses the middle 25 ns after the trace's start. */
    void triggeringEdgeDrawnWhole_data()
    {
        QTest::addColumn<int>("fineKnob");
        QTest::addColumn<bool>("magnified");
        QTest::addColumn<double>("shownPerDiv");
        QTest::newRow("0,5 µs/div") << 100 << false << 0.5e-6;
        QTest::newRow("0,2 µs/div with the fine knob") << 0 << false << 0.2e-6;
        QTest::newRow("50 ns/div with X-MAG") << 100 << true << 50e-9;
    }
    void triggeringEdgeDrawnWhole()
    {
        QFETCH(int, fineKnob);
        QFETCH(bool, magnified);
        QFETCH(double, shownPerDiv);
        Hm203 scope = instrument(
            [](GeneratorSettings &g) {
                compensatedProbe(g);
                g.waveform = Waveform::Square;
                g.frequencyHz = 1e6;
            },
            0.1);
        scope.setValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6));
        scope.setValue(C::TimeCal, fineKnob);
        scope.setValue(C::XMagnifier, magnified);
        // X-MAG spreads the sweep round the face's middle: X-POS brings its start back to the left edge.
        scope.setValue(C::XPosition, magnified ? 45 : 0);
        const Trace trace = scope.screen().traces.traces.value(0);
        QVERIFY(trace.points.size() > 2);
        const QPointF start = trace.points.first();
        QVERIFY2(std::abs(start.x() + 5.0) < 0.01, qPrintable(QString::number(start.x())));
        // ±2 div at 0,1 V/div: the sweep starts on the base, before the edge has begun.
        QVERIFY2(std::abs(start.y() + 2.0) < 0.01, qPrintable(QString::number(start.y())));
        std::optional<double> middle;
        int foot = 0;
        for (qsizetype i = 1; i < trace.points.size() && !middle; ++i) {
            const QPointF a = trace.points.at(i - 1);
            const QPointF b = trace.points.at(i);
            foot += a.y() < -1.98;
            if (a.y() < 0.0 && b.y() >= 0.0)
                middle = a.x() + (0.0 - a.y()) / (b.y() - a.y()) * (b.x() - a.x());
        }
        QVERIFY(middle);
        QVERIFY2(foot >= 3, qPrintable(QString::number(foot)));
        const double lead = (DelayLine::seconds - DelayLine::sweepStartSeconds) / shownPerDiv;
        QVERIFY2(
            std::abs(*middle - start.x() - lead) < 0.01, qPrintable(QString::number(*middle - start.x())));
        QVERIFY(DelayLine::seconds - DelayLine::sweepStartSeconds > 17.5e-9);
    }

    /** A square never leaves its two levels, not even at the very instant of an edge, where rounding
     * may put the time on a period's end: the trace, the words and the judges read its height there. */
    void squareStaysWithinItsLevelsAtItsEdges_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<Probe>("probe");
        QTest::newRow("1 MHz, ×10") << 1e6 << Probe::Times10;
        QTest::newRow("1 MHz, ×1") << 1e6 << Probe::Times1;
        QTest::newRow("1 kHz, ×10") << 1e3 << Probe::Times10;
        QTest::newRow("3 MHz, ×1") << 3e6 << Probe::Times1;
    }
    void squareStaysWithinItsLevelsAtItsEdges()
    {
        QFETCH(double, hz);
        QFETCH(Probe, probe);
        const InputSignal s = instrument([&](GeneratorSettings &g) {
            g.probeI = probe;
            g.compensationI = 1.0;
            g.waveform = Waveform::Square;
            g.frequencyHz = hz;
        })
                                  .scopeSettings()
                                  .channelI.signal;
        const double half = peakOf(s);
        double edge = s.nextCornerAfter(0.0);
        for (int n = 0; n < 2000; ++n) {
            const double v = s.valueAt(edge) - s.meanVolts();
            QVERIFY2(std::abs(v) <= half * 1.001,
                qPrintable(QString::number(v) + " at edge " + QString::number(n)));
            edge = s.nextCornerAfter(edge + 0.25 / hz);
        }
    }

    /** The generator's ranges: a sine to 50 MHz, a square or a triangle to 10 MHz, nothing below 1 Hz. */
    void generatorRanges_data()
    {
        QTest::addColumn<Waveform>("waveform");
        QTest::addColumn<double>("asked");
        QTest::addColumn<double>("kept");
        QTest::newRow("sine at 50 MHz") << Waveform::Sine << 50e6 << 50e6;
        QTest::newRow("sine at 80 MHz") << Waveform::Sine << 80e6 << 50e6;
        QTest::newRow("square at 20 MHz") << Waveform::Square << 20e6 << 10e6;
        QTest::newRow("triangle at 10 MHz") << Waveform::Triangle << 10e6 << 10e6;
        QTest::newRow("square at 0,5 Hz") << Waveform::Square << 0.5 << 1.0;
    }
    void generatorRanges()
    {
        QFETCH(Waveform, waveform);
        QFETCH(double, asked);
        QFETCH(double, kept);
        const Hm203 scope = instrument([&](GeneratorSettings &g) {
            g.waveform = waveform;
            g.frequencyHz = asked;
        });
        QCOMPARE(scope.generator().frequencyHz, kept);
    }

    /** A triangle's corners are rounded by the band, its slopes kept: at 10 MHz it still reaches most of
     * its height, and its top is no sharp point. */
    void triangleCornersRound()
    {
        const InputSignal s = instrument([](GeneratorSettings &g) {
            compensatedProbe(g);
            g.waveform = Waveform::Triangle;
            g.frequencyHz = 10e6;
        })
                                  .scopeSettings()
                                  .channelI.signal;
        const double top = s.nextCornerAfter(0.0);
        const double peak = s.valueAt(top);
        QVERIFY2(peak > 0.75 * 0.2 && peak < 0.2, qPrintable(QString::number(peak)));
        // Either side of the top the curve bends smoothly: a sharp point would turn by twice the slope
        // between two steps, the rounded top by a fraction of that.
        const double h = 1e-9;
        const double slope = 0.4 / 50e-9;
        const double bend = s.valueAt(top + h) - 2.0 * peak + s.valueAt(top - h);
        QVERIFY2(std::abs(bend) < 0.25 * 2.0 * slope * h, qPrintable(QString::number(bend)));
    }
};

QTEST_GUILESS_MAIN(TestFrontEnd)
#include "tst_frontend.moc"
