// The status text of a running transfer: the byte counts and the rate over
// the last five progress updates.
#pragma once

#include <cstdint>
#include <string>

class TransferRate {
public:
    // Every time slot to now, the byte window to zeros.
    void Reset(uint32_t nowTicks);
    // One progress update: now goes into the time window, the block's byte
    // count into the byte window; each drops its oldest entry.
    void Update(uint32_t nowTicks, int64_t count);
    // KB per second over the windows; false when no time has passed.
    bool Rate(double& kilobytesPerSecond) const;
    // done + "/" + size + " Bytes   ", then the rate with two decimals and
    // " KB/Sec" when time has passed.
    std::string StatusText(int64_t done, int64_t size) const;

private:
    static constexpr int Slots = 5;
    uint32_t ticks_[Slots] = {};
    int64_t bytes_[Slots] = {};
    int next_ = 0;     // slot that the next update overwrites
    uint32_t now_ = 0;  // the latest tick pushed
};

// A non-negative number with two decimals, rounded half up ("51.20").
std::string TwoDecimalsText(double value);
