#pragma once

#include "frontpanelmodel.h"
#include "hm203.h"
#include "phosphorscreen.h"
#include "screendescription.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

class PanelControlWidget;
class ScreenFace;

/**
 * The HM-203's front as the student operates it: the front-panel picture with a live control over
 * every knob, switch and button, and the screen drawn from the instrument as they move. The panel is
 * drawn once; a control that moves redraws only its own corner of it, and the screen is computed at
 * most once a display frame, only when something changed or the picture moves by itself (a running
 * trace, warm-up, a slow sweep). A steady picture costs nothing.
 */
class LivePanel : public QWidget
{
    Q_OBJECT

public:
    /** Draws the 535 × 239 panel enlarged by scale. */
    explicit LivePanel(QWidget *parent, double scale);

    const Hm203 &scope() const { return m_scope; }
    /** Rewires or retunes the generator; the screen follows. */
    void setGenerator(const GeneratorSettings &settings);
    /** Puts a bench circuit's simulated signals on the inputs, if they are still for the generator as it is
     * set (Hm203::adoptCircuit); the screen follows. */
    bool adoptCircuit(const CircuitSolution &solution, const QString &circuit, const CircuitDrive &drive);
    /** Moves a control for the student (a task setting the panel up); the screen follows. */
    void setControlValue(Hm203Control control, int value);

    /** Whether the face's words give the values the divisions stand for, or divisions only. */
    void setScreenReadings(ScreenReadings readings);
    ScreenReadings screenReadings() const { return m_readings; }

    /** Locks every control while the student must not move them (a prediction is open): a locked control
     * takes no key, click or turn, and screen readers meet it as not enabled. */
    void setControlsLocked(bool locked);
    bool controlsLocked() const { return m_locked; }

    PanelControlWidget *controlWidget(Hm203Control control) const;
    const QList<PanelControlWidget *> &controlWidgets() const { return m_widgets; }
    /** The language the readings are in. */
    void setLanguage(Language language);

    /** Where the tube face is, in this widget. */
    QRect screenRect() const;
    /** Where the screen's divisions land in this widget, TR's turn included. */
    FaceMapping faceMapping() const;
    /** What the screen shows at the last frame, as the instrument model describes it. */
    LiveScreen liveScreen() const;
    /** What the beam wrote for the last frame, and the face it lit. */
    const BeamFrame &beamFrame() const { return m_beam; }
    const PhosphorScreen &phosphor() const { return m_phosphor; }
    /** Computes the screen for this moment and repaints it, as a display frame does. */
    void advanceFrame();
    /** True while a frame is waiting to be drawn. */
    bool framePending() const { return m_frameTimer.isActive(); }
    /** The moment now: the panel's clock and how long ago POWER went on. */
    BeamMoment moment() const { return BeamMoment { now(), now() - m_powerOnAt }; }
    /** How many frames have been computed since the panel was made. */
    int frameCount() const { return m_frames; }
    /** What the face shows, in words: the words screen readers find on the screen object, for showing
     * under the screen too. Worked out when asked for, or once the picture has kept still a moment. */
    QString screenDescription(Language language) const { return screenWords().in(language); }
    const ScreenDescription &screenWords() const;
    /** The tube face as screen readers meet it. */
    ScreenFace *screenFace() const { return m_face; }
    /** The tube face as the student sees it, glass and all, at the size it has on the panel: the one
     * picture of the screen the window saves and the report shows. */
    QImage facePicture();
    /** The face's words as they are now, if screen readers have not been told them yet. */
    QString untoldWords();

Q_SIGNALS:
    /** The instrument or its signals changed; sent at most once a frame. */
    void instrumentChanged();
    /** The words for the face changed; sent at most once a frame. */
    void screenDescriptionChanged();
    /** The student moved a control (a click, a key, a drag, a screen reader's action); a control moved
     * through setControlValue is not the student's doing. */
    void studentMovedControl(Hm203Control control);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void controlMoved(PanelControlWidget *widget);
    /** Every control's reading again: one may depend on another (a range switch on its CAL knob). */
    void refreshReadings();
    /** Brings the drawn control (and the lamp, for POWER) into line with the instrument. */
    void showControlState(Hm203Control control);
    /** A control drawn alone in its present state, on a transparent picture of its bounds. */
    QImage controlPicture(const PanelControl &control) const;
    /** Redraws the panel's picture under a rectangle given in panel coordinates. */
    void redrawPanel(const QRectF &area);
    void scheduleFrame();
    /** Puts the face at a moment into words; news says whether a change is worth telling. */
    void describeFace(const BeamMoment &moment, bool news);
    double now() const { return m_clock.nsecsElapsed() / 1e9; }

    Hm203 m_scope;
    FrontPanelModel m_model;
    double m_scale;
    Language m_language = kFirstLanguage;
    QImage m_background;
    QImage m_panel;
    /** The glass's reflection over the face, drawn once. */
    QImage m_glass;
    QRect m_faceArea;
    QList<PanelControlWidget *> m_widgets;
    QList<qsizetype> m_modelIndex;
    QElapsedTimer m_clock;
    double m_powerOnAt = -1e9;
    QTimer m_frameTimer;
    double m_lastFrame = -1.0;
    bool m_instrumentDirty = false;
    /** Whether the last frame found the tube still warming up: its end changes what the student sees. */
    bool m_warming = false;
    int m_frames = 0;
    bool m_locked = false;
    /** True while setControlValue moves a widget, so that its move is not taken for the student's. */
    bool m_setting = false;
    ScreenReadings m_readings = ScreenReadings::Worked;
    BeamFrame m_beam;
    PhosphorScreen m_phosphor;
    /** The light the face gives, ready to paint. */
    QImage m_light;
    ScreenFace *m_face;
    ScreenDescription m_description;
    /** Whether the last frame found the picture on its way (warming up, or a trace settling after a
     * coupling switch): its words change without the instrument changing. */
    bool m_onItsWay = false;
    /** The words wait for the picture to keep still: a frame's time goes to the face, not to its words. */
    QTimer m_wordsTimer;
    bool m_wordsStale = false;
    bool m_wordsNews = false;
};
