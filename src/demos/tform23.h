#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"
#include "radiogroup.h"

#include <QImage>
#include <QList>
#include <QPointer>

class QTimer;

/**
 * The spot-deflection demonstration: the student picks a pair of plate voltages and the window
 * plays the frames of the beam on its way and of the spot being deflected, one every 500 ms. Every
 * frame is read from its file when the window is created; the animation itself reads nothing.
 */
class TForm23 : public Form, public LanguageCopy<TForm23>
{
    Q_OBJECT

public:
    TForm23();

    void FormCreate() override;
    void FormDestroy() override;

    void RadioGroup1Click();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    void Timer5Timer();
    void BitBtn2Click();
    void BitBtn1Click();

    /** Stops the five timers. */
    void relojes();
    /** One lead-in step: the next of the frames common to every choice. */
    void parteuno();
    /** One case step of items 0 to 4: the next frame of the chosen case. */
    void partedos();
    void partetres();
    void partecuatro();
    void partecinco();
    void parteseis();

    /** Lead-in frame 1 to 9 of the frame table; a null picture outside. */
    QImage leadInFrame(int step) const;
    /** Case frame 1 to the item's count of the frame table; a null picture outside. */
    QImage caseFrame(int item, int step) const;
    /** How many frames the table holds: 53 from creation until the window is destroyed. */
    int frameCount() const { return int(m_frames.size()); }

    Picture *Image1;
    Label *Label1;
    Label *Label2;
    Label *Label4;
    Label *Label5;
    Label *Label3;
    GlyphButton *BitBtn2;
    RadioGroup *RadioGroup1;
    GlyphButton *BitBtn1;
    QTimer *Timer1;
    QTimer *Timer2;
    QTimer *Timer3;
    QTimer *Timer4;
    QTimer *Timer5;

private:
    /** One tick of the timer of an item. */
    void tick(int item);
    /** One case step of an item. */
    void caseStep(int item);
    int frameIndex(int sequence, int step) const;

    QList<QTimer *> m_timers;
    /** The lead-in frames, then the frames of items 0 to 4, in the order of their files. */
    QList<QImage> m_frames;
    int m_leadInStep = 0;
    int m_caseStep = 0;
};

/** The newest deflection demonstration. */
inline QPointer<TForm23> Form23;
