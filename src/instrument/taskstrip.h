#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

#include "announcedlabel.h"
#include "hm203tasks.h"

class QLabel;
class QLineEdit;
class QPushButton;

/**
 * The "Tarea" strip: one small goal at a time, judged from the instrument while the student works.
 * Moving to a task sets the generator up as that task needs; a measuring task asks for the value the
 * student reads off the screen. The verdict follows every change of the controls, the generator and
 * the typed answer. Screen readers hear the goal with its verdict when a task is shown, then each new
 * verdict once it has settled.
 */
class TaskStrip : public QWidget
{
    Q_OBJECT

public:
    TaskStrip(QWidget *parent, bool castilian);

    /** Shows a task, from 0, and asks for the generator it starts from; -1 shows what the strip offers. */
    void showTask(int index);
    int taskIndex() const { return m_index; }
    /** Judges the task again against the instrument as it is at a moment (the tube may be warming up). */
    void judge(const Hm203 &scope, const BeamMoment &moment);
    /** True when the task shown has been met. */
    bool isMet() const { return m_met; }

    QLabel *goal() const { return m_goal; }
    QLabel *verdict() const { return m_verdict; }
    QLineEdit *answer() const { return m_answer; }
    QPushButton *previous() const { return m_previous; }
    QPushButton *next() const { return m_next; }

Q_SIGNALS:
    /** A task asks for the generator to be set up so, with one of its readings kept from the student. */
    void prepareGenerator(const GeneratorSettings &settings, HiddenReading hidden);
    /** The task or the typed answer changed: the task wants judging again. */
    void needsJudging();

private:
    void showVerdict(bool met);
    /** Tells screen readers what is new in the strip, once the verdict has stopped changing. */
    void announce();

    bool m_castilian;
    int m_index = -1;
    bool m_met = false;
    QLabel *m_title;
    AnnouncedLabel *m_goal;
    QLabel *m_unit;
    QLabel *m_answerLabel;
    QLineEdit *m_answer;
    AnnouncedLabel *m_verdict;
    QPushButton *m_previous;
    QPushButton *m_next;
    /** Waits for the verdict to settle: turning a knob or typing an answer passes through several. */
    QTimer m_settle;
    /** The verdict screen readers last heard, and whether they have heard the goal of the task shown. */
    QString m_heard;
    bool m_goalHeard = false;
};
