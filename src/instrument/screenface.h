#pragma once

#include "wording.h"

#include <QWidget>

/**
 * The tube face as screen readers meet it: a picture named for what it is and described by what it shows.
 * It lies over the face the panel paints, draws nothing itself and takes neither the pointer nor the
 * focus, so the controls keep both. A screen reader speaks a changed description only of the object that
 * has the focus, so changed words are told by the bench's news (untold() gives them to it).
 */
class ScreenFace : public QWidget
{
    Q_OBJECT

public:
    explicit ScreenFace(QWidget *parent);

    /** The language of the name. */
    void setLanguage(Language language);
    /** "Pantalla del osciloscopio" or "Pantalla de l'oscil·loscopi". */
    QString name() const;
    /** What the face shows now. The first words, and the same words in the other language, are no news. */
    void describe(const QString &words, bool news = true);
    QString description() const { return m_words; }
    /** The words, if screen readers have not been told them yet; from now on they count as told. */
    QString untold();

private:
    Language m_language = kFirstLanguage;
    QString m_words;
    /** The words screen readers were last told. */
    QString m_heard;
};
