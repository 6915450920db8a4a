#include "hm203.h"
#include "livepanel.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
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

Setup testerWith(const QString &load)
{
    return [load](Hm203 &s) {
        generatorTo(s, [load](GeneratorSettings &g) { g.testerPart = load; });
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
            g.testerPart = QStringList { QString(), QStringLiteral("r1k"), QStringLiteral("c10u"),
                QStringLiteral("d1n4148") }
                               .value(int(random.bounded(4)));
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
    QTest::newRow("tester open") << testerWith(QString());
    QTest::newRow("tester resistor") << testerWith(QStringLiteral("r1k"));
    QTest::newRow("tester capacitor") << testerWith(QStringLiteral("c10u"));
    QTest::newRow("tester diode") << testerWith(QStringLiteral("d1n4148"));
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
                 .arg(g.testerPart);
    return parts.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(Setup)

/** The live screen as drawn: the picture on the face follows the traces the model computes. */
class TestLiveScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        const BeamFrame &frame = panel.beamFrame();
        saveGrab(&panel, QStringLiteral("livescreen-") + QString::fromLatin1(QTest::currentDataTag()));

        // Where the beam runs, from the model, and what the face shows, from the picture.
        // The beam's path is marked a little beyond the face too, where a trace just off it still lights
        // the face's edge.
        const FaceMapping mapping = panel.faceMapping();
        constexpr int kMargin = 16;
        const QSize around = face.size() + QSize(2 * kMargin, 2 * kMargin);
        const auto local = [](int x, int y) { return QPoint(x + kMargin, y + kMargin); };
        PixelMask beam(around);
        for (const BeamStroke &stroke : frame.writing.strokes) {
            QPolygonF pixels;
            if (!stroke.repeatHeights.isEmpty()) {
                // A sweep denser than the pixels: the beam passes every height of the band it fills.
                const double low
                    = *std::min_element(stroke.repeatHeights.begin(), stroke.repeatHeights.end());
                const double high
                    = *std::max_element(stroke.repeatHeights.begin(), stroke.repeatHeights.end());
                const double x0 = stroke.points.first().x();
                const double x1 = stroke.points.last().x();
                for (double x = x0; x <= x1; x += 0.5 / mapping.pixelsPerDivision)
                    pixels << mapping.toPixels(QPointF(x, low)) << mapping.toPixels(QPointF(x, high));
            } else {
                for (const QPointF &p : stroke.points)
                    pixels << mapping.toPixels(p);
            }
            beam.trace(pixels, face.topLeft() - QPoint(kMargin, kMargin));
        }
        // Shown: more light than the halation round a trace ever gives a pixel of the dark face.
        PixelMask shown(around);
        constexpr int kTraceGreen = 60;
        int litCount = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (qGreen(lit.pixel(x, y)) - qGreen(dark.pixel(x, y)) > kTraceGreen) {
                    shown.set(local(x, y));
                    ++litCount;
                }
        // Every lit pixel lies along the beam's path, as far as the spot's profile carries enough energy to
        // light it: three spreads, farther where the phosphor saturates and blooms, and a pixel or two of
        // rounding. And the beam leaves energy on every pixel it crosses, however fast.
        const PhosphorScreen &phosphor = panel.phosphor();
        double peak = 0.0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                peak = std::max(peak, phosphor.energyAt(QPoint(x, y)));
        // The screen shows light through its gamma of 2,2; half the light a shown pixel needs may come from
        // the halation round it.
        const double least = 0.5 * std::pow(kTraceGreen / 255.0, 2.2);
        const double enough = -std::log(1.0 - least) * PhosphorScreen::saturationEnergy();
        const double spreads = std::sqrt(2.0 * std::max(4.5, std::log(peak / enough)));
        const double reach = spreads * frame.spotSpread * mapping.pixelsPerDivision + 2.0;
        const PixelMask nearBeam = beam.grown(reach);
        int stray = 0;
        int missed = 0;
        QPoint firstStray;
        QPoint firstMissed;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                if (shown.at(local(x, y)) && !nearBeam.at(local(x, y)) && stray++ == 0)
                    firstStray = { x, y };
                // And the trace is written end to end, wherever it crosses the face.
                const bool onFace = x >= 2 && y >= 2 && x < face.width() - 2 && y < face.height() - 2;
                if (onFace && beam.at(local(x, y)) && !(phosphor.energyAt(QPoint(x, y)) > 0.0)
                    && missed++ == 0)
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
