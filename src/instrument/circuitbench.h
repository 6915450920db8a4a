#pragma once

#include "circuitsolver.h"
#include "componenttester.h"
#include "hm203.h"
#include "language.h"
#include "wording.h"

#include <QObject>
#include <QSet>
#include <QThread>

#include <atomic>
#include <memory>

/**
 * The bench's simulator, run beside the window: ngspice works on a thread of its own, so a circuit or a
 * tester part being simulated never holds the window up. Each request for a circuit is numbered; a newer
 * one supersedes the older, whose result is dropped however late it comes, so the scope only ever adopts
 * the circuit and drive the generator is set to now.
 */
class CircuitBench : public QObject
{
    Q_OBJECT

public:
    CircuitBench(QObject *parent, Language language);
    ~CircuitBench() override;

    /** Asks for the circuit the settings wire to the inputs; returns at once. Any other hookup only makes
     * the results still on their way stale. */
    void follow(const GeneratorSettings &settings);
    /** Simulates tester parts ahead of their use, so a part in the socket is drawn at once. */
    void warmParts(const QStringList &ids);
    /** True once a part has been simulated here (whether it worked or not). */
    bool warmed(const QString &id) const { return m_warmed.contains(id); }
    /** The number of the newest circuit request. */
    quint64 generation() const { return m_generation; }

Q_SIGNALS:
    /** The current request's circuit, settled, for the window to adopt. */
    void solved(const CircuitSolution &solution, const QString &circuit, const CircuitDrive &drive);
    /** The current request's circuit could not be simulated: what to tell the student. */
    void failed(const QString &message);
    /** A part has been simulated; message is empty when it worked, else what to tell the student. */
    void partWarmed(const QString &id, const QString &message);

private:
    Language m_language;
    QThread m_thread;
    /** Lives on m_thread: the context the simulations run in. */
    QObject *m_worker;
    quint64 m_generation = 0;
    /** The newest request's number, for the worker to skip the requests already superseded. */
    std::shared_ptr<std::atomic<quint64>> m_latest;
    QSet<QString> m_warmed;
};
