#include "diagrammodel.h"

#include <cmath>

namespace {

using G = BoxGroup;

DiagramBox box(const char *id, BoxKind kind, BoxGroup group, QRectF rect, const char16_t *castilian,
    const char16_t *valencian)
{
    return DiagramBox { QString::fromLatin1(id), kind, group, rect,
        Wording { QString::fromUtf16(castilian), QString::fromUtf16(valencian) } };
}

DiagramBox block(
    const char *id, BoxGroup group, QRectF rect, const char16_t *castilian, const char16_t *valencian)
{
    return box(id, BoxKind::Block, group, rect, castilian, valencian);
}

DiagramBox terminal(const char *id, QRectF rect, const char16_t *castilian, const char16_t *valencian)
{
    return box(id, BoxKind::Terminal, BoxGroup::Neutral, rect, castilian, valencian);
}

DiagramArrow arrow(const char *from, Side fromSide, qreal fromAt, const char *to, Side toSide, qreal toAt)
{
    DiagramArrow a;
    a.from = QString::fromLatin1(from);
    a.fromSide = fromSide;
    a.fromAt = fromAt;
    a.to = QString::fromLatin1(to);
    a.toSide = toSide;
    a.toAt = toAt;
    return a;
}

DiagramArrow arrow(const char *from, Side fromSide, const char *to, Side toSide)
{
    return arrow(from, fromSide, 0.5, to, toSide, 0.5);
}

DiagramArrow labelled(DiagramArrow a, const char16_t *castilian, const char16_t *valencian)
{
    a.label = Wording { QString::fromUtf16(castilian), QString::fromUtf16(valencian) };
    return a;
}

DiagramArrow dashed(DiagramArrow a)
{
    a.dashed = true;
    return a;
}

DiagramArrow through(DiagramArrow a, QList<QPointF> via)
{
    a.via = std::move(via);
    return a;
}

bool isHorizontal(Side side)
{
    return side == Side::Left || side == Side::Right;
}

} // namespace

const DiagramBox *Diagram::box(const QString &id) const
{
    for (const DiagramBox &b : boxes) {
        if (b.id == id)
            return &b;
    }
    return nullptr;
}

QPointF pointOnSide(const QRectF &r, Side side, qreal at)
{
    switch (side) {
    case Side::Left:
        return QPointF(r.left(), r.top() + at * r.height());
    case Side::Right:
        return QPointF(r.right(), r.top() + at * r.height());
    case Side::Top:
        return QPointF(r.left() + at * r.width(), r.top());
    case Side::Bottom:
        return QPointF(r.left() + at * r.width(), r.bottom());
    }
    return r.center();
}

QPolygonF Diagram::route(const DiagramArrow &a) const
{
    const DiagramBox *from = box(a.from);
    const DiagramBox *to = box(a.to);
    if (!from || !to)
        return {};
    const QPointF start = pointOnSide(from->rect, a.fromSide, a.fromAt);
    const QPointF end = pointOnSide(to->rect, a.toSide, a.toAt);
    QPolygonF path { start };
    if (!a.via.isEmpty()) {
        path << QPolygonF(a.via);
    } else if (isHorizontal(a.fromSide) && isHorizontal(a.toSide)) {
        if (std::abs(start.y() - end.y()) > 0.01) {
            const qreal middle = (start.x() + end.x()) / 2;
            path << QPointF(middle, start.y()) << QPointF(middle, end.y());
        }
    } else if (!isHorizontal(a.fromSide) && !isHorizontal(a.toSide)) {
        if (std::abs(start.x() - end.x()) > 0.01) {
            const qreal middle = (start.y() + end.y()) / 2;
            path << QPointF(start.x(), middle) << QPointF(end.x(), middle);
        }
    } else if (isHorizontal(a.fromSide)) {
        path << QPointF(end.x(), start.y());
    } else {
        path << QPointF(start.x(), end.y());
    }
    path << end;
    return path;
}

