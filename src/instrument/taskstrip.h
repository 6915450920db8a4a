#pragma once

#include <QWidget>

#include <functional>

#include "hm203tasks.h"
#include "lab.h"
#include "taskprediction.h"
#include "taskrecord.h"
#include "wording.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/**
 * The "Tarea" strip: one small goal at a time, judged from the instrument while the student works.
 * Moving to a task sets the generator up as that task needs and puts back every control the task is not
 * about, saying so in a line under the title; a measuring task asks for the value the student reads off
 * the screen. The verdict follows every change of the controls, the generator and the typed answer, and
 * nothing is met before the student has changed something. Screen readers are told the goal with its
 * verdict when a task is shown, then each new verdict (untold() gives them to the bench's news). A task
 * that first asks what the screen will show offers its choices, chosen with the arrows as radio buttons,
 * and keeps the instrument still until one is confirmed; then the student makes the change and looks.
 * A student on the keyboard is taken to the question, and after confirming to what comes next. After the
 * last task a summary tells which tasks were met. While the student works, the strip records what they do on
 * each task (records()), in memory only, for a report they may ask for.
 */
class TaskStrip : public QWidget
{
    Q_OBJECT

public:
    TaskStrip(QWidget *parent, Language language);

    /** Runs a lab's tasks from now on, from what it offers (its title and introduction); every task is
     * unmet again. */
    void setLab(const Lab &lab);
    const Lab &lab() const { return m_lab; }

    /** Shows a task, from 0, and asks for the generator and the panel it starts from; -1 shows what the
     * strip offers, and one past the last task the summary. */
    void showTask(int index);
    int taskIndex() const { return m_index; }
    /** True while the summary is shown. */
    bool summarising() const;
    /** The student moved a control or the generator: from now on the task shown may be met. */
    void studentChanged();
    /** True while a measuring task is open and not met: the screen's words and the readout give
     * divisions and switch positions only, or they would give the answer away. */
    bool withholdsReadings() const { return m_withheld; }
    /** Judges the task again against the instrument as it is at a moment (the tube may be warming up). */
    void judge(const Hm203 &scope, const BeamMoment &moment);
    /** True when the task shown has been met. */
    bool isMet() const { return m_met; }
    /** What the student has done on each task of the lab, in the lab's order. */
    const QList<TaskRecord> &records() const { return m_records; }
    /** Keeps the tube face as it is when the task shown was met with a reading (see measurementMet). */
    void keepScreen(const QImage &face);

    QLabel *title() const { return m_title; }
    QLabel *goal() const { return m_goal; }
    /** The line beside the title that says which controls the task left where they were; its accessible
     * name is the line as screen readers hear it. */
    QLabel *start() const { return m_start; }
    QLabel *verdict() const { return m_verdict; }
    QLineEdit *answer() const { return m_answer; }
    QPushButton *previous() const { return m_previous; }
    QPushButton *next() const { return m_next; }
    /** The choices of the prediction shown (empty for another task), their buttons and the one that
     * confirms the prediction. */
    const QList<PredictionChoice> &choices() const { return m_choices; }
    QRadioButton *choiceButton(int index) const { return m_choiceButtons.value(index); }
    QPushButton *confirm() const { return m_confirm; }
    /** True while a prediction waits to be confirmed. */
    bool predicting() const { return !m_choices.isEmpty() && m_chosen < 0; }
    /** What screen readers have not been told yet, and from now on count as told: a task just shown with
     * its title, goal and verdict, or a new verdict. */
    QString untold();

Q_SIGNALS:
    /** A task asks for the generator to be set up so, with one of its readings kept from the student. */
    void prepareGenerator(const GeneratorSettings &settings, HiddenReading hidden);
    /** The task or the typed answer changed: the task wants judging again. */
    void needsJudging();
    /** A prediction opens (true) or is made (false): until it is made the instrument and the generator
     * must not move, or the screen would answer the question. */
    void lockControls(bool locked);
    /** Controls go back to where the instrument opens as a task opens: all but those it is about, and for a
     * question those it asks about too, so that the screen does not show the answer before the prediction. */
    void resetControls(const QList<Hm203Control> &controls);
    /** A measuring task opened or was met: the readings are withheld (true) or given again (false). */
    void readingsWithheld(bool withheld);
    /** The strip has something screen readers have not been told. */
    void hasNews();
    /** The task shown was just met with a new reading: the screen is worth keeping for the report. */
    void measurementMet();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** Offers a prediction's choices for the generator its task prepared, or hides them (nullptr). */
    void showChoices(const TaskPrediction *prediction, const GeneratorSettings &generator, quint32 draw);
    /** Takes the checked choice as the student's prediction and lets the instrument move. */
    void confirmChoice();
    void showVerdict(bool met);
    /** Clears what belongs to a task (answer, choices, verdict) when none is open, and frees the panel. */
    void showNoTask();
    /** The summary of the tasks met and not met. */
    void showSummary();
    /** Tells the window whether the readings must be withheld now. */
    void followWithheld();
    /** Moves the keyboard to the goal, which screen readers then read with its verdict. */
    void focusGoal();
    /** Records the typed answer with the verdict it has now, unless it repeats the last one recorded;
     * returns whether it was recorded. */
    bool recordReading();

    Language m_language;
    Lab m_lab;
    int m_index = -1;
    bool m_met = false;
    /** Whether the student has changed anything since the task opened. */
    bool m_touched = false;
    /** For each task, what the student did on it while the strip was open, met or not included. */
    QList<TaskRecord> m_records;
    bool m_withheld = false;
    QLabel *m_title;
    QLabel *m_start;
    QLabel *m_goal;
    QLabel *m_unit;
    QLabel *m_answerLabel;
    QLineEdit *m_answer;
    QLabel *m_verdict;
    QPushButton *m_previous;
    QPushButton *m_next;
    QList<QRadioButton *> m_choiceButtons;
    QButtonGroup *m_choiceGroup;
    QPushButton *m_confirm;
    QList<PredictionChoice> m_choices;
    /** The confirmed choice; -1 while the prediction is open. */
    int m_chosen = -1;
    /** The verdict screen readers last heard, and whether they have heard the goal of the task shown. */
    QString m_heard;
    bool m_goalHeard = false;
};

/** A task's title as the strip shows it: "Tarea 2 de 27", from 0. */
QString taskHeading(int index, int count, Language language);
