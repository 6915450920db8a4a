#include "phosphortone.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace PhosphorTone {

namespace {

/** P31 green, where the phosphor is lightly excited, and the near-white of a saturated trace, as the
 * light a fully lit phosphor gives (linear, 0 to 1; the screen's own encoding is applied at the end). */
Rgb linear(double r, double g, double b)
{
    return { std::pow(r / 255.0, 2.2), std::pow(g / 255.0, 2.2), std::pow(b / 255.0, 2.2) };
}
const Rgb kGreen = linear(70.0, 255.0, 120.0);
const Rgb kWhite = linear(236.0, 255.0, 236.0);

/** Light, linear from 0 to 1, as the 0–255 a screen shows it with (its gamma of 2,2): the eye sees a
 * faint trace much as the encoded value looks, not as the bare share of light. */
class Encoding
{
public:
    Encoding()
    {
        for (int i = 0; i < kSize; ++i)
            m_table[std::size_t(i)]
                = std::uint8_t(std::lround(255.0 * std::pow(double(i) / (kSize - 1), 1.0 / 2.2)));
    }
    int operator()(double light) const
    {
        return m_table[std::size_t(std::clamp(int(light * (kSize - 1) + 0.5), 0, kSize - 1))];
    }

private:
    static constexpr int kSize = 4096;
    std::array<std::uint8_t, kSize> m_table {};
};

/** 1 − e^−x for x ≥ 0, by table: the tone map runs over every lit pixel of every frame. */
class Saturation
{
public:
    Saturation()
    {
        for (int i = 0; i < kSize; ++i)
            m_table[std::size_t(i)] = float(1.0 - std::exp(-double(i) / kPerUnit));
    }
    double operator()(double x) const
    {
        if (!(x > 0.0))
            return 0.0;
        const double at = x * kPerUnit;
        if (at >= kSize - 1)
            return 1.0 - std::exp(-x);
        const int i = int(at);
        const double k = at - i;
        return m_table[std::size_t(i)] * (1.0 - k) + m_table[std::size_t(i + 1)] * k;
    }

private:
    static constexpr int kSize = 2048;
    static constexpr double kPerUnit = 128.0;
    std::array<float, kSize> m_table {};
};

/** The colour the phosphor gives for a stored energy density (in saturation energies), as the screen
 * shows it, by table: the light rises as 1 − e^−density, whitening past saturation. */
class Shades
{
public:
    Shades()
    {
        const Encoding encoded;
        for (int i = 0; i < kSize; ++i) {
            const Rgb c = linearAt(double(i) / kPerUnit);
            const int r = encoded(c.r);
            const int g = encoded(c.g);
            const int b = encoded(c.b);
            m_table[std::size_t(i)] = qRgba(r, g, b, std::max({ r, g, b }));
        }
    }
    /** The linear light, each colour 0 to 1. */
    static Rgb linearAt(double density)
    {
        const double lit = density > 0.0 ? 1.0 - std::exp(-density) : 0.0;
        const double white = std::clamp((density - 1.0) / whiteningSpan, 0.0, 1.0);
        return { lit * (kGreen.r + (kWhite.r - kGreen.r) * white),
            lit * (kGreen.g + (kWhite.g - kGreen.g) * white),
            lit * (kGreen.b + (kWhite.b - kGreen.b) * white) };
    }
    QRgb operator()(double density) const
    {
        return m_table[std::size_t(std::clamp(int(density * kPerUnit + 0.5), 0, kSize - 1))];
    }

private:
    /** Fine enough that neighbouring entries differ by less than a step of the screen's shades; past the
     * end the phosphor is as white as it gets. */
    static constexpr int kSize = 8192;
    static constexpr double kPerUnit = 512.0;
    std::array<QRgb, kSize> m_table {};
};

/** A Gaussian's weights out to four spreads, summing to one: far enough that a saturated spot's bloom
 * fades out round, not at a square's edge. */
QList<float> gaussian(double sigma)
{
    const int radius = std::max(1, int(std::ceil(spreads * sigma)));
    QList<float> weights(2 * radius + 1);
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        const double w = std::exp(-0.5 * i * i / (sigma * sigma));
        weights[i + radius] = float(w);
        sum += w;
    }
    for (float &w : weights)
        w = float(w / sum);
    return weights;
}

/** Spreads values along one line of a buffer (stride apart) by a profile, in place; what is zero gives
 * nothing, so a sparse line costs little. */
void spreadLine(float *line, int count, qsizetype stride, const QList<float> &weights, QList<float> &scratch)
{
    scratch.fill(0.0f, count);
    const int radius = int(weights.size() / 2);
    for (int j = 0; j < count; ++j) {
        const float v = line[j * stride];
        if (v == 0.0f)
            continue;
        const int lo = std::max(0, j - radius);
        const int hi = std::min(count - 1, j + radius);
        for (int i = lo; i <= hi; ++i)
            scratch[i] += weights[i - j + radius] * v;
    }
    for (int i = 0; i < count; ++i)
        line[i * stride] = scratch[i];
}

const Saturation &saturationTable()
{
    static const Saturation table;
    return table;
}

} // namespace

const Rgb glowColour = linear(40.0, 200.0, 90.0);

int encoded(double light)
{
    static const Encoding table;
    return table(light);
}

double saturated(double x)
{
    return saturationTable()(x);
}

Rgb linearShade(double density)
{
    return Shades::linearAt(density);
}

QRgb shade(double density)
{
    static const Shades table;
    return table(density);
}

/** Adds two premultiplied colours of light, each part at most full. */
QRgb added(QRgb a, QRgb b)
{
    return qRgba(std::min(255, qRed(a) + qRed(b)), std::min(255, qGreen(a) + qGreen(b)),
        std::min(255, qBlue(a) + qBlue(b)), std::min(255, qAlpha(a) + qAlpha(b)));
}

/** Spreads a buffer of w × h values by a Gaussian, both ways, in place: along each row that holds
 * anything, then down the columns a whole row at a time. */
void spreadArea(float *values, int w, int h, qsizetype stride, double sigma, QList<float> &scratch)
{
    const QList<float> weights = gaussian(std::max(sigma, 0.3));
    const int radius = int(weights.size() / 2);
    QList<char> holds(h, 0);
    for (int y = 0; y < h; ++y) {
        float *row = values + qsizetype(y) * stride;
        if (std::any_of(row, row + w, [](float v) { return v != 0.0f; })) {
            holds[y] = 1;
            spreadLine(row, w, 1, weights, scratch);
        }
    }
    QList<float> out(qsizetype(w) * h, 0.0f);
    for (int y = 0; y < h; ++y) {
        if (!holds[y])
            continue;
        const float *row = values + qsizetype(y) * stride;
        const int lo = std::max(0, y - radius);
        const int hi = std::min(h - 1, y + radius);
        for (int t = lo; t <= hi; ++t) {
            const float k = weights[y - t + radius];
            float *target = out.data() + qsizetype(t) * w;
            for (int x = 0; x < w; ++x)
                target[x] += k * row[x];
        }
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(out.constData() + qsizetype(y) * w, w, values + qsizetype(y) * stride);
}

} // namespace PhosphorTone
