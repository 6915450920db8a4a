#include "livepanel.h"

#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "panelcontrol.h"

#include <QCache>
#include <QMap>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

/** A display frame, and the pace of a picture that moves by itself. */
constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int kMovingFrameMs = 33;

PanelControlWidget::Shape shapeOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::SlideSwitch:
        return PanelControlWidget::Shape::Slide;
    case ControlKind::PushButton:
    case ControlKind::TrimPot:
        return PanelControlWidget::Shape::Square;
    default:
        return PanelControlWidget::Shape::Round;
    }
}

/** Sets a drawn control to a position: buttons in or out, levers on a step, pointers at an angle. */
void showValue(PanelControl &drawn, const Hm203ControlInfo &info, int value)
{
    const double span = std::max(1, info.maximum - info.minimum);
    const double fraction = (value - info.minimum) / span;
    switch (drawn.kind) {
    case ControlKind::PushButton:
        drawn.pressed = value != 0;
        break;
    case ControlKind::SlideSwitch:
        drawn.position = value;
        break;
    case ControlKind::RotarySwitch:
        drawn.angle = -150.0 + 300.0 * fraction;
        break;
    default:
        drawn.angle = -135.0 + 270.0 * fraction;
        break;
    }
}

/**
 * Leaves out the points of a line that lie within a fraction of a pixel of the straight line
 * through their neighbours: a smooth curve keeps a point every few pixels, a corner keeps its
 * corner, and the stroke costs a fraction.
 */
QPolygonF simplified(const QPolygonF &line, double tolerance)
{
    if (line.size() < 3)
        return line;
    QPolygonF kept;
    kept.reserve(line.size());
    kept << line.first();
    for (qsizetype i = 1; i + 1 < line.size(); ++i) {
        const QPointF a = kept.last();
        const QPointF b = line.at(i + 1);
        const QPointF p = line.at(i);
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        const double off = length > 0.0
            ? std::abs((b.x() - a.x()) * (a.y() - p.y()) - (a.x() - p.x()) * (b.y() - a.y())) / length
            : std::hypot(p.x() - a.x(), p.y() - a.y());
        if (off > tolerance)
            kept << p;
    }
    kept << line.last();
    return kept;
}

/** Pixels of up-and-down beam travel per pixel column beyond which a sweep is drawn with a fine line:
 * the beam is fast there, and a fine line stays cheap however often it crosses the face. */
constexpr double kBandTravel = 12.0;

/**
 * The outline of a dense sweep: the highest point of each pair of pixel columns from left to right,
 * then the lowest from right to left. Pairs, because a column of the sweep's own may straddle two of
 * the widget's; each pair holds at least one whole.
 */
QPolygonF bandOutline(const QPolygonF &beam)
{
    QMap<int, std::pair<double, double>> columns;
    for (const QPointF &p : beam) {
        const int x = int(std::floor(p.x() / 2.0));
        auto it = columns.find(x);
        if (it == columns.end())
            columns.insert(x, { p.y(), p.y() });
        else
            *it = { std::min(it->first, p.y()), std::max(it->second, p.y()) };
    }
    QPolygonF outline;
    outline.reserve(columns.size() * 2);
    for (auto it = columns.cbegin(); it != columns.cend(); ++it)
        outline << QPointF(2.0 * it.key() + 1.0, it->first);
    for (auto it = columns.cend(); it != columns.cbegin();) {
        --it;
        outline << QPointF(2.0 * it.key() + 1.0, it->second);
    }
    return outline;
}

/**
 * A sweep with more points than pixel columns keeps, in each column, only its lowest and highest
 * point, in the order the beam reaches them: it looks the same, steep edges included, and costs less
 * to draw.
 */
QPolygonF columnExtremes(const QList<QPointF> &points, double pixelsPerDivision)
{
    QPolygonF out;
    if (points.size() <= 2 || pixelsPerDivision <= 0.0) {
        out.reserve(points.size());
        for (const QPointF &p : points)
            out << p;
        return out;
    }
    out.reserve(std::min<qsizetype>(points.size(), qsizetype(12.0 * pixelsPerDivision * 2 + 4)));
    qsizetype i = 0;
    while (i < points.size()) {
        const double column = std::floor(points.at(i).x() * pixelsPerDivision);
        qsizetype low = i;
        qsizetype high = i;
        qsizetype last = i;
        while (last < points.size() && std::floor(points.at(last).x() * pixelsPerDivision) == column) {
            if (points.at(last).y() < points.at(low).y())
                low = last;
            if (points.at(last).y() > points.at(high).y())
                high = last;
            ++last;
        }
        const qsizetype first = std::min(low, high);
        const qsizetype second = std::max(low, high);
        out << points.at(first);
        if (second != first)
            out << points.at(second);
        i = last;
    }
    return out;
}

} // namespace

