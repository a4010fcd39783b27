#include "fiducial/logic/archive_snapshot.h"

#include "core/text.h"
#include "core/text_hash.h"

#include <algorithm>
#include <utility>

namespace ferolan {
namespace {

// How far ahead of its look a key's place in an index is asked for.
constexpr std::size_t kLooksAhead = 16;

std::uint64_t keyHash(const PfKey &key) {
    return textHash(key.codice_comune, textHash(key.foglio, textHash(key.numero)));
}

} // namespace

WantedKeys::WantedKeys(std::vector<PfKey> keys) : keys_(std::move(keys)) {
    std::vector<std::uint64_t> hashes(keys_.size());
    std::transform(keys_.begin(), keys_.end(), hashes.begin(), keyHash);
    index_.reserve(keys_.size());
    for (std::size_t k = 0; k < keys_.size(); ++k) {
        if (k + kLooksAhead < keys_.size())
            index_.prefetch(hashes[k + kLooksAhead]);
        index_.insert(hashes[k], k,
                      [&](std::size_t earlier) { return keys_[earlier] == keys_[k]; });
    }
}

bool WantedKeys::has(const PfKey &key, std::uint64_t hash) const {
    return index_.find(hash, [&](std::size_t k) { return keys_[k] == key; }).has_value();
}

ArchiveSnapshot::ArchiveSnapshot(const std::filesystem::path &file, const WantedKeys &wanted) {
    struct Read {
        std::string_view line;
        PfKey key;
        std::uint64_t hash;
    };
    std::vector<Read> run;
    // Looked through once: only the records asked for are kept. The places of a few records'
    // keys are asked for ahead: in a large index each look would otherwise wait for memory in
    // turn.
    const LinesRead read = readFileLines(file, [&](std::string_view lines) {
        run.clear();
        LineReader reader(lines);
        for (std::string_view line; reader.next(line);) {
            const PfKey key = recordKey(line);
            run.push_back({line, key, keyHash(key)});
        }
        for (std::size_t i = 0; i < run.size(); ++i) {
            if (i + kLooksAhead < run.size())
                wanted.prefetch(run[i + kLooksAhead].hash);
            if (wanted.has(run[i].key, run[i].hash))
                keep(run[i].line, run[i].key, run[i].hash);
        }
    });
    outcome_ = read.outcome;
    length_ = read.outcome == ReadOutcome::Ok ? read.length : 0;
}

void ArchiveSnapshot::keep(std::string_view line, const PfKey &key, std::uint64_t hash) {
    // A repeated key keeps its first record.
    const std::size_t number = records_.size();
    if (firstRecords_.insert(hash, number, holdsKey(key)) != number)
        return;
    records_.push_back({kept_.size(), line.size()});
    kept_ += line;
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
    return {LookupOutcome::Found, recordAt(*found)};
}

} // namespace ferolan
