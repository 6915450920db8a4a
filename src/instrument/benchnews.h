#pragma once

#include "wording.h"

#include <QTimer>
#include <QWidget>

#include <functional>

/**
 * What the bench has to tell a screen reader, told as one notification once the bench has kept still:
 * the task strip's new goal or verdict, the note's answer, the face's changed words. A screen reader
 * speaks a notification wherever the focus is, and cuts it off at the next one or the next key: so each
 * change is told once, as one message in the state the bench has when it is told, and what one part
 * says is not said again by another (the note's words are the face's words). The widget draws nothing
 * and takes neither the pointer nor the focus.
 */
class BenchNews : public QWidget
{
    Q_OBJECT

public:
    explicit BenchNews(QWidget *parent);

    /** A part of the bench that may have news: it gives what it has not told yet, and counts it told.
     * Parts are told in the order they are added. */
    void addSource(std::function<QString()> untold);
    /** Something moved: the news waits until nothing has moved for kSettleMs. */
    void changed();
    /** The student asked for something (a question, a switch of the words): told after kAskedMs,
     * unless something moves meanwhile. */
    void asked();
    /** The language screen readers are told the words are in. */
    void setLanguage(Language language) { m_language = language; }
    Language language() const { return m_language; }
    /** The message last told. */
    QString told() const { return m_told; }
    /** True while news waits to be told. */
    bool pending() const { return m_wait.isActive(); }

    /** How long the bench must keep still: turning a knob passes through many states, and a voice
     * still reading the new position should not be cut off by the news of the one before. */
    static constexpr int kSettleMs = 1000;
    static constexpr int kAskedMs = 300;

private:
    void tell();

    QList<std::function<QString()>> m_sources;
    QTimer m_wait;
    QString m_told;
    Language m_language = kFirstLanguage;
};