LivePanel::LivePanel(QWidget *parent, double scale)
    : QWidget(parent)
    , m_model(frontPanelLayout())
    , m_scale(scale)
{
    setObjectName(QStringLiteral("panel"));
    setFixedSize((QSizeF(m_model.size) * m_scale).toSize());
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_clock.start();
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &LivePanel::advanceFrame);

    m_widgets.resize(kHm203ControlCount);
    m_modelIndex.resize(kHm203ControlCount);
    for (const Hm203ControlInfo &info : hm203Controls()) {
        const qsizetype index
            = std::find_if(m_model.controls.cbegin(), m_model.controls.cend(),
                  [&](const PanelControl &c) { return c.name == QLatin1String(info.panelName); })
            - m_model.controls.cbegin();
        Q_ASSERT(index < m_model.controls.size());
        m_modelIndex[int(info.id)] = index;
        const PanelControl &drawn = m_model.controls.at(index);
        auto *widget = new PanelControlWidget(info, shapeOf(drawn.kind), this);
        const QRectF area(drawn.rect.topLeft() * m_scale, drawn.rect.size() * m_scale);
        widget->setGeometry(area.toAlignedRect());
        widget->setSlideInset(4.0 * m_scale);
        widget->setDescriber(
            [this](Hm203Control c, int position) { return m_scope.readingAt(c, position, m_castilian); });
        widget->setValue(m_scope.value(info.id));
        connect(widget, &QAbstractSlider::valueChanged, this, [this, widget] { controlMoved(widget); });
        m_widgets[int(info.id)] = widget;
        showValue(m_model.controls[index], info, m_scope.value(info.id));
    }
    if (PanelControl *lamp = m_model.control(QStringLiteral("lamp")))
        lamp->lit = m_scope.isPressed(Hm203Control::Power);

    // The panel without its controls, then with them as every instrument opens: drawn once and shared
    // by every window until one of its controls moves.
    const qreal ratio = devicePixelRatioF();
    struct Drawn
    {
        double scale = 0.0;
        qreal ratio = 0.0;
        QImage background;
        QImage panel;
        QImage glass;
    };
    static Drawn shared;
    if (shared.scale != m_scale || shared.ratio != ratio) {
        shared.scale = m_scale;
        shared.ratio = ratio;
        shared.background = QImage((QSizeF(m_model.size) * m_scale * ratio).toSize(), QImage::Format_RGB32);
        shared.background.setDevicePixelRatio(ratio);
        shared.background.fill(FrontPanelPainter::faceColour());
        {
            QPainter p(&shared.background);
            p.scale(m_scale, m_scale);
            FrontPanelPainter::paintBackground(p, m_model);
        }
        shared.panel = shared.background;
        QPainter p(&shared.panel);
        p.scale(m_scale, m_scale);
        for (const PanelControl &c : m_model.controls)
            FrontPanelPainter::paintControl(p, c);
    }
    const QRectF face = m_model.screen.face;
    m_faceArea = QRectF(face.topLeft() * m_scale, face.size() * m_scale).toAlignedRect();
    if (shared.glass.isNull() || shared.glass.size() != m_faceArea.size() * ratio) {
        shared.glass = QImage(m_faceArea.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        shared.glass.setDevicePixelRatio(ratio);
        shared.glass.fill(Qt::transparent);
        QPainter p(&shared.glass);
        p.translate(-m_faceArea.topLeft());
        p.scale(m_scale, m_scale);
        FrontPanelPainter::paintGlass(p, m_model.screen);
    }
    m_background = shared.background;
    m_panel = shared.panel;
    m_glass = shared.glass;
    advanceFrame();
}

PanelControlWidget *LivePanel::controlWidget(Hm203Control control) const
{
    return m_widgets.value(int(control));
}

void LivePanel::setGenerator(const GeneratorSettings &settings)
{
    if (!m_scope.setGenerator(settings))
        return;
    m_instrumentDirty = true;
    scheduleFrame();
}

