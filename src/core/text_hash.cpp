#include "core/text_hash.h"

#include <bit>
#include <cstring>

namespace ferolan {

namespace {

std::uint64_t load32(const char *at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Up to eight bytes as one word, each byte in it: two overlapping loads cover four to eight,
// three single bytes cover one to three. Never a copy of a length known only at run time.
std::uint64_t shortWord(std::string_view text) {
    const char *at = text.data();
    const std::size_t size = text.size();
    if (size >= 4)
        return load32(at) | load32(at + size - 4) << 32;
    if (size == 0)
        return 0;
    auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])}; };
    return byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
}

} // namespace

std::uint64_t textHash(std::string_view text, std::uint64_t seed) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t hash = seed ^ (text.size() * kMultiplier);
    for (; text.size() > 8; text.remove_prefix(8)) {
        std::uint64_t word;
        std::memcpy(&word, text.data(), sizeof word);
        hash = std::rotl((hash ^ word) * kMultiplier, 31);
    }
    hash = std::rotl((hash ^ shortWord(text)) * kMultiplier, 31);
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    return hash ^ (hash >> 33);
}

} // namespace ferolan
