// Integer texts and small number helpers. Nothing here throws: malformed
// or out-of-range texts give the caller's default.
#pragma once

#include <cstdint>
#include <string>

// Decimal text of the number.
std::string IntToText(int64_t value);
// Decimal digits prefixed with zeros up to width; longer numbers are not
// cut. A negative number keeps its sign in front of the zeros.
std::string ZeroPad(int64_t value, int width);

// The integer-text rule: optional leading spaces, an optional sign, then
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X".
// False for anything else, an empty text or a value outside 64 bits.
bool TryTextToInt64(const std::string& text, int64_t& value);
int64_t TextToInt64(const std::string& text, int64_t def);
// The same rule for 32-bit integers; values outside 32 bits give def.
int TextToInt(const std::string& text, int def);

// "TRUE" or "FALSE".
std::string BoolText(bool value);

// Decimal text of a pseudo-random integer in [low, high] (the bounds are
// swapped when given the wrong way round). Reseeds from the clock on every
// call.
std::string RandomNumberText(int64_t low, int64_t high);

// Hexadecimal digits, with an optional "0x" prefix, to a 64-bit integer.
// Meant for texts of hexadecimal digits; more than 16 digits wrap around.
int64_t HexToInt64(const std::string& text);

int64_t Min64(int64_t a, int64_t b);
int64_t Max64(int64_t a, int64_t b);
// Raised to min when below it, then lowered to max when above it.
int64_t Clamp64(int64_t value, int64_t min, int64_t max);
