#pragma once

#include "hm203tasks.h"
#include "wording.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class CircuitSchematic;
class QDoubleSpinBox;
class RadioGroup;

/**
 * The function generator on the bench beside the oscilloscope: the waveform of both outputs, each
 * output's frequency (output II's may follow output I's), amplitude and offset, output II's phase against
 * output I, how the outputs and the calibrator are wired to the inputs (TRIG. INP. included), the probe on
 * each channel with its trimmer, and what sits in the component tester.
 */
class GeneratorPanel : public QWidget
{
    Q_OBJECT

public:
    GeneratorPanel(QWidget *parent, Language language);

    GeneratorSettings settings() const { return m_settings; }
    /** Shows settings (a task's starting point) without reporting them back as the student's. */
    void setSettings(const GeneratorSettings &settings);

    /** Keeps one reading from the student (the value a task asks to measure): its box shows "?". */
    void setHidden(HiddenReading hidden);

    QDoubleSpinBox *frequency() const { return m_frequency; }
    /** Output II's frequency; its lowest step, 0, runs output II at output I's. */
    QDoubleSpinBox *frequencyII() const { return m_frequencyII; }
    QDoubleSpinBox *amplitudeI() const { return m_amplitudeI; }
    QDoubleSpinBox *amplitudeII() const { return m_amplitudeII; }
    QDoubleSpinBox *offsetI() const { return m_offsetI; }
    QDoubleSpinBox *offsetII() const { return m_offsetII; }
    QDoubleSpinBox *phaseII() const { return m_phaseII; }
    RadioGroup *waveform() const { return m_waveform; }
    /** How things are wired: the four fixed hookups, then the bench's circuits by name. */
    QComboBox *hookup() const { return m_hookup; }
    /** What sits in the tester's socket: nothing, the shipped parts, the teacher's added ones, and last the
     * entry that asks for a teacher's file. */
    QComboBox *testerLoad() const { return m_tester; }
    /** The chosen circuit's schematic, hidden when the inputs are on the plain generator or the CAL. */
    CircuitSchematic *schematic() const { return m_schematic; }
    /** Offers a teacher's part (added with addTesterPart and simulated) in the tester's list, and puts it in
     * the socket as if the student had chosen it. */
    void addOwnPart(const QString &id);
    /** The probe on a channel (×1, ×10) and its compensation trimmer, which only a ×10 probe has. */
    RadioGroup *probe(bool second) const { return second ? m_probeII : m_probeI; }
    QDoubleSpinBox *compensation(bool second) const { return second ? m_compensationII : m_compensationI; }
    QDoubleSpinBox *noise() const { return m_noise; }
    QDoubleSpinBox *hum() const { return m_hum; }
    QCheckBox *burst() const { return m_burst; }
    /** Output I wired to TRIG. INP. as well, for EXT. */
    QCheckBox *triggerInput() const { return m_triggerInput; }

Q_SIGNALS:
    /** The student changed something. */
    void settingsChanged(const GeneratorSettings &settings);
    /** The student asked to put a part of their own in the tester (the last entry of its list). */
    void ownPartAsked();

private:
    void read();
    /** The limits that follow from other choices: the frequency's top from the waveform, the trimmers
     * only on ×10 probes. */
    void followChoices(const GeneratorSettings &settings);
    /** Puts the combo boxes and the schematic in line with the settings. */
    void showWiring(const GeneratorSettings &settings);
    void testerChosen(int index);

    Language m_language;
    GeneratorSettings m_settings;
    HiddenReading m_hidden = HiddenReading::None;
    bool m_showing = false;
    RadioGroup *m_waveform;
    QComboBox *m_hookup;
    QComboBox *m_tester;
    CircuitSchematic *m_schematic;
    RadioGroup *m_probeI;
    RadioGroup *m_probeII;
    QDoubleSpinBox *m_compensationI;
    QDoubleSpinBox *m_compensationII;
    QDoubleSpinBox *m_frequency;
    QDoubleSpinBox *m_frequencyII;
    QDoubleSpinBox *m_amplitudeI;
    QDoubleSpinBox *m_amplitudeII;
    QDoubleSpinBox *m_offsetI;
    QDoubleSpinBox *m_offsetII;
    QDoubleSpinBox *m_phaseII;
    QDoubleSpinBox *m_noise;
    QDoubleSpinBox *m_hum;
    QCheckBox *m_burst;
    QCheckBox *m_triggerInput;
};
