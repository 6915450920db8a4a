#include "livepanel.h"

#include "frontpanellayout.h"
#include "frontpanelpainter.h"
#include "language.h"
#include "panelcontrol.h"
#include "screenface.h"

#include <QCache>
#include <QPainter>
#include <QPaintEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace {

/** How long the picture keeps still before its words are worked out. */
constexpr int kWordsWaitMs = 100;

/** A display frame, and the pace of a picture that moves by itself: the wait between the end of one frame
 * and the next, some 45 frames a second, smooth to the eye and a fraction of one core. */
constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int kMovingFrameMs = 20;

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

} // namespace

LivePanel::LivePanel(QWidget *parent, double scale)
    : QWidget(parent)
    , m_model(frontPanelLayout())
    , m_scale(scale)
    , m_face(new ScreenFace(this))
{
    setObjectName(QStringLiteral("panel"));
    setFixedSize((QSizeF(m_model.size) * m_scale).toSize());
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_clock.start();
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &LivePanel::advanceFrame);
    m_wordsTimer.setSingleShot(true);
    m_wordsTimer.setInterval(kWordsWaitMs);
    connect(&m_wordsTimer, &QTimer::timeout, this, [this] {
        if (m_wordsStale)
            describeFace(moment(), m_wordsNews);
    });

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
            [this](Hm203Control c, int position) { return m_scope.readingAt(c, position, m_language); },
            [this](
                Hm203Control c, int position) { return m_scope.spokenReadingAt(c, position, m_language); });
        widget->setLanguage(m_language);
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
    // Over the face, first among the panel's parts, as a reader meets the front from the left.
    m_face->setGeometry(m_faceArea);
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

bool LivePanel::adoptCircuit(
    const CircuitSolution &solution, const QString &circuit, const CircuitDrive &drive)
{
    if (!m_scope.adoptCircuit(solution, circuit, drive))
        return false;
    m_instrumentDirty = true;
    scheduleFrame();
    return true;
}

void LivePanel::setControlsLocked(bool locked)
{
    m_locked = locked;
    for (PanelControlWidget *widget : std::as_const(m_widgets))
        widget->setEnabled(!locked);
}

void LivePanel::setLanguage(Language language)
{
    m_language = language;
    for (PanelControlWidget *widget : std::as_const(m_widgets))
        widget->setLanguage(language);
    refreshReadings();
    // The same words in the other language are no news.
    m_face->setLanguage(language);
    m_face->describe(m_description.in(language), false);
}

void LivePanel::refreshReadings()
{
    for (PanelControlWidget *widget : std::as_const(m_widgets))
        widget->refreshReading();
}

void LivePanel::setControlValue(Hm203Control control, int value)
{
    // Through the widget, so that it, the drawing and screen readers all hear of it.
    const QScopedValueRollback setting(m_setting, true);
    m_widgets.at(int(control))->setValue(value);
}

void LivePanel::setScreenReadings(ScreenReadings readings)
{
    if (readings == m_readings)
        return;
    m_readings = readings;
    describeFace(moment(), false);
}

