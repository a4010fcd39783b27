#include "fiducial/logic/archive_snapshot.h"

#include "core/text.h"
#include "core/text_hash.h"

#include <array>

namespace ferolan {

namespace {

constexpr std::size_t kRecordsAtOnce = 16;

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
    // Records are read a few at a time and their places in the index asked for before any is
    // recorded: in a large archive each would otherwise wait for memory in turn. A repeated
    // key keeps its earlier line: the first record wins.
    std::array<std::uint64_t, kRecordsAtOnce> hashes;
    for (std::size_t read = kRecordsAtOnce; read == kRecordsAtOnce;) {
        read = 0;
        for (std::string_view line; read < kRecordsAtOnce && lines.next(line); ++read) {
            records_.push_back(line);
            hashes[read] = keyHash(recordKey(line));
            firstRecords_.prefetch(hashes[read]);
        }
        for (std::size_t i = 0; i < read; ++i) {
            const std::size_t number = records_.size() - read + i;
            firstRecords_.insert(hashes[i], number, holdsKey(recordKey(records_[number])));
        }
    }
}

PfLookup ArchiveSnapshot::lookup(const PfKey &key) const {
    const Answer answer = find(key);
    return {answer.outcome, std::string(answer.line)};
}

ArchiveSnapshot::Answer ArchiveSnapshot::find(const PfKey &key) const {
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
    return {LookupOutcome::Found, records_[*found]};
}

} // namespace ferolan
