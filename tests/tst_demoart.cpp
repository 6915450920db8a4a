#include "behaviourcases.h"
#include "bmpwriter.h"
#include "deflectiondemo.h"
#include "deflectionpainter.h"
#include "phosphorlit.h"
#include "screenpainter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QString appFile(const QString &name)
{
    return QDir(QStringLiteral(VANTELA_APP_DIR)).filePath(name);
}

QByteArray fileBytes(const QString &name)
{
    QFile file(appFile(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** The layout the case pictures were drawn with, so pixels can be turned back into divisions. */
QRectF caseGraticule()
{
    ScreenOptions options;
    options.scaleLegend = true;
    return ScreenPainter::graticuleRect(QRectF(0, 0, 193, 161), options);
}

double pixelsPerDivision()
{
    return caseGraticule().width() / ScreenGeometry::columns;
}

/** The rows of the face, which reaches a little beyond the graticule; the scale line is under it. */
int faceTop()
{
    return std::max(0, int(caseGraticule().top() - ScreenGeometry::overscan * pixelsPerDivision()) - 1);
}

int faceBottom()
{
    return int(caseGraticule().bottom() + ScreenGeometry::overscan * pixelsPerDivision()) + 1;
}

/** The case pictures' face as it is with nothing written on it. */
const QImage &darkFace()
{
    static const QImage dark = [] {
        ScreenOptions options;
        options.scaleLegend = true;
        QImage image(193, 161, QImage::Format_RGB32);
        QPainter p(&image);
        ScreenPainter::paintTraces(p, QRectF(0, 0, 193, 161), ScreenTraces {}, options);
        return image;
    }();
    return dark;
}

/** The green the phosphor adds to a pixel of a case picture, over the dark face and its graticule. */
int lightAt(const QImage &image, int x, int y)
{
    const QImage &dark = darkFace();
    if (image.size() != dark.size())
        return isPhosphorLit(image.pixel(x, y)) ? 255 : 0;
    return std::max(0, qGreen(image.pixel(x, y)) - qGreen(dark.pixel(x, y)));
}

/** A pixel of the trace itself, not the faint halation round it. */
bool isTraceCore(const QImage &image, int x, int y)
{
    return lightAt(image, x, y) >= 40;
}

/**
 * The middle of the trace in each pixel column of the face, weighted by the light it gives, for the rows
 * between top and bottom on the face (a band, so that two traces can be read apart); NaN where the column
 * shows none. A steep flank, crossed fast, is dim but still lit.
 */
QList<double> traceCentres(const QImage &image, int top, int bottom)
{
    const QRectF g = caseGraticule();
    const int left = int(g.left());
    const int right = int(g.right());
    QList<double> centres;
    for (int x = left; x <= right; ++x) {
        double sum = 0.0;
        double weight = 0.0;
        for (int y = std::max(faceTop(), top); y <= std::min(faceBottom(), bottom); ++y) {
            // Weighed by the light itself, which the picture holds through the screen's gamma of 2,2.
            const int light = lightAt(image, x, y);
            if (light >= 6) {
                const double w = std::pow(light / 255.0, 2.2);
                sum += y * w;
                weight += w;
            }
        }
        centres.append(weight > 0.0 ? sum / weight : std::nan(""));
    }
    return centres;
}

struct Measured
{
    double peakToPeak = 0.0;
    double highest = 0.0;
    double lowest = 0.0;
    QList<double> downCrossings; // columns where the trace passes its middle going down the screen's y
};

Measured measure(const QList<double> &centres)
{
    Measured m;
    bool any = false;
    for (double c : centres) {
        if (std::isnan(c))
            continue;
        m.highest = any ? std::min(m.highest, c) : c;
        m.lowest = any ? std::max(m.lowest, c) : c;
        any = true;
    }
    m.peakToPeak = m.lowest - m.highest;
    const double middle = (m.lowest + m.highest) / 2.0;
    for (qsizetype i = 1; i < centres.size(); ++i) {
        const double a = centres.at(i - 1);
        const double b = centres.at(i);
        // The beam falls on the screen when the row number grows.
        if (!std::isnan(a) && !std::isnan(b) && a < middle && b >= middle)
            m.downCrossings.append(i - 1 + (middle - a) / (b - a));
    }
    return m;
}

} // namespace

/** The behaviour-case screens and the deflection frames, read back from the runnable folder. */
class TestDemoArt : public QObject
{
    Q_OBJECT

private slots:
    void filesAndSizes_data();
    void filesAndSizes();
    void restingScreen();
    void singleTraceCases_data();
    void singleTraceCases();
    void dualCase();
    void anySize_data();
    void anySize();
    void lissajousCase();
    void identicalFramesAreIdenticalFiles();
    void frameSpots_data();
    void frameSpots();
    void leadInHasNoSpotUntilTheEnd();
};

void TestDemoArt::filesAndSizes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    for (const BehaviourCase &row : behaviourCases())
        QTest::newRow(qPrintable(row.fileName)) << row.fileName << QSize(193, 161);
    QTest::newRow("papag.bmp") << QStringLiteral("papag.bmp") << QSize(193, 161);
    for (const QString &name : DeflectionDemo::allFrameFiles())
        QTest::newRow(qPrintable(name)) << name << QSize(282, 114);
}

void TestDemoArt::filesAndSizes()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const QByteArray bytes = fileBytes(file);
    QVERIFY2(bytes.size() >= 54, qPrintable(file));
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
    const int rowBytes = ((size.width() * 24 + 31) / 32) * 4;
    QCOMPARE(bytes.size(), 54 + rowBytes * size.height());
    const QImage image(appFile(file));
    QCOMPARE(image.size(), size);
}

