#include "artgen.h"
#include "artoutputsupport.h"
#include "referencefigures.h"
#include "screenpainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

/** Saves a picture to $VANTELA_GRAB_DIR/<name>.png when that variable is set. */
void saveForViewing(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("VANTELA_GRAB_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

/** The figures of the reference pages: the attenuator circuit, the sweep, the two-channel sweeps, the panel
 * views. */
class TestReferenceFigures : public ArtOutputSuite
{
    Q_OBJECT

private slots:
    void initTestCase();

    void attenuatorColumnsStandUnderTheirHeadings_data();
    void attenuatorColumnsStandUnderTheirHeadings();
    void attenuatorRowsAreDrawn();
    void sweepsStartOnAcceptedCrossingsOnly();
    void sweepFigureShowsTheGateDuringRamps_data();
    void sweepFigureShowsTheGateDuringRamps();
    void chopTakesTheTwoTracesInTurn();
    void alternateFigureShowsOneChannelPerSweep_data();
    void alternateFigureShowsOneChannelPerSweep();
    void choppedFigureAlternatesBetweenTheTraces_data();
    void choppedFigureAlternatesBetweenTheTraces();
    void panelViewRingsItsControls_data();
    void panelViewRingsItsControls();

private:
    QImage picture(const QString &name) const { return QImage(m_out.data.filePath(name)); }
};

void TestReferenceFigures::initTestCase()
{
    generate({ generateReferenceArt });
}

void TestReferenceFigures::attenuatorColumnsStandUnderTheirHeadings_data()
{
    QTest::addColumn<QString>("heading");
    QTest::newRow("castilian") << QStringLiteral("   Selector     Atenuador     Sensibilidad");
    QTest::newRow("valencian") << QStringLiteral("   Selector     Atenuador     Sensibilitat");
}

void TestReferenceFigures::attenuatorColumnsStandUnderTheirHeadings()
{
    // The heading is a label at x 40 over the picture, which fills its control from x 0; the window
    // writes it in its maroon bold 15-pixel serif.
    QFETCH(QString, heading);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(15);
    font.setBold(true);
    const QFontMetricsF fm(font);
    QList<qreal> centres;
    const QStringList words = heading.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int from = 0;
    for (const QString &word : words) {
        const int at = heading.indexOf(word, from);
        from = at + word.size();
        centres << 40
                + (fm.horizontalAdvance(heading.left(at)) + fm.horizontalAdvance(heading.left(from))) / 2;
    }
    const AttenuatorLayout l = attenuatorLayout();
    QCOMPARE(centres.size(), 3);
    QVERIFY2(qAbs(l.selector - centres.at(0)) <= 6, qPrintable(QString::number(l.selector - centres.at(0))));
    QVERIFY2(
        qAbs(l.attenuator - centres.at(1)) <= 6, qPrintable(QString::number(l.attenuator - centres.at(1))));
    QVERIFY2(
        qAbs(l.sensitivity - centres.at(2)) <= 6, qPrintable(QString::number(l.sensitivity - centres.at(2))));
    QVERIFY(l.selector < l.attenuator && l.attenuator < l.sensitivity);

    QImage withHeading(345, 16 + 153, QImage::Format_ARGB32);
    withHeading.fill(Qt::white);
    QPainter p(&withHeading);
    p.setFont(font);
    p.setPen(QColor(128, 0, 0));
    p.drawText(QPointF(40, fm.ascent()), heading);
    p.drawImage(0, 16, picture(QStringLiteral("circui.bmp")));
    p.end();
    saveForViewing(withHeading, QStringLiteral("circui-") + QLatin1String(QTest::currentDataTag()));
}

void TestReferenceFigures::attenuatorRowsAreDrawn()
{
    // Under "Selector" the three contacts of the coupling switch, under the other two headings one
    // row per divider; the path the two switches choose is drawn in colour, and only that path.
    const QImage image = picture(QStringLiteral("circui.bmp"));
    const AttenuatorLayout l = attenuatorLayout();
    const auto count = [&image](qreal column, qreal row, int halfWidth) {
        int ink = 0, blue = 0;
        for (int y = int(row) - 7; y <= int(row) + 7; ++y) {
            for (int x = int(column) - halfWidth; x <= int(column) + halfWidth; ++x) {
                const QColor c = image.pixelColor(x, y);
                ink += c.value() < 160 || c.hsvSaturation() > 120 ? 1 : 0;
                blue += c.blue() > c.red() + 60 ? 1 : 0;
            }
        }
        return qMakePair(ink, blue);
    };
    QCOMPARE(l.coupling.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto [ink, blue] = count(l.selector - 12, l.coupling.at(i), 5);
        QVERIFY2(ink >= 8, qPrintable(QString::number(i)));
        QCOMPARE(blue > 8, i == l.couplingPosition);
    }
    QCOMPARE(l.rows.size(), 4);
    for (int i = 0; i < l.rows.size(); ++i) {
        for (qreal column : { l.attenuator, l.sensitivity }) {
            const auto [ink, blue] = count(column, l.rows.at(i), 30);
            QVERIFY2(ink >= 10, qPrintable(QStringLiteral("row %1 column %2").arg(i).arg(column)));
            QCOMPARE(blue > 10, i == l.activeRow);
        }
    }
}

void TestReferenceFigures::sweepsStartOnAcceptedCrossingsOnly()
{
    const SweepTimeline t = sweepTimeline();
    QCOMPARE(t.accepted.size(), t.crossings.size());
    QVERIFY(t.sweeps.size() >= 2);
    int accepted = 0;
    for (int i = 0; i < t.crossings.size(); ++i) {
        const double c = t.crossings.at(i);
        // Every crossing is a rising one through the level.
        QVERIFY(qAbs(std::sin(2 * M_PI * (c - t.phase)) - t.level) < 1e-9);
        QVERIFY(std::cos(2 * M_PI * (c - t.phase)) > 0);
        const auto inSweep = [c](const SweepTimeline::Sweep &s) { return c > s.start && c < s.holdOffEnd; };
        const bool busy = std::any_of(t.sweeps.cbegin(), t.sweeps.cend(), inSweep);
        if (t.accepted.at(i)) {
            QVERIFY(!busy);
            QCOMPARE(t.sweeps.at(accepted++).start, c);
        } else if (c < t.sweeps.last().holdOffEnd) {
            // Ignored only because a sweep or its hold-off was still running.
            QVERIFY(busy);
        }
    }
    QCOMPARE(accepted, int(t.sweeps.size()));
    for (int i = 0; i < t.sweeps.size(); ++i) {
        const SweepTimeline::Sweep &s = t.sweeps.at(i);
        QVERIFY(s.start < s.rampEnd && s.rampEnd < s.returnEnd && s.returnEnd <= s.holdOffEnd);
        QVERIFY(s.returnEnd <= t.duration);
        if (i > 0)
            QVERIFY(s.start >= t.sweeps.at(i - 1).holdOffEnd);
    }
    // The figure shows both kinds of ignored crossing: during a ramp and during a hold-off.
    bool duringRamp = false, duringHoldOff = false;
    for (double c : t.crossings) {
        for (const SweepTimeline::Sweep &s : t.sweeps) {
            duringRamp = duringRamp || (c > s.start && c < s.rampEnd);
            duringHoldOff = duringHoldOff || (c > s.rampEnd && c < s.holdOffEnd);
        }
    }
    QVERIFY(duringRamp && duringHoldOff);
}

void TestReferenceFigures::sweepFigureShowsTheGateDuringRamps_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("castilian") << QStringLiteral("barridoc.bmp");
    QTest::newRow("valencian") << QStringLiteral("barridov.bmp");
}

void TestReferenceFigures::sweepFigureShowsTheGateDuringRamps()
{
    QFETCH(QString, name);
    const QImage image = picture(name);
    const SweepTimeline t = sweepTimeline();
    const SweepFigureLayout l = sweepFigureLayout();
    QCOMPARE(image.size(), l.size);
    // The height of the drawn line in a band at a moment: the first coloured pixel from the top.
    const auto lineY = [&image](double x, const QRectF &band) {
        for (int y = int(band.top()); y <= int(band.bottom()); ++y) {
            const QColor c = image.pixelColor(int(x), y);
            if (c.hsvSaturation() > 120 && c.value() < 230)
                return y;
        }
        return -1;
    };
    for (const SweepTimeline::Sweep &s : t.sweeps) {
        // The gate is up while the ramp runs and down while the sweep waits in its hold-off.
        const int during = lineY(l.x((s.start + s.rampEnd) / 2), l.unblanking);
        const int after = lineY(l.x((s.returnEnd + s.holdOffEnd) / 2), l.unblanking);
        QVERIFY2(
            during >= 0 && after > during + 10, qPrintable(QStringLiteral("%1 %2").arg(during).arg(after)));
        // The sawtooth rises through its ramp.
        const int early = lineY(l.x(s.start + 0.25 * (s.rampEnd - s.start)), l.sawtooth);
        const int late = lineY(l.x(s.start + 0.75 * (s.rampEnd - s.start)), l.sawtooth);
        QVERIFY2(early > late + 20, qPrintable(QStringLiteral("%1 %2").arg(early).arg(late)));
    }
}

void TestReferenceFigures::chopTakesTheTwoTracesInTurn()
{
    const ScreenTraces both = computeTraces(dualSweepSettings());
    QCOMPARE(both.traces.size(), 2);
    const Trace &first = both.traces.at(0);
    const Trace &second = both.traces.at(1);
    QCOMPARE(first.kind, TraceKind::ChannelI);
    QCOMPARE(second.kind, TraceKind::ChannelII);
    // The two traces stand apart, channel I above.
    QVERIFY(traceBounds(first).top() > traceBounds(second).bottom());
    const double width = 0.25;
    const QList<Trace> pieces = chopTraces(first, second, width);
    QVERIFY(pieces.size() >= 30);
    const auto onTrace = [](const Trace &trace, QPointF p) {
        for (int i = 0; i + 1 < trace.points.size(); ++i) {
            const QPointF a = trace.points.at(i), b = trace.points.at(i + 1);
            if (p.x() < a.x() || p.x() > b.x())
                continue;
            const double y
                = b.x() - a.x() < 1e-12 ? b.y() : a.y() + (b.y() - a.y()) * (p.x() - a.x()) / (b.x() - a.x());
            if (qAbs(y - p.y()) < 1e-9
                || (b.x() - a.x() < 1e-12 && p.y() >= qMin(a.y(), b.y()) - 1e-9
                    && p.y() <= qMax(a.y(), b.y()) + 1e-9))
                return true;
        }
        return false;
    };
    for (int i = 0; i < pieces.size(); ++i) {
        const Trace &piece = pieces.at(i);
        // In turn: I, II, I, II ...
        QCOMPARE(piece.kind, i % 2 == 0 ? TraceKind::ChannelI : TraceKind::ChannelII);
        // Each piece starts where the last ended and is no wider than a piece.
        if (i > 0)
            QVERIFY(qAbs(piece.points.first().x() - pieces.at(i - 1).points.last().x()) < 1e-9);
        QVERIFY(piece.points.last().x() - piece.points.first().x() <= width + 1e-9);
        // Every point of a piece lies on its own channel's trace.
        for (const QPointF &p : piece.points)
            QVERIFY2(onTrace(i % 2 == 0 ? first : second, p), qPrintable(QString::number(i)));
    }
    // Together they run the whole sweep.
    QVERIFY(qAbs(pieces.first().points.first().x() - first.points.first().x()) < 1e-9);
    QVERIFY(qAbs(pieces.last().points.last().x() - first.points.last().x()) < 1e-9);
    QVERIFY(chopTraces(first, Trace {}, width).isEmpty());
}

namespace {

/** How bright a screen is along a trace at a horizontal place: the best pixel within a pixel of the trace. */
int glowAt(const QImage &image, const QRectF &screen, const Trace &trace, double x)
{
    const QRectF g = ScreenPainter::graticuleRect(screen);
    double y = trace.points.first().y();
    for (int i = 0; i + 1 < trace.points.size(); ++i) {
        const QPointF a = trace.points.at(i), b = trace.points.at(i + 1);
        if (x >= a.x() && x <= b.x() && b.x() > a.x()) {
            y = a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
            break;
        }
    }
    const QPoint at = ScreenPainter::toPixels(g, QPointF(x, y)).toPoint();
    int best = 0;
    for (int dy = -1; dy <= 1; ++dy)
        best = qMax(best, image.pixelColor(at + QPoint(0, dy)).green());
    return best;
}

} // namespace

void TestReferenceFigures::alternateFigureShowsOneChannelPerSweep_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("castilian") << QStringLiteral("fig23.bmp");
    QTest::newRow("valencian") << QStringLiteral("fig23v.bmp");
}

