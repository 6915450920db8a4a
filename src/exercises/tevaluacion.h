#pragma once

#include "controls.h"
#include "evaluationspots.h"
#include "form.h"
#include "language.h"

#include <QList>
#include <QPointer>

class QTabWidget;

/**
 * The self-evaluation: ten questions on ten tab pages below a photograph of the front panel. The
 * student answers the question shown by clicking a control on the photograph; each question right
 * scores one point, once. "Nota Final" shows the points gathered so far.
 *
 * The score is the questionnaire's, not the window's: every window of this class shares it, and
 * every activation of any of them starts it again from nothing.
 */
class Tevaluacion : public Form, public LanguageCopy<Tevaluacion>
{
    Q_OBJECT

public:
    Tevaluacion();

    void FormCreate() override;
    /** Every return to the window starts the questionnaire over, on the first question. */
    void FormActivate() override;

    /** The page is about to change: the verdict of the last answer goes away, the points stay. */
    void paginasChanging();
    /** Writes the points gathered so far. */
    void BitBtn1Click();

    /**
     * The click on a hot-spot: the control that answers the question on the page shown earns its
     * point; any other control, or the right one on another page, is a wrong answer.
     */
    void hotSpotClick(const EvaluationSpot &spot);
    /** The wrong answer: says so, and costs nothing. */
    void Image2Click();
    /** Awards the point of a question (1 to 10), once: a question already answered changes nothing. */
    void puntuacion(int question);
    /** The pointer moved over a hot-spot: from now on it shows the hand there. */
    void hotSpotMouseMove(HotSpot *spot);

    /** The hot-spot of that name ("Image2" .. "Image34"); null for an unknown name. */
    HotSpot *hotSpot(const QString &name) const;
    /** The page of a question, 1 to 10 (c1 .. c10). */
    QWidget *page(int question) const { return m_pages.value(question - 1); }
    /** The labels that ask a question, 1 to 10, in reading order. */
    QList<Label *> questionLabels(int question) const;

    Picture *Image1;
    HotSpot *ipant;
    QTabWidget *paginas;
    Panel *Panel1;
    GlyphButton *BitBtn1;
    GlyphButton *BitBtn2;

private:
    QList<HotSpot *> m_hotSpots;
    QList<QWidget *> m_pages;
    QList<QList<Label *>> m_questionLabels;
};

/** The newest self-evaluation window. */
inline QPointer<Tevaluacion> evaluacion;