void TestDemoArt::restingScreen()
{
    // The switched-on screen with no signal: one flat line along the centre, across the whole graticule.
    const QImage image(appFile(QStringLiteral("papag.bmp")));
    const QList<double> centres = traceCentres(image, 0, image.height() - 1);
    const QPointF centre = ScreenPainter::toPixels(caseGraticule(), QPointF(0, 0));
    for (double c : centres) {
        QVERIFY(!std::isnan(c));
        QVERIFY(std::abs(c - (centre.y() - 0.5)) <= 1.0);
    }
}

void TestDemoArt::singleTraceCases_data()
{
    QTest::addColumn<QString>("file");
    for (const BehaviourCase &row : behaviourCases()) {
        if (row.settings.mode != DisplayMode::Dual && row.settings.mode != DisplayMode::XY)
            QTest::newRow(qPrintable(row.fileName)) << row.fileName;
    }
}

void TestDemoArt::singleTraceCases()
{
    QFETCH(QString, file);
    const BehaviourCase *row = behaviourCaseForFile(file);
    QVERIFY(row);
    const QImage image(appFile(file));
    QVERIFY(!image.isNull());
    const QRectF g = caseGraticule();
    const double perDiv = pixelsPerDivision();
    const QList<double> centres = traceCentres(image, 0, image.height() - 1);
    const Measured m = measure(centres);
    const ScreenTraces screen = computeTraces(row->settings);
    QCOMPARE(screen.traces.size(), 1);
    const Trace &trace = screen.traces.first();

    // Height: what the sensitivity makes of the signal, or the whole face when it is overdriven.
    const double expectedDivisions = visiblePeakToPeak(trace);
    const bool overdriven = traceBounds(trace).height() > expectedDivisions + 0.01;
    if (row->settings.mode != DisplayMode::Add) {
        const ChannelSettings &shown
            = row->settings.mode == DisplayMode::ChannelII ? row->settings.channelII : row->settings.channelI;
        const double stated = peakToPeakDivisions(shown.signal.amplitudeVpp, shown.voltsPerDiv);
        QVERIFY(std::abs(
                    std::min(stated, ScreenGeometry::rows + 2 * ScreenGeometry::overscan) - expectedDivisions)
            < 0.01);
    }
    // An overdriven trace is cut where the face ends: its steep flanks, dim as the beam crosses them
    // fast, are lit up to the edge.
    double shownHeight = m.peakToPeak;
    if (overdriven) {
        int top = image.height();
        int bottom = -1;
        for (int y = faceTop(); y <= faceBottom(); ++y) {
            for (int x = int(g.left()); x <= int(g.right()); ++x) {
                if (lightAt(image, x, y) >= 6) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        shownHeight = bottom - top;
    }
    QVERIFY2(std::abs(shownHeight - expectedDivisions * perDiv) <= (overdriven ? 3.0 : 2.0),
        qPrintable(QStringLiteral("%1 px, expected %2").arg(shownHeight).arg(expectedDivisions * perDiv)));

    // Period: crossings of the middle going down the screen, one period apart, where the model puts them.
    const double period
        = divisionsPerPeriod(row->settings.channelI.signal.frequencyHz, row->settings.secondsPerDiv);
    QVERIFY(!m.downCrossings.isEmpty());
    for (qsizetype i = 1; i < m.downCrossings.size(); ++i)
        QVERIFY(std::abs(m.downCrossings.at(i) - m.downCrossings.at(i - 1) - period * perDiv) <= 1.5);
    const QRectF bounds = traceBounds(trace);
    const double middleRow
        = ScreenPainter::toPixels(g, QPointF(0, std::clamp(bounds.center().y(), -4.25, 4.25))).y();
    QList<double> modelCrossings;
    for (qsizetype i = 1; i < trace.points.size(); ++i) {
        const QPointF a = ScreenPainter::toPixels(g, trace.points.at(i - 1));
        const QPointF b = ScreenPainter::toPixels(g, trace.points.at(i));
        if (a.y() < middleRow && b.y() >= middleRow)
            modelCrossings.append(a.x() + (middleRow - a.y()) / (b.y() - a.y()) * (b.x() - a.x()));
    }
    for (double measured : m.downCrossings) {
        const double x = g.left() + 0.5 + measured;
        const auto nearest = std::min_element(modelCrossings.begin(), modelCrossings.end(),
            [x](double a, double b) { return std::abs(a - x) < std::abs(b - x); });
        QVERIFY(nearest != modelCrossings.end());
        QVERIFY2(std::abs(*nearest - x) <= 1.5,
            qPrintable(QStringLiteral("crossing at %1, model %2").arg(x).arg(*nearest)));
    }

    // Start: the first columns follow the trace from where the trigger starts the sweep.
    for (int column = 0; column < 4; ++column) {
        const double x = g.left() + column + 0.5;
        const double fraction = (x - ScreenPainter::toPixels(g, trace.points.first()).x())
            / (ScreenPainter::toPixels(g, trace.points.last()).x()
                - ScreenPainter::toPixels(g, trace.points.first()).x());
        const qsizetype index = std::clamp<qsizetype>(
            qsizetype(std::round(fraction * (trace.points.size() - 1))), 0, trace.points.size() - 2);
        const QPointF here = ScreenPainter::toPixels(g, trace.points.at(index));
        const QPointF next = ScreenPainter::toPixels(g, trace.points.at(index + 1));
        const double slope = std::abs((next.y() - here.y()) / (next.x() - here.x()));
        QVERIFY(!std::isnan(centres.at(column)));
        QVERIFY2(std::abs(centres.at(column) + 0.5 - here.y()) <= 1.5 + 0.5 * slope,
            qPrintable(QStringLiteral("column %1 at %2, expected %3")
                           .arg(column)
                           .arg(centres.at(column) + 0.5)
                           .arg(here.y())));
    }
}

void TestDemoArt::dualCase()
{
    const BehaviourCase *row = behaviourCaseForFile(QStringLiteral("p1.bmp"));
    QVERIFY(row);
    QCOMPARE(row->settings.mode, DisplayMode::Dual);
    const QImage image(appFile(row->fileName));
    const QPointF centre = ScreenPainter::toPixels(caseGraticule(), QPointF(0, 0));
    const double perDiv = pixelsPerDivision();
    const Measured upper = measure(traceCentres(image, 0, int(centre.y()) - 1));
    const Measured lower = measure(traceCentres(image, int(centre.y()) + 1, image.height() - 1));
    for (const auto &[m, ch] :
        { std::pair { upper, row->settings.channelI }, std::pair { lower, row->settings.channelII } }) {
        QVERIFY(std::abs(m.peakToPeak - peakToPeakDivisions(ch.signal.amplitudeVpp, ch.voltsPerDiv) * perDiv)
            <= 2.0);
        QVERIFY(std::abs((m.highest + m.lowest) / 2.0 - (centre.y() - 0.5 - ch.position * perDiv)) <= 1.5);
        QVERIFY(!m.downCrossings.isEmpty());
    }
    // Channel II lags by its phase: its crossings come that fraction of a period later.
    const double period = divisionsPerPeriod(1000.0, row->settings.secondsPerDiv) * perDiv;
    const double lag = -row->settings.channelII.signal.phaseDegrees / 360.0 * period;
    QVERIFY(std::abs(lower.downCrossings.first() - upper.downCrossings.first() - lag) <= 1.5);
}

void TestDemoArt::anySize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("bezel");
    QTest::addColumn<bool>("legend");
    QTest::newRow("small, bare") << QSize(129, 105) << false << false;
    QTest::newRow("wide, with legend") << QSize(617, 305) << true << true;
    QTest::newRow("tall") << QSize(200, 400) << true << true;
    QTest::newRow("tiny") << QSize(12, 10) << true << true;
}

void TestDemoArt::anySize()
{
    QFETCH(QSize, size);
    QFETCH(bool, bezel);
    QFETCH(bool, legend);
    ScreenOptions options;
    options.bezel = bezel;
    options.scaleLegend = legend;
    const QRectF target(QPointF(0, 0), QSizeF(size));
    const QRectF g = ScreenPainter::graticuleRect(target, options);
    QVERIFY(target.contains(g));
    QVERIFY(std::abs(g.width() / g.height() - 1.25) < 1e-9);
    // The peaks of a 5-division sine land where the graticule says 2.5 divisions are.
    const QImage image = ScreenPainter::render(behaviourCases().at(1).settings, size, options);
    QCOMPARE(image.size(), size);
    if (size.width() < 60)
        return;
    int top = image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isTraceCore(image, x, y))
                top = std::min(top, y);
    const double expected = ScreenPainter::toPixels(g, QPointF(0, 2.5)).y();
    QVERIFY2(
        std::abs(top + 0.5 - expected) <= 2.0, qPrintable(QStringLiteral("%1 vs %2").arg(top).arg(expected)));
}

