#include "accesscode.h"

#include <algorithm>

namespace AccessCode {

bool accepts(QStringView typed)
{
    // The length first: a pasted megabyte is refused without being read.
    if (typed.size() != kLength)
        return false;
    const bool digitsOnly
        = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digitsOnly)
        return false;
    return typed.compare(QStringView(kLowerBound)) > 0 && typed.compare(QStringView(kUpperBound)) < 0;
}

} // namespace AccessCode
