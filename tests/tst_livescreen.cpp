#include "beampath.h"
#include "hm203.h"
#include "livepanel.h"
#include "testsupport.h"

#include <QHash>
#include <QRandomGenerator>
#include <QtTest>

#include <climits>
#include <cmath>
#include <functional>

using C = Hm203Control;

namespace {

/** A state of the instrument a student can reach, set on a panel or on the bare model. */
using Setup = std::function<void(Hm203 &)>;

void generatorTo(Hm203 &scope, const std::function<void(GeneratorSettings &)> &change)
{
    GeneratorSettings g = scope.generator();
    change(g);
    scope.setGenerator(g);
}

/** Two sines on X-Y, output II shifted by the phase. */
Setup xyAt(double degrees)
{
    return [degrees](Hm203 &s) {
        generatorTo(s, [degrees](GeneratorSettings &g) {
            g.amplitudeIIVpp = 4.0;
            g.phaseIIDegrees = degrees;
        });
        s.setValue(C::VoltsDivII, Hm203::voltsDivPosition(1.0));
        s.setValue(C::XY, 1);
    };
}

Setup testerWith(TesterLoad load)
{
    return [load](Hm203 &s) {
        generatorTo(s, [load](GeneratorSettings &g) { g.testerLoad = load; });
        s.setValue(C::Tester, 1);
    };
}

Setup choppedAt(double secondsPerDiv)
{
    return [secondsPerDiv](Hm203 &s) {
        s.setValue(C::Dual, 1);
        s.setValue(C::Add, 1);
        s.setValue(C::YPositionI, 20);
        s.setValue(C::YPositionII, -20);
        s.setValue(C::TimeDiv, Hm203::timeDivPosition(secondsPerDiv));
    };
}

/** Any state a student can reach with the instrument on: every control and the generator at random. */
Setup randomState(quint32 seed)
{
    return [seed](Hm203 &s) {
        QRandomGenerator random(seed);
        for (const Hm203ControlInfo &info : hm203Controls())
            s.setValue(info.id, info.minimum + int(random.bounded(info.maximum - info.minimum + 1)));
        s.setValue(C::Power, 1);
        // Bright: this is about where the beam goes, not how bright it is.
        s.setValue(C::Intensity, 100);
        s.setValue(C::HoldOff, int(random.bounded(31)));
        if (random.bounded(3) != 0)
            s.setValue(C::Tester, 0);
        generatorTo(s, [&random](GeneratorSettings &g) {
            g.waveform = Waveform(random.bounded(3));
            g.frequencyHz = std::pow(10.0, random.generateDouble() * 6.0);
            g.amplitudeIVpp = random.generateDouble() * 20.0;
            g.amplitudeIIVpp = random.generateDouble() * 20.0;
            g.offsetIVolts = (random.generateDouble() - 0.5) * 10.0;
            g.offsetIIVolts = (random.generateDouble() - 0.5) * 10.0;
            g.phaseIIDegrees = (random.generateDouble() - 0.5) * 360.0;
            g.hookup = Hookup(random.bounded(4));
            g.testerLoad = TesterLoad(random.bounded(4));
        });
    };
}

/** The states the drawing once got wrong, and random ones of every mode. */
void states()
{
    QTest::addColumn<Setup>("setup");
    QTest::newRow("opening") << Setup([](Hm203 &) {});
    QTest::newRow("X-Y in phase") << xyAt(0.0);
    QTest::newRow("X-Y in opposition") << xyAt(180.0);
    QTest::newRow("X-Y at 5 degrees") << xyAt(5.0);
    QTest::newRow("X-Y at 30 degrees") << xyAt(30.0);
    QTest::newRow("tester open") << testerWith(TesterLoad::Open);
    QTest::newRow("tester resistor") << testerWith(TesterLoad::Resistor);
    QTest::newRow("tester capacitor") << testerWith(TesterLoad::Capacitor);
    QTest::newRow("tester diode") << testerWith(TesterLoad::Diode);
    QTest::newRow("chopped at 0,5 ms/div") << choppedAt(0.5e-3);
    QTest::newRow("chopped at 20 ms/div") << choppedAt(20e-3);
    QTest::newRow("chopped at 2 us/div") << choppedAt(2e-6);
    QTest::newRow("1 kHz at 2 V/div and 0,1 ms/div") << Setup([](Hm203 &s) {
        s.setValue(C::VoltsDivI, Hm203::voltsDivPosition(2.0));
        s.setValue(C::TimeDiv, Hm203::timeDivPosition(0.1e-3));
    });
    QTest::newRow("small sine") << Setup(
        [](Hm203 &s) { s.setValue(C::VoltsDivI, Hm203::voltsDivPosition(5.0)); });
    QTest::newRow("RC at 0,2 ms/div") << Setup([](Hm203 &s) {
        generatorTo(s, [](GeneratorSettings &g) { g.hookup = Hookup::RcCircuit; });
        s.setValue(C::Dual, 1);
    });
    QTest::newRow("1 MHz at 20 ms/div") << Setup([](Hm203 &s) {
        generatorTo(s, [](GeneratorSettings &g) { g.frequencyHz = 1e6; });
        s.setValue(C::TimeDiv, Hm203::timeDivPosition(10e-3));
    });
    for (quint32 seed = 1; seed <= 48; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(seed))) << randomState(seed);
}

