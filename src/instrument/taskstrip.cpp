#include "taskstrip.h"

#include "announcedlabel.h"
#include "hm203.h"
#include "hm203tasks.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

namespace {

/** How long the verdict has to stay the same before screen readers hear it. */
constexpr int kSettleMs = 600;

} // namespace

TaskStrip::TaskStrip(QWidget *parent, bool castilian)
    : QWidget(parent)
    , m_castilian(castilian)
{
    setObjectName(QStringLiteral("tarea"));
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &TaskStrip::announce);
    const auto text = [castilian](const char16_t *es, const char16_t *va) {
        return QString::fromUtf16(castilian ? es : va);
    };
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("title"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    grid->addWidget(m_title, 0, 0, 1, 3);

    m_goal = new AnnouncedLabel(this);
    m_goal->setObjectName(QStringLiteral("goal"));
    m_goal->setWordWrap(true);
    m_goal->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_goal->setMinimumHeight(52);
    grid->addWidget(m_goal, 1, 0, 1, 3);

    m_answerLabel = new QLabel(text(u"Medida:", u"Mesura:"), this);
    m_answer = new QLineEdit(this);
    m_answer->setObjectName(QStringLiteral("answer"));
    m_answer->setMaxLength(40);
    m_answer->setAccessibleName(text(u"Medida", u"Mesura"));
    m_answerLabel->setBuddy(m_answer);
    m_unit = new QLabel(this);
    grid->addWidget(m_answerLabel, 2, 0);
    grid->addWidget(m_answer, 2, 1);
    grid->addWidget(m_unit, 2, 2);
    connect(m_answer, &QLineEdit::textChanged, this, &TaskStrip::needsJudging);

    m_verdict = new AnnouncedLabel(this);
    m_verdict->setObjectName(QStringLiteral("verdict"));
    m_verdict->setWordWrap(true);
    m_verdict->setMinimumHeight(36);
    m_verdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_verdict, 3, 0, 1, 3);

    auto *buttons = new QHBoxLayout;
    m_previous = new QPushButton(text(u"< Anterior", u"< Anterior"), this);
    m_previous->setObjectName(QStringLiteral("previous"));
    m_next = new QPushButton(text(u"Siguiente >", u"Següent >"), this);
    m_next->setDefault(false);
    m_next->setObjectName(QStringLiteral("next"));
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    connect(m_previous, &QPushButton::clicked, this, [this] { showTask(m_index - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showTask(m_index + 1); });
}

void TaskStrip::showTask(int index)
{
    const QList<Hm203Task> &tasks = hm203Tasks();
    const auto text = [this](const char16_t *es, const char16_t *va) {
        return QString::fromUtf16(m_castilian ? es : va);
    };
    // Before the first task, the strip only says what it offers: the instrument stays as it opened.
    m_index = std::clamp(index, -1, int(tasks.size()) - 1);
    m_previous->setEnabled(m_index > 0);
    m_next->setEnabled(m_index + 1 < tasks.size());
    m_answer->clear();
    m_settle.stop();
    m_heard.clear();
    m_goalHeard = false;
    if (m_index < 0) {
        m_title->setText(text(u"Tareas", u"Tasques"));
        m_goal->setText(text(u"%1 tareas cortas para practicar con el osciloscopio. Pulsa «Siguiente» para "
                             u"empezar: cada tarea prepara el generador y se comprueba mientras trabajas.",
            u"%1 tasques curtes per a practicar amb l'oscil·loscopi. Polsa «Següent» per a començar: cada "
            u"tasca prepara el generador i es comprova mentre treballes.")
                            .arg(tasks.size()));
        for (QWidget *w : std::initializer_list<QWidget *> { m_answerLabel, m_answer, m_unit })
            w->setVisible(false);
        m_verdict->clear();
        m_met = false;
        return;
    }
    const Hm203Task &task = tasks.at(m_index);
    m_title->setText(text(u"Tarea %1 de %2", u"Tasca %1 de %2").arg(m_index + 1).arg(tasks.size()));
    m_goal->setText(text(task.castilian, task.valencian));
    const bool measuring = task.answerUnit != nullptr;
    m_answerLabel->setVisible(measuring);
    m_answer->setVisible(measuring);
    m_unit->setVisible(measuring);
    m_unit->setText(measuring ? QString::fromUtf16(task.answerUnit) : QString());
    layout()->activate();
    if (task.prepare) {
        GeneratorSettings generator;
        task.prepare(generator, QRandomGenerator::global()->generate());
        Q_EMIT prepareGenerator(generator, task.hidden);
    }
    Q_EMIT needsJudging();
}

void TaskStrip::judge(const Hm203 &scope, const BeamMoment &moment)
{
    const QList<Hm203Task> &tasks = hm203Tasks();
    if (m_index < 0 || m_index >= tasks.size())
        return;
    const Hm203Task &task = tasks.at(m_index);
    std::optional<double> typed;
    if (task.answerUnit)
        typed = readTypedNumber(m_answer->text(), task.answerUnit);
    const QString written = m_answer->text().trimmed();
    if (task.answerUnit && !typed && !written.isEmpty()) {
        // Something that is not a measurement: say so, rather than ask for one again.
        m_met = false;
        m_verdict->setText(
            (m_castilian ? QStringLiteral("«%1» no es un número: escribe solo el valor, por ejemplo 2,5 %2.")
                         : QStringLiteral("«%1» no és un nombre: escriu només el valor, per exemple 2,5 %2."))
                .arg(written.left(20), QString::fromUtf16(task.answerUnit)));
        showVerdict(false);
        return;
    }
    const TaskVerdict verdict = judgeTask(task, scope, moment, typed);
    m_met = verdict.met;
    m_verdict->setText(m_castilian ? verdict.castilian : verdict.valencian);
    showVerdict(m_met);
}

void TaskStrip::showVerdict(bool met)
{
    // Green and bold when met, grey while the student works; in the strip's own font.
    QPalette palette = m_verdict->palette();
    palette.setColor(QPalette::WindowText, met ? QColor(0x0a, 0x6e, 0x1e) : QColor(0x5a, 0x5a, 0x5a));
    m_verdict->setPalette(palette);
    QFont font = m_goal->font();
    font.setBold(met);
    m_verdict->setFont(font);
    // The goal's description is how the student stands on it.
    if (m_goal->accessibleDescription() != m_verdict->text())
        m_goal->setAccessibleDescription(m_verdict->text());
    if (m_verdict->text() != m_heard)
        m_settle.start();
}

void TaskStrip::announce()
{
    if (m_verdict->text() == m_heard || !isVisible())
        return;
    m_heard = m_verdict->text();
    // A task just shown is heard as its goal, which carries the verdict; after that, each new verdict.
    AnnouncedLabel *news = m_goalHeard ? m_verdict : m_goal;
    m_goalHeard = true;
    news->announce();
}
