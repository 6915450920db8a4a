#include "radiogroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

RadioGroup::RadioGroup(
    QWidget *parent, const Geometry &geometry, const QString &caption, const QStringList &items)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    setGeometry(geometry.rect());
    // The items are exclusive like any radio group, which is also what makes screen readers
    // announce them as radio buttons; only the program may clear the selection (setItemIndex(-1)).
    m_group->setExclusive(true);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("item%1").arg(i));
        button->setAccessibleName(items[i]);
        m_group->addButton(button, i);
        m_buttons.append(button);
    }
    // A click or an arrow key that selects an item reports it; the item it replaces is not news.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            setItemIndex(id);
    });
    placeButtons();
}

void RadioGroup::setItemIndex(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    {
        const QSignalBlocker blocker(m_group);
        if (index >= 0) {
            m_buttons[index]->setChecked(true);
        } else if (QAbstractButton *checked = m_group->checkedButton()) {
            // An exclusive group keeps one item checked; it lets go only while it is not exclusive.
            m_group->setExclusive(false);
            checked->setChecked(false);
            m_group->setExclusive(true);
        }
    }
    if (index == m_index)
        return;
    m_index = index;
    if (index >= 0)
        Q_EMIT clicked();
}

QStringList RadioGroup::items() const
{
    QStringList texts;
    for (const QRadioButton *button : m_buttons)
        texts << button->text();
    return texts;
}

void RadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    placeButtons();
}

void RadioGroup::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeButtons();
}

void RadioGroup::placeButtons()
{
    if (m_buttons.isEmpty())
        return;
    // The items share the inside of the frame evenly, each centred in its share.
    const QRect inside = contentsRect();
    const int share = qMax(1, inside.height() / int(m_buttons.size()));
    const int buttonHeight = qMin(share, fontMetrics().height() + 6);
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setGeometry(inside.left() + 6, inside.top() + i * share + (share - buttonHeight) / 2,
            inside.width() - 12, buttonHeight);
}
