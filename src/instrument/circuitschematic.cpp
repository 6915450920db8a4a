#include "circuitschematic.h"

#include "schematicpainter.h"
#include "wording.h"

#include <QPainter>

CircuitSchematic::CircuitSchematic(QWidget *parent, Language language)
    : QWidget(parent)
    , m_language(language)
{
    setAccessibleName(textIn(language, u"Esquema del circuito", u"Esquema del circuit"));
    setMinimumSize(sizeHint());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    hide();
}

void CircuitSchematic::showWiring(const GeneratorSettings &settings)
{
    const QString id = settings.hookup == Hookup::Circuit ? settings.circuit
        : settings.hookup == Hookup::RcCircuit            ? SchematicPainter::practiceCircuit
                                                          : QString();
    m_id = SchematicPainter::hasLayout(id) ? id : QString();
    m_values = SchematicPainter::valuesOf(m_id);
    setVisible(!m_id.isEmpty());
    update();
}

void CircuitSchematic::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    SchematicPainter::paint(p, QRectF(rect()).adjusted(3, 2, -3, -2), m_id, m_values, m_language);
}
