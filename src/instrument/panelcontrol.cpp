#include "panelcontrol.h"

#include "cursors.h"
#include "spokentext.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

/** How far a knob turns from one end to the other, and a step switch from its first to its last step. */
constexpr double kKnobTravel = 270.0;
constexpr double kSwitchTravel = 300.0;
/** Movement, in pixels, below which a press and release is a click rather than a drag. */
constexpr double kClickSlack = 3.0;

/**
 * What screen readers meet, chosen by what Qt 6.4's AT-SPI bridge passes on and what Orca 43 speaks of it.
 * The bridge maps roles one to one and has no toggle button: a checkable push button reaches AT-SPI as
 * a push button without its state spoken, so a button that is only in or out is a check box, as Qt's own
 * checkable QPushButton is, and Orca says "marcada"/"no marcada" as it goes in and out; that says all of
 * it, so its description stays empty. A slider is heard as its raw position ("9"), since the bridge
 * passes no value text on, while Orca reads a spin button by its text, on focus and on every change: so
 * switches and knobs are spin buttons ("botón giratorio") whose text is the spoken reading, with the
 * position still there as their value. So is a button whose two positions have names (AT/NORM, AC/DC):
 * Orca drops a changed description (the bridge sends it the object, not the words), and "marcada" would
 * not say which of AT and NORM it is in. Descriptions stay empty, or the reading would be heard twice.
 */
class PanelControlAccessible : public QAccessibleWidget, public QAccessibleValueInterface, public SpokenText
{
public:
    explicit PanelControlAccessible(PanelControlWidget *control)
        : QAccessibleWidget(control, QAccessible::SpinBox)
    {
    }

    PanelControlWidget *control() const { return static_cast<PanelControlWidget *>(widget()); }

    QAccessible::Role role() const override
    {
        return control()->isOnOff() ? QAccessible::CheckBox : QAccessible::SpinBox;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        // An on/off button's state is its checked state alone: with a value too, Orca speaks each change
        // twice.
        if (type == QAccessible::ValueInterface && !control()->isOnOff())
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface && !control()->isOnOff())
            return static_cast<SpokenText *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return control()->label();
        case QAccessible::Value:
            return control()->spokenText();
        case QAccessible::Description:
            return QString();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (control()->isOnOff()) {
            s.checkable = true;
            s.checked = control()->value() != 0;
            s.pressed = control()->value() != 0;
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (control()->isOnOff())
            names.prepend(toggleAction());
        else
            names << increaseAction() << decreaseAction();
        return names;
    }

    void doAction(const QString &name) override
    {
        if (!control()->isEnabled())
            return;
        if (name == toggleAction() || name == pressAction())
            control()->press();
        else if (name == increaseAction())
            control()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        else if (name == decreaseAction())
            control()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else
            QAccessibleWidget::doAction(name);
    }

    QVariant currentValue() const override { return control()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        // A locked control refuses a screen reader's value as it refuses keys and clicks.
        if (control()->isEnabled())
            control()->setValue(value.toInt());
    }
    QVariant maximumValue() const override { return control()->maximum(); }
    QVariant minimumValue() const override { return control()->minimum(); }
    QVariant minimumStepSize() const override { return control()->singleStep(); }

    QString spoken() const override { return control()->spokenText(); }
    QString spokenLanguage() const override { return languageTag(control()->language()); }
};

QAccessibleInterface *panelControlAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("PanelControlWidget") && object && object->isWidgetType())
        return new PanelControlAccessible(static_cast<PanelControlWidget *>(object));
    return nullptr;
}

} // namespace

PanelControlWidget::PanelControlWidget(const Hm203ControlInfo &info, Shape shape, QWidget *parent)
    : QAbstractSlider(parent)
    , m_info(info)
    , m_shape(shape)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(panelControlAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QLatin1String(info.panelName));
    setRange(info.minimum, info.maximum);
    setSingleStep(1);
    setPageStep(info.pageStep);
    setValue(info.initial);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(label());
    setOrientation(shape == Shape::Slide ? Qt::Vertical : Qt::Horizontal);
    // The slide switch's first position is at the top: Down moves the lever down.
    setInvertedControls(shape == Shape::Slide);
    showCursor();
}

void PanelControlWidget::showCursor()
{
    if (!isEnabled())
        setCursor(Qt::ForbiddenCursor);
    else if (CursorTable::has(CursorTable::kHand))
        setCursor(CursorTable::cursor(CursorTable::kHand));
    else
        setCursor(Qt::PointingHandCursor);
}

