#include "schematicpainter.h"

#include "circuit.h"
#include "decimalformat.h"
#include "diagrampainter.h"
#include "hm203.h"
#include "wording.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>

namespace ComponentValue {

std::optional<double> spiceNumber(const QString &text)
{
    // SPICE's scale letters, longest first: "meg" before "m"; any letters after them are a unit, ignored.
    static const QRegularExpression number(
        QStringLiteral(R"(^([+-]?(?:\d+\.?\d*|\.\d+)(?:e[+-]?\d+)?)(meg|mil|[fpnumkgt])?[a-z]*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double mantissa = match.captured(1).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    static const QHash<QString, double> scale { { QStringLiteral("f"), 1e-15 },
        { QStringLiteral("p"), 1e-12 }, { QStringLiteral("n"), 1e-9 }, { QStringLiteral("u"), 1e-6 },
        { QStringLiteral("m"), 1e-3 }, { QStringLiteral("mil"), 25.4e-6 }, { QStringLiteral("k"), 1e3 },
        { QStringLiteral("meg"), 1e6 }, { QStringLiteral("g"), 1e9 }, { QStringLiteral("t"), 1e12 } };
    return mantissa * scale.value(match.captured(2).toLower(), 1.0);
}

QString withUnit(double value, const QString &unit)
{
    static const std::pair<double, const char16_t *> prefixes[] { { 1e9, u"G" }, { 1e6, u"M" }, { 1e3, u"k" },
        { 1.0, u"" }, { 1e-3, u"m" }, { 1e-6, u"µ" }, { 1e-9, u"n" }, { 1e-12, u"p" } };
    const double size = std::abs(value);
    for (const auto &[factor, prefix] : prefixes) {
        // A hair under the step still takes the prefix: 999,9999 nF is 1 µF as SPICE rounds it.
        if (size >= factor * (1.0 - 1e-9) || factor == 1e-12)
            return formatDecimal(value / factor, { .significantDigits = 3 }) + QLatin1Char(' ')
                + QString::fromUtf16(prefix) + unit;
    }
    return {};
}

QString ofLine(const QString &line)
{
    const QStringList words = line.split(QRegularExpression(QStringLiteral(R"(\s+)")), Qt::SkipEmptyParts);
    if (words.size() < 4)
        return {};
    const QChar kind = words.at(0).at(0).toUpper();
    if (kind == u'D') {
        // A diode's model is named after its type, as "D1N4007" for the 1N4007.
        const QString model = words.at(3);
        return model.size() > 1 && model.at(0).toUpper() == u'D' && model.at(1).isDigit() ? model.mid(1)
                                                                                          : model;
    }
    const QString unit = kind == u'R' ? QStringLiteral("Ω")
        : kind == u'C'                ? QStringLiteral("F")
        : kind == u'L'                ? QStringLiteral("H")
                                      : QString();
    if (unit.isEmpty())
        return {};
    const std::optional<double> value = spiceNumber(words.at(3));
    return value ? withUnit(*value, unit) : QString();
}

QHash<QString, QString> ofNetlist(const QStringList &netlist)
{
    QHash<QString, QString> values;
    for (const QString &line : netlist) {
        const QString value = ofLine(line);
        if (!value.isEmpty())
            values.insert(line.trimmed().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty), value);
    }
    return values;
}

} // namespace ComponentValue

