#include "net/transfer_status.h"

#include "support/numbers.h"

void TransferRate::Reset(uint32_t nowTicks)
{
    for (int i = 0; i < Slots; ++i) {
        ticks_[i] = nowTicks;
        bytes_[i] = 0;
    }
    next_ = 0;
    now_ = nowTicks;
}

void TransferRate::Update(uint32_t nowTicks, int64_t count)
{
    ticks_[next_] = nowTicks;
    bytes_[next_] = count;
    next_ = (next_ + 1) % Slots;
    now_ = nowTicks;
}

bool TransferRate::Rate(double& kilobytesPerSecond) const
{
    // The oldest remaining tick is the one the next update overwrites: the
    // update four updates before the latest. The unsigned difference holds
    // across the tick counter's wrap.
    const uint32_t span = now_ - ticks_[next_];
    if (span == 0)
        return false;
    int64_t sum = 0;
    for (int i = 0; i < Slots; ++i)
        sum += bytes_[i];
    kilobytesPerSecond = static_cast<double>(sum) / (static_cast<double>(span) / 1000.0) / 1024.0;
    return true;
}

std::string TransferRate::StatusText(int64_t done, int64_t size) const
{
    std::string text = IntToText(done) + "/" + IntToText(size) + " Bytes   ";
    double rate = 0;
    if (Rate(rate))
        text += TwoDecimalsText(rate) + " KB/Sec";
    return text;
}

std::string TwoDecimalsText(double value)
{
    if (!(value > 0))
        value = 0;
    if (value > 1e15)
        value = 1e15;
    const int64_t hundredths = static_cast<int64_t>(value * 100.0 + 0.5);
    return IntToText(hundredths / 100) + "." + ZeroPad(hundredths % 100, 2);
}
