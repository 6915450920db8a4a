#pragma once

#include "controls.h"
#include "form.h"
#include "language.h"

#include <QPointer>

class BenchNews;
class GeneratorPanel;
class QLabel;
class LivePanel;
class ScreenNote;
class TaskStrip;

/**
 * The virtual oscilloscope: an HM-203 the student operates, the function generator that feeds it,
 * and a strip of small tasks judged from what the instrument shows. It opens switched on, a 1 kHz
 * sine on CH I, triggered in AT, the trace steady. Screen readers are told what changes on the bench
 * (a task's verdict, the note's answer, the face's words) as one message once the bench keeps still.
 */
class Tosciloscopio : public Form, public LanguageCopy<Tosciloscopio>
{
    Q_OBJECT

public:
    Tosciloscopio();

    void FormCreate() override;

    /** Shows the ranges in use under the panel. */
    void showReadout();

    LivePanel *panel;
    QLabel *lectura = nullptr;
    /** Under the readout: why no trace shows, and the face in words, each on one click. */
    ScreenNote *nota = nullptr;
    GeneratorPanel *generador = nullptr;
    TaskStrip *tarea = nullptr;
    /** What screen readers are told of the bench, as one notification per change. */
    BenchNews *aviso = nullptr;
    GlyphButton *bcerrar = nullptr;
};

/** The newest virtual oscilloscope. */
inline QPointer<Tosciloscopio> osciloscopio;
