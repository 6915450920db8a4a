#pragma once

#include "controls.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

/**
 * A radio group: a framed box with a caption and its items as radio buttons in one column, spread
 * evenly over the box's height. No item is selected at first (item index -1). The group reports
 * each time an item becomes the selected one, whether the student picked it or the program did.
 */
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroup(QWidget *parent, const Geometry &geometry, const QString &caption, const QStringList &items);

    /** The selected item, from 0; -1 when none is. */
    int itemIndex() const { return m_index; }
    /** Selects an item (-1 for none); selecting another item reports it like a click. */
    void setItemIndex(int index);

    int count() const { return int(m_buttons.size()); }
    /** The radio button of an item, for tests and screen readers. */
    QRadioButton *button(int index) const { return m_buttons.value(index); }
    QStringList items() const;

Q_SIGNALS:
    /** An item has become the selected one. */
    void clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeButtons();

    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
    int m_index = -1;
};
