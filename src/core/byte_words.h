#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Eight bytes of a text looked at as one word, so that a long text is scanned a word at a
// time rather than a byte at a time. The first byte is the word's lowest.
namespace ferolan::words {

static_assert(std::endian::native == std::endian::little, "bytes are read as little-endian words");

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
inline constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7FULL;

inline std::uint64_t load(const char *at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The high bit of every byte equal to `c`, and no other bit.
inline std::uint64_t bytesEqualTo(std::uint64_t word, char c) {
    const std::uint64_t differences = word ^ (kOnes * static_cast<unsigned char>(c));
    return ~(((differences & kLowBits) + kLowBits) | differences | kLowBits);
}

// The place in the word of the byte whose high bit is the lowest one set.
inline std::size_t firstByte(std::uint64_t highBits) {
    return static_cast<std::size_t>(std::countr_zero(highBits)) / 8;
}

// The high bit of the bytes outside printable ASCII (blank to "~"), the lowest of them
// exactly: a borrow or a carry starts only at such a byte and may flag those above it.
inline std::uint64_t outsidePrintableAscii(std::uint64_t word) {
    return ((word - kOnes * 0x20) | word | (word + kOnes)) & kHighBits;
}

} // namespace ferolan::words
