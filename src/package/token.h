// The authenticity token and its stored form. A stored token is the text of
// hexadecimal digit pairs, each character raised by 50, of a working text D:
// D[1] and D[n] are random and their xor k masks D[2] .. D[n-1]; D[2] = p
// and D[3] = q (unmasked) give the padding lengths around the token, which
// starts at D[p + 4]; D[n - 1] is the 8-bit sum of every other stored byte.
#pragma once

#include <cstdint>
#include <string>

// The token that a stored token carries. Never fails: a text that does not
// verify gives the decimal text of a random number below 99999, so two such
// texts compare unequal except by chance.
std::string DescrambleToken(const std::string& stored);

// A stored form of token that DescrambleToken turns back into it. The
// random bytes come from seed, so the same seed gives the same text. Tokens
// of up to 15 bytes give the usual 40 characters; longer ones (up to 240
// bytes) a longer text; an empty token gives the empty text.
std::string ScrambleToken(const std::string& token, uint64_t seed);

// A small deterministic generator (splitmix64) for the builder's choices.
class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform enough in [0, bound); 0 for a bound of 0.
    uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>(Next() % bound) : 0; }

private:
    uint64_t state_;
};
