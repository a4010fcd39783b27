#pragma once

#include "core/first_index.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// The line where each name first appeared. A booklet of a million points has a million
// names: they are copied one after the other into one text and found again through one
// index, so that no name is allocated on its own.
class NameLines {
public:
    // Room for this many names without growing.
    void reserve(std::size_t names);

    // Asks for the place of a name in the index ahead of see(), so that several names can be
    // looked for at once.
    void prepare(std::string_view name) const;

    struct Seen {
        std::size_t firstLine;
        bool isFirst;
    };
    // The line the name first appeared on; the given line when this is its first time.
    Seen see(std::string_view name, std::size_t line);

private:
    // Sixteen bytes a name: a million of them stay small.
    struct Entry {
        std::uint64_t from; // in names_
        std::uint32_t length;
        std::uint32_t line;
    };
    std::string_view nameOf(std::size_t entry) const {
        return std::string_view(names_).substr(entries_[entry].from, entries_[entry].length);
    }

    std::string names_;
    std::vector<Entry> entries_;
    FirstIndex index_;
};

} // namespace ferolan
