#include "exercisefigures.h"

#include "screentraces.h"

#include <cmath>
#include <numbers>

namespace ExerciseFigures {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

ChannelSettings sine(double amplitudeVpp, double frequencyHz, double voltsPerDiv, double phaseDegrees = 0.0)
{
    ChannelSettings channel;
    channel.signal.waveform = Waveform::Sine;
    channel.signal.amplitudeVpp = amplitudeVpp;
    channel.signal.frequencyHz = frequencyHz;
    channel.signal.phaseDegrees = phaseDegrees;
    channel.voltsPerDiv = voltsPerDiv;
    return channel;
}

ScopeSettings sweep(const ChannelSettings &channel, double secondsPerDiv, double levelVolts = 0.0)
{
    ScopeSettings s;
    s.channelI = channel;
    s.mode = DisplayMode::ChannelI;
    s.secondsPerDiv = secondsPerDiv;
    s.trigger.levelVolts = levelVolts;
    return s;
}

ScopeSettings xy(const ChannelSettings &vertical, const ChannelSettings &horizontal)
{
    ScopeSettings s;
    s.channelI = vertical;
    s.channelII = horizontal;
    s.mode = DisplayMode::XY;
    return s;
}

// Problem 7's sine: 3 div high, 8 div long, its trace starting 60° before the rising zero crossing.
constexpr double kSinePeakDivs = 3.0;
constexpr double kSinePeriodDivs = 8.0;
constexpr double kSineStartPhase = 60.0;

} // namespace

ScopeSettings problemScreen(int problem)
{
    switch (problem) {
    case 1:
        // 10 V peak is two divisions up and two down at 5 V/div; 1 kHz gives two periods.
        return sweep(sine(20.0, 1000.0, 5.0), 0.2e-3);
    case 2: {
        // A period of 6 div at 0.1 ms/div; channel II lags one division, that is 60°.
        ScopeSettings s = sweep(sine(6.0, 1.0 / 0.6e-3, 1.0), 0.1e-3);
        s.channelII = sine(4.0, 1.0 / 0.6e-3, 1.0, -60.0);
        s.mode = DisplayMode::Dual;
        return s;
    }
    case 3:
        // Vertical 2.5 div peak, phase asin(4/5): it crosses the vertical axis at ±2 div.
        return xy(sine(ellipseHeight, 1000.0, 1.0, std::asin(ellipseChord / ellipseHeight) * kDegrees),
            sine(6.0, 1000.0, 1.0));
    case 4:
        return sweep(sine(4.0, 1000.0 / 3.0, 1.0), 1e-3);
    case 5: {
        ChannelSettings triangle = sine(5.0, 1000.0 / 3.0, 1.0);
        triangle.signal.waveform = Waveform::Triangle;
        return sweep(triangle, 1e-3);
    }
    case 6:
        return sweep(sine(6.0, 1000.0 / 6.0, 1.0), 1e-3);
    case 7: {
        const double frequency = 1.0 / (kSinePeriodDivs * 1e-3);
        // Triggered on the rise at the level the sine has 60° before it crosses zero.
        const double level = -kSinePeakDivs * std::sin(kSineStartPhase / kDegrees);
        return sweep(sine(2.0 * kSinePeakDivs, frequency, 1.0), 1e-3, level);
    }
    default:
        return ScopeSettings {};
    }
}

ScopeSettings ellipseScreen()
{
    return xy(sine(5.0, 1000.0, 1.0, 45.0), sine(7.0, 1000.0, 1.0));
}

ScopeSettings lissajousScreen(double phaseDegrees)
{
    return xy(sine(6.0, 1000.0, 1.0, phaseDegrees), sine(6.0, 1000.0, 1.0));
}

ScopeSettings triggerLevelScreen(int index)
{
    return sweep(sine(6.0, 1000.0, 1.0), 0.2e-3, index == 0 ? 0.0 : 2.0);
}

QPointF SineFigure::toPixels(QPointF divisions) const
{
    const double perDiv = graticule.width() / ScreenGeometry::columns;
    return QPointF(
        graticule.center().x() + divisions.x() * perDiv, graticule.center().y() - divisions.y() * perDiv);
}

SineFigure sineFigure()
{
    SineFigure f;
    f.size = QSize(340, 250);
    // 20 px a division: the face with its overscan is 210 by 170.
    f.screenTarget = QRectF(20, 40, 210, 170);
    f.graticule = QRectF(25, 45, 200, 160);
    const SineMarks marks = sineMarks();
    const auto at = [&f](double x, double y) { return f.toPixels(QPointF(x, y)).toPoint(); };
    const QSize box(64, 21);
    // Right of the amplitude's mark, halfway up it.
    f.amplitudeBox = QRect(QPoint(252, (at(0, 0).y() + at(0, marks.peakY).y()) / 2 - box.height() / 2), box);
    // Under the middle of the period's mark.
    f.periodBox = QRect(
        QPoint((at(marks.firstRisingX, 0).x() + at(marks.secondRisingX, 0).x()) / 2 - box.width() / 2, 226),
        box);
    // Right of the phase's mark, above the screen.
    f.phaseBox = QRect(QPoint(at(marks.firstRisingX, 0).x() + 8, 16), box);
    return f;
}

SineMarks sineMarks()
{
    const double start = -5.0;
    const double firstRising = start + kSineStartPhase / 360.0 * kSinePeriodDivs;
    return SineMarks {
        .peakX = firstRising + kSinePeriodDivs / 4.0,
        .peakY = kSinePeakDivs,
        .firstRisingX = firstRising,
        .secondRisingX = firstRising + kSinePeriodDivs,
        .startX = start,
    };
}

} // namespace ExerciseFigures