/** Pixels of the face where a mask is set, grown by a radius. */
class PixelMask
{
public:
    explicit PixelMask(QSize size)
        : m_size(size)
        , m_bits(size.width() * size.height(), false)
    {
    }
    bool at(QPoint p) const { return inside(p) && m_bits[index(p)]; }
    void set(QPoint p)
    {
        if (inside(p))
            m_bits[index(p)] = true;
    }
    /** Marks the pixels a polyline passes through, stepping half a pixel at a time. */
    void trace(const QPolygonF &line, QPointF origin)
    {
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QPointF a = line.at(i) - origin;
            const QPointF b = i + 1 < line.size() ? line.at(i + 1) - origin : a;
            const int steps = int(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y()) * 2.0));
            for (int k = 0; k <= steps; ++k) {
                const QPointF p = steps ? a + (b - a) * (double(k) / steps) : a;
                set(QPoint(int(std::floor(p.x())), int(std::floor(p.y()))));
            }
        }
    }
    /** The pixels within a radius of a set one, by the exact distance transform (two passes of the
     * lower envelope of parabolas, one a row, one a column). */
    PixelMask grown(double radius) const
    {
        const int w = m_size.width();
        const int h = m_size.height();
        constexpr double kFar = 1e12;
        QList<double> field(qsizetype(w) * h);
        for (qsizetype k = 0; k < field.size(); ++k)
            field[k] = m_bits[k] ? 0.0 : kFar;
        const auto pass = [](QList<double> &f, qsizetype start, qsizetype stride, int n) {
            QList<double> line(n);
            QList<int> v(n);
            QList<double> z(n + 1);
            for (int q = 0; q < n; ++q)
                line[q] = f[start + q * stride];
            const auto cut = [&](int q, int r) {
                return ((line[q] + double(q) * q) - (line[r] + double(r) * r)) / (2.0 * (q - r));
            };
            int k = 0;
            v[0] = 0;
            z[0] = -kFar;
            z[1] = kFar;
            for (int q = 1; q < n; ++q) {
                double at = cut(q, v[k]);
                while (at <= z[k]) {
                    --k;
                    at = cut(q, v[k]);
                }
                ++k;
                v[k] = q;
                z[k] = at;
                z[k + 1] = kFar;
            }
            k = 0;
            for (int q = 0; q < n; ++q) {
                while (z[k + 1] < q)
                    ++k;
                const double d = q - v[k];
                f[start + q * stride] = d * d + line[v[k]];
            }
        };
        for (int y = 0; y < h; ++y)
            pass(field, qsizetype(y) * w, 1, w);
        for (int x = 0; x < w; ++x)
            pass(field, x, w, h);
        PixelMask out(m_size);
        for (qsizetype k = 0; k < field.size(); ++k)
            out.m_bits[k] = field[k] <= radius * radius;
        return out;
    }
    QSize size() const { return m_size; }

private:
    bool inside(QPoint p) const
    {
        return p.x() >= 0 && p.y() >= 0 && p.x() < m_size.width() && p.y() < m_size.height();
    }
    qsizetype index(QPoint p) const { return qsizetype(p.y()) * m_size.width() + p.x(); }

    QSize m_size;
    QList<bool> m_bits;
};

double squaredDistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0.0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return QPointF::dotProduct(d, d);
}

/**
 * The largest distance from any vertex of one polyline to the other polyline, up to a limit: each
 * segment of the other is filed under the cells of a coarse grid it passes, so a vertex looks only at
 * the segments near it. Beyond the limit the answer is only known to be larger.
 */
