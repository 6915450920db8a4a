#include "hm203.h"
#include "phosphorscreen.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

using C = Hm203Control;

namespace {

/** A face of 400 × 320 pixels, 30 to a division, the screen's centre in the middle. */
constexpr double kPixelsPerDivision = 30.0;
const FaceMapping kMapping { QPointF(200, 160), kPixelsPerDivision, 0.0 };

PhosphorScreen blankFace()
{
    PhosphorScreen face;
    face.setGeometry(QSize(400, 320), kMapping);
    return face;
}

/** What the instrument's beam leaves on a blank face between two moments. */
PhosphorScreen litBy(const Hm203 &scope, double from = 0.0, double to = 0.08)
{
    PhosphorScreen face = blankFace();
    const BeamFrame frame = scope.beam(from, to);
    face.write(frame.writing, BeamSpot { frame.current, frame.spotSpread }, to);
    return face;
}

QPoint pixelAt(QPointF divisions)
{
    const QPointF p = kMapping.toPixels(divisions);
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

/** The most energy a pixel holds within a pixel or two of a point of the face. */
double energyNear(const PhosphorScreen &face, QPointF divisions)
{
    const QPoint centre = pixelAt(divisions);
    double most = 0.0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            most = std::max(most, face.energyAt(centre + QPoint(dx, dy)));
    return most;
}

double mostEnergy(const PhosphorScreen &face)
{
    double most = 0.0;
    for (int y = 0; y < face.size().height(); ++y)
        for (int x = 0; x < face.size().width(); ++x)
            most = std::max(most, face.energyAt(QPoint(x, y)));
    return most;
}

int brightestGreen(const QImage &light)
{
    int most = 0;
    for (int y = 0; y < light.height(); ++y)
        for (int x = 0; x < light.width(); ++x)
            most = std::max(most, qGreen(light.pixel(x, y)));
    return most;
}

/** A straight stroke at an even pace, sampled at the given fractions of its length. */
BeamWriting line(QPointF from, QPointF to, double seconds, const QList<double> &samples)
{
    BeamStroke stroke;
    for (double k : samples) {
        stroke.points << from + (to - from) * k;
        stroke.times << seconds * k;
    }
    BeamWriting writing;
    writing.strokes << stroke;
    return writing;
}

void setGenerator(Hm203 &scope, const std::function<void(GeneratorSettings &)> &change)
{
    GeneratorSettings g = scope.generator();
    change(g);
    scope.setGenerator(g);
}

/** Separate patches of pixels holding at least a share of the face's most energy. */
int brightPatches(const PhosphorScreen &face, double share)
{
    const double threshold = share * mostEnergy(face);
    const int w = face.size().width();
    const int h = face.size().height();
    QList<bool> seen(qsizetype(w) * h, false);
    int patches = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[qsizetype(y) * w + x] || face.energyAt(QPoint(x, y)) < threshold)
                continue;
            ++patches;
            QList<QPoint> todo { QPoint(x, y) };
            seen[qsizetype(y) * w + x] = true;
            while (!todo.isEmpty()) {
                const QPoint p = todo.takeLast();
                for (const QPoint d : { QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1) }) {
                    const QPoint q = p + d;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h
                        || seen[qsizetype(q.y()) * w + q.x()] || face.energyAt(q) < threshold)
                        continue;
                    seen[qsizetype(q.y()) * w + q.x()] = true;
                    todo << q;
                }
            }
        }
    return patches;
}

using Setup = std::function<void(Hm203 &)>;

} // namespace

Q_DECLARE_METATYPE(Setup)

