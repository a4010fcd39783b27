#include "booklet/logic/name_lines.h"

#include "core/text_hash.h"

#include <algorithm>
#include <bit>

namespace ferolan {
namespace {

// Room for twice the names: the run of slots a look passes stays short.
constexpr std::size_t kSlotsPerName = 2;
constexpr std::size_t kFewestSlots = 64;

} // namespace

void NameLines::reserve(std::size_t names) {
    entries_.reserve(names);
    const std::size_t wanted = std::bit_ceil(std::max(names * kSlotsPerName, kFewestSlots));
    if (wanted > slots_.size())
        grow(wanted);
}

void NameLines::prepare(std::string_view name) const {
#if defined(__GNUC__)
    if (!slots_.empty())
        __builtin_prefetch(&slots_[(textHash(name) >> 32) & (slots_.size() - 1)]);
#else
    (void)name;
#endif
}

NameLines::Seen NameLines::see(std::string_view name, std::size_t line) {
    // A slot numbers its entry in 32 bits: past four thousand million names no more are kept.
    if (entries_.size() >= UINT32_MAX)
        return {line, true};
    if ((entries_.size() + 1) * kSlotsPerName > slots_.size())
        grow(std::max(slots_.size() * 2, kFewestSlots));
    const std::uint64_t hash = textHash(name);
    Slot &slot = slotFor(name, hash);
    if (slot.entry != 0)
        return {entries_[slot.entry - 1].line, false};
    entries_.push_back({names_.size(), name.size(), line});
    names_ += name;
    slot = {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(entries_.size())};
    return {line, true};
}

NameLines::Slot &NameLines::slotFor(std::string_view name, std::uint64_t hash) {
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash);
    for (std::size_t at = (hash >> 32) & mask;; at = (at + 1) & mask) {
        Slot &slot = slots_[at];
        if (slot.entry == 0 || (slot.tag == tag && nameOf(entries_[slot.entry - 1]) == name))
            return slot;
    }
}

void NameLines::grow(std::size_t slots) {
    slots_.assign(slots, Slot{});
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::string_view name = nameOf(entries_[i]);
        const std::uint64_t hash = textHash(name);
        slotFor(name, hash) = {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(i + 1)};
    }
}

} // namespace ferolan