void TestReferenceFigures::alternateFigureShowsOneChannelPerSweep()
{
    QFETCH(QString, name);
    const QImage image = picture(name);
    const AlternateFigureLayout l = alternateFigureLayout();
    QCOMPARE(image.size(), l.size);
    const ScreenTraces both = computeTraces(dualSweepSettings());
    const Trace &first = both.traces.at(0);
    const Trace &second = both.traces.at(1);
    // Sample away from the square wave's edges, where the traces run level or smoothly (the sine's
    // flanks, crossed faster, are a little dimmer than its crests).
    for (double x : { -3.7, -1.3, 1.1, 3.6 }) {
        QVERIFY(glowAt(image, l.firstSweep, first, x) > 170);
        QVERIFY(glowAt(image, l.firstSweep, second, x) < 120);
        QVERIFY(glowAt(image, l.secondSweep, second, x) > 170);
        QVERIFY(glowAt(image, l.secondSweep, first, x) < 120);
        QVERIFY(glowAt(image, l.result, first, x) > 170);
        QVERIFY(glowAt(image, l.result, second, x) > 170);
    }
}

void TestReferenceFigures::choppedFigureAlternatesBetweenTheTraces_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("castilian") << QStringLiteral("fig22.bmp");
    QTest::newRow("valencian") << QStringLiteral("fig22v.bmp");
}

