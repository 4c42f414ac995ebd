// The fast path for the numbers that fill text X files: an optional '-',
// digits, and an optional fraction, with no exponent.
#pragma once
#include <cstdint>

// Converts the plain decimal at `begin` to the nearest float, exactly as a
// correctly rounding conversion does, and returns where it ends. Null when the
// text is not such a number or the shortcut cannot promise the same result
// (more than 19 digits, or a value on a float rounding tie); the caller then
// uses the general conversion.
const uint8_t* ReadPlainDecimal(const uint8_t* begin, const uint8_t* end, float& value);