double farthest(const QPolygonF &from, const QPolygonF &to, double limit)
{
    const double cell = std::max(1.0, limit);
    const auto key = [cell](int x, int y) { return (qint64(x) << 32) ^ quint32(y); };
    QHash<qint64, QList<qsizetype>> cells;
    for (qsizetype k = 0; k < to.size(); ++k) {
        const QPointF a = to.at(k);
        const QPointF b = to.at(std::min(k + 1, to.size() - 1));
        const int steps = int(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y()) / cell)) + 1;
        int lastX = INT_MIN;
        int lastY = INT_MIN;
        for (int n = 0; n <= steps; ++n) {
            const QPointF p = a + (b - a) * (double(n) / steps);
            const int x = int(std::floor(p.x() / cell));
            const int y = int(std::floor(p.y() / cell));
            if (x != lastX || y != lastY)
                cells[key(x, y)] << k;
            lastX = x;
            lastY = y;
        }
    }
    // Squared distances; a vertex stops looking once it is no farther than the worst found so far.
    double worst = 0.0;
    for (const QPointF &p : from) {
        double nearest = std::numeric_limits<double>::infinity();
        const int cx = int(std::floor(p.x() / cell));
        const int cy = int(std::floor(p.y() / cell));
        for (int dy = -1; dy <= 1 && nearest > worst; ++dy)
            for (int dx = -1; dx <= 1 && nearest > worst; ++dx)
                for (qsizetype k : cells.value(key(cx + dx, cy + dy))) {
                    nearest = std::min(nearest,
                        squaredDistanceToSegment(p, to.at(k), to.at(std::min(k + 1, to.size() - 1))));
                    if (nearest <= worst)
                        break;
                }
        worst = std::max(worst, nearest);
    }
    return std::sqrt(worst);
}

