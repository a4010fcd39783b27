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

// A municipality file read once and indexed by key, for answering many lookups while the
// archive does not change. Each answer is the first record with the key in file order, as
// a search from the file's first line finds it.
class ArchiveSnapshot {
public:
    explicit ArchiveSnapshot(const std::filesystem::path &file);
    // The index points into the file's bytes, which must therefore stay where they are.
    ArchiveSnapshot(const ArchiveSnapshot &) = delete;
    ArchiveSnapshot &operator=(const ArchiveSnapshot &) = delete;

    PfLookup lookup(const PfKey &key) const;
    // The same answer without copying the record: its line is viewed in the snapshot.
    struct Answer {
        LookupOutcome outcome;
        std::string_view line;
    };
    Answer find(const PfKey &key) const;
    // The length of the file as it was read; 0 when it could not be.
    std::uint64_t length() const { return bytes_.size(); }

private:
    // Tells whether a record of the index carries the key.
    auto holdsKey(const PfKey &key) const {
        return [this, &key](std::size_t record) { return recordKey(records_[record]) == key; };
    }

    ReadOutcome outcome_;
    std::string bytes_;
    // The file's lines, viewed in bytes_, and the first of each key among them.
    std::vector<std::string_view> records_;
    FirstIndex firstRecords_;
};

} // namespace ferolan