Diagram oscilloscopeDiagram()
{
    // Four columns of blocks; the signal runs along the top row, the time base down the second column,
    // and everything meets at the tube in the lower right.
    const qreal w = 76, h = 34;
    const qreal a = 26, b = 110, c = 194, d = 282;
    const qreal r0 = 10, r1 = 66, r2 = 124;
    Diagram g;
    g.size = QSize(369, 313);
    g.boxes = {
        terminal("inputY", QRectF(2, r0 + 8, 20, 18), u"Y", u"Y"),
        block("coupling", G::Vertical, QRectF(a + 4, r0, w - 4, h), u"Acoplamiento\nAC-DC-GD",
            u"Acoblament\nAC-DC-GD"),
        block("attenuator", G::Vertical, QRectF(b, r0, w, h), u"Atenuador", u"Atenuador"),
        block("preamplifier", G::Vertical, QRectF(c, r0, w, h), u"Preampli-\nficador", u"Preampli-\nficador"),
        block("delay", G::Vertical, QRectF(d, r0, w, h), u"Línea de\nretardo", u"Línia de\nretard"),
        block("finalY", G::Vertical, QRectF(d, r1, w, h), u"Amplificador\nfinal Y", u"Amplificador\nfinal Y"),
        terminal("external", QRectF(2, r1 + 9, 34, 16), u"Ext.", u"Ext."),
        block("trigger", G::Horizontal, QRectF(b, r1, w, h), u"Circuito de\ndisparo",
            u"Circuit de\ndisparament"),
        block("holdoff", G::Horizontal, QRectF(a + 4, r2, w - 4, h), u"HOLD OFF", u"HOLD OFF"),
        block("sweep", G::Horizontal, QRectF(b, r2, w, h), u"Generador\nde barrido",
            u"Generador\nd'escombratge"),
        block("amplifierX", G::Horizontal, QRectF(c, r2, w, h), u"Amplificador\nhorizontal",
            u"Amplificador\nhoritzontal"),
        block("unblanking", G::Horizontal, QRectF(a + 4, 186, w - 4, h), u"Desbloqueo\n(eje Z)",
            u"Desbloqueig\n(eix Z)"),
        box("tube", BoxKind::Tube, G::Tube, QRectF(c, 180, 164, 82), u"T.R.C.", u"T.R.C."),
        block("supplies", G::Supply, QRectF(a + 4, 274, 156, 30), u"Fuentes de alimentación",
            u"Fonts d'alimentació"),
    };
    g.arrows = {
        arrow("inputY", Side::Right, "coupling", Side::Left),
        arrow("coupling", Side::Right, "attenuator", Side::Left),
        arrow("attenuator", Side::Right, "preamplifier", Side::Left),
        arrow("preamplifier", Side::Right, "delay", Side::Left),
        arrow("delay", Side::Bottom, "finalY", Side::Top),
        labelled(arrow("finalY", Side::Bottom, 0.5, "tube", Side::Top, (d + w / 2 - c) / 164), u"Y", u"Y"),
        arrow("preamplifier", Side::Bottom, 0.4, "trigger", Side::Right, 0.5),
        arrow("external", Side::Right, "trigger", Side::Left),
        arrow("trigger", Side::Bottom, "sweep", Side::Top),
        arrow("sweep", Side::Left, 0.3, "holdoff", Side::Right, 0.3),
        dashed(arrow("holdoff", Side::Right, 0.7, "sweep", Side::Left, 0.7)),
        arrow("sweep", Side::Right, "amplifierX", Side::Left),
        labelled(arrow("amplifierX", Side::Bottom, 0.5, "tube", Side::Top, (w / 2) / 164), u"X", u"X"),
        arrow("sweep", Side::Bottom, "unblanking", Side::Top),
        labelled(arrow("unblanking", Side::Right, 0.5, "tube", Side::Left, (203 - 180) / 82.0), u"Z", u"Z"),
        labelled(arrow("supplies", Side::Right, 0.5, "tube", Side::Bottom, 0.5), u"A.T.", u"A.T."),
    };
    return g;
}