/** The controls off their opening positions and the generator, to tell which state went wrong. */
QString described(const Hm203 &scope)
{
    QStringList parts;
    const Hm203 opening;
    for (const Hm203ControlInfo &info : hm203Controls())
        if (scope.value(info.id) != opening.value(info.id))
            parts << QString::fromUtf16(info.label) + QLatin1Char('=')
                    + QString::number(scope.value(info.id));
    const GeneratorSettings &g = scope.generator();
    parts << QStringLiteral("generator %1 %2 Hz %3/%4 Vpp %5/%6 V %7° hookup %8 load %9")
                 .arg(int(g.waveform))
                 .arg(g.frequencyHz)
                 .arg(g.amplitudeIVpp)
                 .arg(g.amplitudeIIVpp)
                 .arg(g.offsetIVolts)
                 .arg(g.offsetIIVolts)
                 .arg(g.phaseIIDegrees)
                 .arg(int(g.hookup))
                 .arg(int(g.testerLoad));
    return parts.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(Setup)

/** The live screen as drawn: the picture on the face follows the traces the model computes. */
class TestLiveScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void thePathKeepsToTheBeam_data() { states(); }
    void thePathKeepsToTheBeam()
    {
        QFETCH(Setup, setup);
        Hm203 scope;
        setup(scope);
        const LiveScreen live = scope.screen();
        const FaceMapping mapping { .centre = QPointF(180.5, 140.5),
            .pixelsPerDivision = 17.5,
            .rotationDegrees = live.rotationDegrees };
        for (const Trace &trace : live.traces.traces) {
            QPolygonF exact;
            for (const QPointF &p : trace.points)
                exact << mapping.toPixels(p);
            const QPolygonF drawn = beamPolyline(trace.points, mapping);
            if (exact.isEmpty()) {
                QVERIFY(drawn.isEmpty());
                continue;
            }
            // Both ways within the tolerance: nothing the beam writes is left out, nothing is added.
            QVERIFY2(farthest(exact, drawn, 2 * kBeamPathTolerance) <= kBeamPathTolerance + 1e-9,
                qPrintable(QStringLiteral("a computed point lies %1 px off")
                               .arg(farthest(exact, drawn, 2 * kBeamPathTolerance))));
            QVERIFY2(farthest(drawn, exact, 2 * kBeamPathTolerance) <= kBeamPathTolerance + 1e-9,
                qPrintable(QStringLiteral("a drawn point lies %1 px off")
                               .arg(farthest(drawn, exact, 2 * kBeamPathTolerance))));
            // It starts and ends where the beam does.
            QCOMPARE(drawn.first(), exact.first());
            QCOMPARE(drawn.last(), exact.last());
            // And costs no more than a few points a pixel column across a sweep.
            if (trace.kind != TraceKind::XY) {
                const double columns = std::abs(exact.last().x() - exact.first().x()) + 1.0;
                QVERIFY2(drawn.size() <= 8.0 * columns + 8.0 || drawn.size() <= exact.size(),
                    qPrintable(QString::number(drawn.size())));
            }
        }
    }

    void aSmoothTraceTakesFewStrokes()
    {
        // The opening sine: two periods the model follows with 801 points; a few dozen strokes draw it.
        const Hm203 scope;
        const Trace trace = scope.screen().traces.traces.value(0);
        const QPolygonF drawn = beamPolyline(trace.points, FaceMapping { QPointF(200, 150), 33.25, 0.0 });
        QVERIFY(trace.points.size() > 800);
        QVERIFY2(drawn.size() < 80, qPrintable(QString::number(drawn.size())));
    }

    void theFaceShowsTheModelsTrace_data() { states(); }
    void theFaceShowsTheModelsTrace()
    {
        QFETCH(Setup, setup);
        LivePanel panel(nullptr, 1.75);
        Hm203 wanted;
        wanted.setValue(C::Intensity, 100);
        setup(wanted);
        panel.setGenerator(wanted.generator());
        // The same state through the panel's own controls, as the student sets it.
        for (const Hm203ControlInfo &info : hm203Controls())
            panel.setControlValue(info.id, wanted.value(info.id));
        const QRect face = panel.screenRect().adjusted(2, 2, -2, -2);
        const int intensity = panel.scope().value(C::Intensity);
        panel.setControlValue(C::Intensity, 0);
        panel.advanceFrame();
        const QImage dark = panel.grab(face).toImage().convertToFormat(QImage::Format_RGB32);
        panel.setControlValue(C::Intensity, intensity);
        panel.advanceFrame();
        const QImage lit = panel.grab(face).toImage().convertToFormat(QImage::Format_RGB32);
        const LiveScreen &live = panel.liveScreen();
        saveGrab(&panel, QStringLiteral("livescreen-") + QString::fromLatin1(QTest::currentDataTag()));

        // Where the beam runs, from the model, and what the face shows, from the picture.
        // The beam's path is marked a little beyond the face too, where a trace just off it still lights
        // the face's edge.
        const FaceMapping mapping = panel.faceMapping();
        constexpr int kMargin = 16;
        const QSize around = face.size() + QSize(2 * kMargin, 2 * kMargin);
        const auto local = [](int x, int y) { return QPoint(x + kMargin, y + kMargin); };
        PixelMask beam(around);
        for (const Trace &trace : live.traces.traces) {
            QPolygonF pixels;
            for (const QPointF &p : trace.points)
                pixels << mapping.toPixels(p);
            beam.trace(pixels, face.topLeft() - QPoint(kMargin, kMargin));
        }
        // Lit: the whitish core of the trace, redder than its green glow can ever make a pixel.
        PixelMask shown(around);
        const double spot = 0.8 * 1.75 + live.spread * mapping.pixelsPerDivision;
        constexpr int kCoreRed = 56;
        int litCount = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (qRed(lit.pixel(x, y)) - qRed(dark.pixel(x, y)) > kCoreRed) {
                    shown.set(local(x, y));
                    ++litCount;
                }
        // Every lit pixel lies along the trace, within the spot's half width and a pixel of rounding.
        const double reach = spot / 2.0 + 1.5;
        const PixelMask nearBeam = beam.grown(reach);
        const PixelMask nearShown = shown.grown(reach);
        int stray = 0;
        int missed = 0;
        QPoint firstStray;
        QPoint firstMissed;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                if (shown.at(local(x, y)) && !nearBeam.at(local(x, y)) && stray++ == 0)
                    firstStray = { x, y };
                // And the trace is drawn end to end, wherever it crosses the face.
                const bool onFace
                    = x >= reach && y >= reach && x < face.width() - reach && y < face.height() - reach;
                if (onFace && beam.at(local(x, y)) && !nearShown.at(local(x, y)) && missed++ == 0)
                    firstMissed = { x, y };
            }
        if (stray || missed) {
            // What went wrong, to look at: the beam's path in red over the lit core in green.
            QImage overlay(face.size(), QImage::Format_RGB32);
            for (int y = 0; y < face.height(); ++y)
                for (int x = 0; x < face.width(); ++x)
                    overlay.setPixel(x, y,
                        qRgb(beam.at(local(x, y)) ? 255 : 0, shown.at(local(x, y)) ? 255 : 0,
                            nearBeam.at(local(x, y)) ? 60 : 0));
            const QString dir = qEnvironmentVariable("VANTELA_GRAB_DIR");
            if (!dir.isEmpty())
                overlay.save(QDir(dir).filePath(QStringLiteral("livescreen-%1-overlay.png")
                                                    .arg(QString::fromLatin1(QTest::currentDataTag()))));
        }
        QVERIFY2(stray == 0,
            qPrintable(QStringLiteral("%1 lit pixels off the trace, the first at %2,%3; %4")
                           .arg(stray)
                           .arg(firstStray.x())
                           .arg(firstStray.y())
                           .arg(described(panel.scope()))));
        QVERIFY2(missed == 0,
            qPrintable(QStringLiteral("%1 pixels of the trace left dark, the first at %2,%3 (%4 lit); %5")
                           .arg(missed)
                           .arg(firstMissed.x())
                           .arg(firstMissed.y())
                           .arg(litCount)
                           .arg(described(panel.scope()))));
    }
};

QTEST_MAIN(TestLiveScreen)
#include "tst_livescreen.moc"