void LivePanel::setCastilian(bool castilian)
{
    m_castilian = castilian;
    refreshReadings();
}

void LivePanel::refreshReadings()
{
    for (PanelControlWidget *widget : std::as_const(m_widgets))
        widget->refreshReading();
}

void LivePanel::setControlValue(Hm203Control control, int value)
{
    // Through the widget, so that it, the drawing and screen readers all hear of it.
    m_widgets.at(int(control))->setValue(value);
}

void LivePanel::controlMoved(PanelControlWidget *widget)
{
    const Hm203Control control = widget->control();
    const bool wasOn = m_scope.isPressed(Hm203Control::Power);
    if (!m_scope.setValue(control, widget->value()))
        return;
    if (control == Hm203Control::Power && !wasOn)
        m_powerOnAt = now();
    refreshReadings();
    showControlState(control);
    m_instrumentDirty = true;
    scheduleFrame();
}

void LivePanel::showControlState(Hm203Control control)
{
    PanelControl &drawn = m_model.controls[m_modelIndex.at(int(control))];
    showValue(drawn, controlInfo(control), m_scope.value(control));
    QRectF area = FrontPanelPainter::controlBounds(drawn);
    if (control == Hm203Control::Power) {
        if (PanelControl *lamp = m_model.control(QStringLiteral("lamp"))) {
            lamp->lit = m_scope.isPressed(Hm203Control::Power);
            area |= FrontPanelPainter::controlBounds(*lamp);
        }
    }
    redrawPanel(area);
}

QImage LivePanel::controlPicture(const PanelControl &control) const
{
    // Each state of a control is drawn once and kept, for every window: turning a knob back, or
    // redrawing the switch under a CAL knob, then costs a copy.
    static QCache<QString, QImage> pictures(16 * 1024); // in KiB
    const qreal ratio = m_panel.devicePixelRatio();
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                            .arg(control.name)
                            .arg(control.angle, 0, 'f', 2)
                            .arg(control.pressed)
                            .arg(control.position)
                            .arg(control.lit)
                            .arg(m_scale)
                            .arg(ratio);
    if (const QImage *kept = pictures.object(key))
        return *kept;
    const QRectF bounds = FrontPanelPainter::controlBounds(control);
    const QRect area = QRectF(bounds.topLeft() * m_scale, bounds.size() * m_scale).toAlignedRect();
    QImage picture(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.translate(-area.topLeft());
        p.scale(m_scale, m_scale);
        FrontPanelPainter::paintControl(p, control);
    }
    pictures.insert(key, new QImage(picture), int(picture.sizeInBytes() / 1024) + 1);
    return picture;
}

