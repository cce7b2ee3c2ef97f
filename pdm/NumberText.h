#pragma once
// Numbers written as text straight into a line of the document: nearly every
// line carries an identifier or a number, and formatting them through printf
// would cost more than the rest of the line.

#include <cstddef>
#include <cstdint>
#include <cstring>

// The most characters writeDecimal writes without padding: a sign and ten digits.
constexpr std::size_t kMaxDecimalLength = 11;

// Copies the `n` bytes (at most 16) at `from` to `out` with at most two
// overlapping word moves: a number's digits are too few to be worth a call
// to memcpy.
inline void copyShort(char* out, const char* from, std::size_t n) {
    if (n >= 8) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(out, &head, 8);
        std::memcpy(out + n - 8, &tail, 8);
    } else if (n >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(out, &head, 4);
        std::memcpy(out + n - 4, &tail, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = from[i];
    }
}

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
    // The digits go to the end of sixteen zeros, so that a padding of up to
    // sixteen characters (identifiers are padded to twelve) is copied with them.
    constexpr int kRoom = 16;
    char digits[kRoom];
    std::memcpy(digits, "0000000000000000", kRoom);
    char* const end = digits + kRoom;
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
    int count = static_cast<int>(end - p);
    if (value < 0) {
        *out++ = '-';
        --width;
    }
    if (width > kRoom) {
        for (int pad = width - count; pad > 0; --pad)
            *out++ = '0';
    } else if (width > count) {
        count = width;
    }
    copyShort(out, end - count, static_cast<std::size_t>(count));
    return out + count;
}

// Writes the low 24 bits of `value` as six upper-case hexadecimal digits, as
// printf's "%06X" does for a value below 0x1000000; returns the end.
inline char* writeHex6(char* out, unsigned value) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    for (int shift = 20; shift >= 0; shift -= 4)
        *out++ = kHexDigits[(value >> shift) & 0xFu];
    return out;
}