void LivePanel::controlMoved(PanelControlWidget *widget)
{
    const Hm203Control control = widget->control();
    const bool wasOn = m_scope.isPressed(Hm203Control::Power);
    if (!m_scope.setValueAt(control, widget->value(), now()))
        return;
    if (control == Hm203Control::Power && !wasOn)
        m_powerOnAt = now();
    if (!m_setting)
        Q_EMIT studentMovedControl(control);
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
    const double since = seconds - m_powerOnAt;
    ++m_frames;
    // The end of the warm-up is news to whoever judges what the screen shows.
    const bool warming = m_scope.isPressed(Hm203Control::Power) && BeamMoment { seconds, since }.warming();
    if (warming != m_warming) {
        m_warming = warming;
        m_instrumentDirty = true;
    }

    // The face as phosphor: a changed instrument starts a fresh face, whose first frame takes in the last
    // few afterglow times; a moving picture then fades and takes in what each frame writes.
    const bool fresh = m_instrumentDirty || m_lastFrame < 0.0 || !m_beam.moving;
    const double from = fresh ? seconds - 4.0 * Afterglow::seconds : m_lastFrame;
    m_beam = m_scope.beam(from, seconds, since);
    FaceMapping mapping = faceMapping();
    mapping.rotationDegrees = m_beam.rotationDegrees;
    mapping.centre -= m_faceArea.topLeft();
    m_phosphor.setGeometry(m_faceArea.size(), mapping);
    if (fresh || m_beam.writing.steady)
        m_phosphor.clear();
    else
        m_phosphor.fade(seconds - m_lastFrame);
    m_phosphor.write(m_beam.writing, BeamSpot { m_beam.current, m_beam.spotSpread }, seconds);
    m_light = m_phosphor.light();
    m_lastFrame = seconds;
    update(screenRect());
    // Words only when the picture may have changed: a running trace or a crawling spot says the same.
    const bool onItsWay = warming || m_scope.settlingAt(seconds);
    if (m_frames == 1) {
        // The face has its words from the moment the window opens.
        describeFace(BeamMoment { seconds, since }, false);
    } else if (m_instrumentDirty || onItsWay || m_onItsWay) {
        m_wordsStale = true;
        m_wordsNews = true;
        // A control on the move waits its words out; a picture on its way by itself has them now and then.
        if (m_instrumentDirty || !m_wordsTimer.isActive())
            m_wordsTimer.start();
    }
    m_onItsWay = onItsWay;
    if (m_instrumentDirty) {
        m_instrumentDirty = false;
        Q_EMIT instrumentChanged();
    }
    if (m_beam.moving && isVisible())
        m_frameTimer.start(kMovingFrameMs);
}

const ScreenDescription &LivePanel::screenWords() const
{
    // Asked for before the wait is over, the words are worked out now.
    if (m_wordsStale)
        const_cast<LivePanel *>(this)->describeFace(moment(), m_wordsNews);
    return m_description;
}

QString LivePanel::untoldWords()
{
    screenWords();
    return m_face->untold();
}

void LivePanel::describeFace(const BeamMoment &moment, bool news)
{
    m_wordsStale = false;
    m_wordsTimer.stop();
    ScreenDescription words = describeScreen(m_scope, moment, m_readings);
    const bool changed = words.castilian != m_description.castilian;
    m_description = std::move(words);
    m_face->describe(m_description.in(m_language), news);
    if (changed)
        Q_EMIT screenDescriptionChanged();
}

LiveScreen LivePanel::liveScreen() const
{
    return m_scope.screen(BeamMoment { m_lastFrame, m_lastFrame - m_powerOnAt });
}

FaceMapping LivePanel::faceMapping() const
{
    const QRectF graticule = FrontPanelPainter::graticule(m_model.screen);
    return FaceMapping { .centre = graticule.center() * m_scale,
        .pixelsPerDivision = graticule.width() / ScreenGeometry::columns * m_scale,
        .rotationDegrees = m_beam.rotationDegrees };
}

QRect LivePanel::screenRect() const
{
    const QRectF face = m_model.screen.face;
    return QRectF(face.topLeft() * m_scale, face.size() * m_scale).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void LivePanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_beam.moving)
        scheduleFrame();
}

QImage LivePanel::facePicture()
{
    // The face object itself draws nothing: the panel paints the light and the glass under it.
    return grab(m_face->geometry()).toImage();
}

void LivePanel::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawImage(QPointF(0, 0), m_panel);
    if (!event->region().intersects(m_faceArea))
        return;
    p.setClipRect(m_faceArea, Qt::IntersectClip);
    // The phosphor's light adds to the dark face and its graticule; the glass reflects over both.
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.drawImage(m_faceArea.topLeft(), m_light);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(m_faceArea.topLeft(), m_glass);
}
