#include "package/token.h"

#include "support/numbers.h"

namespace {

constexpr int StoredBias = 50;
// Bytes of D around the token when the token is short: 40 stored
// characters.
constexpr int UsualWorkingLength = 20;
constexpr std::size_t MaxTokenLength = 240;

const char HexDigits[] = "0123456789ABCDEF";

}  // namespace

uint64_t SeededRandom::Next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string DescrambleToken(const std::string& stored)
{
    std::string result = RandomNumberText(0, 99998);
    std::string hex(stored);
    for (char& c : hex)
        c = static_cast<char>(static_cast<unsigned char>(c) - StoredBias);
    std::string d;
    d.reserve(hex.size() / 2);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        d.push_back(static_cast<char>(HexToInt64(hex.substr(i, 2)) & 0xFF));
    const std::size_t n = d.size();
    if (n <= 4)
        return result;
    // 1-based positions as the layout describes them.
    auto at = [&d](std::size_t pos) -> unsigned char { return static_cast<unsigned char>(d[pos - 1]); };
    unsigned char sum = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        if (i != n - 1)
            sum = static_cast<unsigned char>(sum + at(i));
    }
    if (sum != at(n - 1))
        return result;
    const unsigned char k = static_cast<unsigned char>(at(1) ^ at(n));
    for (std::size_t i = 2; i <= n - 1; ++i)
        d[i - 1] = static_cast<char>(at(i) ^ k);
    const std::size_t p = at(2);
    const std::size_t q = at(3);
    if (p + q + 4 > n)
        return result;
    return d.substr(p + 3, n - p - q - 4);
}

std::string ScrambleToken(const std::string& token, uint64_t seed)
{
    if (token.empty() || token.size() > MaxTokenLength)
        return std::string();
    SeededRandom random(seed);
    const std::size_t len = token.size();
    // n = len + p + q + 4 with q >= 1 (the check byte sits in the tail).
    std::size_t padding = len + 5 <= UsualWorkingLength ? UsualWorkingLength - 4 - len : 1 + random.Below(4);
    std::size_t q = 1 + random.Below(static_cast<uint32_t>(padding));
    std::size_t p = padding - q;
    const std::size_t n = len + p + q + 4;
    std::string plain(n, '\0');
    plain[1] = static_cast<char>(p);
    plain[2] = static_cast<char>(q);
    for (std::size_t i = 3; i < n; ++i)
        plain[i] = static_cast<char>(random.Below(256));
    plain.replace(p + 3, len, token);
    const unsigned char first = static_cast<unsigned char>(random.Below(256));
    const unsigned char last = static_cast<unsigned char>(random.Below(256));
    const unsigned char k = static_cast<unsigned char>(first ^ last);
    std::string d(n, '\0');
    d[0] = static_cast<char>(first);
    d[n - 1] = static_cast<char>(last);
    for (std::size_t i = 1; i + 1 < n; ++i)
        d[i] = static_cast<char>(static_cast<unsigned char>(plain[i]) ^ k);
    unsigned char sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i != n - 2)
            sum = static_cast<unsigned char>(sum + static_cast<unsigned char>(d[i]));
    }
    d[n - 2] = static_cast<char>(sum);
    std::string stored;
    stored.reserve(2 * n);
    for (unsigned char c : d) {
        stored.push_back(static_cast<char>(HexDigits[c >> 4] + StoredBias));
        stored.push_back(static_cast<char>(HexDigits[c & 15] + StoredBias));
    }
    return stored;
}
