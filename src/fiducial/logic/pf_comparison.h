#pragma once

#include "fiducial/logic/archive_snapshot.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace ferolan {

class PointList;

// Compares the job's fiducial points with the archive during one loading of the grid.
class PfComparison {
public:
    PfComparison(const ProvinceArchive &archive, char decimalSeparator);

    // Fills the columns "diffX" to "Già usato" of the row from the archive record of the
    // point named in its first column, against the coordinates of the point list row.
    void Controlla_pf(PfGridRow &row, const PointList &points, std::size_t pointRow);

    // The files that could not be read (the code table among them), each once, in the
    // order the comparison met them.
    const std::vector<std::filesystem::path> &unreadableFiles() const { return unreadable_; }

private:
    PfLookup lookup(std::string_view nomePf, std::uint64_t &length);
    PfLookup lookupIn(const std::filesystem::path &file, const PfKey &key,
                      std::uint64_t *length = nullptr);
    void noteUnreadable(const std::filesystem::path &file);

    ProvinceArchive archive_;
    char decimalSeparator_;
    // Neither the code table nor the archive changes while the grid loads: each
    // municipality's file is found once and read once.
    std::map<std::string, PfFile> filesByCode_;
    // By the file's path as the system spells it: hashing that is much cheaper than comparing
    // paths part by part, once for every point of a large job.
    std::unordered_map<std::filesystem::path::string_type, ArchiveSnapshot> snapshots_;
    std::vector<std::filesystem::path> unreadable_;
};

} // namespace ferolan
