#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// The line where each name first appeared. A booklet of a million points has a million
// names: they are copied one after the other into one text, and found again through a
// compact open-addressed table of short hashes that stays in the processor's cache, so no
// name is allocated on its own and a new name costs one look.
class NameLines {
public:
    // Room for this many names without growing.
    void reserve(std::size_t names);

    struct Seen {
        std::size_t firstLine;
        bool isFirst;
    };
    // Asks for the name's place in the table ahead of see(), so several names can be
    // looked up at once.
    void prepare(std::string_view name) const;

    // The line the name first appeared on; the given line when this is its first time.
    Seen see(std::string_view name, std::size_t line);

private:
    struct Entry {
        std::size_t from; // in names_
        std::size_t length;
        std::size_t line;
    };
    std::string_view nameOf(const Entry &entry) const {
        return std::string_view(names_).substr(entry.from, entry.length);
    }
    // Part of a name's hash and where its entry lies, plus one; 0 for an empty slot.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t entry = 0;
    };
    void grow(std::size_t slots);
    Slot &slotFor(std::string_view name, std::uint64_t hash);

    std::string names_;
    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
};

} // namespace ferolan
