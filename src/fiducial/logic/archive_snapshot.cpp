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
    records_.reserve(lineCount(bytes_));
    firstRecords_.reserve(records_.capacity());
    LineReader lines(bytes_);
    // A repeated key keeps its earlier line: the first record wins.
    for (std::string_view line; lines.next(line);) {
        const PfKey key = recordKey(line);
        firstRecords_.insert(keyHash(key), records_.size(), [&](std::size_t record) {
            return recordKey(records_[record]) == key;
        });
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
    std::optional<std::size_t> found = firstRecords_.find(
        keyHash(key), [&](std::size_t record) { return recordKey(records_[record]) == key; });
    if (!found)
        return {LookupOutcome::NoMatch, {}};
    return {LookupOutcome::Found, std::string(records_[*found])};
}

} // namespace ferolan
