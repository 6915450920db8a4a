#include "circuitbench.h"

#include <QFileInfo>

CircuitBench::CircuitBench(QObject *parent, Language language)
    : QObject(parent)
    , m_language(language)
    , m_worker(new QObject)
    , m_latest(std::make_shared<std::atomic<quint64>>(0))
{
    m_thread.setObjectName(QStringLiteral("circuitbench"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

CircuitBench::~CircuitBench()
{
    // Requests still queued are skipped: nothing will take their results.
    m_latest->store(~quint64(0));
    m_thread.quit();
    m_thread.wait();
}

void CircuitBench::follow(const GeneratorSettings &settings)
{
    const quint64 generation = ++m_generation;
    m_latest->store(generation);
    const Circuit *found = settings.hookup == Hookup::Circuit ? benchCircuit(settings.circuit) : nullptr;
    if (!found)
        return;
    const Circuit circuit = *found;
    const CircuitDrive drive { settings.waveform, settings.frequencyHz, settings.amplitudeIVpp,
        settings.offsetIVolts, settings.amplitudeIIVpp, settings.offsetIIVolts, settings.phaseIIDegrees };
    QMetaObject::invokeMethod(m_worker, [this, latest = m_latest, generation, circuit, drive] {
        // A request superseded while it waited is not worth ngspice's time.
        if (latest->load() != generation)
            return;
        const CircuitSolution solution = solveCircuit(circuit, drive);
        // Back on the window's thread; dropped if the bench is gone or a newer request came meanwhile.
        QMetaObject::invokeMethod(this, [this, generation, circuit, drive, solution] {
            if (generation != m_generation)
                return;
            if (solution.ok) {
                Q_EMIT solved(solution, circuit.id, drive);
                return;
            }
            Q_EMIT failed(textIn(m_language, u"El circuito de %1 no se puede simular. ngspice dice: «%2»",
                u"El circuit de %1 no es pot simular. ngspice diu: «%2»")
                              .arg(QFileInfo(circuit.fileName).fileName(), solution.message));
        });
    });
}

void CircuitBench::warmParts(const QStringList &ids)
{
    QMetaObject::invokeMethod(m_worker, [this, latest = m_latest, ids] {
        for (const QString &id : ids) {
            if (latest->load() == ~quint64(0))
                return;
            const TesterPart *part = testerPart(id);
            const TesterSolution solution = solveTester(part);
            const QString fileName = part ? QFileInfo(part->fileName).fileName() : QString();
            QMetaObject::invokeMethod(this, [this, id, fileName, solution] {
                m_warmed.insert(id);
                Q_EMIT partWarmed(id,
                    solution.ok || fileName.isEmpty()
                        ? QString()
                        : textIn(m_language, u"El componente de %1 no se puede simular. ngspice dice: «%2»",
                            u"El component de %1 no es pot simular. ngspice diu: «%2»")
                              .arg(fileName, solution.message));
            });
        }
    });
}
