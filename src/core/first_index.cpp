#include "core/first_index.h"

#include <algorithm>
#include <bit>

namespace ferolan {

void FirstIndex::reserve(std::size_t items) {
    const std::size_t wanted = std::bit_ceil(std::max(items * kSlotsPerItem, kFewestSlots));
    if (wanted > slots_.size())
        grow(wanted);
}

void FirstIndex::prefetch(std::uint64_t hash) const {
#if defined(__GNUC__)
    if (!slots_.empty())
        __builtin_prefetch(&slots_[tagOf(hash) & (slots_.size() - 1)]);
#else
    (void)hash;
#endif
}

void FirstIndex::grow(std::size_t slots) {
    std::vector<Slot> recorded(slots);
    recorded.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot &slot : recorded) {
        if (slot.number == kEmpty)
            continue;
        std::size_t at = slot.tag & mask;
        while (slots_[at].number != kEmpty)
            at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

} // namespace ferolan
