#include "screendescription.h"

#include "circuitwording.h"
#include "decimalformat.h"
#include "facereading.h"

#include <algorithm>
#include <cmath>

namespace {

using C = Hm203Control;

/** The heights of one repeat a shape is told from. */
constexpr int kShapeSamples = 256;

QString label(C control)
{
    return QString::fromUtf16(controlInfo(control).label);
}

/** A length read on the graticule, to a tenth of a division: "4,0". */
QString divisions(double value)
{
    return fixedDecimal(value, 1);
}

/** A position against the centre, its sign always written: "+1,0", "−0,5". */
QString signedDivisions(double value)
{
    return formatDecimal(value, { .decimals = 1, .zeros = TrailingZeros::Keep, .signShown = true });
}

/** All the pieces of one kind of trace as one path (chopping cuts a channel's trace into pieces). */
Trace tracesOf(const ScreenTraces &screen, TraceKind kind)
{
    Trace all;
    all.kind = kind;
    for (const Trace &trace : screen.traces)
        if (trace.kind == kind)
            all.points.append(trace.points);
    return all;
}

bool onFace(const Trace &trace)
{
    if (trace.points.size() == 1)
        return meetsFace(trace.points.first(), trace.points.first());
    for (qsizetype i = 0; i + 1 < trace.points.size(); ++i)
        if (meetsFace(trace.points.at(i), trace.points.at(i + 1)))
            return true;
    return false;
}

TraceDescription describeSweep(const ScreenReading &reading, TraceKind kind)
{
    const Hm203 &scope = reading.scope();
    const ScopeSettings &settings = reading.liveSettings();
    const LiveScreen &live = reading.live();
    TraceDescription d;
    d.kind = kind;
    const Trace drawn = tracesOf(live.traces, kind);
    const std::optional<FaceReading::Extent> extent = FaceReading::extentOf(live.traces, kind);
    d.heightDivisions = visiblePeakToPeak(drawn);
    d.clippedAbove = extent->clippedAbove();
    d.clippedBelow = extent->clippedBelow();
    d.offsetDivisions = (extent->minY + extent->maxY) / 2.0;
    d.dim = reading.dim();
    d.shape = d.heightDivisions < kLineWidthDivisions
        ? TraceShape::FlatLine
        : shapeOfHeights(traceHeights(settings, kind, kShapeSamples));

    if (d.shape != TraceShape::FlatLine && reading.periodSeconds(kind) > 0.0) {
        d.periodSeconds = reading.periodSeconds(kind);
        d.periodsShown = reading.periodsSpanning(kind, extent->spanX);
    }

    // The scale: the channel's own, or for a sum the one both channels share.
    const ChannelSettings &first = settings.channelI;
    const ChannelSettings &second = settings.channelII;
    const GeneratorSettings &generator = scope.generator();
    const ChannelSettings &channel = kind == TraceKind::ChannelII ? second : first;
    const bool shared = std::abs(first.voltsPerDiv - second.voltsPerDiv) <= first.voltsPerDiv * 1e-6;
    if (kind != TraceKind::Sum || shared)
        d.inputVoltsPp = d.heightDivisions * channel.voltsPerDiv;
    const Probe probe = kind == TraceKind::ChannelII ? generator.probeII : generator.probeI;
    if (kind != TraceKind::Sum && probe == Probe::Times10)
        d.tipVoltsPp = d.inputVoltsPp * Probes::times10Ratio;

    const TriggerSettings &trigger = settings.trigger;
    d.triggered = reading.triggered(kind);
    d.slope = trigger.slope;
    d.mains = followsMains(settings, trigger.source);
    d.external = trigger.source == TriggerSource::External && !d.mains;
    d.crawling = reading.crawling();
    d.sweepSeconds = reading.timing().sweepSeconds;
    return d;
}

FigureDescription describeFigure(const Trace &trace, const ScreenReading &reading)
{
    FigureDescription d;
    d.shape = reading.figure();
    d.tester = reading.tester();
    d.dim = reading.dim();
    const QRectF face = ScreenGeometry::visibleArea();
    Trace seen;
    for (const QPointF &p : trace.points) {
        d.clipped = d.clipped || !face.contains(p);
        seen.points.append(QPointF(
            std::clamp(p.x(), face.left(), face.right()), std::clamp(p.y(), face.top(), face.bottom())));
    }
    const QRectF bounds = traceBounds(seen);
    d.widthDivisions = bounds.width();
    d.heightDivisions = bounds.height();
    return d;
}

QString traceName(TraceKind kind)
{
    switch (kind) {
    case TraceKind::ChannelI:
        return QStringLiteral("CH I");
    case TraceKind::ChannelII:
        return QStringLiteral("CH II");
    case TraceKind::Sum:
        return label(C::Add) + QStringLiteral(" (I + II)");
    case TraceKind::XY:
        break;
    }
    return label(C::XY);
}

QString shapeWord(TraceShape shape, Language language)
{
    switch (shape) {
    case TraceShape::Sine:
        return textIn(language, u"senoidal", u"sinusoïdal");
    case TraceShape::Square:
        return textIn(language, u"cuadrada", u"quadrada");
    case TraceShape::Triangle:
        return textIn(language, u"triangular", u"triangular");
    case TraceShape::FlatLine:
        return textIn(language, u"línea horizontal", u"línia horitzontal");
    case TraceShape::Other:
        break;
    }
    return textIn(language, u"forma irregular", u"forma irregular");
}

QString periodsPhrase(const TraceDescription &d, Language language, bool worked)
{
    const QString period = worked
        ? QStringLiteral(" (T = ") + formatQuantity(d.periodSeconds, QStringLiteral("s")) + u')'
        : QString();
    if (d.periodsShown < 0.05)
        return textIn(language, u"una pequeña parte de un periodo", u"una xicoteta part d'un període")
            + period;
    const QString count = formatPeriodCount(d.periodsShown);
    if (count == QLatin1String("1"))
        return textIn(language, u"1 periodo", u"1 període") + period;
    return count + textIn(language, u" periodos", u" períodes") + period;
}

QString heightPhrase(const TraceDescription &d, Language language, bool worked)
{
    // Less than a period shows no peak-to-peak: only how high the part on the face is.
    const bool wholePeriod = d.periodsShown >= 1.0 - 1e-9;
    QString text = divisions(d.heightDivisions)
        + (wholePeriod ? textIn(language, u" div de pico a pico", u" div de pic a pic")
                       : textIn(language, u" div de alto", u" div d'alt"));
    if (!worked || !(d.inputVoltsPp > 0.0))
        return text;
    // The volts are the divisions as read, times the scale, so the two numbers agree.
    const double read = fixedDecimalValue(d.heightDivisions, 1);
    const double scale = d.inputVoltsPp / d.heightDivisions;
    text += QStringLiteral(" (") + formatQuantity(read * scale, QStringLiteral("V"));
    if (d.tipVoltsPp > 0.0)
        text += textIn(language, u"; %1 en la punta de la sonda ×10", u"; %1 a la punta de la sonda ×10")
                    .arg(formatQuantity(read * scale * Probes::times10Ratio, QStringLiteral("V")));
    return text + u')';
}

QString triggerPhrase(const TraceDescription &d, Language language)
{
    // A sweep that follows the mains fires, but the signal slides past it unless it keeps step with them.
    if (d.mains && !d.triggered)
        return textIn(language, u"disparada al ritmo de la red, que la señal no sigue (la traza se desliza)",
            u"disparada al ritme de la xarxa, que el senyal no seguix (la traça es llisca)");
    if (!d.triggered)
        return textIn(language, u"sin disparar (la traza corre)", u"sense disparar (la traça corre)");
    if (d.mains)
        return textIn(language, u"disparada con la red (~)", u"disparada amb la xarxa (~)");
    const QString slope = d.slope == TriggerSlope::Rising
        ? textIn(language, u"en flanco de subida", u"en flanc de pujada")
        : textIn(language, u"en flanco de bajada", u"en flanc de baixada");
    if (d.external)
        return textIn(language, u"disparada desde %1 %2", u"disparada des d'%1 %2")
            .arg(label(C::ExtTrigger), slope);
    return textIn(language, u"disparada ", u"disparada ") + slope;
}

QString sweepSentence(const TraceDescription &d, Language language, bool worked)
{
    QStringList parts;
    const bool flat = d.shape == TraceShape::FlatLine;
    if (!d.clipped() || d.shape != TraceShape::Other)
        parts << shapeWord(d.shape, language);
    if (d.clipped()) {
        const QString where = d.clippedAbove && d.clippedBelow
            ? textIn(language, u"por arriba y por abajo", u"per dalt i per baix")
            : d.clippedAbove ? textIn(language, u"por arriba", u"per dalt")
                             : textIn(language, u"por abajo", u"per baix");
        parts << textIn(language, u"recortada, se sale de la pantalla %1", u"retallada, ix de la pantalla %1")
                     .arg(where);
    } else if (!flat) {
        parts << heightPhrase(d, language, worked);
    }
    if (d.periodSeconds > 0.0)
        parts << periodsPhrase(d, language, worked);
    if (!(d.clippedAbove && d.clippedBelow)) {
        const QString offset = divisions(std::abs(d.offsetDivisions));
        if (offset == divisions(0.0))
            parts << textIn(language, u"centrada", u"centrada");
        else if (d.offsetDivisions > 0.0)
            parts << offset + textIn(language, u" div por encima del centro", u" div per damunt del centre");
        else
            parts << offset + textIn(language, u" div por debajo del centro", u" div per davall del centre");
    }
    if (!flat)
        parts << triggerPhrase(d, language);
    if (d.dim)
        parts << textIn(language, u"muy tenue", u"molt tènue");
    QString crawl;
    if (d.crawling && worked)
        crawl = textIn(language, u"un punto que cruza la pantalla despacio (cada barrido dura %1); ",
            u"un punt que creua la pantalla a poc a poc (cada escombratge dura %1); ")
                    .arg(formatQuantity(d.sweepSeconds, QStringLiteral("s")));
    else if (d.crawling)
        crawl = textIn(language, u"un punto que cruza la pantalla despacio; ",
            u"un punt que creua la pantalla a poc a poc; ");
    return traceName(d.kind) + QStringLiteral(": ") + crawl + parts.join(QStringLiteral(", ")) + u'.';
}

QString tiltPhrase(double tilt, Language language)
{
    const QString degrees = formatDecimal(std::abs(tilt), { .decimals = 0 }) + QStringLiteral("°");
    return tilt > 0.0
        ? textIn(language, u"inclinada %1 (sube hacia la derecha)", u"inclinada %1 (puja cap a la dreta)")
              .arg(degrees)
        : textIn(language, u"inclinada %1 (baja hacia la derecha)", u"inclinada %1 (baixa cap a la dreta)")
              .arg(degrees);
}

QString figureSentence(const FigureDescription &d, Language language, bool worked)
{
    const QString width = divisions(d.widthDivisions);
    const QString height = divisions(d.heightDivisions);
    const QString size
        = textIn(language, u"de %1 div de ancho y %2 div de alto", u"de %1 div d'ample i %2 div d'alt")
              .arg(width, height);
    const double tilt = d.shape.tiltDegrees;
    const QString rounded = formatDecimal(std::abs(tilt), { .decimals = 0 });
    const bool level = rounded == QLatin1String("0");
    const bool upright = rounded == QLatin1String("90");
    QString figure;
    switch (d.shape.kind) {
    case FigureKind::Spot:
        figure = textIn(language, u"un punto fijo", u"un punt fix");
        break;
    case FigureKind::Dots:
        figure = textIn(language, u"%1 puntos separados, en un área %2", u"%1 punts separats, en una àrea %2")
                     .arg(d.shape.dots)
                     .arg(size);
        break;
    case FigureKind::Line:
        if (level)
            figure = textIn(language, u"una línea horizontal de %1 div", u"una línia horitzontal de %1 div")
                         .arg(width);
        else if (upright)
            figure = textIn(language, u"una línea vertical de %1 div", u"una línia vertical de %1 div")
                         .arg(height);
        else
            figure = textIn(language, u"una línea recta %1, ", u"una línia recta %1, ").arg(size)
                + tiltPhrase(tilt, language);
        break;
    case FigureKind::BentLine:
        figure = d.shape.steepArms.size() == 1
            ? textIn(language, u"una línea con un codo %1", u"una línia amb un colze %1").arg(size)
            : textIn(language, u"una línea doblada %1", u"una línia doblegada %1").arg(size);
        break;
    case FigureKind::TwiceBentLine:
        figure = textIn(language, u"una línea con dos codos %1", u"una línia amb dos colzes %1").arg(size);
        break;
    case FigureKind::Ellipse:
        figure = textIn(language, u"una elipse %1, ", u"una el·lipse %1, ").arg(size)
            + (level || upright ? textIn(
                   language, u"con los ejes horizontal y vertical", u"amb els eixos horitzontal i vertical")
                                : tiltPhrase(tilt, language));
        break;
    case FigureKind::Circle:
        figure = textIn(language, u"un círculo de %1 div de diámetro", u"un cercle de %1 div de diàmetre")
                     .arg(width);
        break;
    case FigureKind::Other:
        figure = textIn(language, u"una figura %1", u"una figura %1").arg(size);
        // How a Lissajous figure's frequencies are read: how often it reaches its top and its side.
        if (d.shape.touchesTop > 0 && d.shape.touchesSide > 0) {
            const auto times = [&](int n) {
                return n == 1 ? textIn(language, u"1 vez", u"1 vegada")
                              : textIn(language, u"%1 veces", u"%1 vegades").arg(n);
            };
            figure += textIn(language, u" que llega %1 al borde de arriba y %2 al de la derecha",
                u" que arriba %1 a la vora de dalt i %2 a la de la dreta")
                          .arg(times(d.shape.touchesTop), times(d.shape.touchesSide));
        }
        break;
    }
    QStringList parts { figure };
    const QString x = signedDivisions(d.shape.centreX);
    const QString y = signedDivisions(d.shape.centreY);
    if (x == signedDivisions(0.0) && y == signedDivisions(0.0))
        parts << textIn(language, u"en el centro de la pantalla", u"en el centre de la pantalla");
    else
        parts << textIn(
            language, u"con el centro en x = %1 div, y = %2 div", u"amb el centre en x = %1 div, y = %2 div")
                     .arg(x, y);
    if (d.clipped)
        parts << textIn(language, u"se sale de la pantalla", u"ix de la pantalla");
    if (d.dim)
        parts << textIn(language, u"muy tenue", u"molt tènue");
    const QString said = label(d.tester ? C::Tester : C::XY) + QStringLiteral(": ")
        + parts.join(QStringLiteral(", ")) + u'.';
    // What the tester's figure tells of its part, unless part of the figure is beyond the face.
    const Wording meaning
        = d.tester && !d.clipped ? TraceWording::testerFigureMeaning(d.shape, worked) : Wording {};
    return meaning.isEmpty() ? said : said + u' ' + meaning.in(language);
}

QString screenText(const ScreenDescription &d, Language language)
{
    if (d.dark)
        return textIn(
            language, u"La pantalla no muestra ninguna traza.", u"La pantalla no mostra cap traça.");
    if (d.figure)
        return figureSentence(*d.figure, language, d.readings == ScreenReadings::Worked);
    QStringList sentences;
    for (const TraceDescription &trace : d.traces)
        sentences << sweepSentence(trace, language, d.readings == ScreenReadings::Worked);
    return sentences.join(u' ');
}

} // namespace

