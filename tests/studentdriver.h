#pragma once

#include "controls.h"
#include "form.h"
#include "tfichaprincipal.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

/**
 * Drives the program as a curious student does: runs a main-menu command, then clicks everything
 * the windows it opened offer (buttons, options, links, hot-spots, panels, pictures, page tabs), a
 * few rounds over, following the windows those clicks open in turn. Used by the checks that every
 * data file is read and reported, and by the soak test.
 */
namespace StudentDriver {

/** The menu commands that open windows, as the main window's menu lists them. */
inline QStringList windowCommands()
{
    // Commands that start another program, show help, switch the language or end the program
    // open no window of ours.
    static const QStringList others = {
        QStringLiteral("Salir1"),
        QStringLiteral("Calculadora1"),
        QStringLiteral("BlocdeNotas1"),
        QStringLiteral("Castellano1"),
        QStringLiteral("VAl1"),
        QStringLiteral("Temasdeayuda1"),
    };
    QStringList names;
    const std::function<void(const QList<QAction *> &)> collect = [&](const QList<QAction *> &actions) {
        for (QAction *action : actions) {
            if (QMenu *menu = action->menu())
                collect(menu->actions());
            else if (!action->isSeparator() && !action->objectName().isEmpty()
                && !others.contains(action->objectName()))
                names << action->objectName();
        }
    };
    collect(fichaprincipal->MainMenu1->actions());
    return names;
}

/** Switches the program's language as the student does, with the main window's buttons. */
inline void setLanguage(bool valencian)
{
    QPushButton *button = valencian ? fichaprincipal->val : fichaprincipal->cast;
    if (button->isEnabled())
        button->click();
}

/** Clicks what one window offers, once round, first to last or last to first. */
inline void clickEverything(Form *form, bool backwards = false)
{
    if (!form->isVisible())
        form->showWindow();
    for (QTabBar *tabs : form->findChildren<QTabBar *>())
        for (int i = 0; i < tabs->count() && form->isVisible(); ++i)
            tabs->setCurrentIndex(i);
    // Pages without tabs are reached through links; every page is visited on its own as well, so
    // that no round of clicking misses one.
    for (QStackedWidget *pages : form->findChildren<QStackedWidget *>()) {
        if (qobject_cast<QTabWidget *>(pages->parentWidget()))
            continue;
        for (int i = 0; i < pages->count(); ++i) {
            for (const QPointer<QAbstractButton> button :
                pages->widget(i)->findChildren<QAbstractButton *>()) {
                if (!form->isVisible())
                    form->showWindow();
                pages->setCurrentIndex(i);
                if (button && button->isVisible() && button->isEnabled())
                    button->click();
            }
        }
        pages->setCurrentIndex(0);
    }
    QList<QWidget *> widgets = form->findChildren<QWidget *>();
    if (backwards)
        std::reverse(widgets.begin(), widgets.end());
    for (const QPointer<QWidget> widget : widgets) {
        // A button that closed the window does not end the visit: the student opens it again.
        if (!form->isVisible())
            form->showWindow();
        if (!widget || !widget->isVisible() || !widget->isEnabled())
            continue;
        if (auto *pushButton = qobject_cast<QPushButton *>(widget.data()); pushButton && pushButton->menu()) {
            // A button with a menu only drops it, and the menu waits for a choice: it is looked at and
            // closed, as a student who changes their mind does.
            QTimer::singleShot(0, pushButton->menu(), &QMenu::close);
            pushButton->click();
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget.data())) {
            // A button that steps through something ("next") is pressed till the end of it.
            for (int press = 0; press < 8 && button && button->isVisible() && button->isEnabled(); ++press)
                button->click();
        } else if (auto *list = qobject_cast<QComboBox *>(widget.data())) {
            // Every entry of a list is chosen in turn, then the first again; an entry ending in "…" opens
            // a dialog, as a menu's does, and is left for the tests of that dialog.
            for (int i = 0; widget && i < list->count(); ++i) {
                if (list->itemText(i).endsWith(u'…'))
                    continue;
                list->setCurrentIndex(i);
                Q_EMIT list->activated(i);
            }
            if (widget) {
                list->setCurrentIndex(0);
                Q_EMIT list->activated(0);
            }
        } else if (auto *slider = qobject_cast<QAbstractSlider *>(widget.data())) {
            // Knobs and switches are turned a page each way, as a student tries them.
            slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
            slider->triggerAction(QAbstractSlider::SliderPageStepSub);
        } else if (qobject_cast<HotSpot *>(widget) || qobject_cast<Label *>(widget)
            || qobject_cast<Panel *>(widget) || qobject_cast<Picture *>(widget))
            QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
}

/**
 * Runs a menu command and clicks through every window it opens, and the windows those open.
 * Returns the windows created on the way.
 */
inline QList<Form *> run(const QString &command, int rounds = 3)
{
    const QList<Form *> before = Form::allForms();
    fichaprincipal->menuItem(command)->trigger();
    for (int round = 0; round < rounds; ++round) {
        for (const QPointer<Form> form : Form::allForms()) {
            if (form && !before.contains(form) && !form->isMainWindow())
                clickEverything(form, round % 2 == 1);
        }
    }
    QList<Form *> created;
    for (Form *form : Form::allForms())
        if (!before.contains(form))
            created << form;
    return created;
}

/** Destroys the windows a run created, so that long checks do not pile windows up. */
inline void destroy(const QList<Form *> &forms)
{
    for (Form *form : forms) {
        form->FormDestroy();
        delete form;
    }
}

} // namespace StudentDriver
