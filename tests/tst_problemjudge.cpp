#include "exercisefigures.h"
#include "problemjudge.h"
#include "screentraces.h"

#include <QtTest>

#include <cmath>
#include <numbers>

namespace {

QString words(std::initializer_list<const char16_t *> texts)
{
    QStringList list;
    for (const char16_t *t : texts)
        list << QString::fromUtf16(t);
    return list.join(QLatin1Char('|'));
}

/** The x positions, in divisions, where a swept trace crosses a level going up. */
QList<double> risingCrossings(const Trace &trace, double level = 0.0)
{
    QList<double> xs;
    for (int i = 1; i < trace.points.size(); ++i) {
        const QPointF a = trace.points[i - 1];
        const QPointF b = trace.points[i];
        if (a.y() < level && b.y() >= level)
            xs << a.x() + (level - a.y()) / (b.y() - a.y()) * (b.x() - a.x());
    }
    return xs;
}

/** The heights at which an X-Y trace crosses the vertical axis. */
QList<double> axisCrossings(const Trace &trace)
{
    constexpr double kOnAxis = 1e-9;
    QList<double> ys;
    for (int i = 0; i < trace.points.size(); ++i) {
        const QPointF b = trace.points[i];
        if (std::abs(b.x()) < kOnAxis) {
            ys << b.y();
            continue;
        }
        const QPointF a = trace.points.value(i - 1, b);
        if (std::abs(a.x()) >= kOnAxis && (a.x() < 0.0) != (b.x() < 0.0))
            ys << a.y() + (0.0 - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
    }
    return ys;
}

/** The phase of an X-Y figure read as a student does: sin φ = a / b, the sign of the slope telling 0 from
 * 180°. */
double readLissajousPhase(const Trace &trace)
{
    const QRectF bounds = traceBounds(trace);
    double chord = 0.0;
    for (double y : axisCrossings(trace))
        chord = std::max(chord, std::abs(y));
    const double degrees
        = std::asin(std::min(1.0, chord / (bounds.height() / 2.0))) * 180.0 / std::numbers::pi;
    // Where x is largest, y is positive for figures leaning right (under 90°) and negative beyond.
    QPointF rightmost = trace.points.value(0);
    for (const QPointF &p : trace.points)
        if (p.x() > rightmost.x())
            rightmost = p;
    return rightmost.y() >= -1e-6 ? degrees : 180.0 - degrees;
}

Trace firstTrace(const ScopeSettings &settings)
{
    return computeTraces(settings).traces.value(0);
}

} // namespace

class TestProblemJudge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verdicts_data();
    void verdicts();
    void quantities_data();
    void quantities();
    void badInputGetsAVerdictAtOnce_data();
    void badInputGetsAVerdictAtOnce();

    void figuresGiveTheAcceptedAnswers();
    void lissajousFiguresMatchTheRightOption();
    void triggerLevelScreensShowOneSignal();
    void sineFigureMarksLieOnTheTrace();
    void sineFigureBoxesStandBesideTheirMarks();
};

