// Interim: the families' entries until each family's own definitions land (weak, so theirs win).
#include "labcatalogue.h"

__attribute__((weak)) std::span<const LabCheck> settingChecks()
{
    return {};
}
__attribute__((weak)) std::span<const LabCheck> benchChecks()
{
    return {};
}
__attribute__((weak)) std::span<const LabCheck> triggerChecks()
{
    return {};
}
__attribute__((weak)) std::span<const LabCheck> predictChecks()
{
    return {};
}
__attribute__((weak)) std::span<const LabQuantity> labQuantities()
{
    return {};
}
__attribute__((weak)) std::span<const char *const> readingSlipKeys()
{
    return {};
}
__attribute__((weak)) std::optional<PredictionParts> makePrediction(
    const LabPrediction &, const LabBench &, Wording &why)
{
    why = Wording::of(u"—", u"—");
    return std::nullopt;
}
