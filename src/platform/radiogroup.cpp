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
    // The group decides which item is selected, so that none may be at first.
    m_group->setExclusive(false);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("item%1").arg(i));
        button->setAutoExclusive(false);
        button->setAccessibleName(items[i]);
        m_group->addButton(button, i);
        m_buttons.append(button);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            setItemIndex(id);
        } else {
            // A click on the selected item cannot clear it: the item stays selected.
            const QSignalBlocker blocker(m_group);
            m_buttons[id]->setChecked(true);
        }
    });
    placeButtons();
}

void RadioGroup::setItemIndex(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    {
        const QSignalBlocker blocker(m_group);
        for (int i = 0; i < m_buttons.size(); ++i)
            m_buttons[i]->setChecked(i == index);
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
