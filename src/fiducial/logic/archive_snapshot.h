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
    // Where a record's line lies in the file's bytes.
    struct Record {
        std::size_t offset;
        std::size_t length;
    };
    // Indexes the records of the lines of `text` from `from` on.
    void index(std::string_view text, std::size_t from);
    // Tells whether a record of the index, a line of `text`, carries the key.
    auto holdsKey(std::string_view text, const PfKey &key) const {
        return [this, text, &key](std::size_t record) {
            return recordKey(text.substr(records_[record].offset, records_[record].length)) == key;
        };
    }

    ReadOutcome outcome_;
    std::string bytes_;
    // The file's lines and the first of each key among them.
    std::vector<Record> records_;
    FirstIndex firstRecords_;
};

} // namespace ferolan