void TestDemoArt::lissajousCase()
{
    const BehaviourCase *row = behaviourCaseForFile(QStringLiteral("p9.bmp"));
    QVERIFY(row);
    QCOMPARE(row->settings.mode, DisplayMode::XY);
    const QImage image(appFile(row->fileName));
    const QRectF g = caseGraticule();
    const double perDiv = pixelsPerDivision();
    QRect box;
    for (int y = int(g.top()); y <= int(g.bottom()); ++y) {
        for (int x = int(g.left()); x <= int(g.right()); ++x) {
            if (isTraceCore(image, x, y))
                box |= QRect(x, y, 1, 1);
        }
    }
    const double width = peakToPeakDivisions(
        row->settings.channelII.signal.amplitudeVpp, row->settings.channelII.voltsPerDiv);
    const double height
        = peakToPeakDivisions(row->settings.channelI.signal.amplitudeVpp, row->settings.channelI.voltsPerDiv);
    QVERIFY(std::abs(box.width() - 1 - width * perDiv) <= 3.0);
    QVERIFY(std::abs(box.height() - 1 - height * perDiv) <= 3.0);
    QVERIFY(std::abs(box.center().x() - g.center().x()) <= 1.5);
    // On the vertical centre line the ellipse stands at ±(Y amplitude)·sin(phase).
    const int column = int(ScreenPainter::toPixels(g, QPointF(0, 0)).x());
    int top = -1;
    int bottom = -1;
    for (int y = int(g.top()); y <= int(g.bottom()); ++y) {
        if (isTraceCore(image, column, y)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    const double phase = std::abs(row->settings.channelII.signal.phaseDegrees) * std::numbers::pi / 180.0;
    const double expected = height * std::sin(phase) * perDiv;
    QVERIFY2(std::abs(bottom - top - expected) <= 3.0,
        qPrintable(QStringLiteral("%1 px, expected %2").arg(bottom - top).arg(expected)));
}

void TestDemoArt::identicalFramesAreIdenticalFiles()
{
    // With no voltage on the plates nothing changes, so item 0's frames are one and the same file.
    const QStringList still = DeflectionDemo::caseFiles(0);
    const QByteArray first = fileBytes(still.first());
    QVERIFY(!first.isEmpty());
    for (const QString &name : still)
        QCOMPARE(fileBytes(name), first);
    // Every other frame shows something new.
    QSet<QByteArray> hashes;
    const QStringList files = DeflectionDemo::allFrameFiles();
    for (const QString &name : files) {
        if (!still.contains(name))
            hashes.insert(QCryptographicHash::hash(fileBytes(name), QCryptographicHash::Sha1));
    }
    QCOMPARE(hashes.size(), files.size() - still.size());
    // And the painter is deterministic: drawing a frame again gives the same bytes as the file.
    const DeflectionDemo::Frame frame = DeflectionDemo::caseFrame(1, 3);
    QCOMPARE(encodeBmp(DeflectionPainter::render(frame, QSize(282, 114)), 24), fileBytes(frame.fileName));
}

void TestDemoArt::frameSpots_data()
{
    QTest::addColumn<QString>("file");
    for (int item = 0; item < DeflectionDemo::options().size(); ++item) {
        const QString last = DeflectionDemo::caseFiles(item).last();
        QTest::newRow(qPrintable(last)) << last;
    }
    QTest::newRow("caso13.bmp") << QStringLiteral("caso13.bmp");
}

void TestDemoArt::frameSpots()
{
    QFETCH(QString, file);
    const QList<DeflectionDemo::Frame> frames = DeflectionDemo::allFrames();
    const auto found = std::find_if(
        frames.begin(), frames.end(), [&file](const DeflectionDemo::Frame &f) { return f.fileName == file; });
    QVERIFY(found != frames.end());
    const QImage image(appFile(file));
    // The brightest green pixels on the front view's face mark the spot.
    const QPointF centre = DeflectionPainter::frontCentre();
    const double perCm = DeflectionPainter::frontPixelsPerCm();
    const QRect front(int(centre.x() - 5 * perCm) - 2, int(centre.y() - 4 * perCm) - 2, int(10 * perCm) + 4,
        int(8 * perCm) + 4);
    const auto glow = [&image](int x, int y) {
        const QRgb c = image.pixel(x, y);
        return qGreen(c) - qBlue(c) >= 15 ? qGreen(c) + qRed(c) : 0;
    };
    int best = 0;
    for (int y = front.top(); y <= front.bottom(); ++y)
        for (int x = front.left(); x <= front.right(); ++x)
            best = std::max(best, glow(x, y));
    QVERIFY(best > 400);
    double sx = 0;
    double sy = 0;
    int count = 0;
    for (int y = front.top(); y <= front.bottom(); ++y) {
        for (int x = front.left(); x <= front.right(); ++x) {
            if (glow(x, y) >= best - 20) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++count;
            }
        }
    }
    QVERIFY(count > 0);
    const QPointF expected = DeflectionPainter::frontSpot(found->spotCm);
    // A spot on the very edge of the face is cut in half, which moves its visible middle inwards.
    const bool onEdge = std::abs(found->spotCm.x()) > DeflectionDemo::screenHalfWidthCm - 0.1
        || std::abs(found->spotCm.y()) > DeflectionDemo::screenHalfHeightCm - 0.1;
    const double tolerance = onEdge ? 3.0 : 1.5;
    QVERIFY2(std::hypot(sx / count - expected.x(), sy / count - expected.y()) <= tolerance,
        qPrintable(QStringLiteral("spot at %1,%2, expected %3,%4")
                       .arg(sx / count)
                       .arg(sy / count)
                       .arg(expected.x())
                       .arg(expected.y())));
}

void TestDemoArt::leadInHasNoSpotUntilTheEnd()
{
    const QPointF spot = DeflectionPainter::frontSpot(QPointF(0, 0));
    for (const QString &name : DeflectionDemo::leadInFiles()) {
        const QImage image(appFile(name));
        const QRgb c = image.pixel(int(spot.x()), int(spot.y()));
        const bool lit = qGreen(c) > 200;
        QCOMPARE(lit, name == QStringLiteral("cat9.bmp"));
    }
}

QTEST_MAIN(TestDemoArt)
#include "tst_demoart.moc"
