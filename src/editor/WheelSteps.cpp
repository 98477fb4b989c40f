#include "editor/WheelSteps.h"

#include <algorithm>
#include <cstdint>

int WheelSteps::Add(int units)
{
    if (units == 0)
        return 0;
    if ((units > 0) != (rest_ > 0))
        rest_ = 0;
    const std::int64_t total = std::int64_t(rest_) + units;
    rest_ = int(total % kUnitsPerStep);
    const std::int64_t steps = total / kUnitsPerStep;
    return int(std::clamp<std::int64_t>(steps, -kMaxStepsPerEvent, kMaxStepsPerEvent));
}
