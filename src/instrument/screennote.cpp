#include "screennote.h"

#include "livepanel.h"
#include "traceexplanation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

QColor noteColour(bool hint)
{
    return hint ? QColor(0x6a, 0x6a, 0x6a) : QColor(0x10, 0x10, 0x10);
}

} // namespace

ScreenNote::ScreenNote(QWidget *parent, Language language)
    : QWidget(parent)
    , m_language(language)
{
    setObjectName(QStringLiteral("nota"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("texto"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->addWidget(m_text, 1);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(3);
    m_why = new QPushButton(
        Wording::of(u"¿Por qué no veo la traza?", u"Per què no veig la traça?").in(language), this);
    m_why->setObjectName(QStringLiteral("porque"));
    m_why->setToolTip(Wording::of(u"Dice qué impide ver una traza estable y qué mando lo arregla",
        u"Diu què impedix veure una traça estable i quin comandament ho arregla")
                          .in(language));
    m_describe
        = new QPushButton(Wording::of(u"Describir la pantalla", u"Descriure la pantalla").in(language), this);
    m_describe->setObjectName(QStringLiteral("describir"));
    m_describe->setCheckable(true);
    m_describe->setToolTip(Wording::of(u"Escribe bajo la pantalla lo que muestra, y lo mantiene al día",
        u"Escriu davall de la pantalla el que mostra, i ho manté al dia")
                               .in(language));
    for (QPushButton *button : { m_why, m_describe }) {
        button->setAutoDefault(false);
        button->setMinimumWidth(190);
        buttons->addWidget(button);
    }
    row->addLayout(buttons);

    connect(m_why, &QPushButton::clicked, this, [this] {
        m_asked = true;
        // A second question is told again, even if the answer has not changed.
        m_askedAgain = true;
        Q_EMIT needsInstrument();
        Q_EMIT asked();
    });
    connect(m_describe, &QPushButton::toggled, this, [this] {
        Q_EMIT needsInstrument();
        Q_EMIT asked();
    });

    m_hint = Wording::of(u"Si la pantalla no muestra lo que esperas, pulsa «¿Por qué no veo la traza?». "
                         u"«Describir la pantalla» escribe aquí lo que muestra.",
        u"Si la pantalla no mostra el que esperes, polsa «Per què no veig la traça?». «Descriure la "
        u"pantalla» escriu ací el que mostra.")
                 .in(language);
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
    m_answer.clear();
    m_explanation.clear();
    m_words = m_describe->isChecked() ? panel.screenDescription(m_language) : QString();
    if (m_asked) {
        const TraceExplanation why = explainTrace(panel.scope(), panel.moment(), panel.screenReadings());
        fine = why.fine();
        m_explanation = why.in(m_language);
        // A screen that is fine is told with what it shows.
        m_answer
            = m_explanation + (fine ? QStringLiteral(" ") + panel.screenDescription(m_language) : QString());
        lines << m_answer;
    }
    if (m_describe->isChecked() && !fine)
        lines << m_words;
    const QString text = lines.join(QLatin1Char('\n'));
    if (text != m_text->text())
        showText(text, false);
}

QString ScreenNote::untold()
{
    QStringList parts;
    const bool describing = m_describe->isChecked();
    // A new answer is told whole; the face's new words under the same answer are the face's to tell.
    const bool answerUntold
        = m_asked && !m_answer.isEmpty() && (m_askedAgain || m_explanation != m_toldExplanation);
    if (describing != m_toldDescribing) {
        m_toldDescribing = describing;
        parts << (describing
                ? inLanguage(m_language, QStringLiteral("Activado."), QStringLiteral("Activat."))
                : inLanguage(m_language, QStringLiteral("Desactivado."), QStringLiteral("Desactivat.")));
        // The words follow the switch, unless the answer about to be told carries them.
        if (describing && !(answerUntold && m_answer.contains(m_words)))
            parts << m_words;
    }
    if (answerUntold) {
        parts << m_answer;
        m_toldExplanation = m_explanation;
    }
    m_askedAgain = false;
    return parts.join(QLatin1Char(' '));
}
