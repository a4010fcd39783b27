#include "fiducial/logic/archive_snapshot.h"

#include "core/text.h"

#include <functional>

namespace ferolan {

std::size_t ArchiveSnapshot::KeyHash::operator()(const PfKey &key) const {
    std::hash<std::string_view> hash;
    std::size_t seed = hash(key.numero);
    for (std::string_view part : {key.foglio, key.codice_comune})
        seed ^= hash(part) + 0x9e3779b97f4a7c15 + (seed << 6) + (seed >> 2);
    return seed;
}

ArchiveSnapshot::ArchiveSnapshot(const std::filesystem::path &file) {
    FileContent content = readFile(file);
    outcome_ = content.outcome;
    bytes_ = std::move(content.bytes);
    std::vector<std::string_view> lines = splitLines(bytes_);
    firstRecords_.reserve(lines.size());
    // try_emplace keeps the earlier line of a repeated key: the first record wins.
    for (std::string_view line : lines)
        firstRecords_.try_emplace(recordKey(line), line);
}

PfLookup ArchiveSnapshot::lookup(const PfKey &key) const {
    switch (outcome_) {
    case ReadOutcome::Missing:
        return {LookupOutcome::NoFile, {}};
    case ReadOutcome::Unreadable:
        return {LookupOutcome::Unreadable, {}};
    case ReadOutcome::Ok:
        break;
    }
    auto found = firstRecords_.find(key);
    if (found == firstRecords_.end())
        return {LookupOutcome::NoMatch, {}};
    return {LookupOutcome::Found, std::string(found->second)};
}

} // namespace ferolan