namespace {

enum class Symbol { Resistor, Capacitor, Inductor, Diode };

/** A component between two points of the layout's grid; a diode's anode is at from. */
struct Placed
{
    Symbol symbol;
    QString element;
    QPointF from;
    QPointF to;
    /** Its name only, its value told in the layout's note (the bridge's four diodes). */
    bool nameOnly = false;
};

/** A circuit's drawing on a grid of units: parts, wires, the generator, grounds and the probes' tips. */
struct Layout
{
    qreal width = 0;
    qreal height = 0;
    QList<Placed> parts;
    QList<QPolygonF> wires;
    QList<QPointF> dots;
    /** The generator's output I: a source between its top (the output) and its bottom (ground). */
    QPointF sourceTop;
    QPointF sourceBottom;
    QList<QPointF> grounds;
    QPointF probeI;
    QPointF probeII;
    /** An ideal 1:1 isolating transformer, its primary on the left of centre and its secondary on the right.
     */
    std::optional<QPointF> transformer;
    /** Where the bridge's diamond is centred, which its diodes' names keep away from. */
    QPointF diamondCentre;
    /** The netlist's elements the transformer's symbol stands for. */
    QStringList transformerElements;
    /** The element whose value the note gives for all the diodes drawn by name only. */
    QString noteElement;
};

constexpr qreal kTop = 1.0;
constexpr qreal kBottom = 4.6;
constexpr qreal kSourceX = 2.4;

/** Output I on the left, the series parts along the top, the shunt parts down to ground at the right:
 * CH I on the generator's side, CH II at the output. */
Layout seriesShunt(
    const QList<std::pair<Symbol, QString>> &series, const QList<std::pair<Symbol, QString>> &shunts)
{
    Layout l;
    l.sourceTop = { kSourceX, kTop };
    l.sourceBottom = { kSourceX, kBottom };
    qreal x = kSourceX + 1.1;
    l.probeI = { x, kTop };
    l.wires << QPolygonF({ l.sourceTop, QPointF(x, kTop) });
    for (const auto &[symbol, element] : series) {
        l.parts << Placed { symbol, element, { x, kTop }, { x + 2.6, kTop } };
        x += 2.6;
    }
    l.probeII = { x, kTop };
    qreal last = x;
    for (qsizetype i = 0; i < shunts.size(); ++i) {
        const qreal at = x + 2.2 * qreal(i);
        l.parts << Placed { shunts.at(i).first, shunts.at(i).second, { at, kTop }, { at, kBottom } };
        if (i > 0)
            l.dots << QPointF(x, kTop) << QPointF(x, kBottom);
        last = at;
    }
    l.wires << QPolygonF({ QPointF(x, kTop), QPointF(last, kTop) });
    l.wires << QPolygonF({ l.sourceBottom, QPointF(last, kBottom) });
    l.grounds << QPointF((kSourceX + x) / 2, kBottom);
    l.dots << QPointF((kSourceX + x) / 2, kBottom);
    l.width = last + 2.6;
    l.height = kBottom + 1.0;
    return l;
}

/** Output I into the isolating transformer, the four diodes as a diamond, the load (and its capacitor)
 * from the bridge's positive corner down to ground, which is its negative corner. */
Layout bridge(bool filter)
{
    Layout l;
    // Drawn from a source at 1.9, then moved right to where every layout's source is.
    const qreal source = 1.9;
    l.sourceTop = { source, kTop };
    l.sourceBottom = { source, kBottom };
    l.probeI = { 3.0, kTop };
    l.transformer = QPointF(3.75, (kTop + kBottom) / 2);
    // The ideal transformer's source, its current sense and its path to ground for DC.
    l.transformerElements
        = { QStringLiteral("ET"), QStringLiteral("VT"), QStringLiteral("FT"), QStringLiteral("RT") };
    const qreal primary = 3.4;
    const qreal secondary = 4.1;
    l.wires << QPolygonF({ l.sourceTop, QPointF(primary, kTop), QPointF(primary, 2.0) })
            << QPolygonF({ QPointF(primary, 3.6), QPointF(primary, kBottom), l.sourceBottom });
    l.grounds << QPointF(2.65, kBottom);
    l.dots << QPointF(2.65, kBottom);
    // The diamond: the secondary's ends at its top and bottom corners, + on the right, − on the left.
    const QPointF top(6.6, 1.6), bottom(6.6, 4.0), left(5.4, 2.8), right(7.8, 2.8);
    l.diamondCentre = { 6.6, 2.8 };
    l.wires << QPolygonF({ QPointF(secondary, 2.0), QPointF(secondary, kTop), QPointF(top.x(), kTop), top })
            << QPolygonF({ QPointF(secondary, 3.6), QPointF(secondary, kBottom), QPointF(bottom.x(), kBottom),
                   bottom });
    l.parts << Placed { Symbol::Diode, QStringLiteral("D1"), top, right, true }
            << Placed { Symbol::Diode, QStringLiteral("D2"), bottom, right, true }
            << Placed { Symbol::Diode, QStringLiteral("D3"), left, top, true }
            << Placed { Symbol::Diode, QStringLiteral("D4"), left, bottom, true };
    l.noteElement = QStringLiteral("D1");
    l.wires << QPolygonF({ left, QPointF(4.7, left.y()) });
    l.grounds << QPointF(4.7, left.y());
    // The load, from + to the ground below it.
    const qreal load = 8.9;
    const qreal low = 5.2;
    l.wires << QPolygonF({ right, QPointF(load, right.y()) });
    l.probeII = { load, 2.2 };
    qreal last = load;
    l.parts << Placed { Symbol::Resistor, QStringLiteral("RL"), { load, 2.2 }, { load, low } };
    l.wires << QPolygonF({ QPointF(load, 2.2), QPointF(load, right.y()) });
    if (filter) {
        last = load + 2.2;
        l.parts << Placed { Symbol::Capacitor, QStringLiteral("CF"), { last, 2.2 }, { last, low } };
        l.wires << QPolygonF({ QPointF(load, 2.2), QPointF(last, 2.2) })
                << QPolygonF({ QPointF(load, low), QPointF(last, low) });
        l.dots << QPointF(load, 2.2) << QPointF(load, low);
    }
    l.dots << QPointF(load, right.y());
    l.grounds << QPointF(load, low);
    l.width = last + 2.6;
    l.height = low + 0.9;
    const QPointF by(kSourceX - source, 0);
    for (Placed &part : l.parts) {
        part.from += by;
        part.to += by;
    }
    for (QPolygonF &wire : l.wires)
        wire.translate(by);
    for (QList<QPointF> *points : { &l.dots, &l.grounds })
        for (QPointF &point : *points)
            point += by;
    for (QPointF *point : { &l.sourceTop, &l.sourceBottom, &l.probeI, &l.probeII, &l.diamondCentre })
        *point += by;
    *l.transformer += by;
    l.width += by.x();
    return l;
}

const QHash<QString, Layout> &layoutTable()
{
    using S = Symbol;
    const auto e = [](S s, const char *name) { return std::pair { s, QString::fromLatin1(name) }; };
    static const QHash<QString, Layout> table {
        { QStringLiteral("media_onda"), seriesShunt({ e(S::Diode, "D1") }, { e(S::Resistor, "RL") }) },
        { QStringLiteral("media_onda_filtro"),
            seriesShunt({ e(S::Diode, "D1") }, { e(S::Resistor, "RL"), e(S::Capacitor, "CF") }) },
        { QStringLiteral("puente"), bridge(false) },
        { QStringLiteral("puente_filtro"), bridge(true) },
        { QStringLiteral("paso_bajo"), seriesShunt({ e(S::Resistor, "R1") }, { e(S::Capacitor, "C1") }) },
        { QStringLiteral("paso_alto"), seriesShunt({ e(S::Capacitor, "C1") }, { e(S::Resistor, "R1") }) },
        { QStringLiteral("rlc_serie"),
            seriesShunt({ e(S::Inductor, "L1"), e(S::Capacitor, "C1") }, { e(S::Resistor, "R1") }) },
        { SchematicPainter::practiceCircuit, seriesShunt({ e(S::Capacitor, "C") }, { e(S::Resistor, "R") }) },
    };
    return table;
}

/** The body of a symbol along the x axis, centred on 0, in units. */
constexpr qreal kBody = 1.2;

/** Text in a box of the grid, at a size in pixels: the painter's scale moves it, but leaves its type as set.
 */
void drawLabel(
    QPainter &p, const QRectF &box, int align, const QString &text, qreal pixels, bool bold = false)
{
    const QRectF placed = p.transform().mapRect(box);
    p.save();
    p.resetTransform();
    p.setFont(ReferenceStyle::labelFont(pixels, bold));
    p.drawText(placed, align, text);
    p.restore();
}

void drawSymbol(QPainter &p, Symbol symbol)
{
    const qreal h = kBody / 2;
    switch (symbol) {
    case Symbol::Resistor:
        p.drawRect(QRectF(-h, -0.22, kBody, 0.44));
        return;
    case Symbol::Capacitor:
        p.drawLine(QPointF(-h, 0), QPointF(-0.1, 0));
        p.drawLine(QPointF(-0.1, -0.4), QPointF(-0.1, 0.4));
        p.drawLine(QPointF(0.1, -0.4), QPointF(0.1, 0.4));
        p.drawLine(QPointF(0.1, 0), QPointF(h, 0));
        return;
    case Symbol::Inductor: {
        QPainterPath coil(QPointF(-h, 0));
        const qreal turn = kBody / 4;
        for (int i = 0; i < 4; ++i)
            coil.arcTo(QRectF(-h + turn * i, -turn / 2, turn, turn), 180, -180);
        p.drawPath(coil);
        return;
    }
    case Symbol::Diode: {
        p.drawLine(QPointF(-h, 0), QPointF(-0.3, 0));
        const QPolygonF triangle({ QPointF(-0.3, -0.3), QPointF(-0.3, 0.3), QPointF(0.25, 0) });
        p.setBrush(p.pen().color());
        p.drawPolygon(triangle);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(0.25, -0.3), QPointF(0.25, 0.3));
        p.drawLine(QPointF(0.25, 0), QPointF(h, 0));
        return;
    }
    }
}