Diagram verticalStageDiagram()
{
    // Both channels run side by side into the electronic switch; one path then leads to the plates. The
    // trigger takes its signal from either preamplifier (CH I/II), so both feed it between the rows.
    const qreal rowI = 12, rowII = 82, h = 34;
    Diagram g;
    g.size = QSize(345, 153);
    g.boxes = {
        terminal("inputI", QRectF(2, rowI + 9, 30, 16), u"CH I", u"CH I"),
        terminal("inputII", QRectF(2, rowII + 9, 30, 16), u"CH II", u"CH II"),
        block("couplingI", G::Vertical, QRectF(40, rowI, 48, h), u"Acopl.\nAC-DC-GD", u"Acobl.\nAC-DC-GD"),
        block("couplingII", G::Vertical, QRectF(40, rowII, 48, h), u"Acopl.\nAC-DC-GD", u"Acobl.\nAC-DC-GD"),
        block("attenuatorI", G::Vertical, QRectF(96, rowI, 52, h), u"Atenuador", u"Atenuador"),
        block("attenuatorII", G::Vertical, QRectF(96, rowII, 52, h), u"Atenuador", u"Atenuador"),
        block("preamplifierI", G::Vertical, QRectF(156, rowI, 58, h), u"Preampli-\nficador I",
            u"Preampli-\nficador I"),
        block("preamplifierII", G::Vertical, QRectF(156, rowII, 58, h), u"Preampli-\nficador II",
            u"Preampli-\nficador II"),
        box("switch", BoxKind::Switch, G::Vertical, QRectF(222, rowI, 46, rowII + h - rowI),
            u"Conmu-\ntador\n(DUAL)", u"Commu-\ntador\n(DUAL)"),
        block("delay", G::Vertical, QRectF(276, 6, 66, 32), u"Línea de\nretardo", u"Línia de\nretard"),
        block("finalY", G::Vertical, QRectF(276, 56, 66, 32), u"Amplificador\nfinal Y",
            u"Amplificador\nfinal Y"),
        box("plates", BoxKind::Plates, G::Tube, QRectF(282, 106, 54, 42), u"Placas Y", u"Plaques Y"),
        terminal("toTrigger", QRectF(96, 55, 118, 17), u"Al disparo (CH I/II)", u"Al disparament (CH I/II)"),
    };
    g.arrows = {
        arrow("inputI", Side::Right, "couplingI", Side::Left),
        arrow("inputII", Side::Right, "couplingII", Side::Left),
        arrow("couplingI", Side::Right, "attenuatorI", Side::Left),
        arrow("couplingII", Side::Right, "attenuatorII", Side::Left),
        arrow("attenuatorI", Side::Right, "preamplifierI", Side::Left),
        arrow("attenuatorII", Side::Right, "preamplifierII", Side::Left),
        arrow("preamplifierI", Side::Right, 0.5, "switch", Side::Left, (h / 2) / (rowII + h - rowI)),
        arrow("preamplifierII", Side::Right, 0.5, "switch", Side::Left,
            (rowII + h / 2 - rowI) / (rowII + h - rowI)),
        arrow("switch", Side::Right, 0.1, "delay", Side::Left, (rowI + 0.1 * (rowII + h - rowI) - 6) / 32),
        arrow("delay", Side::Bottom, "finalY", Side::Top),
        arrow("finalY", Side::Bottom, "plates", Side::Top),
        dashed(arrow("preamplifierI", Side::Bottom, 0.5, "toTrigger", Side::Top, (185 - 96) / 118.0)),
        dashed(arrow("preamplifierII", Side::Top, 0.5, "toTrigger", Side::Bottom, (185 - 96) / 118.0)),
    };
    return g;
}

