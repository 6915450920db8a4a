#include "labcatalogue.h"

#include <vector>

std::span<const LabCheck> labChecks()
{
    static const std::vector<LabCheck> checks = [] {
        std::vector<LabCheck> all;
        for (std::span<const LabCheck> family :
            { settingChecks(), benchChecks(), triggerChecks(), predictChecks(), xyChecks() })
            all.insert(all.end(), family.begin(), family.end());
        return all;
    }();
    return checks;
}
