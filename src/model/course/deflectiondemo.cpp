#include "deflectiondemo.h"

#include "decimalformat.h"

#include <algorithm>
#include <cmath>

namespace DeflectionDemo {

const QList<Option> &options()
{
    static const QList<Option> list {
        { QStringLiteral("Pv = 0 V, Ph = 0V"), { 0.0, 0.0 }, 0, 9 },
        { QStringLiteral("Pv = 50 V, Ph = 80 V"), { 50.0, 80.0 }, 10, 8 },
        { QStringLiteral("Pv = 50V, Ph =160 V"), { 50.0, 160.0 }, 20, 9 },
        { QStringLiteral("Ph =120 V, Pv = 20V"), { 20.0, 120.0 }, 40, 9 },
        { QStringLiteral("Ph = 120 V, Pv = -35 V"), { -35.0, 120.0 }, 50, 9 },
    };
    return list;
}

double deflectionCm(double volts, double voltsPerCm)
{
    if (!std::isfinite(volts) || !std::isfinite(voltsPerCm) || voltsPerCm == 0.0)
        return 0.0;
    return volts / voltsPerCm;
}

QPointF spotPosition(const PlateVoltages &voltages)
{
    return QPointF(deflectionCm(voltages.horizontal, horizontalVoltsPerCm),
        deflectionCm(voltages.vertical, verticalVoltsPerCm));
}

bool onScreen(QPointF spotCm)
{
    const double margin = 1e-9;
    return std::abs(spotCm.x()) <= screenHalfWidthCm + margin
        && std::abs(spotCm.y()) <= screenHalfHeightCm + margin;
}

QStringList leadInFiles()
{
    QStringList files;
    for (int i = 1; i <= leadInFrameCount; ++i)
        files.append(QStringLiteral("cat%1.bmp").arg(i));
    return files;
}

QStringList caseFiles(int item)
{
    if (item < 0 || item >= options().size())
        return {};
    const Option &option = options().at(item);
    QStringList files;
    for (int i = 0; i < option.frameCount; ++i)
        files.append(QStringLiteral("caso%1.bmp").arg(option.firstFileNumber + i, 2, 10, QLatin1Char('0')));
    return files;
}

QStringList allFrameFiles()
{
    QStringList files = leadInFiles();
    for (int item = 0; item < options().size(); ++item)
        files += caseFiles(item);
    return files;
}

Frame leadInFrame(int step)
{
    step = std::clamp(step, 1, leadInFrameCount);
    Frame frame;
    frame.fileName = leadInFiles().at(step - 1);
    frame.step = step;
    frame.beamReach = double(step) / leadInFrameCount;
    return frame;
}

Frame caseFrame(int item, int step)
{
    Frame frame;
    if (item < 0 || item >= options().size())
        return frame;
    const Option &option = options().at(item);
    step = std::clamp(step, 1, option.frameCount);
    frame.fileName = caseFiles(item).at(step - 1);
    frame.item = item;
    frame.step = step;
    frame.beamReach = 1.0;
    // The plates charge in equal steps, so the spot moves by equal steps along a straight line.
    const auto chargedAt = [&option](int k) {
        const double fraction = double(k) / option.frameCount;
        return PlateVoltages { option.voltages.vertical * fraction, option.voltages.horizontal * fraction };
    };
    frame.voltages = chargedAt(step);
    frame.spotCm = spotPosition(frame.voltages);
    for (int k = 0; k < step; ++k)
        frame.trailCm.append(spotPosition(chargedAt(k)));
    return frame;
}

QList<Frame> allFrames()
{
    QList<Frame> frames;
    for (int step = 1; step <= leadInFrameCount; ++step)
        frames.append(leadInFrame(step));
    for (int item = 0; item < options().size(); ++item) {
        for (int step = 1; step <= options().at(item).frameCount; ++step)
            frames.append(caseFrame(item, step));
    }
    return frames;
}

namespace {

// The captions give the plates' voltages to a tenth of a volt and the spot's place to a hundredth of a
// centimetre, every place written ("x = 2,50 cm") except for a whole number ("x = 5 cm").
constexpr DecimalStyle kVolts { .decimals = 1, .zeros = TrailingZeros::KeepUnlessWhole };
constexpr DecimalStyle kCentimetres { .decimals = 2, .zeros = TrailingZeros::KeepUnlessWhole };

} // namespace

QString verticalCaption(const Frame &frame)
{
    return QStringLiteral("Pv = %1 V \u2192 y = %2 cm")
        .arg(formatDecimal(frame.voltages.vertical, kVolts), formatDecimal(frame.spotCm.y(), kCentimetres));
}

QString horizontalCaption(const Frame &frame)
{
    return QStringLiteral("Ph = %1 V \u2192 x = %2 cm")
        .arg(formatDecimal(frame.voltages.horizontal, kVolts), formatDecimal(frame.spotCm.x(), kCentimetres));
}

} // namespace DeflectionDemo
