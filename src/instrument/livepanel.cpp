#include "livepanel.h"

#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "panelcontrol.h"

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
 * A sweep with many more points than the face has pixels across is drawn as the beam's lowest and
 * highest point in each pixel column, which looks the same and costs a fraction.
 */
QPolygonF envelope(const QList<QPointF> &points, double columnsPerDivision)
{
    QPolygonF out;
    const double columns = 11.0 * columnsPerDivision;
    if (points.size() <= qsizetype(columns * 3)) {
        out.reserve(points.size());
        for (const QPointF &p : points)
            out << p;
        return out;
    }
    out.reserve(qsizetype(columns * 2) + 4);
    qsizetype i = 0;
    while (i < points.size()) {
        const double column = std::floor(points.at(i).x() * columnsPerDivision);
        double low = points.at(i).y();
        double high = low;
        double x = points.at(i).x();
        while (i < points.size() && std::floor(points.at(i).x() * columnsPerDivision) == column) {
            low = std::min(low, points.at(i).y());
            high = std::max(high, points.at(i).y());
            x = points.at(i).x();
            ++i;
        }
        out << QPointF(x, low) << QPointF(x, high);
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
        widget->setDescriber([this](Hm203Control c) { return m_scope.valueText(c, m_castilian); });
        widget->setValue(m_scope.value(info.id));
        connect(widget, &QAbstractSlider::valueChanged, this, [this, widget] { controlMoved(widget); });
        m_widgets[int(info.id)] = widget;
        showValue(m_model.controls[index], info, m_scope.value(info.id));
    }
    if (PanelControl *lamp = m_model.control(QStringLiteral("lamp")))
        lamp->lit = m_scope.isPressed(Hm203Control::Power);

    // The panel without its controls, once; then the controls over it.
    const qreal ratio = devicePixelRatioF();
    m_background = QImage((QSizeF(m_model.size) * m_scale * ratio).toSize(), QImage::Format_RGB32);
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(FrontPanelPainter::faceColour());
    {
        QPainter p(&m_background);
        p.scale(m_scale, m_scale);
        FrontPanelPainter::paintBackground(p, m_model);
    }
    m_panel = m_background;
    {
        QPainter p(&m_panel);
        p.scale(m_scale, m_scale);
        for (const PanelControl &c : m_model.controls)
            FrontPanelPainter::paintControl(p, c);
    }
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

void LivePanel::redrawPanel(const QRectF &area)
{
    QPainter p(&m_panel);
    p.setClipRect(QRectF(area.topLeft() * m_scale, area.size() * m_scale));
    p.drawImage(QPointF(0, 0), m_background);
    p.scale(m_scale, m_scale);
    // Every control that reaches into the area, in drawing order: a CAL knob stays on its switch.
    for (const PanelControl &c : m_model.controls) {
        if (FrontPanelPainter::controlBounds(c).intersects(area))
            FrontPanelPainter::paintControl(p, c);
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

    // Into the panel's screen coordinates: x from 0 to 10 divisions, turned by TR round the centre.
    const QRectF graticule = FrontPanelPainter::graticule(m_model.screen);
    const double divisionModel = graticule.width() / ScreenGeometry::columns;
    const double turn = m_live.rotationDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    m_drawn.clear();
    for (const Trace &trace : m_live.traces.traces) {
        ScreenTrace drawn;
        const QPolygonF points = trace.kind == TraceKind::XY
            ? envelope(trace.points, 1e9)
            : envelope(trace.points, divisionModel * m_scale);
        drawn.points.reserve(points.size());
        for (const QPointF &p : points)
            drawn.points << QPointF(p.x() * c - p.y() * s + ScreenGeometry::halfWidth, p.x() * s + p.y() * c);
        drawn.intensity = m_live.brightness;
        drawn.width = 0.8 + m_live.spread * divisionModel;
        m_drawn << drawn;
    }
    update(screenRect());
    if (m_instrumentDirty) {
        m_instrumentDirty = false;
        Q_EMIT instrumentChanged();
    }
    if (m_live.moving && isVisible())
        m_frameTimer.start(kMovingFrameMs);
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
    if (!event->region().intersects(screenRect()))
        return;
    p.scale(m_scale, m_scale);
    FrontPanelPainter::paintScreenContents(p, m_model.screen, m_drawn);
}
