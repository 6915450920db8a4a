#pragma once

#include "scopesettings.h"

#include <QList>
#include <QString>

/** The three topics of the behaviour window, one explanatory text each. */
enum class CaseTopic { TimeAndVolts, SlopeAndLevel, TwoChannels };

/**
 * One screen picture of the behaviour window: the file it is drawn into, the button that shows it,
 * its topic, the complete instrument setting it shows and one plain sentence on what it shows.
 */
struct BehaviourCase
{
    QString fileName;
    QString button;
    CaseTopic topic = CaseTopic::TimeAndVolts;
    ScopeSettings settings;
    QString castilian;
    QString valencian;
};

/** The signal every case shows on channel I: a 10 Vpp, 1 kHz sine. */
InputSignal caseSignal();
/** The second signal of the two-channel cases: the same sine, lagging 60 degrees. */
InputSignal secondCaseSignal();

/**
 * The fourteen case pictures in the order of their buttons ("BitBtn2" to "BitBtn14"); "BitBtn10"
 * has two rows, "p7.bmp" first and "p16.bmp" second, the pictures it shows in turn.
 */
const QList<BehaviourCase> &behaviourCases();

/** The screen before any case is chosen ("papag.bmp"): switched on, no signal, the resting trace on the
 * centre line. */
const BehaviourCase &restingScreen();

/** The row drawn into a file name, or nullptr. */
const BehaviourCase *behaviourCaseForFile(const QString &fileName);
