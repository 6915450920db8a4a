#pragma once

#include "hm203.h"
#include "wording.h"

#include <QAbstractSlider>

#include <functional>

/**
 * One operable control of the live front panel, lying over the control the panel draws. Push
 * buttons toggle with a click or Space; switches and knobs turn by dragging round their centre, with
 * the wheel and with the arrow, Page and Home/End keys; a click on a switch's right half turns it one
 * step clockwise, on its left half one step back; the slide switch follows the pointer up and down.
 * Screen readers meet buttons only in or out as check boxes that say whether they are in, and switches,
 * knobs and buttons whose positions have names (AT/NORM) as spin buttons whose text is their spoken
 * reading (panelcontrol.cpp says why), each named as printed. Those buttons take the arrows too.
 */
class PanelControlWidget : public QAbstractSlider
{
    Q_OBJECT

public:
    /** The shape the control has on the panel decides how a drag turns it. */
    enum class Shape { Round, Slide, Square };

    PanelControlWidget(const Hm203ControlInfo &info, Shape shape, QWidget *parent);

    Hm203Control control() const { return m_info.id; }
    const Hm203ControlInfo &info() const { return m_info; }
    bool isButton() const { return m_info.style == ControlStyle::Button; }
    /** A button that is only in or out, its positions without names of their own (POWER, not AT/NORM). */
    bool isOnOff() const { return m_onOff; }
    /** The name screen readers announce, as printed on the panel. */
    QString label() const;
    /** How a control at a position reads: describe(control, position). */
    using Describer = std::function<QString(Hm203Control, int)>;
    /** The reading of the control where it is now, as its tooltip shows it ("0,2 ms/div", "pulsado"). */
    QString valueText() const { return m_describe ? m_describe(m_info.id, value()) : QString(); }
    /** The same reading in the words screen readers speak ("0,2 milisegundos por división"); empty for a
     * button that is only in or out. */
    QString spokenText() const { return m_speak ? m_speak(m_info.id, value()) : QString(); }
    /** The language of the readings. */
    void setLanguage(Language language) { m_language = language; }
    Language language() const { return m_language; }
    /** Reads the control with describe and speaks it with speak from now on. */
    void setDescriber(Describer describe, Describer speak);
    /** Brings the tooltip and screen readers up to date after something the reading depends on moved. */
    void refreshReading();

    /** How far in from each end of a slide switch its first and last positions are, in pixels. */
    void setSlideInset(double pixels) { m_slideInset = pixels; }

    /** Presses a button, or turns a switch or knob one step clockwise. */
    void press();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void sliderChange(SliderChange change) override;
    void changeEvent(QEvent *event) override;

private:
    /** The hand over a control the student may work, the forbidden sign over a locked one. */
    void showCursor();
    double pointerAngle(QPointF position) const;
    int slidePosition(QPointF position) const;
    /** Degrees of turn for one step of the control. */
    double degreesPerStep() const;

    Hm203ControlInfo m_info;
    Shape m_shape;
    Describer m_describe;
    Describer m_speak;
    /** Worked out once the readings are known: a button whose positions have no spoken names. */
    bool m_onOff = false;
    /** The readings the tooltip and screen readers were last given. */
    QString m_reading;
    Language m_language = kFirstLanguage;
    QPointF m_pressPoint;
    double m_pressAngle = 0.0;
    double m_turned = 0.0;
    int m_pressValue = 0;
    bool m_dragging = false;
    double m_slideInset = 4.0;
};
