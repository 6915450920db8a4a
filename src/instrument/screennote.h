#pragma once

#include <QTimer>
#include <QWidget>

class AnnouncedLabel;
class LivePanel;
class QPushButton;

/**
 * The note under the screen: on one click, why the face shows no steady trace and which control mends
 * it; on another, what the face shows, in words. Once asked, the note follows the instrument, so the
 * student sees the answer change as they mend what it named. Screen readers hear the answer to the
 * question once it stops changing; they read the screen's words on the screen itself.
 */
class ScreenNote : public QWidget
{
    Q_OBJECT

public:
    ScreenNote(QWidget *parent, bool castilian);

    /** Answers again for the instrument on the panel as it is now, if the student has asked. */
    void follow(const LivePanel &panel);

    AnnouncedLabel *text() const { return m_text; }
    QPushButton *why() const { return m_why; }
    QPushButton *describe() const { return m_describe; }

Q_SIGNALS:
    /** The student asked something: the note wants the instrument. */
    void needsInstrument();

private:
    void showText(const QString &text, bool hint);
    void announce();

    bool m_castilian;
    bool m_asked = false;
    bool m_following = false;
    AnnouncedLabel *m_text;
    QPushButton *m_why;
    QPushButton *m_describe;
    /** Waits for the answer to settle: turning a knob passes through several. */
    QTimer m_settle;
    QString m_heard;
    /** What the note says before anything is asked. */
    QString m_hint;
};
