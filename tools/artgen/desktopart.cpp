#include "artgen.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

/**
 * The application icon for desktop menus at any size: the same oscilloscope as the window icon
 * (grey case, black screen with two green square waves, red knobs), drawn in vector form so that
 * it stays crisp from 16 to 256 pixels.
 */
QImage drawDesktopIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // Feet and case.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(3, 26.5, 4, 2.5), 0.6, 0.6);
    p.drawRoundedRect(QRectF(25, 26.5, 4, 2.5), 0.6, 0.6);
    QLinearGradient body(0, 4, 0, 28);
    body.setColorAt(0, QColor(222, 222, 222));
    body.setColorAt(1, QColor(160, 160, 160));
    p.setPen(QPen(QColor(30, 30, 30), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.4, 4.4, 29.2, 23), 2, 2);

    // Screen with its bezel and graticule.
    const QRectF screen(4, 8, 15, 15);
    p.setPen(QPen(QColor(110, 110, 110), 1.2));
    p.setBrush(QColor(8, 18, 10));
    p.drawRoundedRect(screen, 1.2, 1.2);
    p.setPen(QPen(QColor(0, 110, 40), 0.18));
    for (int i = 1; i < 5; ++i) {
        p.drawLine(QPointF(screen.left() + i * 3, screen.top() + 0.6),
            QPointF(screen.left() + i * 3, screen.bottom() - 0.6));
        p.drawLine(QPointF(screen.left() + 0.6, screen.top() + i * 3),
            QPointF(screen.right() - 0.6, screen.top() + i * 3));
    }

    // Two square-wave traces, the upper one faster, with a soft glow.
    const auto squareWave = [](qreal top, qreal bottom, qreal halfPeriod, bool startHigh) {
        QPainterPath path;
        qreal level = startHigh ? top : bottom;
        path.moveTo(5, level);
        for (qreal x = 5; x < 18; x += halfPeriod) {
            const qreal next = qMin(x + halfPeriod, 18.0);
            path.lineTo(next, level);
            if (next < 18) {
                level = level == top ? bottom : top;
                path.lineTo(next, level);
            }
        }
        return path;
    };
    const QPainterPath traces[] = { squareWave(10, 13.5, 3.25, true), squareWave(16.5, 20.5, 6.5, false) };
    for (const QPainterPath &trace : traces) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(40, 255, 90, 70), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(trace);
        p.setPen(QPen(QColor(90, 255, 120), 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(trace);
    }

    // Red knobs with a pointer line, then a lamp and two push buttons.
    for (const QPointF centre : { QPointF(24.5, 10.5), QPointF(24.5, 18) }) {
        QRadialGradient knob(centre - QPointF(1, 1), 4);
        knob.setColorAt(0, QColor(255, 90, 80));
        knob.setColorAt(1, QColor(150, 0, 0));
        p.setPen(QPen(QColor(30, 0, 0), 0.5));
        p.setBrush(knob);
        p.drawEllipse(centre, 3.5, 3.5);
        p.setPen(QPen(Qt::white, 0.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre - QPointF(0, 2.6));
    }
    p.setPen(QPen(QColor(30, 30, 30), 0.4));
    p.setBrush(QColor(60, 220, 60));
    p.drawEllipse(QPointF(28, 6.8), 0.8, 0.8);
    p.setBrush(QColor(235, 235, 235));
    p.drawRoundedRect(QRectF(21, 22.8, 2.4, 2.2), 0.4, 0.4);
    p.drawRoundedRect(QRectF(25, 22.8, 2.4, 2.2), 0.4, 0.4);
    return image;
}

} // namespace

void generateDesktopArt(const QDir &iconTheme)
{
    // The sizes desktop menus, launchers and software centres ask for.
    for (const int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        iconTheme.mkpath(folder);
        drawDesktopIcon(size).save(iconTheme.filePath(folder + QStringLiteral("/es.vantela.Vantela.png")));
    }
}