void TestReferenceFigures::choppedFigureAlternatesBetweenTheTraces()
{
    QFETCH(QString, name);
    const QImage image = picture(name);
    const ChoppedFigureLayout l = choppedFigureLayout();
    QCOMPARE(image.size(), l.size);
    const ScreenTraces both = computeTraces(dualSweepSettings());
    const Trace &first = both.traces.at(0);
    const Trace &second = both.traces.at(1);
    const double from = first.points.first().x();
    // In the middle of each piece, only the channel whose turn it is glows.
    int checked = 0;
    for (int k = 1; from + (k + 1) * l.pieceDivisions < first.points.last().x(); ++k) {
        const double x = from + (k + 0.5) * l.pieceDivisions;
        if (qAbs(x) < 0.15 || qAbs(x - 2.5) < 0.15 || qAbs(x + 2.5) < 0.15)
            continue; // the square wave's edges
        const bool firstsTurn = k % 2 == 0;
        QVERIFY2((glowAt(image, l.screen, first, x) > 200) == firstsTurn, qPrintable(QString::number(x)));
        QVERIFY2((glowAt(image, l.screen, second, x) > 200) == !firstsTurn, qPrintable(QString::number(x)));
        ++checked;
    }
    QVERIFY(checked >= 30);
}

void TestReferenceFigures::panelViewRingsItsControls_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < panelViews().size(); ++i)
        QTest::newRow(panelViews().at(i).file) << i;
}