void TestProblemJudge::verdicts_data()
{
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<bool>("right");

    const auto row = [](int problem, const char16_t *answer, bool right) {
        const QString text = QString::fromUtf16(answer);
        QTest::addRow("%d '%s'", problem, qPrintable(text)) << problem << text << right;
    };
    // Exact texts: no blanks, no other spelling of the number.
    for (auto a : { u"10" })
        row(1, a, true);
    for (auto a : { u" 10", u"10 ", u"10,0", u"10V", u"", u"010", u"1O" })
        row(1, a, false);
    row(2, u"60", true);
    for (auto a : { u"60 ", u"60°", u"-60", u"6" })
        row(2, a, false);
    row(3, u"53", true);
    row(3, u"59", true);
    for (auto a : { u"56", u"53,1", u" 53", u"5", u"" })
        row(3, a, false);
    row(4, u"3", true);
    for (auto a : { u"3,0", u"3 ms", u"33", u"" })
        row(4, a, false);
    // The frequency by value, 333 to 334 Hz.
    for (auto a :
        { u"333", u"333,3", u"333.33", u"334", u"333 Hz", u"333Hz", u"  333,33 hz ", u"+333.5", u"0333" })
        row(5, a, true);
    for (auto a : { u"3330", u"3335", u"335", u"33", u"1/3", u"334,5", u"332,99", u"Hz", u"333 rad/s",
             u"333 Hz Hz", u"3 33", u"333,3,3", u"1.000", u"" })
        row(5, a, false);
    // The angular frequency within 2 % of 2π / 6 ms.
    for (auto a :
        { u"1047", u"1047,2", u"1050 rad/s", u"1026,3", u"1068", u"1047.1976rad/s", u" 1047 RAD/S" })
        row(6, a, true);
    for (auto a : { u"1", u"1,5", u"1 rad/s", u"2094", u"1025", u"1069", u"0,9", u"2", u" 1", u"1047 Hz",
             u"1.047", u"1 047", u"" })
        row(6, a, false);
    // The three words where the figure marks what they name: amplitude, period, phase.
    QTest::addRow("5 right, then a megabyte of blanks")
        << 5 << (QStringLiteral("333") + QString(1 << 20, QLatin1Char(' '))) << true;
    QTest::addRow("7 right") << 7 << words({ u"amplitud", u"periodo", u"fase" }) << true;
    QTest::addRow("7 blanks and case") << 7 << words({ u"  Amplitud ", u"PERIODO", u"Fase\t" }) << true;
    QTest::addRow("7 accented period") << 7 << words({ u"amplitud", u"período", u"fase" }) << true;
    QTest::addRow("7 accented capitals") << 7 << words({ u"AMPLITUD", u"PERÍODO", u"FASE" }) << true;
    QTest::addRow("7 accent decomposed") << 7 << words({ u"amplitud", u"peri\u0301odo", u"fase" }) << true;
    QTest::addRow("7 valencian period") << 7 << words({ u"amplitud", u"periode", u"fase" }) << true;
    QTest::addRow("7 valencian accented") << 7 << words({ u"amplitud", u"període", u"fase" }) << true;
    QTest::addRow("7 old rule's pairing") << 7 << words({ u"periodo", u"fase", u"amplitud" }) << false;
    QTest::addRow("7 period and phase swapped") << 7 << words({ u"amplitud", u"fase", u"periodo" }) << false;
    QTest::addRow("7 one box empty") << 7 << words({ u"amplitud", u"periodo", u"" }) << false;
    QTest::addRow("7 all empty") << 7 << words({ u"", u"", u"" }) << false;
    QTest::addRow("7 word inside a word") << 7 << words({ u"amplitudes", u"periodo", u"fase" }) << false;
    QTest::addRow("7 blank inside") << 7 << words({ u"ampli tud", u"periodo", u"fase" }) << false;
    QTest::addRow("unknown problem") << 8 << QStringLiteral("10") << false;
    QTest::addRow("no problem") << 0 << QStringLiteral("10") << false;
}

void TestProblemJudge::verdicts()
{
    QFETCH(int, problem);
    QFETCH(QString, answers);
    QFETCH(bool, right);
    const QStringList boxes = problem == 7 ? answers.split(QLatin1Char('|')) : QStringList { answers };
    QCOMPARE(ProblemJudge::judge(problem, boxes) == Verdict::Right, right);
}

