#include "behaviourcases.h"

namespace {

/** Channel I with the case signal, DC coupled, centred. */
ChannelSettings channelOne(double voltsPerDiv, double position = 0.0)
{
    ChannelSettings channel;
    channel.signal = caseSignal();
    channel.voltsPerDiv = voltsPerDiv;
    channel.coupling = Coupling::DC;
    channel.position = position;
    return channel;
}

ChannelSettings channelTwo(double voltsPerDiv, double position = 0.0, bool inverted = false)
{
    ChannelSettings channel;
    channel.signal = secondCaseSignal();
    channel.voltsPerDiv = voltsPerDiv;
    channel.coupling = Coupling::DC;
    channel.position = position;
    channel.inverted = inverted;
    return channel;
}

/** A setting triggered from channel I at 0 V on the rising slope, AT mode, X-POS. centred. */
ScopeSettings setting(DisplayMode mode, ChannelSettings one, ChannelSettings two, double secondsPerDiv)
{
    ScopeSettings s;
    s.mode = mode;
    s.channelI = one;
    s.channelII = two;
    s.secondsPerDiv = secondsPerDiv;
    return s;
}

ScopeSettings singleChannel(double voltsPerDiv, double secondsPerDiv)
{
    // Channel II stays grounded and unused; only channel I is shown.
    ChannelSettings idle;
    idle.coupling = Coupling::Ground;
    idle.voltsPerDiv = voltsPerDiv;
    return setting(DisplayMode::ChannelI, channelOne(voltsPerDiv), idle, secondsPerDiv);
}

ScopeSettings withTrigger(ScopeSettings s, double levelVolts, TriggerSlope slope, TriggerMode mode)
{
    s.trigger.levelVolts = levelVolts;
    s.trigger.slope = slope;
    s.trigger.mode = mode;
    return s;
}

QList<BehaviourCase> buildCases()
{
    const TriggerMode at = TriggerMode::Automatic;
    const TriggerMode norm = TriggerMode::Normal;
    QList<BehaviourCase> rows;

    // Time/div and Volts/div: the same sine under three sensitivities and three time bases.
    rows.append({ "p12.bmp", "BitBtn2", CaseTopic::TimeAndVolts, singleChannel(5.0, 0.2e-3),
        "Con 5 V/div la onda de 10 Vpp ocupa 2 divisiones; con 0,2 ms/div se ven 2 periodos.",
        "Amb 5 V/div l'ona de 10 Vpp ocupa 2 divisions; amb 0,2 ms/div es veuen 2 períodes." });
    rows.append({ "p11.bmp", "BitBtn3", CaseTopic::TimeAndVolts, singleChannel(2.0, 0.2e-3),
        "Con 2 V/div la misma onda ocupa 5 divisiones de pico a pico.",
        "Amb 2 V/div la mateixa ona ocupa 5 divisions de pic a pic." });
    rows.append({ "p3.bmp", "BitBtn4", CaseTopic::TimeAndVolts, singleChannel(1.0, 0.2e-3),
        "Con 1 V/div la onda necesitaría 10 divisiones: se sale de la pantalla por arriba y por abajo.",
        "Amb 1 V/div l'ona necessitaria 10 divisions: ix de la pantalla per dalt i per baix." });
    rows.append({ "p13.bmp", "BitBtn5", CaseTopic::TimeAndVolts, singleChannel(2.0, 0.5e-3),
        "Con 0,5 ms/div cada periodo ocupa 2 divisiones y se ven 5 periodos.",
        "Amb 0,5 ms/div cada període ocupa 2 divisions i es veuen 5 períodes." });
    rows.append({ "p10.bmp", "BitBtn6", CaseTopic::TimeAndVolts, singleChannel(2.0, 0.1e-3),
        "Con 0,1 ms/div un solo periodo ocupa las 10 divisiones de la pantalla.",
        "Amb 0,1 ms/div un sol període ocupa les 10 divisions de la pantalla." });

    // SLOPE and Level: where the sweep starts on the wave.
    rows.append({ "p15.bmp", "BitBtn7", CaseTopic::SlopeAndLevel,
        withTrigger(singleChannel(2.0, 0.2e-3), 0.0, TriggerSlope::Rising, at),
        "Pendiente positiva (SLOPE +) y nivel 0 V: la traza empieza por la izquierda a la altura del centro, "
        "subiendo.",
        "Pendent positiu (SLOPE +) i nivell 0 V: la traça comença per l'esquerra a l'altura del centre, "
        "pujant." });
    rows.append({ "p4.bmp", "BitBtn8", CaseTopic::SlopeAndLevel,
        withTrigger(singleChannel(2.0, 0.2e-3), 0.0, TriggerSlope::Falling, at),
        "Pendiente negativa (SLOPE −) y nivel 0 V: la traza empieza por la izquierda a la altura del centro, "
        "bajando.",
        "Pendent negatiu (SLOPE −) i nivell 0 V: la traça comença per l'esquerra a l'altura del centre, "
        "baixant." });
    rows.append({ "p8.bmp", "BitBtn9", CaseTopic::SlopeAndLevel,
        withTrigger(singleChannel(2.0, 0.2e-3), 3.0, TriggerSlope::Rising, norm),
        "Nivel subido a +3 V con pendiente positiva: el barrido empieza 1,5 divisiones por encima del "
        "centro.",
        "Nivell pujat a +3 V amb pendent positiu: l'escombratge comença 1,5 divisions per damunt del "
        "centre." });

    // Two channels: channel II carries the same sine 60 degrees behind; every sweep is triggered from channel
    // I.
    rows.append({ "p7.bmp", "BitBtn10", CaseTopic::TwoChannels,
        setting(DisplayMode::ChannelI, channelOne(2.0), channelTwo(2.0), 0.2e-3),
        "Modo CH I: solo se ve el canal I, la senoidal de 10 Vpp.",
        "Mode CH I: només es veu el canal I, la sinusoide de 10 Vpp." });
    rows.append({ "p16.bmp", "BitBtn10", CaseTopic::TwoChannels,
        setting(DisplayMode::ChannelII, channelOne(2.0), channelTwo(2.0), 0.2e-3),
        "Modo CH II: solo se ve el canal II, la misma onda retrasada 60° respecto al canal I.",
        "Mode CH II: només es veu el canal II, la mateixa ona retardada 60° respecte al canal I." });
    rows.append({ "p1.bmp", "BitBtn11", CaseTopic::TwoChannels,
        setting(DisplayMode::Dual, channelOne(5.0, 2.0), channelTwo(5.0, -2.0), 0.2e-3),
        "Modo DUAL: los dos canales a la vez, el I arriba y el II abajo, desfasados 60°.",
        "Mode DUAL: els dos canals alhora, el I dalt i el II baix, desfasats 60°." });
    rows.append({ "p14.bmp", "BitBtn12", CaseTopic::TwoChannels,
        setting(DisplayMode::Add, channelOne(5.0), channelTwo(5.0), 0.2e-3),
        "Modo ADD: se ve la suma de los dos canales, una senoidal de 17,3 Vpp.",
        "Mode ADD: es veu la suma dels dos canals, una sinusoide de 17,3 Vpp." });
    rows.append({ "p5.bmp", "BitBtn13", CaseTopic::TwoChannels,
        setting(DisplayMode::Add, channelOne(5.0), channelTwo(5.0, 0.0, true), 0.2e-3),
        "Modo ADD con el canal II invertido (INV II): se ve la diferencia I − II, de 10 Vpp.",
        "Mode ADD amb el canal II invertit (INV II): es veu la diferència I − II, de 10 Vpp." });
    rows.append({ "p9.bmp", "BitBtn14", CaseTopic::TwoChannels,
        setting(DisplayMode::XY, channelOne(2.0), channelTwo(2.0), 0.2e-3),
        "Modo X-Y: canal I en vertical y canal II en horizontal; el desfase de 60° da una elipse.",
        "Mode X-Y: canal I en vertical i canal II en horitzontal; el desfasament de 60° dona una "
        "el·lipse." });
    return rows;
}

} // namespace

