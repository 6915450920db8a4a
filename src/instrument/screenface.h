#pragma once

#include <QTimer>
#include <QWidget>

class ScreenNews;

/**
 * The tube face as screen readers meet it: a picture named for what it is and described by what it shows.
 * It lies over the face the panel paints, draws nothing itself and takes neither the pointer nor the
 * focus, so the controls keep both. Changed words are told once they have stayed the same for a moment,
 * through a notification inside it: a screen reader speaks a changed description only of the object that
 * has the focus, and a notification wherever the focus is.
 */
class ScreenFace : public QWidget
{
    Q_OBJECT

public:
    explicit ScreenFace(QWidget *parent);

    /** The language of the name. */
    void setCastilian(bool castilian);
    /** "Pantalla del osciloscopio" or "Pantalla de l'oscil·loscopi". */
    QString name() const;
    /**
     * What the face shows now. Words that differ from those last told are told once nothing has changed
     * them for kSettleMs; the first words, and the same words in the other language, are no news.
     */
    void describe(const QString &words, bool news = true);
    QString description() const { return m_words; }
    /** The notification that tells changed words. */
    QWidget *news() const;

    /** How long the words must stay the same before they are told: turning a knob passes through many. */
    static constexpr int kSettleMs = 1000;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void announce();

    bool m_castilian = true;
    QString m_words;
    /** The words screen readers last heard of. */
    QString m_heard;
    QTimer m_settle;
    ScreenNews *m_news;
};