void TestProblemJudge::quantities_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    QTest::newRow("comma") << QStringLiteral("333,25") << QString() << true << 333.25;
    QTest::newRow("point") << QStringLiteral("333.25") << QString() << true << 333.25;
    QTest::newRow("no whole part") << QStringLiteral(",5") << QString() << true << 0.5;
    QTest::newRow("no fraction digits") << QStringLiteral("12.") << QString() << true << 12.0;
    QTest::newRow("minus") << QStringLiteral("-2,5") << QString() << true << -2.5;
    QTest::newRow("unit after a blank") << QStringLiteral("7 Hz") << QStringLiteral("Hz") << true << 7.0;
    QTest::newRow("another unit") << QStringLiteral("7 Hz") << QStringLiteral("rad/s") << false << 0.0;
    QTest::newRow("unit without number")
        << QStringLiteral(" rad/s") << QStringLiteral("rad/s") << false << 0.0;
    QTest::newRow("two separators") << QStringLiteral("1,000.5") << QString() << false << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1e308") << QString() << false << 0.0;
    QTest::newRow("sign alone") << QStringLiteral("-") << QString() << false << 0.0;
    QTest::newRow("separator alone") << QStringLiteral(",") << QString() << false << 0.0;
    QTest::newRow("eastern digits") << QStringLiteral("\u0663\u0663\u0663") << QString() << false << 0.0;
    QTest::newRow("full-width digits") << QStringLiteral("\uFF13\uFF13\uFF13") << QString() << false << 0.0;
    QTest::newRow("long fraction") << (QStringLiteral("333,") + QString(5000, QLatin1Char('3'))) << QString()
                                   << true << 1000.0 / 3.0;
    QTest::newRow("long leading zeros")
        << (QString(5000, QLatin1Char('0')) + QStringLiteral("47")) << QString() << true << 47.0;
    QTest::newRow("past the largest number") << QString(400, QLatin1Char('9')) << QString() << false << 0.0;
}

void TestProblemJudge::quantities()
{
    QFETCH(QString, text);
    QFETCH(QString, unit);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> read = ProblemJudge::readQuantity(text, unit);
    QCOMPARE(read.has_value(), isNumber);
    if (isNumber)
        QVERIFY2(std::abs(*read - value) < 1e-9, qPrintable(QString::number(*read, 'g', 17)));
}

void TestProblemJudge::badInputGetsAVerdictAtOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one megabyte of digits") << QString(1 << 20, QLatin1Char('3'));
    QTest::newRow("one megabyte of letters") << QString(1 << 20, QLatin1Char('a'));
    QTest::newRow("control characters") << QStringLiteral("3\x01\x02\x1b[2J\r\n33");
    QTest::newRow("nul inside") << QString::fromUtf16(u"333\0", 4);
    QTest::newRow("greek") << QStringLiteral("φάση");
    QTest::newRow("cjk") << QStringLiteral("周期");
    QTest::newRow("emoji") << QStringLiteral("😀😀");
    QTest::newRow("lone surrogate") << QString(QChar(0xd800));
    QTest::newRow("1e308") << QStringLiteral("1e308");
    QTest::newRow("NaN") << QStringLiteral("NaN");
    QTest::newRow("-0") << QStringLiteral("-0");
    QTest::newRow("inf") << QStringLiteral("inf");
    QTest::newRow("-inf") << QStringLiteral("-inf");
}

