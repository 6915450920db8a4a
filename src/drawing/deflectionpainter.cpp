#include "deflectionpainter.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

using namespace DeflectionDemo;

namespace {

// Side view layout, in pixels of the 282 by 114 frame.
constexpr double kAxisY = 46.0;
constexpr double kNeckLeft = 8.0;
constexpr double kNeckRight = 96.0;
constexpr double kNeckHalf = 13.0;
constexpr double kFaceX = 180.0;
constexpr double kSidePerCm = 10.0;
constexpr double kGunExit = 46.0;
constexpr double kYPlateLeft = 52.0;
constexpr double kYPlateRight = 68.0;
constexpr double kYPlateGap = 7.5;
constexpr double kXPlateLeft = 75.0;
constexpr double kXPlateRight = 91.0;
constexpr double kXPlateHalf = 10.0;
// Front view layout.
constexpr double kFrontCentreX = 235.0;
constexpr double kFrontPerCm = 7.0;

const QColor kPlus(214, 36, 36);
const QColor kMinus(30, 80, 220);
const QColor kPlateNeutral(150, 154, 160);
const QColor kBeam(140, 210, 255);
const QColor kText(24, 28, 36);

QFont pixelFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QColor signColour(double volts)
{
    return volts > 0.0 ? kPlus : kMinus;
}

QString signText(double volts)
{
    return volts > 0.0 ? QStringLiteral("+") : QStringLiteral("\u2212");
}

void drawSign(QPainter &p, QPointF centre, double volts)
{
    if (volts == 0.0)
        return;
    p.setFont(pixelFont(11, true));
    p.setPen(signColour(volts));
    p.drawText(QRectF(centre.x() - 6, centre.y() - 7, 12, 14), Qt::AlignCenter, signText(volts));
}

/** The glass envelope: neck, funnel and the slightly curved face. */
QPainterPath envelope()
{
    const double faceHalf = screenHalfHeightCm * kSidePerCm + 2.0;
    QPainterPath path;
    path.moveTo(kNeckLeft + 3, kAxisY - kNeckHalf);
    path.lineTo(kNeckRight, kAxisY - kNeckHalf);
    path.cubicTo(kNeckRight + 22, kAxisY - kNeckHalf - 6, kFaceX - 34, kAxisY - faceHalf + 3, kFaceX - 2,
        kAxisY - faceHalf);
    path.quadTo(kFaceX + 5, kAxisY, kFaceX - 2, kAxisY + faceHalf);
    path.cubicTo(kFaceX - 34, kAxisY + faceHalf - 3, kNeckRight + 22, kAxisY + kNeckHalf + 6, kNeckRight,
        kAxisY + kNeckHalf);
    path.lineTo(kNeckLeft + 3, kAxisY + kNeckHalf);
    path.quadTo(kNeckLeft - 1, kAxisY, kNeckLeft + 3, kAxisY - kNeckHalf);
    path.closeSubpath();
    return path;
}

/** Height of the beam above the axis at x, in pixels, for a spot at yCm on the face. */
double beamHeight(double x, double yCm)
{
    // Inside the plates the beam bends on a parabola; it leaves them on a straight line that
    // seems to come from the middle of the plates, so the spot lands exactly at yCm.
    const double length = kYPlateRight - kYPlateLeft;
    const double middle = (kYPlateLeft + kYPlateRight) / 2.0;
    const double slope = yCm * kSidePerCm / (kFaceX - middle);
    if (x <= kYPlateLeft)
        return 0.0;
    if (x <= kYPlateRight) {
        const double d = x - kYPlateLeft;
        return slope * d * d / (2.0 * length);
    }
    return slope * length / 2.0 + slope * (x - kYPlateRight);
}

void drawGun(QPainter &p)
{
    // Socket pins, heater and cathode, the control grid and two anodes.
    p.setPen(QPen(QColor(90, 90, 96), 1));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(2, kAxisY + i * 6), QPointF(kNeckLeft, kAxisY + i * 6));
    QRadialGradient heat(QPointF(14, kAxisY), 5);
    heat.setColorAt(0, QColor(255, 210, 120));
    heat.setColorAt(1, QColor(230, 90, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(heat);
    p.drawRect(QRectF(12, kAxisY - 4, 4, 8));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(170, 176, 184), 1.2));
    p.drawRect(QRectF(19, kAxisY - 7, 7, 14));
    for (double left : { 29.0, 38.0 }) {
        p.drawLine(QPointF(left, kAxisY - 8), QPointF(left + 6, kAxisY - 8));
        p.drawLine(QPointF(left, kAxisY + 8), QPointF(left + 6, kAxisY + 8));
        p.drawLine(QPointF(left + 3, kAxisY - 8), QPointF(left + 3, kAxisY - 2));
        p.drawLine(QPointF(left + 3, kAxisY + 2), QPointF(left + 3, kAxisY + 8));
    }
}

