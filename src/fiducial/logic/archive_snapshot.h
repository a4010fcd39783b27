#pragma once

#include "core/files.h"
#include "fiducial/logic/fiducial_archive.h"

#include <cstdint>
#include <filesystem>
#include <memory_resource>
#include <string>
#include <unordered_map>

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
    // The length of the file as it was read; 0 when it could not be.
    std::uint64_t length() const { return bytes_.size(); }

private:
    struct KeyHash {
        std::size_t operator()(const PfKey &key) const;
    };

    ReadOutcome outcome_;
    std::string bytes_;
    // The index's entries come from one block, freed at once: a large archive's records are
    // neither allocated nor freed one by one.
    std::pmr::monotonic_buffer_resource memory_;
    std::pmr::unordered_map<PfKey, std::string_view, KeyHash> firstRecords_{&memory_};
};

} // namespace ferolan
