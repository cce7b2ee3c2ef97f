#pragma once
// Numbers written as text straight into a line of the document: nearly every
// line carries an identifier or a number, and formatting them through printf
// would cost more than the rest of the line.

#include <cstddef>
#include <cstring>

// The most characters writeDecimal writes without padding: a sign and ten digits.
constexpr std::size_t kMaxDecimalLength = 11;

// Writes `value` in decimal at `out`, padded with leading zeros to `width`
// characters (the sign counts), as printf's "%0*i" does, and returns the end
// of what it wrote: max(width, kMaxDecimalLength) bytes are enough.
inline char* writeDecimal(char* out, int value, int width = 0) {
    // The digits two at a time, from a table of "00" to "99".
    struct DigitPairs {
        char text[200] = {};
        constexpr DigitPairs() {
            for (int i = 0; i < 100; ++i) {
                text[2 * i] = static_cast<char>('0' + i / 10);
                text[2 * i + 1] = static_cast<char>('0' + i % 10);
            }
        }
    };
    static constexpr DigitPairs kPairs;
    char digits[kMaxDecimalLength];
    char* const end = digits + sizeof digits;
    char* p = end;
    // The magnitude as unsigned, so that the most negative value is exact.
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    while (magnitude >= 100) {
        p -= 2;
        std::memcpy(p, kPairs.text + 2 * (magnitude % 100), 2);
        magnitude /= 100;
    }
    if (magnitude >= 10) {
        p -= 2;
        std::memcpy(p, kPairs.text + 2 * magnitude, 2);
    } else {
        *--p = static_cast<char>('0' + magnitude);
    }
    const int length = static_cast<int>(end - p) + (value < 0 ? 1 : 0);
    if (value < 0)
        *out++ = '-';
    for (int pad = width - length; pad > 0; --pad)
        *out++ = '0';
    std::memcpy(out, p, static_cast<std::size_t>(end - p));
    return out + (end - p);
}

// Writes the low 24 bits of `value` as six upper-case hexadecimal digits, as
// printf's "%06X" does for a value below 0x1000000; returns the end.
inline char* writeHex6(char* out, unsigned value) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    for (int shift = 20; shift >= 0; shift -= 4)
        *out++ = kHexDigits[(value >> shift) & 0xFu];
    return out;
}