void TestProblemJudge::badInputGetsAVerdictAtOnce()
{
    QFETCH(QString, text);
    QElapsedTimer clock;
    clock.start();
    for (int problem = 1; problem <= ProblemJudge::problemCount; ++problem) {
        const QStringList boxes = problem == 7 ? QStringList { text, text, text } : QStringList { text };
        // None of these is an answer to any problem.
        QCOMPARE(ProblemJudge::judge(problem, boxes), Verdict::Wrong);
    }
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

void TestProblemJudge::figuresGiveTheAcceptedAnswers()
{
    // Problem 1: the peak, read in divisions, times the channel's volts per division.
    {
        const ScopeSettings s = ExerciseFigures::problemScreen(1);
        const Trace trace = firstTrace(s);
        const double volts = traceBounds(trace).bottom() * s.channelI.voltsPerDiv;
        QCOMPARE(qRound(volts), 10);
        QCOMPARE(s.secondsPerDiv, 0.2e-3);
        QCOMPARE(ProblemJudge::judgeVoltage(QString::number(qRound(volts))), Verdict::Right);
    }
    // Problem 2: the distance between the rising crossings of the two traces, in degrees of a period.
    {
        const ScopeSettings s = ExerciseFigures::problemScreen(2);
        const ScreenTraces screen = computeTraces(s);
        QCOMPARE(screen.traces.size(), 2);
        // The sweep starts on channel I's rise through 0 V.
        const QList<double> one = risingCrossings(screen.traces[0], 1e-9);
        const QList<double> two = risingCrossings(screen.traces[1], 1e-9);
        QVERIFY(one.size() >= 2 && !two.isEmpty());
        const double period = one[1] - one[0];
        double shift = two[0] - one[0];
        if (shift < 0)
            shift += period;
        QCOMPARE(s.secondsPerDiv, 0.1e-3);
        QCOMPARE(qRound(shift / period * 360.0), 60);
        QCOMPARE(ProblemJudge::judgePhaseDifference(QString::number(qRound(shift / period * 360.0))),
            Verdict::Right);
    }
    // Problem 3: a between the crossings of the vertical axis, b the whole height; sin φ = a / b.
    {
        const Trace trace = firstTrace(ExerciseFigures::problemScreen(3));
        QCOMPARE(trace.kind, TraceKind::XY);
        const QList<double> ys = axisCrossings(trace);
        QVERIFY(ys.size() >= 2);
        const double a = *std::max_element(ys.begin(), ys.end()) - *std::min_element(ys.begin(), ys.end());
        const double b = traceBounds(trace).height();
        // Both fall on the graticule's lines or its half divisions.
        QVERIFY(std::abs(a - 4.0) < 0.02);
        QVERIFY(std::abs(b - 5.0) < 0.02);
        const int degrees = qRound(std::asin(a / b) * 180.0 / std::numbers::pi);
        QCOMPARE(degrees, 53);
        QCOMPARE(ProblemJudge::judgeEllipseAngle(QString::number(degrees)), Verdict::Right);
    }
    // Problems 4 to 6: the period between rising crossings, times the time base.
    const auto periodMs = [](int problem) {
        const ScopeSettings s = ExerciseFigures::problemScreen(problem);
        const QList<double> xs = risingCrossings(firstTrace(s), 1e-9);
        return xs.size() < 2 ? 0.0 : (xs[1] - xs[0]) * s.secondsPerDiv * 1000.0;
    };
    QCOMPARE(ExerciseFigures::problemScreen(4).secondsPerDiv, 1e-3);
    QCOMPARE(qRound(periodMs(4)), 3);
    QCOMPARE(ProblemJudge::judgePeriod(QString::number(qRound(periodMs(4)))), Verdict::Right);
    const double frequency = 1000.0 / periodMs(5);
    QVERIFY(std::abs(frequency - 1000.0 / 3.0) < 0.5);
    QCOMPARE(
        ProblemJudge::judgeFrequency(QString::number(frequency, 'f', 1).replace('.', ',')), Verdict::Right);
    QCOMPARE(ExerciseFigures::problemScreen(6).secondsPerDiv, 1e-3);
    QVERIFY(std::abs(periodMs(6) - 6.0) < 0.01);
    const double omega = 2.0 * std::numbers::pi / (periodMs(6) / 1000.0);
    QVERIFY(std::abs(omega - ProblemJudge::expectedAngularFrequency()) < 1.0);
    QCOMPARE(ProblemJudge::judgeAngularFrequency(QString::number(qRound(omega))), Verdict::Right);
}

void TestProblemJudge::lissajousFiguresMatchTheRightOption()
{
    // Option 2 reads "Figura1=0°,Figura2=35°, Figura3=90°,Figura4=180°".
    const double named[4] = { 0.0, 35.0, 90.0, 180.0 };
    for (int k = 0; k < 4; ++k) {
        const Trace trace = firstTrace(ExerciseFigures::lissajousScreen(ExerciseFigures::lissajousPhases[k]));
        const double read = readLissajousPhase(trace);
        QVERIFY2(std::abs(read - named[k]) < 1.0,
            qPrintable(QStringLiteral("figure %1 reads %2").arg(k + 1).arg(read)));
    }
    // Question 2's screen is an ellipse, neither a line nor a circle.
    const double ellipse = readLissajousPhase(firstTrace(ExerciseFigures::ellipseScreen()));
    QVERIFY(ellipse > 10.0 && ellipse < 80.0);
}

void TestProblemJudge::triggerLevelScreensShowOneSignal()
{
    const ScopeSettings low = ExerciseFigures::triggerLevelScreen(0);
    const ScopeSettings high = ExerciseFigures::triggerLevelScreen(1);
    // The same signal, time base, sensitivity and slope: only the level differs.
    QCOMPARE(low.channelI.signal.amplitudeVpp, high.channelI.signal.amplitudeVpp);
    QCOMPARE(low.channelI.signal.frequencyHz, high.channelI.signal.frequencyHz);
    QCOMPARE(low.secondsPerDiv, high.secondsPerDiv);
    QCOMPARE(low.channelI.voltsPerDiv, high.channelI.voltsPerDiv);
    QCOMPARE(low.trigger.slope, high.trigger.slope);
    QVERIFY(low.trigger.levelVolts != high.trigger.levelVolts);
    // Each trace starts at its own level.
    const Trace a = firstTrace(low);
    const Trace b = firstTrace(high);
    QVERIFY(std::abs(a.points.first().y() - low.trigger.levelVolts / low.channelI.voltsPerDiv) < 0.05);
    QVERIFY(std::abs(b.points.first().y() - high.trigger.levelVolts / high.channelI.voltsPerDiv) < 0.05);
}

void TestProblemJudge::sineFigureMarksLieOnTheTrace()
{
    const Trace trace = firstTrace(ExerciseFigures::problemScreen(7));
    const ExerciseFigures::SineMarks m = ExerciseFigures::sineMarks();
    const QList<double> rising = risingCrossings(trace);
    QVERIFY(rising.size() >= 2);
    QVERIFY(std::abs(rising[0] - m.firstRisingX) < 0.02);
    QVERIFY(std::abs(rising[1] - m.secondRisingX) < 0.02);
    QVERIFY(std::abs(trace.points.first().x() - m.startX) < 1e-9);
    const QRectF bounds = traceBounds(trace);
    QVERIFY(std::abs(bounds.bottom() - m.peakY) < 0.01);
    // The peak stands where the trace is highest.
    auto highest = std::max_element(trace.points.begin(), trace.points.end(),
        [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    QVERIFY(std::abs(highest->x() - m.peakX) < 0.05);
    // The phase mark spans the part of the period before the crossing: 60°.
    const double phase = (m.firstRisingX - m.startX) / (m.secondRisingX - m.firstRisingX) * 360.0;
    QVERIFY(phase > 0.0 && phase < 180.0);
}

void TestProblemJudge::sineFigureBoxesStandBesideTheirMarks()
{
    const ExerciseFigures::SineFigure f = ExerciseFigures::sineFigure();
    const ExerciseFigures::SineMarks m = ExerciseFigures::sineMarks();
    const QRect picture(QPoint(0, 0), f.size);
    const QRectF face = f.screenTarget;
    const QList<QRect> boxes = { f.amplitudeBox, f.periodBox, f.phaseBox };
    for (int i = 0; i < boxes.size(); ++i) {
        QVERIFY(picture.contains(boxes[i]));
        // The trace stays in sight: no box covers the screen.
        QVERIFY(!QRectF(boxes[i]).intersects(face));
        for (int j = i + 1; j < boxes.size(); ++j)
            QVERIFY(!boxes[i].intersects(boxes[j]));
    }
    const QPointF zero = f.toPixels(QPointF(0, 0));
    const QPointF peak = f.toPixels(QPointF(0, m.peakY));
    // Right of the screen, between the zero level and the peak.
    QVERIFY(f.amplitudeBox.left() > face.right());
    QVERIFY(f.amplitudeBox.top() < zero.y() && f.amplitudeBox.bottom() > peak.y());
    // Under the screen, between the two crossings one period apart.
    const double first = f.toPixels(QPointF(m.firstRisingX, 0)).x();
    const double second = f.toPixels(QPointF(m.secondRisingX, 0)).x();
    QVERIFY(f.periodBox.top() > face.bottom());
    QVERIFY(f.periodBox.left() > first && f.periodBox.right() < second);
    // Above the screen, next to the mark from the trace's start to its first crossing.
    QVERIFY(f.phaseBox.bottom() < face.top());
    QVERIFY(f.phaseBox.left() > first && f.phaseBox.left() - first < 20);
}

QTEST_GUILESS_MAIN(TestProblemJudge)
#include "tst_problemjudge.moc"