void drawGlow(QPainter &p, QPointF centre, double radius, double strength)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, QColor(230, 255, 230, int(255 * strength)));
    glow.setColorAt(0.25, QColor(90, 255, 120, int(220 * strength)));
    glow.setColorAt(1.0, QColor(40, 255, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

void drawSideView(QPainter &p, const Frame &frame)
{
    const QPainterPath glass = envelope();
    QLinearGradient inside(0, kAxisY - 40, 0, kAxisY + 40);
    inside.setColorAt(0.0, QColor(44, 52, 66));
    inside.setColorAt(0.5, QColor(22, 26, 36));
    inside.setColorAt(1.0, QColor(40, 48, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(inside);
    p.drawPath(glass);
    // The phosphor coating inside the face.
    const double faceHalf = screenHalfHeightCm * kSidePerCm;
    p.setPen(QPen(QColor(46, 110, 70), 2));
    p.drawLine(QPointF(kFaceX, kAxisY - faceHalf), QPointF(kFaceX, kAxisY + faceHalf));
    drawGun(p);

    const double pv = frame.voltages.vertical;
    const double ph = frame.voltages.horizontal;
    // Horizontal-deflection plates, seen from the side: the far one peeps out above and to the right.
    const QRectF nearPlate(kXPlateLeft, kAxisY - kXPlateHalf, kXPlateRight - kXPlateLeft, 2 * kXPlateHalf);
    const QRectF farPlate = nearPlate.translated(3, -3);
    const auto plateFill = [](double volts, bool positiveSide, int alpha) {
        QColor c = volts == 0.0 ? kPlateNeutral : ((volts > 0.0) == positiveSide ? kPlus : kMinus);
        c.setAlpha(alpha);
        return c;
    };
    p.setPen(QPen(QColor(200, 204, 210), 0.8));
    p.setBrush(plateFill(ph, true, 150));
    p.drawRect(farPlate);

    // The beam, drawn as far as it has travelled.
    const double endX = kGunExit + frame.beamReach * (kFaceX - kGunExit);
    QPainterPath beam;
    beam.moveTo(kGunExit - 28, kAxisY);
    for (double x = kGunExit; x <= endX + 1e-9; x += 0.5)
        beam.lineTo(x, kAxisY - beamHeight(std::min(x, endX), frame.spotCm.y()));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(kBeam.red(), kBeam.green(), kBeam.blue(), 70), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(beam);
    p.setPen(QPen(kBeam, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(beam);

    // The near horizontal plate is drawn see-through so the beam shows between the plates.
    p.setPen(QPen(QColor(210, 214, 220), 0.8));
    p.setBrush(plateFill(ph, false, 95));
    p.drawRect(nearPlate);

    // Vertical-deflection plates above and below the beam.
    p.setPen(Qt::NoPen);
    p.setBrush(plateFill(pv, true, 255));
    p.drawRect(QRectF(kYPlateLeft, kAxisY - kYPlateGap - 2, kYPlateRight - kYPlateLeft, 2));
    p.setBrush(plateFill(pv, false, 255));
    p.drawRect(QRectF(kYPlateLeft, kAxisY + kYPlateGap, kYPlateRight - kYPlateLeft, 2));

    p.setPen(QPen(QColor(150, 160, 172), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);

    if (frame.beamReach >= 1.0)
        drawGlow(p, QPointF(kFaceX, kAxisY - frame.spotCm.y() * kSidePerCm), 6.0, 1.0);

    // Plate names under the neck and the charge signs beside each plate.
    const double yMiddle = (kYPlateLeft + kYPlateRight) / 2.0;
    const double xMiddle = (kXPlateLeft + kXPlateRight) / 2.0;
    drawSign(p, QPointF(yMiddle, kAxisY - kNeckHalf - 6), pv);
    drawSign(p, QPointF(yMiddle, kAxisY + kNeckHalf + 6), -pv);
    // The far horizontal plate's sign stands above it; the near plate carries its own sign.
    drawSign(p, QPointF(xMiddle + 3, kAxisY - kNeckHalf - 6), ph);
    if (ph != 0.0) {
        p.setFont(pixelFont(11, true));
        p.setPen(Qt::white);
        p.drawText(QRectF(xMiddle - 6, kAxisY - 7, 12, 14), Qt::AlignCenter, signText(-ph));
    }
    p.setFont(pixelFont(10, true));
    p.setPen(kText);
    p.drawText(QRectF(yMiddle - 12, kAxisY + kNeckHalf + 13, 24, 13), Qt::AlignCenter, QStringLiteral("Pv"));
    p.drawText(QRectF(xMiddle - 12, kAxisY + kNeckHalf + 13, 24, 13), Qt::AlignCenter, QStringLiteral("Ph"));
}

void drawFrontView(QPainter &p, const Frame &frame)
{
    const QPointF centre = DeflectionPainter::frontCentre();
    const double halfW = screenHalfWidthCm * kFrontPerCm;
    const double halfH = screenHalfHeightCm * kFrontPerCm;
    const QRectF face(centre.x() - halfW, centre.y() - halfH, 2 * halfW, 2 * halfH);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 42, 46));
    p.drawRoundedRect(face.adjusted(-3, -3, 3, 3), 4, 4);
    QRadialGradient glass(centre, halfW * 1.2);
    glass.setColorAt(0, QColor(18, 36, 30));
    glass.setColorAt(1, QColor(6, 14, 12));
    p.setBrush(glass);
    p.drawRect(face);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(62, 88, 80), 1));
    for (int i = -4; i <= 4; ++i) {
        const double x = std::floor(centre.x() + i * kFrontPerCm) + 0.5;
        p.drawLine(QPointF(x, face.top()), QPointF(x, face.bottom() - 1));
    }
    for (int i = -3; i <= 3; ++i) {
        const double y = std::floor(centre.y() + i * kFrontPerCm) + 0.5;
        p.drawLine(QPointF(face.left(), y), QPointF(face.right() - 1, y));
    }
    p.setPen(QPen(QColor(92, 124, 112), 1));
    p.drawLine(QPointF(std::floor(centre.x()) + 0.5, face.top()),
        QPointF(std::floor(centre.x()) + 0.5, face.bottom() - 1));
    p.drawLine(QPointF(face.left(), std::floor(centre.y()) + 0.5),
        QPointF(face.right() - 1, std::floor(centre.y()) + 0.5));
    p.setRenderHint(QPainter::Antialiasing, true);

    const double pv = frame.voltages.vertical;
    const double ph = frame.voltages.horizontal;
    drawSign(p, QPointF(centre.x(), face.top() - 9), pv);
    drawSign(p, QPointF(centre.x(), face.bottom() + 9), -pv);
    drawSign(p, QPointF(face.right() + 8, centre.y()), ph);
    drawSign(p, QPointF(face.left() - 8, centre.y()), -ph);

    if (frame.beamReach < 1.0)
        return;
    p.save();
    p.setClipRect(face.adjusted(-2, -2, 2, 2));
    // Where the spot stood on the earlier frames, fading with age, then the spot itself.
    const int trail = int(frame.trailCm.size());
    for (int i = 0; i < trail; ++i) {
        // A spot that has not moved leaves no trail, so frames of a still spot stay identical.
        const QPointF earlier = frame.trailCm.at(i);
        if (std::hypot(earlier.x() - frame.spotCm.x(), earlier.y() - frame.spotCm.y()) < 0.05)
            continue;
        const double strength = 0.15 + 0.35 * double(i + 1) / std::max(1, trail);
        drawGlow(p, DeflectionPainter::frontSpot(earlier), 2.6, strength);
    }
    drawGlow(p, DeflectionPainter::frontSpot(frame.spotCm), 5.0, 1.0);
    p.restore();
}

void drawCaptions(QPainter &p, const Frame &frame)
{
    // The narrow face keeps the longest pair of captions ("Pv = -27,2 V → y = -1,94 cm") within their halves.
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(kText);
    const QRectF left(2, 98, 139, 14);
    const QRectF right(141, 98, 139, 14);
    if (frame.item < 0) {
        // The lead-in: the plates are not charged yet and the beam has not landed.
        p.drawText(left, Qt::AlignCenter, QStringLiteral("Pv = 0 V"));
        p.drawText(right, Qt::AlignCenter, QStringLiteral("Ph = 0 V"));
        return;
    }
    p.drawText(left, Qt::AlignCenter, verticalCaption(frame));
    p.drawText(right, Qt::AlignCenter, horizontalCaption(frame));
}

} // namespace

QPointF DeflectionPainter::frontCentre()
{
    return QPointF(kFrontCentreX, kAxisY);
}

double DeflectionPainter::frontPixelsPerCm()
{
    return kFrontPerCm;
}

QPointF DeflectionPainter::frontSpot(QPointF spotCm)
{
    return QPointF(std::floor(kFrontCentreX) + 0.5 + spotCm.x() * kFrontPerCm,
        std::floor(kAxisY) + 0.5 - spotCm.y() * kFrontPerCm);
}

void DeflectionPainter::paint(QPainter &painter, const QRectF &target, const Frame &frame)
{
    painter.save();
    painter.setClipRect(target);
    painter.translate(target.topLeft());
    painter.scale(target.width() / frameWidth, target.height() / frameHeight);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, frameWidth, frameHeight), Qt::white);
    drawSideView(painter, frame);
    drawFrontView(painter, frame);
    drawCaptions(painter, frame);
    painter.restore();
}

QImage DeflectionPainter::render(const Frame &frame, QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())), frame);
    return image;
}
