#include "core/text_hash.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace ferolan {

std::uint64_t textHash(std::string_view text, std::uint64_t seed) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t hash = seed ^ (text.size() * kMultiplier);
    while (!text.empty()) {
        std::uint64_t word = 0;
        const std::size_t count = std::min(text.size(), sizeof word);
        std::memcpy(&word, text.data(), count);
        hash = std::rotl((hash ^ word) * kMultiplier, 31);
        text.remove_prefix(count);
    }
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    return hash ^ (hash >> 33);
}

} // namespace ferolan
