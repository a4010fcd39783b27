#pragma once

#include "core/files.h"
#include "core/first_index.h"
#include "fiducial/logic/fiducial_archive.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// The keys of the records a snapshot keeps: those of the points it will be asked for.
class WantedKeys {
public:
    // The keys' parts are viewed, not copied.
    explicit WantedKeys(std::vector<PfKey> keys);
    // Asks for the place of a hash ahead of has(), so that several looks overlap.
    void prefetch(std::uint64_t hash) const { index_.prefetch(hash); }
    // `hash` is the key's, as the snapshot hashes keys.
    bool has(const PfKey &key, std::uint64_t hash) const;

private:
    std::vector<PfKey> keys_;
    FirstIndex index_;
};

// A municipality file read once, its records of the wanted keys kept and indexed by key, for
// answering many lookups while the archive does not change. Each answer is the first record
// with the key in file order, as a search from the file's first line finds it.
class ArchiveSnapshot {
public:
    ArchiveSnapshot(const std::filesystem::path &file, const WantedKeys &wanted);
    ArchiveSnapshot(const ArchiveSnapshot &) = delete;
    ArchiveSnapshot &operator=(const ArchiveSnapshot &) = delete;

    // For a key that was not wanted, NoMatch.
    PfLookup lookup(const PfKey &key) const;
    // The same answer without copying the record: its line is viewed in the snapshot.
    struct Answer {
        LookupOutcome outcome;
        std::string_view line;
    };
    Answer find(const PfKey &key) const;
    // The length of the file as it was read; 0 when it could not be.
    std::uint64_t length() const { return length_; }

private:
    // Where a kept record's line lies in kept_.
    struct Record {
        std::size_t offset;
        std::size_t length;
    };
    void keep(std::string_view line, const PfKey &key, std::uint64_t hash);
    std::string_view recordAt(std::size_t record) const {
        return std::string_view(kept_).substr(records_[record].offset, records_[record].length);
    }
    // Tells whether a kept record carries the key.
    auto holdsKey(const PfKey &key) const {
        return [this, &key](std::size_t record) { return recordKey(recordAt(record)) == key; };
    }

    ReadOutcome outcome_;
    std::uint64_t length_ = 0;
    // The lines kept, one after the other, and the first of each key among them.
    std::string kept_;
    std::vector<Record> records_;
    FirstIndex firstRecords_;
};

} // namespace ferolan
