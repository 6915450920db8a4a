#include "wording.h"

QString languageTag(Language language)
{
    return QString::fromLatin1(kLanguages[std::size_t(language)].tag);
}

namespace {
QString joined(const QString &first, const QString &next)
{
    if (first.isEmpty())
        return next;
    if (next.isEmpty())
        return first;
    return first + u' ' + next;
}
} // namespace

Wording Wording::then(const Wording &next) const
{
    return { joined(castilian, next.castilian), joined(valencian, next.valencian) };
}
