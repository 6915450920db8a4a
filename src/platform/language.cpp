#include "language.h"

#include <QAbstractButton>
#include <QEvent>

ProgramLanguage &ProgramLanguage::instance()
{
    static ProgramLanguage language;
    return language;
}

Language ProgramLanguage::current()
{
    const QAbstractButton *button = instance().m_button;
    return !button || button->isEnabled() ? Language::Castilian : Language::Valencian;
}

void ProgramLanguage::followButton(QAbstractButton *valencianButton)
{
    ProgramLanguage &self = instance();
    if (self.m_button)
        self.m_button->removeEventFilter(&self);
    disconnect(self.m_gone);
    self.m_button = valencianButton;
    if (valencianButton) {
        valencianButton->installEventFilter(&self);
        // A main window that goes takes its language with it: the program is back in Castilian.
        self.m_gone = connect(valencianButton, &QObject::destroyed, &self, [&self] {
            self.m_button = nullptr;
            self.tell();
        });
    }
    self.tell();
}

bool ProgramLanguage::eventFilter(QObject *watched, QEvent *event)
{
    // Whatever enables or disables the button switches the language, so the switch is heard here and
    // nowhere else.
    if (watched == m_button && event->type() == QEvent::EnabledChange)
        tell();
    return false;
}

void ProgramLanguage::tell()
{
    const Language now = current();
    if (now == m_told)
        return;
    m_told = now;
    emit changed(now);
}
