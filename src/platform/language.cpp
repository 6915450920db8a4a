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

QString languageTag(bool castilian)
{
    return castilian ? QStringLiteral("es-ES") : QStringLiteral("ca-ES-valencia");
}

void setLanguageFlagButton(QAbstractButton *valencianButton)
{
    flagButton() = valencianButton;
}
