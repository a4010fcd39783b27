#include "booklet/logic/name_lines.h"

#include "core/text_hash.h"

namespace ferolan {

void NameLines::reserve(std::size_t names) {
    entries_.reserve(names);
    index_.reserve(names);
}

void NameLines::prepare(std::string_view name) const {
    index_.prefetch(textHash(name));
}

NameLines::Seen NameLines::see(std::string_view name, std::size_t line) {
    const std::size_t first = index_.insert(
        textHash(name), entries_.size(), [&](std::size_t entry) { return nameOf(entry) == name; });
    if (first != entries_.size())
        return {entries_[first].line, false};
    entries_.push_back({names_.size(), name.size(), line});
    names_ += name;
    return {line, true};
}

} // namespace ferolan
