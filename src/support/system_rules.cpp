#include "support/system_rules.h"

#include "support/numbers.h"

int64_t DelayPumpingStep(int64_t milliseconds, int64_t step)
{
    return step != 0 ? step : Clamp64(milliseconds / 10, 1, 25);
}

BoxOrigin CentredOrigin(int left, int top, int right, int bottom, int width, int height)
{
    return BoxOrigin{left + (right - left - width) / 2, top + (bottom - top - height) / 2};
}
