#include "taskstrip.h"

#include "hm203.h"
#include "hm203tasks.h"
#include "tracewording.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace {

/** The strip's rows: title, goal, typed answer, choices, verdict, buttons. */
constexpr int kTitleRow = 0;
constexpr int kGoalRow = 1;
constexpr int kAnswerRow = 2;
constexpr int kChoicesRow = 3;
constexpr int kVerdictRow = 4;
constexpr int kButtonsRow = 5;
/** The most choices a prediction offers. */
constexpr int kMostChoices = 4;
/** The goal's height for a task without choices: three lines, so the strip does not jump from task to
 * task. */
constexpr int kGoalHeight = 52;

/** The line under the title as a task opens: which controls it left where the student had them. */
QString startLine(const Hm203Task &task, Language language)
{
    QStringList kept;
    for (Hm203Control control : keptControls(task))
        kept << QString::fromUtf16(controlInfo(control).label);
    if (kept.isEmpty())
        return inLanguage(language, QStringLiteral("Panel en su estado inicial."),
            QStringLiteral("Panell en el seu estat inicial."));
    // A label such as "TRIG." ends the sentence with its own full stop.
    return TraceWording::sentence(inLanguage(language, QStringLiteral("Panel en su estado inicial, salvo %1"),
        QStringLiteral("Panell en el seu estat inicial, excepte %1"))
                                      .arg(TraceWording::listed(kept, language)));
}

} // namespace

