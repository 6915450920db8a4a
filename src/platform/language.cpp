#include "language.h"

#include <QAbstractButton>
#include <QPointer>

namespace {
QPointer<QAbstractButton> &flagButton()
{
    static QPointer<QAbstractButton> button;
    return button;
}
} // namespace

bool languageFlag()
{
    return flagButton() ? flagButton()->isEnabled() : true;
}

void setLanguageFlagButton(QAbstractButton *valencianButton)
{
    flagButton() = valencianButton;
}