Diagram horizontalStageDiagram()
{
    // Top to bottom: the trigger sources, the trigger circuit, the sweep and what it drives.
    Diagram g;
    g.size = QSize(183, 292);
    g.boxes = {
        terminal("channelI", QRectF(3, 4, 38, 17), u"CH I", u"CH I"),
        terminal("channelII", QRectF(46, 4, 40, 17), u"CH II", u"CH II"),
        terminal("line", QRectF(91, 4, 42, 17), u"Red", u"Xarxa"),
        terminal("external", QRectF(138, 4, 42, 17), u"Ext.", u"Ext."),
        box("source", BoxKind::Switch, G::Horizontal, QRectF(6, 38, 171, 34),
            u"Fuente (CH I/II, EXT.)\ny acoplamiento (TRIG.)", u"Font (CH I/II, EXT.)\ni acoblament (TRIG.)"),
        block("trigger", G::Horizontal, QRectF(6, 90, 171, 34), u"Circuito de disparo\n(nivel y pendiente)",
            u"Circuit de disparament\n(nivell i pendent)"),
        block("sweep", G::Horizontal, QRectF(6, 144, 100, 34), u"Generador\nde barrido",
            u"Generador\nd'escombratge"),
        block("holdoff", G::Horizontal, QRectF(118, 144, 59, 34), u"HOLD OFF", u"HOLD OFF"),
        block("amplifierX", G::Horizontal, QRectF(6, 198, 100, 34), u"Amplificador\nhorizontal",
            u"Amplificador\nhoritzontal"),
        block("unblanking", G::Horizontal, QRectF(114, 198, 66, 34), u"Desbloqueo\n(eje Z)",
            u"Desbloqueig\n(eix Z)"),
        box("plates", BoxKind::Plates, G::Tube, QRectF(29, 248, 54, 40), u"Placas X", u"Plaques X"),
        terminal("grid", QRectF(114, 258, 66, 17), u"Rejilla", u"Reixa"),
    };
    g.arrows = {
        arrow("channelI", Side::Bottom, 0.5, "source", Side::Top, (22 - 6) / 171.0),
        arrow("channelII", Side::Bottom, 0.5, "source", Side::Top, (66 - 6) / 171.0),
        arrow("line", Side::Bottom, 0.5, "source", Side::Top, (112 - 6) / 171.0),
        arrow("external", Side::Bottom, 0.5, "source", Side::Top, (159 - 6) / 171.0),
        arrow("source", Side::Bottom, "trigger", Side::Top),
        arrow("trigger", Side::Bottom, 50.0 / 171, "sweep", Side::Top, 0.5),
        arrow("sweep", Side::Right, 0.3, "holdoff", Side::Left, 0.3),
        dashed(arrow("holdoff", Side::Left, 0.7, "sweep", Side::Right, 0.7)),
        arrow("sweep", Side::Bottom, "amplifierX", Side::Top),
        arrow("sweep", Side::Bottom, 0.85, "unblanking", Side::Top, 0.2),
        arrow("amplifierX", Side::Bottom, "plates", Side::Top),
        arrow("unblanking", Side::Bottom, "grid", Side::Top),
    };
    return g;
}