InputSignal caseSignal()
{
    InputSignal signal;
    signal.waveform = Waveform::Sine;
    signal.amplitudeVpp = 10.0;
    signal.frequencyHz = 1000.0;
    return signal;
}

InputSignal secondCaseSignal()
{
    InputSignal signal = caseSignal();
    signal.phaseDegrees = -60.0;
    return signal;
}

const QList<BehaviourCase> &behaviourCases()
{
    static const QList<BehaviourCase> rows = buildCases();
    return rows;
}

const BehaviourCase &restingScreen()
{
    static const BehaviourCase resting = [] {
        BehaviourCase row;
        row.fileName = QStringLiteral("papag.bmp");
        row.topic = CaseTopic::TimeAndVolts;
        row.settings = singleChannel(2.0, 0.2e-3);
        row.settings.channelI.signal = InputSignal {};
        row.settings.channelI.coupling = Coupling::Ground;
        row.castilian
            = QStringLiteral("Osciloscopio encendido y sin señal: la traza reposa en la línea central.");
        row.valencian
            = QStringLiteral("Oscil·loscopi encès i sense senyal: la traça reposa en la línia central.");
        return row;
    }();
    return resting;
}

const BehaviourCase *behaviourCaseForFile(const QString &fileName)
{
    for (const BehaviourCase &row : behaviourCases()) {
        if (row.fileName == fileName)
            return &row;
    }
    if (fileName == restingScreen().fileName)
        return &restingScreen();
    return nullptr;
}
