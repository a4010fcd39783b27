#pragma once

#include <cstdint>
#include <string_view>

namespace ferolan {

// A fast hash of a text for the program's own tables, eight bytes at a time and well mixed,
// so that texts differing only in their last characters spread over a whole table. A
// previous hash as `seed` hashes several texts as one key.
std::uint64_t textHash(std::string_view text, std::uint64_t seed = 0);

} // namespace ferolan
