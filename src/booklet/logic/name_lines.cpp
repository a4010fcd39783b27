#include "booklet/logic/name_lines.h"

#include "core/text_hash.h"

#include <cstdint>
#include <stdexcept>

namespace ferolan {

void NameLines::reserve(std::size_t names) {
    // Room for names as long as a job's longest: set aside, memory costs only once used,
    // while a text grown step by step is copied at every step.
    constexpr std::size_t kUsualNameLength = 16;
    entries_.reserve(names);
    names_.reserve(names * kUsualNameLength);
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
    if (name.size() > UINT32_MAX || line > UINT32_MAX)
        throw std::length_error("name or line number too large");
    entries_.push_back(
        {names_.size(), static_cast<std::uint32_t>(name.size()), static_cast<std::uint32_t>(line)});
    names_ += name;
    return {line, true};
}

} // namespace ferolan
