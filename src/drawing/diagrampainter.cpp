#include "diagrampainter.h"

#include "tubepainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

QColor ReferenceStyle::ink()
{
    return QColor(34, 40, 52);
}

QColor ReferenceStyle::fill(BoxGroup group)
{
    switch (group) {
    case BoxGroup::Vertical:
        return QColor(224, 234, 250);
    case BoxGroup::Horizontal:
        return QColor(226, 244, 228);
    case BoxGroup::Supply:
        return QColor(252, 240, 216);
    case BoxGroup::Tube:
        return QColor(240, 246, 252);
    case BoxGroup::Neutral:
        break;
    }
    return QColor(240, 240, 240);
}

QColor ReferenceStyle::border(BoxGroup group)
{
    switch (group) {
    case BoxGroup::Vertical:
        return QColor(52, 84, 150);
    case BoxGroup::Horizontal:
        return QColor(40, 116, 64);
    case BoxGroup::Supply:
        return QColor(150, 104, 40);
    case BoxGroup::Tube:
        return QColor(70, 100, 130);
    case BoxGroup::Neutral:
        break;
    }
    return QColor(104, 104, 110);
}

QFont ReferenceStyle::labelFont(qreal pixelSize, bool bold, bool condensed)
{
    QFont font(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

namespace {

/** Room a text needs inside a block's border. */
const qreal kPadding = 3;

QFont fittedFont(const QString &text, const QRectF &room, qreal largest, bool bold)
{
    return DiagramPainter::fittingFont(text, room.width(), room.height(), largest, bold);
}

void drawCentredText(
    QPainter &p, const QRectF &room, const QString &text, qreal largest, bool bold, const QColor &colour)
{
    p.setFont(fittedFont(text, room, largest, bold));
    p.setPen(colour);
    p.drawText(room, Qt::AlignCenter, text);
}

void paintBlock(QPainter &p, const DiagramBox &b, const QString &text)
{
    const QRectF r = b.rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, ReferenceStyle::fill(b.group).lighter(106));
    shade.setColorAt(1, ReferenceStyle::fill(b.group).darker(104));
    // A soft drop shadow, as the light of the other pictures falls from the upper left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 28));
    p.drawRoundedRect(r.translated(1.5, 1.5), 4, 4);
    p.setPen(QPen(ReferenceStyle::border(b.group), 1.2));
    p.setBrush(shade);
    p.drawRoundedRect(r, 4, 4);
    drawCentredText(p, b.rect.adjusted(kPadding, 1, -kPadding, -1), text, 10, false, ReferenceStyle::ink());
}

void paintTerminal(QPainter &p, const DiagramBox &b, const QString &text)
{
    const QRectF r = b.rect.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(ReferenceStyle::ink(), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    drawCentredText(
        p, b.rect.adjusted(r.height() / 3, 0, -r.height() / 3, 0), text, 10, true, ReferenceStyle::ink());
}

/** A change-over switch: common contact on the right, two fixed contacts on the left, the lever between. */
void paintSwitchSymbol(QPainter &p, const QRectF &r)
{
    const QPointF pivot(r.right() - 2, r.center().y());
    const QPointF upper(r.left() + 2, r.top() + 2);
    const QPointF lower(r.left() + 2, r.bottom() - 2);
    p.setPen(QPen(ReferenceStyle::ink(), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, upper + QPointF(2.5, 1.2));
    p.setBrush(Qt::white);
    for (const QPointF &c : { pivot, upper, lower })
        p.drawEllipse(c, 1.8, 1.8);
}

void paintSwitch(QPainter &p, const DiagramBox &b, const QString &text)
{
    DiagramBox plain = b;
    const bool tall = b.rect.height() > 1.4 * b.rect.width();
    const qreal symbol = 14;
    if (tall) {
        // The symbol sits in the lower part, under the name.
        plain.rect = b.rect;
        paintBlock(p, DiagramBox { b.id, b.kind, b.group, b.rect, {} }, QString());
        const QRectF textRoom(b.rect.left() + kPadding, b.rect.top() + 2, b.rect.width() - 2 * kPadding,
            b.rect.height() - symbol - 10);
        drawCentredText(p, textRoom, text, 10, false, ReferenceStyle::ink());
        paintSwitchSymbol(p, QRectF(b.rect.center().x() - 8, b.rect.bottom() - symbol - 5, 16, symbol));
    } else {
        // The symbol sits at the right end, beside the name.
        paintBlock(p, DiagramBox { b.id, b.kind, b.group, b.rect, {} }, QString());
        const QRectF textRoom(b.rect.left() + kPadding, b.rect.top() + 1, b.rect.width() - 2 * kPadding - 20,
            b.rect.height() - 2);
        drawCentredText(p, textRoom, text, 10, false, ReferenceStyle::ink());
        paintSwitchSymbol(p, QRectF(b.rect.right() - 20, b.rect.center().y() - 7, 14, symbol));
    }
}

void paintPlates(QPainter &p, const DiagramBox &b, const QString &text)
{
    const QRectF r = b.rect;
    const qreal textHeight = 12;
    const QRectF pair(r.left() + 6, r.top() + 4, r.width() - 12, r.height() - textHeight - 6);
    QLinearGradient copper(pair.topLeft(), pair.bottomLeft());
    copper.setColorAt(0, QColor(236, 160, 90));
    copper.setColorAt(1, QColor(150, 80, 30));
    p.setPen(QPen(QColor(96, 50, 18), 0.8));
    p.setBrush(copper);
    p.drawRect(QRectF(pair.left(), pair.top(), pair.width(), 3.5));
    p.drawRect(QRectF(pair.left(), pair.bottom() - 3.5, pair.width(), 3.5));
    // The beam passes between them.
    QPen beam(QColor(30, 80, 220), 1.2);
    beam.setDashPattern({ 3, 2 });
    p.setPen(beam);
    p.drawLine(QPointF(r.left(), pair.center().y()), QPointF(r.right(), pair.center().y()));
    drawCentredText(p, QRectF(r.left() - 4, r.bottom() - textHeight, r.width() + 8, textHeight), text, 10,
        true, ReferenceStyle::ink());
}

/** A tube laid out to fit a rectangle, gun on the left, in the proportions of the description's tube. */
TubeLayout tubeIn(const QRectF &r)
{
    TubeLayout t;
    t.size = r.size();
    const qreal w = r.width(), h = r.height();
    t.axisY = r.top() + h * 0.5;
    t.neckLeft = r.left() + w * 0.03;
    t.neckRight = r.left() + w * 0.50;
    t.neckHalfHeight = h * 0.14;
    t.screenX = r.left() + w * 0.90;
    t.screenHalfHeight = h * 0.46;
    t.screenBulge = w * 0.05;
    const qreal g = t.neckHalfHeight;
    t.base = QRectF(t.neckLeft - 2, t.axisY - g * 0.45, 4, g * 0.9);
    t.filament = QRectF(t.neckLeft + 2, t.axisY - g * 0.3, w * 0.03, g * 0.6);
    t.cathode = QRectF(t.neckLeft + 3, t.axisY - g * 0.45, w * 0.04, g * 0.9);
    t.grid = QRectF(t.neckLeft + w * 0.05, t.axisY - g * 0.75, w * 0.05, g * 1.5);
    t.focusAnode = QRectF(t.neckLeft + w * 0.13, t.axisY - g * 0.7, w * 0.07, g * 1.4);
    t.acceleratingAnode = QRectF(t.neckLeft + w * 0.22, t.axisY - g * 0.7, w * 0.06, g * 1.4);
    t.verticalPlates = QRectF(t.neckLeft + w * 0.31, t.axisY - g * 0.75, w * 0.07, g * 1.5);
    t.horizontalPlates = QRectF(t.neckLeft + w * 0.40, t.axisY - g * 0.75, w * 0.06, g * 1.5);
    return t;
}

void paintTube(QPainter &p, const DiagramBox &b, const QString &text)
{
    const QRectF r = b.rect.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(ReferenceStyle::border(b.group), 1.2));
    p.setBrush(ReferenceStyle::fill(b.group));
    p.drawRoundedRect(r, 5, 5);
    const qreal textHeight = 13;
    const QRectF room = r.adjusted(4, 3, -4, -textHeight - 2);
    TubeState state;
    state.verticalDeflection = 0.35;
    state.plateNames = false;
    p.save();
    p.setClipRect(r);
    p.translate(room.topLeft());
    TubePainter::paint(p, tubeIn(QRectF(QPointF(0, 0), room.size())), state);
    p.restore();
    drawCentredText(p, QRectF(r.left(), r.bottom() - textHeight - 1, r.width(), textHeight), text, 10, true,
        ReferenceStyle::ink());
}

void paintArrowHead(QPainter &p, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length <= 0)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const qreal l = 6.5, half = 2.8;
    const QPolygonF head { tip, tip - u * l + n * half, tip - u * l - n * half };
    p.setPen(Qt::NoPen);
    p.setBrush(ReferenceStyle::ink());
    p.drawPolygon(head);
}

void paintArrow(QPainter &p, const QPolygonF &path, const DiagramArrow &a, Language language)
{
    if (path.size() < 2)
        return;
    QPen pen(ReferenceStyle::ink(), 1.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (a.dashed)
        pen.setDashPattern({ 4, 2.5 });
    // The line stops where the head begins, so the head's point stays sharp.
    QPolygonF line = path;
    const QPointF tip = path.last();
    const QPointF before = path.at(path.size() - 2);
    const QPointF d = tip - before;
    const qreal length = std::hypot(d.x(), d.y());
    if (length > 6)
        line.last() = tip - d / length * 5.5;
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
    paintArrowHead(p, tip, before);

    const QString label = a.label.in(language);
    if (label.isEmpty())
        return;
    // The label goes beside the longest run, to its right when the run is vertical, above it otherwise.
    int longest = 0;
    qreal best = -1;
    for (int i = 0; i + 1 < path.size(); ++i) {
        const QPointF run = path.at(i + 1) - path.at(i);
        const qreal l = std::hypot(run.x(), run.y());
        if (l > best) {
            best = l;
            longest = i;
        }
    }
    const QPointF s = path.at(longest), e = path.at(longest + 1);
    const QPointF middle = (s + e) / 2;
    QFont font = ReferenceStyle::labelFont(9.5);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(ReferenceStyle::ink());
    const QFontMetricsF fm(font);
    const qreal width = fm.horizontalAdvance(label);
    if (std::abs(s.x() - e.x()) < 0.5)
        p.drawText(
            QRectF(middle.x() + 3, middle.y() - 7, width + 2, 14), Qt::AlignLeft | Qt::AlignVCenter, label);
    else
        p.drawText(
            QRectF(middle.x() - width / 2 - 1, middle.y() - 14, width + 2, 13), Qt::AlignCenter, label);
}

} // namespace

QFont DiagramPainter::fittingFont(const QString &text, qreal width, qreal height, qreal largest, bool bold)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto fits = [&](const QFont &font) {
        const QFontMetricsF fm(font);
        bool inside = fm.lineSpacing() * lines.size() <= height + 1;
        for (const QString &line : lines)
            inside = inside && fm.horizontalAdvance(line) <= width;
        return inside;
    };
    for (qreal size = largest; size >= 9; size -= 0.5) {
        if (fits(ReferenceStyle::labelFont(size, bold)))
            return ReferenceStyle::labelFont(size, bold);
    }
    for (qreal size = largest; size > 6; size -= 0.5) {
        if (fits(ReferenceStyle::labelFont(size, bold, true)))
            return ReferenceStyle::labelFont(size, bold, true);
    }
    return ReferenceStyle::labelFont(6, bold, true);
}

void DiagramPainter::paint(QPainter &p, const Diagram &diagram, Language language)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const DiagramArrow &a : diagram.arrows)
        paintArrow(p, diagram.route(a), a, language);
    for (const DiagramBox &b : diagram.boxes) {
        const QString text = b.label.in(language);
        switch (b.kind) {
        case BoxKind::Block:
            paintBlock(p, b, text);
            break;
        case BoxKind::Terminal:
            paintTerminal(p, b, text);
            break;
        case BoxKind::Tube:
            paintTube(p, b, text);
            break;
        case BoxKind::Plates:
            paintPlates(p, b, text);
            break;
        case BoxKind::Switch:
            paintSwitch(p, b, text);
            break;
        }
    }
    for (const DiagramNote &n : diagram.notes) {
        QFont font = fittedFont(n.text.in(language), n.rect, 9.5, false);
        font.setItalic(n.italic);
        p.setFont(font);
        p.setPen(ReferenceStyle::ink());
        p.drawText(n.rect, n.alignment, n.text.in(language));
    }
    p.restore();
}

QImage DiagramPainter::render(const Diagram &diagram, Language language)
{
    QImage image(diagram.size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p, diagram, language);
    p.end();
    return image;
}
