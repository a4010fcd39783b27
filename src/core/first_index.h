#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace ferolan {

// The first of equal items in a long list, found by hash. The items stay with the caller,
// numbered from 0 (fewer than 2^32 of them); the table keeps half of each recorded item's
// hash and its number in one open-addressed array, so that nothing is allocated item by
// item and a look costs one visit to memory in almost every case.
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
        return std::size_t{slot.number};
    }

    // Records item `number` with this hash unless an equal item is recorded already; the
    // number of the first of them either way.
    template <class IsSame>
    std::size_t insert(std::uint64_t hash, std::size_t number, IsSame isSame) {
        if (number >= kEmpty)
            throw std::length_error("too many items for one index");
        if ((count_ + 1) * kSlotsPerItem > slots_.size())
            grow(slots_.empty() ? kFewestSlots : slots_.size() * 2);
        Slot &slot = slots_[placeOf(hash, isSame)];
        if (slot.number != kEmpty)
            return slot.number;
        slot = {tagOf(hash), static_cast<std::uint32_t>(number)};
        ++count_;
        return number;
    }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    // Room for twice the items: the run of slots a look passes stays short.
    static constexpr std::size_t kSlotsPerItem = 2;
    static constexpr std::size_t kFewestSlots = 64;

    // Eight bytes a slot, so that a large index touches little memory: half the hash, which
    // also gives the slot's place, and the item's number.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t number = kEmpty;
    };
    static std::uint32_t tagOf(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash >> 32);
    }

    template <class IsSame> std::size_t placeOf(std::uint64_t hash, IsSame isSame) const {
        const std::size_t mask = slots_.size() - 1;
        const std::uint32_t tag = tagOf(hash);
        for (std::size_t at = tag & mask;; at = (at + 1) & mask) {
            const Slot &slot = slots_[at];
            if (slot.number == kEmpty || (slot.tag == tag && isSame(slot.number)))
                return at;
        }
    }
    void grow(std::size_t slots);

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

} // namespace ferolan
