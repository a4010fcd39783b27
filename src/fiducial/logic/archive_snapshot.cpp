#include "fiducial/logic/archive_snapshot.h"

#include "core/parallel.h"
#include "core/text.h"
#include "core/text_hash.h"

#include <algorithm>

namespace ferolan {

namespace {

// An archive's lines are some 85 bytes: from this many bytes on, its lines are found in parts.
constexpr std::size_t kLeastBytesPerPart = kLeastRowsPerPart * 85;
// How far ahead of its recording a record's place in the index is asked for.
constexpr std::size_t kRecordsAhead = 16;

std::uint64_t keyHash(const PfKey &key) {
    return textHash(key.codice_comune, textHash(key.foglio, textHash(key.numero)));
}

struct HashedRecords {
    std::vector<std::string_view> lines;
    std::vector<std::uint64_t> hashes;
};

HashedRecords hashedRecords(std::string_view piece) {
    HashedRecords records;
    const auto count = static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n')) + 1;
    records.lines.reserve(count);
    records.hashes.reserve(count);
    LineReader lines(piece);
    for (std::string_view line; lines.next(line);) {
        records.lines.push_back(line);
        records.hashes.push_back(keyHash(recordKey(line)));
    }
    return records;
}

} // namespace

ArchiveSnapshot::ArchiveSnapshot(const std::filesystem::path &file) {
    FileContent content = readFile(file);
    outcome_ = content.outcome;
    bytes_ = std::move(content.bytes);
    // A large archive's records are found, and their keys hashed, in parts at once.
    const std::vector<std::string_view> pieces = wholeLinePieces(
        bytes_, std::clamp<std::size_t>(bytes_.size() / kLeastBytesPerPart, 1, partCount()));
    std::vector<HashedRecords> parts(pieces.size());
    runParts(pieces.size(), [&](std::size_t part) { parts[part] = hashedRecords(pieces[part]); });
    std::vector<std::uint64_t> hashes = std::move(parts.front().hashes);
    records_ = std::move(parts.front().lines);
    for (std::size_t part = 1; part < parts.size(); ++part) {
        hashes.insert(hashes.end(), parts[part].hashes.begin(), parts[part].hashes.end());
        records_.insert(records_.end(), parts[part].lines.begin(), parts[part].lines.end());
    }
    // Recorded in file order, so that a repeated key keeps its first record. Each record's
    // place is asked for a few records ahead: in a large archive each would otherwise wait
    // for memory in turn.
    firstRecords_.reserve(records_.size());
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (i + kRecordsAhead < records_.size())
            firstRecords_.prefetch(hashes[i + kRecordsAhead]);
        firstRecords_.insert(hashes[i], i, holdsKey(recordKey(records_[i])));
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
