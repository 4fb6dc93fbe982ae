// Small rules of the system services that need no system call.
#pragma once

#include <cstdint>

// The sleep between two rounds of message dispatching in a pumping wait:
// step itself, or for step 0 a tenth of the wait held to 1..25 ms.
int64_t DelayPumpingStep(int64_t milliseconds, int64_t step);

struct BoxOrigin {
    int x;
    int y;
};

// Top-left corner that centres a box of width x height in the area;
// halves are truncated toward zero.
BoxOrigin CentredOrigin(int left, int top, int right, int bottom, int width, int height);
