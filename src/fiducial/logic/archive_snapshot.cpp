#include "fiducial/logic/archive_snapshot.h"

#include "core/text.h"
#include "core/text_hash.h"

namespace ferolan {

namespace {

std::uint64_t keyHash(const PfKey &key) {
    return textHash(key.codice_comune, textHash(key.foglio, textHash(key.numero)));
}

} // namespace

ArchiveSnapshot::ArchiveSnapshot(const std::filesystem::path &file) {
    FileContent content = readFile(file);
    outcome_ = content.outcome;
    bytes_ = std::move(content.bytes);
    const std::size_t count = lineCount(bytes_);
    records_.reserve(count);
    firstRecords_.reserve(count);
    LineReader lines(bytes_);
    // A repeated key keeps its earlier line: the first record wins.
    for (std::string_view line; lines.next(line);) {
        const PfKey key = recordKey(line);
        firstRecords_.insert(keyHash(key), records_.size(), holdsKey(key));
        records_.push_back(line);
    }
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
    std::optional<std::size_t> found = firstRecords_.find(keyHash(key), holdsKey(key));
    if (!found)
        return {LookupOutcome::NoMatch, {}};
    return {LookupOutcome::Found, std::string(records_[*found])};
}

} // namespace ferolan