/** A part: its leads to both points and its symbol midway, its name and value beside it. */
void drawPart(QPainter &p, const Placed &part, const QString &value, qreal fontSize, QPointF diamondCentre)
{
    const QLineF line(part.from, part.to);
    const QPointF middle = line.center();
    const qreal half = line.length() / 2;
    p.save();
    p.translate(middle);
    p.rotate(-line.angle());
    p.drawLine(QPointF(-half, 0), QPointF(-kBody / 2, 0));
    p.drawLine(QPointF(kBody / 2, 0), QPointF(half, 0));
    drawSymbol(p, part.symbol);
    p.restore();

    const QString text = part.nameOnly || value.isEmpty() ? part.element : part.element + u'\n' + value;
    const bool upright = std::abs(line.dx()) < std::abs(line.dy()) / 2;
    const bool level = std::abs(line.dy()) < std::abs(line.dx()) / 2;
    QRectF box;
    Qt::Alignment align;
    if (upright) {
        box = QRectF(middle.x() + 0.5, middle.y() - 1, 2.4, 2);
        align = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (level) {
        // Under the wire, inside the loop, where the probes' names above leave it room.
        box = QRectF(middle.x() - 1.3, middle.y() + 0.3, 2.6, 1.2);
        align = Qt::AlignHCenter | Qt::AlignTop;
    } else {
        // A diagonal diode: its name outside the diamond.
        box = QRectF(middle + (middle - diamondCentre) * 0.75 - QPointF(0.6, 0.3), QSizeF(1.2, 0.6));
        align = Qt::AlignCenter;
    }
    drawLabel(p, box, int(align), text, fontSize);
}

void drawGround(QPainter &p, QPointF at)
{
    p.drawLine(at, at + QPointF(0, 0.3));
    for (int i = 0; i < 3; ++i) {
        const qreal half = 0.4 - 0.13 * i;
        const qreal y = at.y() + 0.3 + 0.14 * i;
        p.drawLine(QPointF(at.x() - half, y), QPointF(at.x() + half, y));
    }
}

void drawDot(QPainter &p, QPointF at)
{
    p.save();
    p.setBrush(p.pen().color());
    p.drawEllipse(at, 0.09, 0.09);
    p.restore();
}

/** A probe's tip on a node: an open ring, a lead up and the channel's name. */
void drawProbe(QPainter &p, QPointF at, const QString &channel, qreal fontSize)
{
    const QPointF head = at - QPointF(0, 0.55);
    p.drawLine(at - QPointF(0, 0.12), head);
    p.drawEllipse(at, 0.12, 0.12);
    drawLabel(p, QRectF(head.x() - 1, head.y() - 0.6, 2, 0.6), Qt::AlignHCenter | Qt::AlignBottom, channel,
        fontSize, true);
}

void drawSource(QPainter &p, const Layout &l, Language language, qreal fontSize)
{
    const QPointF centre = (l.sourceTop + l.sourceBottom) / 2;
    const qreal r = 0.45;
    p.drawLine(l.sourceTop, centre - QPointF(0, r));
    p.drawLine(centre + QPointF(0, r), l.sourceBottom);
    p.drawEllipse(centre, r, r);
    QPainterPath wave(centre - QPointF(0.28, 0));
    wave.cubicTo(centre + QPointF(-0.14, -0.36), centre + QPointF(0, -0.36), centre);
    wave.cubicTo(centre + QPointF(0, 0.36), centre + QPointF(0.14, 0.36), centre + QPointF(0.28, 0));
    p.drawPath(wave);
    drawLabel(p, QRectF(-0.4, centre.y() - 1, centre.x() - 0.15, 2), Qt::AlignRight | Qt::AlignVCenter,
        textIn(language, u"Salida\nI", u"Eixida\nI"), fontSize);
}

/** Two coils facing each other with the core's two lines between them, and the ratio above. */
void drawTransformer(QPainter &p, QPointF centre, qreal fontSize)
{
    const qreal turn = 0.4;
    for (const qreal side : { -1.0, 1.0 }) {
        const qreal x = centre.x() + side * 0.35;
        QPainterPath coil(QPointF(x, centre.y() - 2 * turn));
        for (int i = 0; i < 4; ++i)
            coil.arcTo(QRectF(x - turn / 2, centre.y() - 2 * turn + turn * i, turn, turn), 90, side * 180);
        p.drawPath(coil);
        p.drawLine(QPointF(x, centre.y() - 2 * turn), QPointF(x, centre.y() - 0.8));
    }
    p.drawLine(QPointF(centre.x() - 0.05, centre.y() - 0.9), QPointF(centre.x() - 0.05, centre.y() + 0.9));
    p.drawLine(QPointF(centre.x() + 0.05, centre.y() - 0.9), QPointF(centre.x() + 0.05, centre.y() + 0.9));
    drawLabel(p, QRectF(centre.x() - 1, centre.y() - 1.45, 2, 0.5), Qt::AlignCenter, QStringLiteral("1:1"),
        fontSize);
}

} // namespace

