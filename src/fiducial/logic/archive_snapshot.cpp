#include "fiducial/logic/archive_snapshot.h"

#include "core/text.h"
#include "core/text_hash.h"

#include <algorithm>

namespace ferolan {

namespace {

// An archive's lines are some 85 bytes.
constexpr std::size_t kRecordLength = 85;
// How far ahead of its recording a record's place in the index is asked for.
constexpr std::size_t kRecordsAhead = 16;

std::uint64_t keyHash(const PfKey &key) {
    return textHash(key.codice_comune, textHash(key.foglio, textHash(key.numero)));
}

} // namespace

ArchiveSnapshot::ArchiveSnapshot(const std::filesystem::path &file) {
    const std::size_t expected = expectedLength(file) / kRecordLength + 1;
    records_.reserve(expected);
    firstRecords_.reserve(expected);
    // Indexed as the file is read.
    FileContent content = readFileFeeding(
        file, [this](std::string_view text, std::size_t from) { index(text, from); });
    outcome_ = content.outcome;
    bytes_ = std::move(content.bytes);
}

void ArchiveSnapshot::index(std::string_view text, std::size_t from) {
    const std::size_t first = records_.size();
    std::vector<std::uint64_t> hashes;
    LineReader lines(text.substr(from));
    for (std::string_view line; lines.next(line);) {
        records_.push_back({static_cast<std::size_t>(line.data() - text.data()), line.size()});
        hashes.push_back(keyHash(recordKey(line)));
    }
    // Recorded in file order, so that a repeated key keeps its first record. Each record's
    // place is asked for a few records ahead: in a large archive each would otherwise wait
    // for memory in turn.
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        if (i + kRecordsAhead < hashes.size())
            firstRecords_.prefetch(hashes[i + kRecordsAhead]);
        const Record &record = records_[first + i];
        firstRecords_.insert(hashes[i], first + i,
                             holdsKey(text, recordKey(text.substr(record.offset, record.length))));
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
    std::optional<std::size_t> found = firstRecords_.find(keyHash(key), holdsKey(bytes_, key));
    if (!found)
        return {LookupOutcome::NoMatch, {}};
    const Record &record = records_[*found];
    return {LookupOutcome::Found, std::string_view(bytes_).substr(record.offset, record.length)};
}

} // namespace ferolan