void PanelControlWidget::changeEvent(QEvent *event)
{
    QAbstractSlider::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        showCursor();
}

QString PanelControlWidget::label() const
{
    return QString::fromUtf16(m_info.label);
}

void PanelControlWidget::setDescriber(Describer describe, Describer speak)
{
    m_describe = std::move(describe);
    m_speak = std::move(speak);
    m_onOff = isButton() && (!m_speak || m_speak(m_info.id, minimum()).isEmpty());
    refreshReading();
}

void PanelControlWidget::refreshReading()
{
    const QString reading = valueText();
    if (reading != m_reading) {
        m_reading = reading;
        setToolTip(label() + QStringLiteral(": ") + reading);
    }
    // A spin button's text is read afresh on every value change; a range switch's, when its fine knob
    // moves, only when the student comes back to it.
}

void PanelControlWidget::press()
{
    if (isButton())
        setValue(value() ? minimum() : maximum());
    else
        triggerAction(SliderSingleStepAdd);
}

double PanelControlWidget::degreesPerStep() const
{
    const int steps = std::max(1, maximum() - minimum());
    return (m_info.style == ControlStyle::Switch ? kSwitchTravel : kKnobTravel) / steps;
}

double PanelControlWidget::pointerAngle(QPointF position) const
{
    const QPointF d = position - QRectF(rect()).center();
    // Clockwise from straight up, as the panel measures a pointer.
    return std::atan2(d.x(), -d.y()) * 180.0 / std::numbers::pi;
}

int PanelControlWidget::slidePosition(QPointF position) const
{
    const int count = maximum() - minimum() + 1;
    if (count <= 1)
        return minimum();
    // The same spacing the panel draws its positions at: 4 px in from each end of the slot.
    const double top = m_slideInset;
    const double travel = std::max(1.0, height() - 2 * top);
    const int index = int(std::lround((position.y() - top) / travel * (count - 1)));
    return std::clamp(minimum() + index, minimum(), maximum());
}

void PanelControlWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_pressPoint = event->position();
    m_pressAngle = pointerAngle(event->position());
    m_turned = 0.0;
    m_pressValue = value();
    m_dragging = false;
    setSliderDown(!isButton());
    if (m_shape == Shape::Slide)
        setValue(slidePosition(event->position()));
    event->accept();
}

void PanelControlWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || isButton())
        return;
    if ((event->position() - m_pressPoint).manhattanLength() > kClickSlack)
        m_dragging = true;
    if (m_shape == Shape::Slide) {
        setValue(slidePosition(event->position()));
        return;
    }
    if (!m_dragging)
        return;
    // Follows the pointer round the centre, across the ±180° seam as well.
    const double angle = pointerAngle(event->position());
    double delta = angle - m_pressAngle;
    delta -= 360.0 * std::round(delta / 360.0);
    m_turned += delta;
    m_pressAngle = angle;
    setValue(m_pressValue + int(std::lround(m_turned / degreesPerStep())));
}

void PanelControlWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setSliderDown(false);
    const bool inside = rect().contains(event->position().toPoint());
    if (isButton()) {
        if (inside)
            press();
    } else if (!m_dragging && inside && m_shape == Shape::Round && m_info.style == ControlStyle::Switch) {
        triggerAction(event->position().x() >= width() / 2.0 ? SliderSingleStepAdd : SliderSingleStepSub);
    }
    m_dragging = false;
}

void PanelControlWidget::keyPressEvent(QKeyEvent *event)
{
    if (isButton()) {
        if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
            press();
            return;
        }
        // A button heard as a spin button between its two named positions takes the arrows too.
        const bool stepped = !isOnOff() && event->key() != Qt::Key_PageUp && event->key() != Qt::Key_PageDown;
        if (!stepped && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
            event->ignore();
            return;
        }
    }
    QAbstractSlider::keyPressEvent(event);
}

void PanelControlWidget::sliderChange(SliderChange change)
{
    QAbstractSlider::sliderChange(change);
    if (change != SliderValueChange)
        return;
    // QAbstractSlider has already told screen readers of the new value; an on/off button tells its state.
    if (isOnOff()) {
        QAccessible::State changed;
        changed.checked = true;
        changed.pressed = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    // Read from the widget's own position: the instrument hears of the change only afterwards, from
    // valueChanged.
    refreshReading();
}

void PanelControlWidget::paintEvent(QPaintEvent *)
{
    // The panel under it draws the control; this only marks keyboard focus.
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor(255, 160, 0), 2.0, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    if (m_shape == Shape::Round)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 3, 3);
}