namespace SchematicPainter {

QStringList layouts()
{
    QStringList ids = layoutTable().keys();
    ids.sort();
    return ids;
}

bool hasLayout(const QString &id)
{
    return layoutTable().contains(id);
}

QStringList elementsOf(const QString &id)
{
    const Layout l = layoutTable().value(id);
    QStringList elements;
    for (const Placed &part : l.parts)
        elements << part.element;
    return elements + l.transformerElements;
}

QHash<QString, QString> valuesOf(const QString &id)
{
    if (id == practiceCircuit)
        return { { QStringLiteral("R"),
                     ComponentValue::withUnit(PracticeCircuit::ohms, QStringLiteral("Ω")) },
            { QStringLiteral("C"), ComponentValue::withUnit(PracticeCircuit::farads, QStringLiteral("F")) } };
    const Circuit *circuit = benchCircuit(id);
    return circuit ? ComponentValue::ofNetlist(circuit->netlist) : QHash<QString, QString> {};
}

void paint(QPainter &p, const QRectF &rect, const QString &id, const QHash<QString, QString> &values,
    Language language)
{
    const auto found = layoutTable().constFind(id);
    if (found == layoutTable().cend())
        return;
    const Layout &l = *found;
    // A margin round the layout, for the names at its edges.
    const qreal margin = 0.45;
    const QSizeF size(l.width + margin, l.height + margin);
    const qreal scale = std::min(rect.width() / size.width(), rect.height() / size.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.center() - QPointF(size.width(), size.height()) * scale / 2);
    p.scale(scale, scale);
    p.translate(margin, margin);
    // Lines stay about a pixel and a half wide whatever the scale; type grows with it, from 9 pixels.
    QPen pen(Qt::black, 1.4 / scale);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal fontSize = std::clamp(scale * 0.5, 9.0, 14.0);
    for (const QPolygonF &wire : l.wires)
        p.drawPolyline(wire);
    for (const Placed &part : l.parts)
        drawPart(p, part, values.value(part.element), fontSize, l.diamondCentre);
    drawSource(p, l, language, fontSize);
    if (l.transformer)
        drawTransformer(p, *l.transformer, fontSize);
    for (const QPointF &ground : l.grounds)
        drawGround(p, ground);
    for (const QPointF &dot : l.dots)
        drawDot(p, dot);
    drawProbe(p, l.probeI, QStringLiteral("CH I"), fontSize);
    drawProbe(p, l.probeII, QStringLiteral("CH II"), fontSize);
    if (!l.noteElement.isEmpty()) {
        drawLabel(p, QRectF(l.width - 7, 0, 7, 0.7), Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("D1…D4: ") + values.value(l.noteElement), fontSize);
    }
    p.restore();
}

QImage render(const QString &id, QSize size, Language language)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p, QRectF(QPointF(0, 0), QSizeF(size)), id, valuesOf(id), language);
    return image;
}

} // namespace SchematicPainter