void TestReferenceFigures::panelViewRingsItsControls()
{
    QFETCH(int, index);
    const PanelView &view = panelViews().at(index);
    const QImage image = picture(QLatin1String(view.file));
    QCOMPARE(image.size(), view.size);
    const QList<QRectF> marks = panelViewMarks(view);
    QVERIFY(!marks.isEmpty());
    const auto ringed = [&marks](QPointF p) {
        return std::any_of(marks.cbegin(), marks.cend(), [p](const QRectF &m) { return m.contains(p); });
    };
    // Every control the passage speaks of is in the view and inside a ring.
    for (const QString &name : view.marked) {
        const QRectF control = panelViewControl(view, name);
        QVERIFY2(!control.isEmpty(), qPrintable(name));
        QVERIFY2(QRectF(QPointF(0, 0), QSizeF(image.size())).contains(control.center()), qPrintable(name));
        QVERIFY2(ringed(control.center()), qPrintable(name));
    }
    // A view of single rings takes in no other control.
    if (!view.grouped) {
        for (const PanelView &other : panelViews()) {
            for (const QString &name : other.marked) {
                if (view.marked.contains(name))
                    continue;
                const QRectF control = panelViewControl(view, name);
                QVERIFY2(!ringed(control.center()), qPrintable(name));
            }
        }
    }
    // The ring colour shows on every ring and nowhere outside the rings.
    const auto isRing = [](QColor c) {
        return c.hsvHue() >= 25 && c.hsvHue() <= 45 && c.hsvSaturation() > 180 && c.value() > 200;
    };
    for (const QRectF &m : marks) {
        const QPoint top(qRound(m.center().x()), qRound(m.top()));
        bool found = false;
        for (int dy = -2; dy <= 2; ++dy)
            found = found || isRing(image.pixelColor(top + QPoint(0, dy)));
        QVERIFY2(found, qPrintable(QStringLiteral("no ring at %1,%2").arg(top.x()).arg(top.y())));
    }
    int stray = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPointF centre(x + 0.5, y + 0.5);
            const bool nearRing = std::any_of(marks.cbegin(), marks.cend(),
                [centre](const QRectF &m) { return m.adjusted(-3, -3, 3, 3).contains(centre); });
            stray += !nearRing && isRing(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    QCOMPARE(stray, 0);
}

QTEST_MAIN(TestReferenceFigures)
#include "tst_referencefigures.moc"
