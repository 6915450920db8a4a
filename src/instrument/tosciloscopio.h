#pragma once

#include "controls.h"
#include "form.h"
#include "lab.h"
#include "labreport.h"
#include "language.h"

#include <QPointer>
#include <QSet>

#include <optional>

class BenchNews;
class CircuitBench;
class GeneratorPanel;
class QAction;
class QFileDialog;
class QLabel;
class LivePanel;
class ScreenNote;
class TaskStrip;

/**
 * The virtual oscilloscope: an HM-203 the student operates, the function generator that feeds it,
 * and a strip of small tasks judged from what the instrument shows. It opens switched on, a 1 kHz
 * sine on CH I, triggered in AT, the trace steady. Screen readers are told what changes on the bench
 * (a task's verdict, the note's answer, the face's words) as one message once the bench keeps still.
 * The "Práctica" button under the strip opens a lab file, writes the student's report of the lab as a PDF,
 * and saves the tube's face as a picture.
 */
class Tosciloscopio : public Form, public LanguageCopy<Tosciloscopio>
{
    Q_OBJECT

public:
    Tosciloscopio();

    void FormCreate() override;

    /** Shows the ranges in use under the panel. */
    void showReadout();

    /** Asks for a lab file to open (Ctrl+O). */
    void openLabClick();
    /** Asks for the student's name and group, then where the report goes (Ctrl+R). */
    void reportClick();
    /** Asks where the picture of the screen goes (Ctrl+S). */
    void saveScreenClick();
    /** Runs a lab file's tasks in the strip; a file with errors is told and changes nothing. */
    bool openLab(const QString &path);
    /** Writes the report of the lab as the student has worked it; told when it cannot be written. */
    bool writeReport(const QString &path, const ReportAuthor &author);
    /** Saves the tube face as a PNG picture; told when it cannot be written. */
    bool saveScreen(const QString &path);
    /** Asks for a teacher's part for the tester (TOML, or a SPICE netlist). */
    void ownPartClick();
    /**
     * Reads a teacher's part and simulates it beside the window; once it works it is offered in the tester's
     * list and put in the socket. A file with errors, or a part ngspice cannot simulate, is told and leaves
     * the socket as it was. False when the file could not be read.
     */
    bool openTesterPart(const QString &path);
    /** Reads a lab file; one with errors is told in a language, each error with its line and key. */
    static std::optional<Lab> readLab(const QString &path, Language language);

    LivePanel *panel;
    QLabel *lectura = nullptr;
    /** Under the readout: why no trace shows, and the face in words, each on one click. */
    ScreenNote *nota = nullptr;
    GeneratorPanel *generador = nullptr;
    /** Simulates the bench's circuits and the tester's parts beside the window. */
    CircuitBench *banco = nullptr;
    TaskStrip *tarea = nullptr;
    /** What screen readers are told of the bench, as one notification per change. */
    BenchNews *aviso = nullptr;
    GlyphButton *bcerrar = nullptr;
    /** The button whose menu holds the three actions below; each also has its key on the window. */
    QPushButton *bpractica = nullptr;
    QAction *abrirPractica = nullptr;
    QAction *informe = nullptr;
    QAction *guardarImagen = nullptr;

private:
    /** A file dialog in the student's language, opened at the folder last used. */
    QFileDialog *fileDialog(const char *name, bool saving, const QString &caption, const QString &filter,
        const QString &suffix, const QString &fileName = {});
    /** Writes bytes to a file whole or not at all, telling the student when it cannot. */
    bool writeFile(const QString &path, const QByteArray &bytes);

    /** The folder of the file last opened or saved, where the next dialog opens. */
    QString m_folder;
    /** Teacher's parts being simulated before they go in the socket. */
    /** A part the student put in the socket before the bench had simulated it: it goes in once it has. */
    QString m_waitingPart;
    QSet<QString> m_ownParts;
};

/** The newest virtual oscilloscope. */
inline QPointer<Tosciloscopio> osciloscopio;