/** The phosphor face: the light follows the energy the beam leaves, as the tube's does. */
class TestPhosphor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void energyIsTheCurrentTimesTheTime_data()
    {
        QTest::addColumn<QList<double>>("samples");
        QTest::newRow("two points") << QList<double> { 0.0, 1.0 };
        QTest::newRow("seven, unevenly") << QList<double> { 0.0, 0.01, 0.2, 0.21, 0.5, 0.93, 1.0 };
        QList<double> fine;
        for (int i = 0; i <= 2000; ++i)
            fine << i / 2000.0;
        QTest::newRow("two thousand") << fine;
    }
    void energyIsTheCurrentTimesTheTime()
    {
        // However finely the path is sampled, the face holds current × time, laid out the same way.
        QFETCH(QList<double>, samples);
        constexpr double kCurrent = 0.5;
        constexpr double kSeconds = 1e-3;
        PhosphorScreen face = blankFace();
        face.write(
            line(QPointF(-3.0, 0.3), QPointF(3.0, -1.1), kSeconds, samples), BeamSpot { kCurrent, 0.03 });
        QVERIFY(std::abs(face.totalEnergy() / (kCurrent * kSeconds) - 1.0) < 1e-4);
        PhosphorScreen coarse = blankFace();
        coarse.write(line(QPointF(-3.0, 0.3), QPointF(3.0, -1.1), kSeconds, { 0.0, 1.0 }),
            BeamSpot { kCurrent, 0.03 });
        double largestDifference = 0.0;
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 400; ++x)
                largestDifference = std::max(
                    largestDifference, std::abs(face.energyAt(QPoint(x, y)) - coarse.energyAt(QPoint(x, y))));
        QVERIFY2(
            largestDifference < 0.02 * mostEnergy(coarse), qPrintable(QString::number(largestDifference)));
    }

    void aFasterStrokeLeavesLessLight()
    {
        // The same length crossed ten times faster leaves a tenth of the energy on each pixel of it.
        PhosphorScreen face = blankFace();
        const BeamSpot spot { 1.0, 0.03 };
        face.write(line(QPointF(-4, 1), QPointF(4, 1), 10e-6, { 0.0, 1.0 }), spot);
        face.write(line(QPointF(-4, -1), QPointF(4, -1), 1e-6, { 0.0, 1.0 }), spot);
        for (double x : { -2.0, 0.0, 2.5 }) {
            const double ratio = energyNear(face, QPointF(x, 1)) / energyNear(face, QPointF(x, -1));
            QVERIFY2(std::abs(ratio - 10.0) < 0.2, qPrintable(QString::number(ratio)));
        }
    }

    void nothingLightsWithoutCurrent_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<double>("sincePowerOn");
        QTest::newRow("INTENS. at its minimum")
            << Setup([](Hm203 &s) { s.setValue(C::Intensity, 0); }) << 1e9;
        QTest::newRow("the tube still dark after POWER") << Setup([](Hm203 &) {}) << 0.5;
        QTest::newRow("POWER off") << Setup([](Hm203 &s) { s.setValue(C::Power, 0); }) << 1e9;
    }
    void nothingLightsWithoutCurrent()
    {
        QFETCH(Setup, setup);
        QFETCH(double, sincePowerOn);
        Hm203 scope;
        setup(scope);
        const BeamFrame frame = scope.beam(0.0, 0.08, sincePowerOn);
        PhosphorScreen face = blankFace();
        face.write(frame.writing, BeamSpot { frame.current, frame.spotSpread }, 0.08);
        QCOMPARE(face.totalEnergy(), 0.0);
        QCOMPARE(brightestGreen(face.light()), 0);
    }

    void aSquaresEdgesAreFaint()
    {
        // 1 kHz square at 0,2 ms/div: the beam jumps between the levels in no time and lingers on them.
        Hm203 scope;
        setGenerator(scope, [](GeneratorSettings &g) { g.waveform = Waveform::Square; });
        const PhosphorScreen face = litBy(scope);
        const Trace trace = computeTraces(scope.scopeSettings()).traces.value(0);
        QVERIFY(trace.points.size() > 100);
        const QRectF bounds = traceBounds(trace);
        // The amplifier's 17,5 ns rise puts a sample half way up an edge now and then: an edge is where the
        // trace crosses its middle, and the level before it lies a little further back.
        const double middle = bounds.center().y();
        int edges = 0;
        for (qsizetype i = 10; i < trace.points.size(); ++i) {
            const QPointF a = trace.points.at(i - 1);
            const QPointF b = trace.points.at(i);
            const bool crosses = (a.y() < middle && b.y() >= middle) || (a.y() > middle && b.y() <= middle);
            if (!crosses || std::abs(a.x()) > 4.5)
                continue;
            ++edges;
            const double edge = energyNear(face, QPointF((a.x() + b.x()) / 2.0, middle));
            const double top = energyNear(face, QPointF(a.x() - 0.5, trace.points.at(i - 10).y()));
            QVERIFY2(edge <= 0.1 * top, qPrintable(QStringLiteral("%1 against %2").arg(edge).arg(top)));
        }
        QVERIFY(edges >= 3);
    }

    void twoSquaresOnXYGiveDots_data()
    {
        QTest::addColumn<double>("phaseDegrees");
        QTest::addColumn<int>("dots");
        QTest::newRow("in phase") << 0.0 << 2;
        QTest::newRow("in quadrature") << 90.0 << 4;
    }
    void twoSquaresOnXYGiveDots()
    {
        QFETCH(double, phaseDegrees);
        QFETCH(int, dots);
        Hm203 scope;
        setGenerator(scope, [phaseDegrees](GeneratorSettings &g) {
            g.waveform = Waveform::Square;
            g.amplitudeIIVpp = 4.0;
            g.phaseIIDegrees = phaseDegrees;
        });
        scope.setValue(C::VoltsDivII, Hm203::voltsDivPosition(1.0));
        scope.setValue(C::XY, 1);
        QCOMPARE(brightPatches(litBy(scope), 0.05), dots);
    }

    void theLightFollowsTheShareOfTimeTheBeamWrites_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<double>("ratio");
        // Against the opening picture, 1 kHz at 0,2 ms/div: the sweep takes 2 ms of every 3 (retrace and
        // hold-off 0,3 ms, then the next trigger).
        QTest::newRow("HOLD OFF at its longest: 2 ms of every 5")
            << Setup([](Hm203 &s) { s.setValue(C::HoldOff, 100); }) << 0.6;
        QTest::newRow("X-MAG x10: a tenth of the sweep on the face, and the face's overscan")
            << Setup([](Hm203 &s) { s.setValue(C::XMagnifier, 1); }) << 0.1 * 10.5 / 10.0;
        QTest::newRow("0,5 us/div: 5 us of every 1 ms")
            << Setup([](Hm203 &s) { s.setValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6)); })
            << 0.005 / (2.0 / 3.0);
        // Two channels alike, each written half the time: as much light as one.
        QTest::newRow("DUAL alternate: each channel every other sweep") << Setup([](Hm203 &s) {
            setGenerator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = g.amplitudeIVpp; });
            s.setValue(C::Dual, 1);
        }) << 1.0;
        QTest::newRow("DUAL chopped: each channel half of every sweep") << Setup([](Hm203 &s) {
            setGenerator(s, [](GeneratorSettings &g) { g.amplitudeIIVpp = g.amplitudeIVpp; });
            s.setValue(C::Dual, 1);
            s.setValue(C::Add, 1);
        }) << 1.0;
    }
    void theLightFollowsTheShareOfTimeTheBeamWrites()
    {
        QFETCH(Setup, setup);
        QFETCH(double, ratio);
        const Hm203 opening;
        Hm203 scope;
        setup(scope);
        const double measured = litBy(scope).totalEnergy() / litBy(opening).totalEnergy();
        QVERIFY2(std::abs(measured / ratio - 1.0) < 0.03,
            qPrintable(QStringLiteral("%1, expected %2").arg(measured).arg(ratio)));
    }

    void aFastSweepOfASlowSignalIsDimUntilIntensGoesUp()
    {
        Hm203 scope;
        const int bright = brightestGreen(litBy(scope).light());
        scope.setValue(C::TimeDiv, Hm203::timeDivPosition(0.5e-6));
        const int dim = brightestGreen(litBy(scope).light());
        scope.setValue(C::Intensity, 100);
        const int raised = brightestGreen(litBy(scope).light());
        QVERIFY2(bright >= 230 && dim < 60 && raised > dim + 20,
            qPrintable(QStringLiteral("%1 %2 %3").arg(bright).arg(dim).arg(raised)));
    }

    void aSlowSweepIsACrawlingSpotWithATail()
    {
        // 0,2 s/div: a 2 s sweep from 0. One second in, the spot stands mid-screen, brightest there; what
        // it wrote a tenth of a second before (half a division back, five afterglow times) has all but faded.
        Hm203 scope;
        scope.setValue(C::TimeDiv, Hm203::timeDivPosition(0.2));
        const BeamFrame frame = scope.beam(1.0 - 4.0 * Afterglow::seconds, 1.0);
        QVERIFY(frame.moving);
        PhosphorScreen face = blankFace();
        face.write(frame.writing, BeamSpot { frame.current, frame.spotSpread }, 1.0);
        QPoint brightest;
        double most = 0.0;
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 400; ++x)
                if (face.energyAt(QPoint(x, y)) > most) {
                    most = face.energyAt(QPoint(x, y));
                    brightest = QPoint(x, y);
                }
        QVERIFY2(std::abs(brightest.x() + 0.5 - kMapping.centre.x()) <= 0.1 * kPixelsPerDivision,
            qPrintable(QString::number(brightest.x())));
        double behind = 0.0;
        for (int y = 0; y < 320; ++y)
            behind
                = std::max(behind, face.energyAt(QPoint(brightest.x() - int(0.5 * kPixelsPerDivision), y)));
        QVERIFY2(behind < 0.02 * most, qPrintable(QString::number(behind / most)));
    }

    void alternateChannelsTakeTurnsAtSlowSweeps()
    {
        // DUAL alternate at 50 ms/div: a sweep of 0,5 s, then the other channel's.
        Hm203 scope;
        scope.setValue(C::Dual, 1);
        scope.setValue(C::TimeDiv, Hm203::timeDivPosition(50e-3));
        const SweepTiming timing = sweepTiming(scope.scopeSettings());
        const auto kindsAt = [&](double t) {
            QList<TraceKind> kinds;
            for (const BeamStroke &stroke : scope.beam(t - 0.02, t).writing.strokes)
                if (!kinds.contains(stroke.kind))
                    kinds << stroke.kind;
            return kinds;
        };
        QCOMPARE(kindsAt(0.3), QList<TraceKind> { TraceKind::ChannelI });
        QCOMPARE(kindsAt(0.3 + timing.cycleSeconds), QList<TraceKind> { TraceKind::ChannelII });
        QCOMPARE(kindsAt(0.3 + 2.0 * timing.cycleSeconds), QList<TraceKind> { TraceKind::ChannelI });
    }

    void aRunningTraceIsManySweepsAtOnce()
    {
        // Not triggered (HF coupling shuts out 1 kHz), every sweep starts at its own point of the sine.
        Hm203 scope;
        scope.setValue(C::TriggerCoupling, 2);
        const BeamFrame frame = scope.beam(0.0, 0.02);
        QVERIFY(frame.moving);
        double lowest = 1e9;
        double highest = -1e9;
        for (const BeamStroke &stroke : frame.writing.strokes) {
            lowest = std::min(lowest, stroke.points.first().y());
            highest = std::max(highest, stroke.points.first().y());
        }
        QVERIFY(frame.writing.strokes.size() >= 3);
        QVERIFY2(highest - lowest > 1.0, qPrintable(QString::number(highest - lowest)));
    }

    void aFreeRunningFlatLineStandsStill_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<double>("amplitude");
        QTest::addColumn<bool>("moving");
        QTest::newRow("GD: the zero line") << int(C::GroundI) << 4.0 << false;
        QTest::newRow("no signal at all") << -1 << 0.0 << false;
        QTest::newRow("a sine, not triggered") << -1 << 4.0 << true;
    }
    void aFreeRunningFlatLineStandsStill()
    {
        // HF shuts the 1 kHz out of the trigger, so AT runs the sweep freely. A line that is the same
        // wherever a sweep starts looks the same frame after frame: the picture rests, and costs nothing.
        QFETCH(int, button);
        QFETCH(double, amplitude);
        QFETCH(bool, moving);
        Hm203 scope;
        scope.setValue(C::TriggerCoupling, 2);
        if (button >= 0)
            scope.setValue(C(button), 1);
        GeneratorSettings generator = scope.generator();
        generator.amplitudeIVpp = amplitude;
        scope.setGenerator(generator);
        QCOMPARE(scope.screen(BeamMoment { 1.0 }).moving, moving);
        const BeamFrame frame = scope.beam(1.0 - Afterglow::seconds, 1.0);
        QCOMPARE(frame.moving, moving);
        QVERIFY(!frame.writing.strokes.isEmpty());
    }

    void aBrightTraceTurnsWhiteNotFlat()
    {
        // More energy, more light, and past saturation the green turns whitish.
        QList<QRgb> colours;
        for (double times : { 0.3, 1.0, 3.0, 10.0 }) {
            PhosphorScreen face = blankFace();
            const double seconds = times * PhosphorScreen::saturationEnergy() / (kPixelsPerDivision * 0.8);
            face.write(
                line(QPointF(-4, 0), QPointF(4, 0), seconds * 8.0, { 0.0, 1.0 }), BeamSpot { 1.0, 0.025 });
            colours << face.light().pixel(pixelAt(QPointF(0, 0)));
        }
        for (qsizetype i = 1; i < colours.size(); ++i)
            QVERIFY(qGreen(colours.at(i)) >= qGreen(colours.at(i - 1)));
        QVERIFY(qGreen(colours.first()) < qGreen(colours.at(2)));
        const auto whiteness = [](QRgb c) { return double(qRed(c)) / std::max(1, qGreen(c)); };
        QVERIFY2(whiteness(colours.last()) > whiteness(colours.first()) + 0.3,
            qPrintable(
                QStringLiteral("%1 %2").arg(whiteness(colours.first())).arg(whiteness(colours.last()))));
    }

    void focusIsSharpestAtOneSetting()
    {
        const double sharp = Beam::spotSpread(Beam::openingCurrent, 0.5);
        QVERIFY(Beam::spotSpread(Beam::openingCurrent, 0.2) > 2.0 * sharp);
        QVERIFY(Beam::spotSpread(Beam::openingCurrent, 0.8) > 2.0 * sharp);
        // A strong current widens the spot a little.
        QVERIFY(Beam::spotSpread(1.0, 0.5) > sharp);
        QVERIFY(Beam::spotSpread(1.0, 0.5) < 1.5 * sharp);
        // And no current, no light: the knob's bottom end.
        QCOMPARE(Beam::currentAt(0.0), 0.0);
        QVERIFY(Beam::currentAt(0.7) < Beam::currentAt(0.8));
    }
};

QTEST_MAIN(TestPhosphor)
#include "tst_phosphor.moc"