Diagram triggerOrganisationDiagram()
{
    // The trigger signal is chosen, coupled, amplified, compared with the level on the chosen slope and
    // shaped into the pulse that starts the sweep; AT lets the sweep run on its own without pulses. CH I/II
    // and EXT. choose the source; the mains come in through the coupling switch TRIG., at its ~.
    Diagram g;
    g.size = QSize(299, 272);
    g.boxes = {
        terminal("channelI", QRectF(2, 24, 44, 17), u"CH I", u"CH I"),
        terminal("channelII", QRectF(2, 60, 44, 17), u"CH II", u"CH II"),
        terminal("external", QRectF(2, 96, 44, 17), u"Ext.", u"Ext."),
        terminal("line", QRectF(127, 12, 56, 17), u"Red (~)", u"Xarxa (~)"),
        box("source", BoxKind::Switch, G::Horizontal, QRectF(56, 10, 52, 118),
            u"Selector\nde fuente\nCH I/II\nEXT.", u"Selector\nde font\nCH I/II\nEXT."),
        block("coupling", G::Horizontal, QRectF(118, 42, 74, 56),
            u"Acoplamiento\n(TRIG.)\nAC, DC, HF,\nLF, ~", u"Acoblament\n(TRIG.)\nAC, DC, HF,\nLF, ~"),
        block("amplifier", G::Horizontal, QRectF(202, 52, 92, 36), u"Amplificador\nde disparo",
            u"Amplificador de\ndisparament"),
        block("level", G::Neutral, QRectF(118, 118, 74, 26), u"Nivel (LEVEL)", u"Nivell (LEVEL)"),
        block("slope", G::Neutral, QRectF(118, 154, 74, 26), u"Pendiente ±", u"Pendent ±"),
        block("comparator", G::Horizontal, QRectF(202, 118, 92, 62), u"Comparador\n(Schmitt)",
            u"Comparador\n(Schmitt)"),
        block("shaper", G::Horizontal, QRectF(202, 204, 92, 36), u"Formador de\nimpulsos",
            u"Formador\nd'impulsos"),
        block("sweep", G::Horizontal, QRectF(104, 204, 88, 36), u"Generador\nde barrido",
            u"Generador\nd'escombratge"),
        block("automatic", G::Neutral, QRectF(6, 204, 86, 36), u"Automático\n(AT/NORM)",
            u"Automàtic\n(AT/NORM)"),
    };
    g.arrows = {
        arrow("channelI", Side::Right, 0.5, "source", Side::Left, (32.5 - 10) / 118),
        arrow("channelII", Side::Right, 0.5, "source", Side::Left, (68.5 - 10) / 118),
        arrow("external", Side::Right, 0.5, "source", Side::Left, (104.5 - 10) / 118),
        arrow("line", Side::Bottom, 0.5, "coupling", Side::Top, (155 - 118) / 74.0),
        arrow("source", Side::Right, (70 - 10) / 118.0, "coupling", Side::Left, (70 - 42) / 56.0),
        arrow("coupling", Side::Right, "amplifier", Side::Left),
        arrow("amplifier", Side::Bottom, "comparator", Side::Top),
        dashed(arrow("level", Side::Right, 0.5, "comparator", Side::Left, 13.0 / 62)),
        dashed(arrow("slope", Side::Right, 0.5, "comparator", Side::Left, 49.0 / 62)),
        arrow("comparator", Side::Bottom, "shaper", Side::Top),
        arrow("shaper", Side::Left, "sweep", Side::Right),
        dashed(through(arrow("shaper", Side::Bottom, 0.5, "automatic", Side::Bottom, 0.5),
            { QPointF(248, 258), QPointF(49, 258) })),
        dashed(arrow("automatic", Side::Right, "sweep", Side::Left)),
    };
    g.notes = {
        DiagramNote {
            Wording { QStringLiteral("ausencia de impulsos"), QStringLiteral("absència d'impulsos") },
            QRectF(64, 260, 150, 12) },
    };
    return g;
}

