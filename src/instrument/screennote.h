#pragma once

#include "wording.h"

#include <QWidget>

class LivePanel;
class QLabel;
class QPushButton;

/**
 * The note under the screen: on one click, why the face shows no steady trace and which control mends
 * it; on another, what the face shows, in words. Once asked, the note follows the instrument, so the
 * student sees the answer change as they mend what it named. Screen readers are told, through the bench's
 * news, each new answer and each answer asked for again, and whether the words were switched on or off.
 */
class ScreenNote : public QWidget
{
    Q_OBJECT

public:
    ScreenNote(QWidget *parent, Language language);

    /** Answers again for the instrument on the panel as it is now, if the student has asked. */
    void follow(const LivePanel &panel);

    /** What screen readers have not been told yet, and from now on count as told: "Activado." with the
     * words, or "Desactivado.", as the words are switched; the answer to the question when it says
     * something new or is asked again. */
    QString untold();

    QLabel *text() const { return m_text; }
    QPushButton *why() const { return m_why; }
    QPushButton *describe() const { return m_describe; }

Q_SIGNALS:
    /** The student asked something: the note wants the instrument. */
    void needsInstrument();
    /** The student asked something: the answer is worth telling now. */
    void asked();

private:
    void showText(const QString &text, bool hint);

    Language m_language;
    bool m_asked = false;
    /** Asked since the answer was last told: told again even if it is the same. */
    bool m_askedAgain = false;
    bool m_following = false;
    QLabel *m_text;
    QPushButton *m_why;
    QPushButton *m_describe;
    /** The answer to the question, its explanation alone and the words, as last written; and the
     * explanation screen readers were last told. */
    QString m_answer;
    QString m_explanation;
    QString m_words;
    QString m_toldExplanation;
    bool m_toldDescribing = false;
    /** What the note says before anything is asked. */
    QString m_hint;
};
