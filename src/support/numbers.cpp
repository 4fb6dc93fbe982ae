#include "support/numbers.h"

#include <ctime>

#include "support/text.h"

namespace {

// Digit value of c in the given base, or -1.
int DigitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    return v < base ? v : -1;
}

std::string UnsignedText(uint64_t value)
{
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::string out;
    while (n > 0)
        out.push_back(digits[--n]);
    return out;
}

uint64_t Magnitude(int64_t value)
{
    // Negating in unsigned arithmetic also covers the most negative value.
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

// splitmix64: a small generator with a good spread for any seed.
uint64_t Mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

std::string IntToText(int64_t value)
{
    std::string digits = UnsignedText(Magnitude(value));
    return value < 0 ? "-" + digits : digits;
}

std::string ZeroPad(int64_t value, int width)
{
    std::string digits = UnsignedText(Magnitude(value));
    if (value < 0)
        return "-" + PadLeft(digits, width > 0 ? width - 1 : 0, '0');
    return PadLeft(digits, width, '0');
}

bool TryTextToInt64(const std::string& text, int64_t& value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;
    // The magnitude may reach 2^63 for a negative value.
    const uint64_t limit = negative ? (uint64_t(1) << 63) : (uint64_t(1) << 63) - 1;
    uint64_t magnitude = 0;
    for (; i < n; ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0)
            return false;
        if (magnitude > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base))
            return false;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

int64_t TextToInt64(const std::string& text, int64_t def)
{
    int64_t value = 0;
    return TryTextToInt64(text, value) ? value : def;
}

int TextToInt(const std::string& text, int def)
{
    int64_t value = 0;
    if (!TryTextToInt64(text, value) || value < INT32_MIN || value > INT32_MAX)
        return def;
    return static_cast<int>(value);
}

std::string BoolText(bool value)
{
    return value ? "TRUE" : "FALSE";
}

std::string RandomNumberText(int64_t low, int64_t high)
{
    if (low > high) {
        int64_t t = low;
        low = high;
        high = t;
    }
    // Reseeded from the clock on every call. The wall clock, the processor
    // clock and a call counter together keep two calls within one clock
    // tick apart. (The C clock functions, not <chrono>: on Windows the
    // latter drags a threading library into the stub.)
    static uint64_t calls = 0;
    uint64_t seed = static_cast<uint64_t>(std::time(nullptr)) * 1000003u ^
                    static_cast<uint64_t>(std::clock()) << 20 ^ ++calls * 0x9E3779B97F4A7C15ull;
    uint64_t r = Mix(seed);
    // Width of the range minus one; the full 64-bit range wraps to all ones.
    uint64_t span = static_cast<uint64_t>(high) - static_cast<uint64_t>(low);
    uint64_t offset = span == UINT64_MAX ? r : r % (span + 1);
    return IntToText(static_cast<int64_t>(static_cast<uint64_t>(low) + offset));
}

int64_t HexToInt64(const std::string& text)
{
    std::string digits = text;
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    digits = Trim(UpperCase(digits));
    // Unsigned arithmetic: long texts wrap instead of overflowing.
    uint64_t result = 0;
    uint64_t place = 1;
    for (std::size_t i = digits.size(); i > 0; --i) {
        // Any other byte counts as digit value -1, as its position in the
        // digit string minus one would give.
        int d = DigitValue(digits[i - 1], 16);
        result += static_cast<uint64_t>(static_cast<int64_t>(d)) * place;
        place *= 16;
    }
    return static_cast<int64_t>(result);
}

int64_t Min64(int64_t a, int64_t b)
{
    return a < b ? a : b;
}

int64_t Max64(int64_t a, int64_t b)
{
    return a > b ? a : b;
}

int64_t Clamp64(int64_t value, int64_t min, int64_t max)
{
    if (value < min)
        value = min;
    if (value > max)
        value = max;
    return value;
}