Diagram dualChannelDiagram()
{
    // Two input channels meet in the electronic switch, which the mode logic works either at the end of
    // every sweep (alternate, DUAL) or from its own oscillator (chopped, DUAL + ADD); one vertical path then
    // drives the tube. The trigger takes its signal from either preamplifier, as CH I/II chooses.
    const qreal rowI = 10, rowII = 58, h = 32;
    Diagram g;
    g.size = QSize(312, 374);
    g.boxes = {
        terminal("inputI", QRectF(2, rowI + 8, 28, 16), u"CH I", u"CH I"),
        terminal("inputII", QRectF(2, rowII + 8, 28, 16), u"CH II", u"CH II"),
        block("couplingI", G::Vertical, QRectF(38, rowI, 64, h), u"Acoplamiento\nAC-DC-GD",
            u"Acoblament\nAC-DC-GD"),
        block("couplingII", G::Vertical, QRectF(38, rowII, 64, h), u"Acoplamiento\nAC-DC-GD",
            u"Acoblament\nAC-DC-GD"),
        block("attenuatorI", G::Vertical, QRectF(110, rowI, 60, h), u"Atenuador I", u"Atenuador I"),
        block("attenuatorII", G::Vertical, QRectF(110, rowII, 60, h), u"Atenuador II", u"Atenuador II"),
        block("preamplifierI", G::Vertical, QRectF(178, rowI, 72, h), u"Preampli-\nficador I",
            u"Preampli-\nficador I"),
        block("preamplifierII", G::Vertical, QRectF(178, rowII, 72, h), u"Preampli-\nficador II",
            u"Preampli-\nficador II"),
        box("switch", BoxKind::Switch, G::Vertical, QRectF(258, rowI, 50, rowII + h - rowI), u"Conmu-\ntador",
            u"Commu-\ntador"),
        block("mode", G::Vertical, QRectF(136, 110, 92, 48),
            u"DUAL: alternado\nDUAL + ADD:\ntroceado,\n≈1 MHz",
            u"DUAL: alternat\nDUAL + ADD:\ntrossejat,\n≈1 MHz"),
        block("delay", G::Vertical, QRectF(236, 114, 72, 40), u"Línea de\nretardo", u"Línia de\nretard"),
        block("finalY", G::Vertical, QRectF(236, 176, 72, 36), u"Amplificador\nfinal Y",
            u"Amplificador\nfinal Y"),
        block("trigger", G::Horizontal, QRectF(8, 114, 84, 40), u"Circuito de\ndisparo\n(CH I/II)",
            u"Circuit de\ndisparament\n(CH I/II)"),
        block("sweep", G::Horizontal, QRectF(8, 174, 84, 36), u"Generador\nde barrido",
            u"Generador\nd'escombratge"),
        block("amplifierX", G::Horizontal, QRectF(8, 232, 84, 36), u"Amplificador\nhorizontal",
            u"Amplificador\nhoritzontal"),
        box("tube", BoxKind::Tube, G::Tube, QRectF(120, 228, 188, 88), u"T.R.C.", u"T.R.C."),
        block("supplies", G::Supply, QRectF(8, 334, 300, 30), u"Fuentes de alimentación",
            u"Fonts d'alimentació"),
    };
    const qreal switchHeight = rowII + h - rowI;
    g.arrows = {
        arrow("inputI", Side::Right, "couplingI", Side::Left),
        arrow("inputII", Side::Right, "couplingII", Side::Left),
        arrow("couplingI", Side::Right, "attenuatorI", Side::Left),
        arrow("couplingII", Side::Right, "attenuatorII", Side::Left),
        arrow("attenuatorI", Side::Right, "preamplifierI", Side::Left),
        arrow("attenuatorII", Side::Right, "preamplifierII", Side::Left),
        arrow("preamplifierI", Side::Right, 0.5, "switch", Side::Left, (h / 2) / switchHeight),
        arrow(
            "preamplifierII", Side::Right, 0.5, "switch", Side::Left, (rowII + h / 2 - rowI) / switchHeight),
        arrow("switch", Side::Bottom, 0.56, "delay", Side::Top, (258 + 0.56 * 50 - 236) / 72),
        dashed(through(arrow("mode", Side::Top, 0.8, "switch", Side::Bottom, 0.2),
            { QPointF(136 + 0.8 * 92, 102), QPointF(268, 102) })),
        arrow("delay", Side::Bottom, "finalY", Side::Top),
        labelled(arrow("finalY", Side::Bottom, 0.5, "tube", Side::Top, (272 - 120) / 188.0), u"Y", u"Y"),
        through(arrow("preamplifierII", Side::Bottom, (194 - 178) / 72.0, "trigger", Side::Top, 0.5),
            { QPointF(194, 98), QPointF(50, 98) }),
        // Channel I's feed crosses channel II's row in the gap before its preamplifier and joins the same
        // line.
        through(arrow("preamplifierI", Side::Left, 0.85, "trigger", Side::Top, 0.5),
            { QPointF(174, rowI + 0.85 * h), QPointF(174, 98), QPointF(50, 98) }),
        arrow("trigger", Side::Bottom, "sweep", Side::Top),
        dashed(labelled(arrow("sweep", Side::Right, 0.5, "mode", Side::Bottom, 0.55), u"fin de barrido",
            u"fi d'escombratge")),
        arrow("sweep", Side::Bottom, "amplifierX", Side::Top),
        labelled(arrow("amplifierX", Side::Right, 0.5, "tube", Side::Left, (250 - 228) / 88.0), u"X", u"X"),
        labelled(arrow("supplies", Side::Top, (214 - 8) / 300.0, "tube", Side::Bottom, (214 - 120) / 188.0),
            u"A.T.", u"A.T."),
    };
    return g;
}