bool meetsFace(const QPointF &a, const QPointF &b)
{
    // Liang and Barsky's clipping: the part of a + t (b - a), 0 ≤ t ≤ 1, within each edge of the face.
    const QRectF face = ScreenGeometry::visibleArea();
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double towards[4] = { -dx, dx, -dy, dy };
    const double room[4]
        = { a.x() - face.left(), face.right() - a.x(), a.y() - face.top(), face.bottom() - a.y() };
    double enter = 0.0;
    double leave = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (towards[i] == 0.0) {
            if (room[i] < 0.0)
                return false;
            continue;
        }
        const double t = room[i] / towards[i];
        if (towards[i] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave)
            return false;
    }
    return true;
}

bool faceIsDark(const LiveScreen &screen)
{
    if (!(screen.brightness > 0.0))
        return true;
    return std::none_of(screen.traces.traces.cbegin(), screen.traces.traces.cend(), onFace);
}

ScreenDescription describeScreen(const Hm203 &scope, const BeamMoment &moment, ScreenReadings readings)
{
    return describeScreen(ScreenReading(scope, moment), readings);
}

ScreenDescription describeScreen(const ScreenReading &reading, ScreenReadings readings)
{
    ScreenDescription d;
    d.readings = readings;
    const LiveScreen &live = reading.live();
    d.dark = faceIsDark(live);
    if (!d.dark) {
        if (reading.tester() || !reading.swept()) {
            d.figure = describeFigure(live.traces.traces.first(), reading);
        } else {
            QList<TraceKind> kinds;
            for (const Trace &trace : live.traces.traces)
                if (!kinds.contains(trace.kind) && onFace(trace))
                    kinds.append(trace.kind);
            for (TraceKind kind : kinds)
                d.traces.append(describeSweep(reading, kind));
        }
    }
    d.castilian = screenText(d, Language::Castilian);
    d.valencian = screenText(d, Language::Valencian);
    return d;
}