void LivePanel::redrawPanel(const QRectF &area)
{
    QPainter p(&m_panel);
    p.setClipRect(QRectF(area.topLeft() * m_scale, area.size() * m_scale));
    p.drawImage(QPointF(0, 0), m_background);
    // Every control that reaches into the area, in drawing order: a CAL knob stays on its switch.
    for (const PanelControl &c : m_model.controls) {
        const QRectF bounds = FrontPanelPainter::controlBounds(c);
        if (bounds.intersects(area))
            p.drawImage(QRectF(bounds.topLeft() * m_scale, bounds.size() * m_scale).toAlignedRect().topLeft(),
                controlPicture(c));
    }
    p.end();
    update(QRectF(area.topLeft() * m_scale, area.size() * m_scale).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void LivePanel::scheduleFrame()
{
    if (m_frameTimer.isActive())
        return;
    const double wait = std::max(0.0, m_lastFrame + kFrameSeconds - now());
    m_frameTimer.start(int(std::ceil(wait * 1000.0)));
}

void LivePanel::advanceFrame()
{
    m_frameTimer.stop();
    const double seconds = now();
    m_lastFrame = seconds;
    ++m_frames;
    m_live = m_scope.screen(BeamMoment { seconds, seconds - m_powerOnAt });

    // Into widget pixels: x from the left of the graticule, turned by TR round the centre; a sweep
    // keeps at most its lowest and highest point in each pixel column.
    const QRectF graticule = FrontPanelPainter::graticule(m_model.screen);
    const double division = graticule.width() / ScreenGeometry::columns * m_scale;
    const QPointF centre = graticule.center() * m_scale;
    const double turn = m_live.rotationDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    m_drawn.clear();
    for (const Trace &trace : m_live.traces.traces) {
        const QPolygonF points
            = trace.kind == TraceKind::XY ? QPolygonF(trace.points) : columnExtremes(trace.points, division);
        BeamPath drawn;
        drawn.points.reserve(points.size());
        double travel = 0.0;
        for (const QPointF &p : points) {
            const QPointF pixel
                = centre + QPointF(p.x() * c - p.y() * s, -(p.x() * s + p.y() * c)) * division;
            if (!drawn.points.isEmpty())
                travel += std::abs(pixel.y() - drawn.points.last().y());
            drawn.points << pixel;
        }
        // A sweep so dense that the beam goes up and down many times a pixel column reads as a lit band
        // between its lowest and highest points, brighter at the edges where the beam turns.
        const double columns = std::max(1.0, std::abs(drawn.points.last().x() - drawn.points.first().x()));
        const double height = std::max(1.0, traceBounds(trace).height() * division);
        if (trace.kind != TraceKind::XY && travel / columns > height)
            drawn.band = bandOutline(drawn.points);
        else if (trace.kind != TraceKind::XY && travel / columns > kBandTravel)
            drawn.fine = true;
        if (drawn.band.isEmpty())
            drawn.points = simplified(drawn.points, 0.25);
        drawn.intensity = m_live.brightness;
        drawn.width = (0.8 + m_live.spread * graticule.width() / ScreenGeometry::columns) * m_scale;
        m_drawn << drawn;
    }
    paintHalo();
    update(screenRect());
    if (m_instrumentDirty) {
        m_instrumentDirty = false;
        Q_EMIT instrumentChanged();
    }
    if (m_live.moving && isVisible())
        m_frameTimer.start(kMovingFrameMs);
}

void LivePanel::paintHalo()
{
    // A third of the face's size: enlarged when drawn, its strokes become a soft glow.
    constexpr double kShrink = 3.0;
    const QSize size = (QSizeF(m_faceArea.size()) / kShrink).toSize().expandedTo(QSize(1, 1));
    if (m_halo.size() != size)
        m_halo = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_halo.fill(Qt::transparent);
    QPainter p(&m_halo);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(1.0 / kShrink, 1.0 / kShrink);
    p.translate(-m_faceArea.topLeft());
    for (const BeamPath &trace : m_drawn) {
        const double k = std::clamp(trace.intensity, 0.0, 1.0);
        if (k <= 0.0 || trace.points.size() < 2)
            continue;
        p.setPen(QPen(QColor(70, 255, 130, int(150 * k)), trace.width + 2.4 * m_scale, Qt::SolidLine,
            Qt::RoundCap, Qt::BevelJoin));
        if (trace.fine) {
            QPen fine(QColor(70, 255, 130, int(150 * k)), 1.0);
            fine.setCosmetic(true);
            p.setPen(fine);
            p.drawPolyline(trace.points);
        } else if (trace.band.isEmpty()) {
            p.drawPolyline(trace.points);
        } else {
            p.setBrush(QColor(70, 255, 130, int(150 * k)));
            p.drawPolygon(trace.band);
            p.setBrush(Qt::NoBrush);
        }
    }
}

QRect LivePanel::screenRect() const
{
    const QRectF face = m_model.screen.face;
    return QRectF(face.topLeft() * m_scale, face.size() * m_scale).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void LivePanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_live.moving)
        scheduleFrame();
}

void LivePanel::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawImage(QPointF(0, 0), m_panel);
    if (!event->region().intersects(m_faceArea))
        return;
    p.setClipRect(m_faceArea, Qt::IntersectClip);
    // The glow, drawn small and spread by enlarging it, then the sharp core of the beam over it.
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(m_faceArea), m_halo);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    for (const BeamPath &trace : m_drawn) {
        const double k = std::clamp(trace.intensity, 0.0, 1.0);
        if (k <= 0.0 || trace.points.size() < 2)
            continue;
        const QPen core(
            QColor(210, 255, 215, int(255 * k)), trace.width, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin);
        if (!trace.band.isEmpty()) {
            p.setPen(core);
            p.setBrush(QColor(120, 255, 160, int(120 * k)));
            p.drawPolygon(trace.band);
            p.setBrush(Qt::NoBrush);
            continue;
        }
        if (trace.fine) {
            QPen fine(core.color(), 1.0);
            fine.setCosmetic(true);
            p.setPen(fine);
        } else {
            p.setPen(core);
        }
        p.drawPolyline(trace.points);
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(m_faceArea.topLeft(), m_glass);
}
