#include "screennote.h"

#include "announcedlabel.h"
#include "livepanel.h"
#include "traceexplanation.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

/** How long the answer has to stay the same before screen readers hear it again. */
constexpr int kSettleMs = 600;

QColor noteColour(bool hint)
{
    return hint ? QColor(0x6a, 0x6a, 0x6a) : QColor(0x10, 0x10, 0x10);
}

} // namespace

ScreenNote::ScreenNote(QWidget *parent, bool castilian)
    : QWidget(parent)
    , m_castilian(castilian)
{
    setObjectName(QStringLiteral("nota"));
    const auto pick = [castilian](const char16_t *es, const char16_t *va) {
        return QString::fromUtf16(castilian ? es : va);
    };
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ScreenNote::announce);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    m_text = new AnnouncedLabel(this);
    m_text->setObjectName(QStringLiteral("texto"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->addWidget(m_text, 1);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(3);
    m_why = new QPushButton(pick(u"¿Por qué no veo la traza?", u"Per què no veig la traça?"), this);
    m_why->setObjectName(QStringLiteral("porque"));
    m_why->setToolTip(pick(u"Dice qué impide ver una traza estable y qué mando lo arregla",
        u"Diu què impedix veure una traça estable i quin comandament ho arregla"));
    m_describe = new QPushButton(pick(u"Describir la pantalla", u"Descriure la pantalla"), this);
    m_describe->setObjectName(QStringLiteral("describir"));
    m_describe->setCheckable(true);
    m_describe->setToolTip(pick(u"Escribe bajo la pantalla lo que muestra, y lo mantiene al día",
        u"Escriu davall de la pantalla el que mostra, i ho manté al dia"));
    for (QPushButton *button : { m_why, m_describe }) {
        button->setAutoDefault(false);
        button->setMinimumWidth(190);
        buttons->addWidget(button);
    }
    row->addLayout(buttons);

    connect(m_why, &QPushButton::clicked, this, [this] {
        m_asked = true;
        // A second question is heard again, even if the answer has not changed.
        m_heard.clear();
        Q_EMIT needsInstrument();
    });
    connect(m_describe, &QPushButton::toggled, this, &ScreenNote::needsInstrument);

    m_hint = pick(u"Si la pantalla no muestra lo que esperas, pulsa «¿Por qué no veo la traza?». "
                  u"«Describir la pantalla» escribe aquí lo que muestra.",
        u"Si la pantalla no mostra el que esperes, polsa «Per què no veig la traça?». «Descriure la "
        u"pantalla» escriu ací el que mostra.");
    showText(m_hint, true);
}

void ScreenNote::showText(const QString &text, bool hint)
{
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::WindowText, noteColour(hint));
    m_text->setPalette(palette);
    m_text->setText(text);
}

void ScreenNote::follow(const LivePanel &panel)
{
    // Asking the panel for its words may work them out and tell of them, which asks the note again: the
    // answer being written here already takes them in.
    if (m_following)
        return;
    const QScopedValueRollback following(m_following, true);
    if (!m_asked && !m_describe->isChecked()) {
        if (m_text->text() != m_hint)
            showText(m_hint, true);
        return;
    }
    QStringList lines;
    bool fine = false;
    if (m_asked) {
        const TraceExplanation why = explainTrace(panel.scope(), panel.moment(), panel.screenReadings());
        fine = why.fine();
        // A screen that is fine is told with what it shows.
        lines << (m_castilian ? why.castilian : why.valencian)
                + (fine ? QStringLiteral(" ") + panel.screenDescription(m_castilian) : QString());
    }
    if (m_describe->isChecked() && !fine)
        lines << panel.screenDescription(m_castilian);
    const QString text = lines.join(QLatin1Char('\n'));
    const bool changed = text != m_text->text();
    if (changed)
        showText(text, false);
    // An answer not yet heard is told once it has settled: a new one, or the same one asked again.
    if (m_asked && text != m_heard && (changed || !m_settle.isActive()))
        m_settle.start();
}

void ScreenNote::announce()
{
    if (!isVisible() || m_text->text() == m_heard)
        return;
    m_heard = m_text->text();
    m_text->announce();
}
