#pragma once

#include "hm203.h"
#include "language.h"

#include <QHash>
#include <QWidget>

/**
 * The schematic of the circuit on the bench, beside the generator: what is wired between output I and the
 * inputs, with the components' values and where the tips of CH I and CH II go. It hides itself when the
 * inputs are on the plain generator or on the CAL socket.
 */
class CircuitSchematic : public QWidget
{
    Q_OBJECT

public:
    CircuitSchematic(QWidget *parent, Language language);

    /** Shows the circuit the settings wire in, or hides. */
    void showWiring(const GeneratorSettings &settings);
    /** The layout shown (SchematicPainter's id); empty when hidden. */
    QString circuitId() const { return m_id; }

    QSize sizeHint() const override { return { 220, 100 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Language m_language;
    QString m_id;
    QHash<QString, QString> m_values;
};