TaskStrip::TaskStrip(QWidget *parent, Language language)
    : QWidget(parent)
    , m_language(language)
{
    setObjectName(QStringLiteral("tarea"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);

    // The title, and beside it how the panel stands as the task opens.
    auto *heading = new QHBoxLayout;
    heading->setSpacing(8);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("title"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_start = new QLabel(this);
    m_start->setObjectName(QStringLiteral("start"));
    m_start->setWordWrap(true);
    m_start->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    heading->addWidget(m_title, 0, Qt::AlignTop);
    heading->addWidget(m_start, 1);
    grid->addLayout(heading, kTitleRow, 0, 1, 3);
    m_lab = courseLab();
    m_records.fill(TaskRecord {}, m_lab.tasks.size());

    m_goal = new QLabel(this);
    m_goal->setObjectName(QStringLiteral("goal"));
    // The goal takes the focus, so that the keyboard can come back to it and a question's next step can
    // be read out where the student is; it shows the focus as selected text does.
    m_goal->setFocusPolicy(Qt::TabFocus);
    m_goal->setStyleSheet(QStringLiteral(
        "QLabel:focus { background-color: palette(highlight); color: palette(highlighted-text); }"));
    m_goal->setWordWrap(true);
    m_goal->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_goal->setMinimumHeight(kGoalHeight);
    grid->addWidget(m_goal, kGoalRow, 0, 1, 3);

    m_answerLabel = new QLabel(Wording::of(u"Medida:", u"Mesura:").in(m_language), this);
    m_answer = new QLineEdit(this);
    m_answer->setObjectName(QStringLiteral("answer"));
    m_answer->setMaxLength(40);
    m_answer->setAccessibleName(Wording::of(u"Medida", u"Mesura").in(m_language));
    m_answerLabel->setBuddy(m_answer);
    m_unit = new QLabel(this);
    grid->addWidget(m_answerLabel, kAnswerRow, 0);
    grid->addWidget(m_answer, kAnswerRow, 1);
    grid->addWidget(m_unit, kAnswerRow, 2);
    connect(m_answer, &QLineEdit::textChanged, this, &TaskStrip::needsJudging);
    // A reading counts as given when the student presses Enter or leaves the answer.
    connect(m_answer, &QLineEdit::editingFinished, this, &TaskStrip::recordReading);

    // The choices of a prediction, one line each, close together under the question.
    auto *choices = new QVBoxLayout;
    choices->setSpacing(0);
    m_choiceGroup = new QButtonGroup(this);
    for (int i = 0; i < kMostChoices; ++i) {
        auto *choice = new QRadioButton(this);
        choice->setObjectName(QStringLiteral("choice%1").arg(i + 1));
        m_choiceGroup->addButton(choice, i);
        choice->installEventFilter(this);
        choices->addWidget(choice);
        m_choiceButtons << choice;
    }
    grid->addLayout(choices, kChoicesRow, 0, 1, 3);
    m_confirm = new QPushButton(Wording::of(u"Comprobar", u"Comprovar").in(m_language), this);
    m_confirm->setObjectName(QStringLiteral("confirm"));
    connect(m_confirm, &QPushButton::clicked, this, &TaskStrip::confirmChoice);

    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("verdict"));
    m_verdict->setWordWrap(true);
    m_verdict->setMinimumHeight(36);
    m_verdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The title and the verdict label the goal: a screen reader reads the goal with them when it takes the
    // focus ("Tarea 2 de 27", the verdict, the goal), and not again as loose labels of the strip.
    m_title->setBuddy(m_goal);
    m_verdict->setBuddy(m_goal);
    grid->addWidget(m_verdict, kVerdictRow, 0, 1, 3);

    auto *buttons = new QHBoxLayout;
    m_previous = new QPushButton(Wording::of(u"< Anterior", u"< Anterior").in(m_language), this);
    m_previous->setObjectName(QStringLiteral("previous"));
    m_next = new QPushButton(Wording::of(u"Siguiente >", u"Següent >").in(m_language), this);
    m_next->setDefault(false);
    m_next->setObjectName(QStringLiteral("next"));
    // The keyboard meets the choices, the button that confirms them, then the way to other tasks.
    buttons->addWidget(m_confirm);
    buttons->addSpacing(8);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    grid->addLayout(buttons, kButtonsRow, 0, 1, 3);
    grid->setRowStretch(kGoalRow, 1);
    grid->setColumnStretch(1, 1);

    connect(m_previous, &QPushButton::clicked, this, [this] { showTask(m_index - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showTask(m_index + 1); });
}

void TaskStrip::setLab(const Lab &lab)
{
    m_lab = lab;
    m_records = QList<TaskRecord>(m_lab.tasks.size());
    showTask(-1);
}

void TaskStrip::showTask(int index)
{
    const QList<Hm203Task> &tasks = m_lab.tasks;
    // Before the first task, the strip only says what it offers: the instrument stays as it opened. After
    // the last, the summary.
    m_index = std::clamp(index, -1, int(tasks.size()));
    m_previous->setEnabled(m_index > 0);
    m_next->setEnabled(m_index < tasks.size());
    // A student who came with the keyboard is taken to a question, to answer it from there.
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    m_answer->clear();
    m_heard.clear();
    m_goalHeard = false;
    m_met = false;
    m_touched = false;
    m_start->clear();
    m_start->setAccessibleName(QString());
    if (m_index == tasks.size()) {
        showSummary();
        return;
    }
    if (m_index < 0) {
        m_title->setText(m_lab.title.in(m_language));
        m_goal->setText(m_lab.introduction.in(m_language));
        showNoTask();
        return;
    }
    const Hm203Task &task = tasks.at(m_index);
    m_records[m_index].tried = true;
    m_title->setText(taskHeading(m_index, int(tasks.size()), m_language));
    m_goal->setText(task.prediction ? task.prediction->question.in(m_language) : task.goal.in(m_language));
    // A name is not broken at its hyphen ("X-MAG x10"); screen readers hear the names as printed.
    const QString start = startLine(task, m_language);
    m_start->setText(QString(start).replace(u'-', QChar(0x2011)));
    m_start->setAccessibleName(start);
    const bool measuring = !task.answerUnit.isEmpty();
    m_answerLabel->setVisible(measuring);
    m_answer->setVisible(measuring);
    m_unit->setVisible(measuring);
    m_unit->setText(task.answerUnit);
    // The draw picks a measuring task's value and the order of a prediction's choices alike.
    const quint32 draw = QRandomGenerator::global()->generate();
    GeneratorSettings generator;
    if (task.prepare)
        task.prepare(generator, draw);
    showChoices(task.prediction.get(), generator, draw);
    layout()->activate();
    if (task.prepare)
        Q_EMIT prepareGenerator(generator, task.hidden);
    // What an earlier task left on the panel must neither meet this goal nor spoil it.
    Q_EMIT resetControls(startingControls(task));
    Q_EMIT lockControls(predicting());
    followWithheld();
    Q_EMIT needsJudging();
    if (hadFocus && predicting())
        focusGoal();
    Q_EMIT hasNews();
}

bool TaskStrip::summarising() const
{
    return m_index == m_lab.tasks.size();
}

void TaskStrip::studentChanged()
{
    m_touched = true;
}

void TaskStrip::showNoTask()
{
    for (QWidget *w : std::initializer_list<QWidget *> { m_answerLabel, m_answer, m_unit })
        w->setVisible(false);
    showChoices(nullptr, GeneratorSettings {}, 0);
    m_verdict->clear();
    m_goal->setAccessibleDescription(QString());
    m_goal->setAccessibleName(m_goal->text());
    Q_EMIT lockControls(false);
    followWithheld();
}

void TaskStrip::showSummary()
{
    const int total = int(m_records.size());
    QStringList missed;
    for (int i = 0; i < total; ++i)
        if (!m_records.at(i).met)
            missed << QString::number(i + 1);
    m_title->setText(Wording::of(u"Resumen", u"Resum").in(m_language));
    if (missed.isEmpty())
        m_goal->setText(Wording::of(u"Has cumplido las %1 tareas.", u"Has complit les %1 tasques.")
                            .in(m_language)
                            .arg(total));
    else
        m_goal->setText(
            Wording::of(u"Has cumplido %1 de %2 tareas. Sin cumplir: %3. %4 con «< Anterior».",
                u"Has complit %1 de %2 tasques. Sense complir: %3. %4 amb «< Anterior».")
                .in(m_language)
                .arg(total - missed.size())
                .arg(total)
                .arg(TraceWording::listed(missed, m_language),
                    missed.size() == 1 ? Wording::of(u"Vuelve a ella", u"Torna-hi").in(m_language)
                                       : Wording::of(u"Vuelve a ellas", u"Torna-hi").in(m_language)));
    showNoTask();
    // Screen readers hear the summary as they hear a goal.
    Q_EMIT hasNews();
}

void TaskStrip::followWithheld()
{
    const QList<Hm203Task> &tasks = m_lab.tasks;
    const bool withheld
        = m_index >= 0 && m_index < tasks.size() && !tasks.at(m_index).answerUnit.isEmpty() && !m_met;
    if (withheld == m_withheld)
        return;
    m_withheld = withheld;
    Q_EMIT readingsWithheld(withheld);
}

void TaskStrip::showChoices(
    const TaskPrediction *prediction, const GeneratorSettings &generator, quint32 draw)
{
    m_choices = prediction ? prediction->choices(generator, draw) : QList<PredictionChoice> {};
    m_chosen = -1;
    // No choice is checked when the question opens: the student picks one.
    m_choiceGroup->setExclusive(false);
    for (int i = 0; i < m_choiceButtons.size(); ++i) {
        QRadioButton *button = m_choiceButtons.at(i);
        const bool offered = i < m_choices.size();
        const QString said = offered ? m_choices.at(i).in(m_language) : QString();
        button->setChecked(false);
        button->setFont(font());
        // Tab enters the choices at the first; once one is chosen, Qt leaves the others to the arrows.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setText(said);
        button->setAccessibleName(said);
        button->setEnabled(offered);
        button->setVisible(offered);
    }
    m_choiceGroup->setExclusive(true);
    // Reachable at once: confirmed with nothing chosen, it says to choose first.
    m_confirm->setVisible(!m_choices.isEmpty());
    m_confirm->setEnabled(!m_choices.isEmpty());
    // A question takes the lines it needs, so its choices stand right under it and the verdict has the
    // room left.
    m_goal->setMinimumHeight(m_choices.isEmpty() ? kGoalHeight : 0);
    auto *grid = static_cast<QGridLayout *>(layout());
    grid->setRowStretch(kGoalRow, m_choices.isEmpty() ? 1 : 0);
    grid->setRowStretch(kVerdictRow, m_choices.isEmpty() ? 0 : 1);
}

void TaskStrip::confirmChoice()
{
    const int chosen = m_choiceGroup->checkedId();
    if (!predicting())
        return;
    if (chosen < 0 || chosen >= m_choices.size()) {
        // The verdict asks for a choice; asked again, it is told again.
        m_heard.clear();
        Q_EMIT hasNews();
        return;
    }
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    m_chosen = chosen;
    // The choices stay in sight, the chosen one marked, to be compared with what the screen shows.
    for (QRadioButton *button : std::as_const(m_choiceButtons)) {
        button->setEnabled(false);
        QFont font = button->font();
        font.setBold(button == m_choiceGroup->checkedButton());
        button->setFont(font);
    }
    m_confirm->setEnabled(false);
    const PredictionChoice &choice = m_choices.at(chosen);
    m_records[m_index].predictions << TaskRecord::Prediction { choice.in(m_language), choice.correct };
    const Hm203Task &task = m_lab.tasks.at(m_index);
    m_goal->setText(task.goal.in(m_language));
    Q_EMIT lockControls(false);
    Q_EMIT needsJudging();
    // The next step is read out where the student is, rather than the focus falling on whatever button
    // follows the one just disabled.
    if (hadFocus)
        focusGoal();
    Q_EMIT hasNews();
}

void TaskStrip::focusGoal()
{
    m_goal->setFocus(Qt::OtherFocusReason);
    // The screen reader reads the goal with the focus, and the verdict as its description.
    m_goalHeard = true;
    m_heard = m_verdict->text();
}

bool TaskStrip::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows choose among the choices, as in any group of radio buttons; Qt's own arrows only move
    // the focus while nothing is chosen.
    auto *choice = qobject_cast<QRadioButton *>(watched);
    if (!choice || event->type() != QEvent::KeyPress || !m_choiceButtons.contains(choice))
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const int step = (key == Qt::Key_Down || key == Qt::Key_Right) ? 1
        : (key == Qt::Key_Up || key == Qt::Key_Left)               ? -1
                                                                   : 0;
    const qsizetype offered = m_choices.size();
    if (step == 0 || !predicting() || offered == 0)
        return QWidget::eventFilter(watched, event);
    const qsizetype next = (m_choiceButtons.indexOf(choice) + step + offered) % offered;
    QRadioButton *chosen = m_choiceButtons.at(next);
    chosen->setChecked(true);
    chosen->setFocus(Qt::TabFocusReason);
    return true;
}

void TaskStrip::judge(const Hm203 &scope, const BeamMoment &moment)
{
    const QList<Hm203Task> &tasks = m_lab.tasks;
    if (m_index < 0 || m_index >= tasks.size())
        return;
    const Hm203Task &task = tasks.at(m_index);
    std::optional<double> typed;
    const bool measuring = !task.answerUnit.isEmpty();
    if (measuring)
        typed = readTypedNumber(m_answer->text(), task.answerUnit);
    const QString written = m_answer->text().trimmed();
    if (measuring && !typed && !written.isEmpty()) {
        // Something that is not a measurement: say so, rather than ask for one again.
        m_met = false;
        // The degree sign follows its number without a space, every other unit after one.
        const QString &unit = task.answerUnit;
        const QString example
            = QStringLiteral("2,5") + (unit == u"°" ? QString() : QStringLiteral(" ")) + unit;
        m_verdict->setText(inLanguage(m_language,
            QStringLiteral("«%1» no es un número: escribe solo el valor, por ejemplo %2."),
            QStringLiteral("«%1» no és un nombre: escriu només el valor, per exemple %2."))
                               .arg(written.left(20), example));
        showVerdict(false);
        return;
    }
    if (predicting()) {
        m_met = false;
        m_verdict->setText(inLanguage(m_language, QStringLiteral("Primero elige tu predicción."),
            QStringLiteral("Primer tria la teua predicció.")));
        showVerdict(false);
        return;
    }
    TaskVerdict verdict = judgeTask(task, scope, moment, typed);
    // A goal the panel meets as the task opens is the student's only once they have done something.
    if (verdict.met && !m_touched && written.isEmpty())
        verdict = TaskVerdict { Wording::of(u"La tarea ya se cumple con el panel tal como ha quedado: cambia "
                                            u"tú algo y vuelve a conseguirlo.",
                                    u"La tasca ja es complix amb el panell tal com ha quedat: canvia tu "
                                    u"alguna cosa i torna a aconseguir-ho."),
            false, std::nullopt };
    if (m_chosen >= 0)
        verdict = predictionVerdict(m_choices.at(m_chosen), verdict);
    const bool newlyMet = verdict.met && !m_met;
    m_met = verdict.met;
    if (m_met)
        m_records[m_index].met = true;
    m_verdict->setText(verdict.in(m_language));
    showVerdict(m_met);
    // The moment a measurement is met, the reading counts as given and the screen that shows it is worth
    // keeping; what is typed on while it stays met counts once Enter is pressed.
    if (newlyMet && measuring && recordReading())
        Q_EMIT measurementMet();
}

bool TaskStrip::recordReading()
{
    const QString typed = m_answer->text().trimmed();
    if (m_index < 0 || m_index >= m_records.size() || typed.isEmpty()
        || m_lab.tasks.at(m_index).answerUnit.isEmpty())
        return false;
    QList<TaskRecord::Reading> &readings = m_records[m_index].readings;
    const TaskRecord::Reading reading { typed, m_verdict->text(), m_met };
    if (!readings.isEmpty() && readings.constLast().typed == reading.typed
        && readings.constLast().verdict == reading.verdict)
        return false;
    readings << reading;
    return true;
}

void TaskStrip::keepScreen(const QImage &face)
{
    if (m_index >= 0 && m_index < m_records.size())
        m_records[m_index].screen = face;
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
    // Named with its verdict too: a screen reader reads a label that takes the focus by its name alone.
    const QString named = m_goal->text() + QLatin1Char(' ') + m_verdict->text();
    if (m_goal->accessibleName() != named)
        m_goal->setAccessibleName(named);
    if (m_verdict->text() != m_heard)
        Q_EMIT hasNews();
    followWithheld();
}

QString TaskStrip::untold()
{
    // A task just shown, or the summary, is told with its title and goal; after that, each new verdict.
    if (m_index < 0 || (m_goalHeard && m_verdict->text() == m_heard))
        return QString();
    m_heard = m_verdict->text();
    if (m_goalHeard)
        return m_heard;
    m_goalHeard = true;
    // Which controls the task left alone matters to a student who cannot see the panel.
    QStringList told { TraceWording::sentence(m_title->text()), m_goal->text(), m_start->accessibleName(),
        m_heard };
    told.removeAll(QString());
    return told.join(QLatin1Char(' '));
}

QString taskHeading(int index, int count, Language language)
{
    return Wording::of(u"Tarea %1 de %2", u"Tasca %1 de %2").in(language).arg(index + 1).arg(count);
}
