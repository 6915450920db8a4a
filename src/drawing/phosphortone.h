#pragma once

#include <QList>
#include <QRgb>

/**
 * How the phosphor's stored energy looks: the light it gives, saturating and whitening, its colour, and
 * the screen's own encoding of light; and the spreading of energy by the spot's profile.
 */
namespace PhosphorTone {

/** Light in each colour, linear, 0 to 1. */
struct Rgb
{
    double r, g, b;
};

/** How fast the colour whitens once the phosphor is past saturation: fully white at four times it. */
inline constexpr double whiteningSpan = 3.0;
/** The spot's profile is followed out to this many spreads. */
inline constexpr double spreads = 4.0;
/** The glass's halation, where it is fully lit. */
extern const Rgb glowColour;

/** Linear light as the 0–255 the screen shows it with, through its gamma of 2,2. */
int encoded(double light);
/** 1 − e^−x for x ≥ 0. */
double saturated(double x);
/** The light the phosphor gives for a stored density (in saturation energies), linear, and as the screen
 * shows it, premultiplied. */
Rgb linearShade(double density);
QRgb shade(double density);
/** Adds two premultiplied colours of light, each part at most full. */
QRgb added(QRgb a, QRgb b);
/** Spreads a buffer of w × h values by a Gaussian, both ways, in place. */
void spreadArea(float *values, int w, int h, qsizetype stride, double sigma, QList<float> &scratch);

} // namespace PhosphorTone
