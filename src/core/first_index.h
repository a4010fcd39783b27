#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ferolan {

// The first of equal items in a long list, found by hash. The items stay with the caller,
// numbered from 0; the table keeps each recorded item's hash and number in one
// open-addressed array, so that nothing is allocated item by item and a look costs one
// visit to memory in almost every case.
class FirstIndex {
public:
    // Room for this many items without growing.
    void reserve(std::size_t items);

    // Asks for the place of a hash ahead of a look, so that several looks overlap.
    void prefetch(std::uint64_t hash) const;

    // The number of the first recorded item that `isSame(number)` finds equal to the one
    // looked for, which has this hash.
    template <class IsSame>
    std::optional<std::size_t> find(std::uint64_t hash, IsSame isSame) const {
        if (slots_.empty())
            return std::nullopt;
        const Slot &slot = slots_[placeOf(hash, isSame)];
        if (slot.number == kEmpty)
            return std::nullopt;
        return slot.number;
    }

    // Records item `number` with this hash unless an equal item is recorded already; the
    // number of the first of them either way.
    template <class IsSame>
    std::size_t insert(std::uint64_t hash, std::size_t number, IsSame isSame) {
        if ((count_ + 1) * kSlotsPerItem > slots_.size())
            grow(slots_.empty() ? kFewestSlots : slots_.size() * 2);
        Slot &slot = slots_[placeOf(hash, isSame)];
        if (slot.number != kEmpty)
            return slot.number;
        slot = {hash, number};
        ++count_;
        return number;
    }

private:
    static constexpr std::size_t kEmpty = SIZE_MAX;
    // Room for twice the items: the run of slots a look passes stays short.
    static constexpr std::size_t kSlotsPerItem = 2;
    static constexpr std::size_t kFewestSlots = 64;

    struct Slot {
        std::uint64_t hash = 0;
        std::size_t number = kEmpty;
    };

    template <class IsSame> std::size_t placeOf(std::uint64_t hash, IsSame isSame) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot &slot = slots_[at];
            if (slot.number == kEmpty || (slot.hash == hash && isSame(slot.number)))
                return at;
        }
    }
    void grow(std::size_t slots);

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

} // namespace ferolan
