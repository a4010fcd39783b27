#pragma once

#include "fiducial/logic/archive_snapshot.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ferolan {

class PointList;

// Compares the job's fiducial points with the archive during one loading of the grid.
class PfComparison {
public:
    // Only points of the wanted keys are compared; the keys must outlive the comparison.
    PfComparison(const ProvinceArchive &archive, char decimalSeparator, const WantedKeys &wanted);

    // Finds the municipality file of the point's code and reads it, once for each code. Every
    // point is prepared before any is compared: the comparisons then only read what is
    // prepared, and several may run at once.
    void prepare(std::string_view nomePf);

    // Files that could not be read, each once, in the order comparisons met them.
    using Unreadable = std::vector<std::filesystem::path>;

    // Fills the columns "diffX" to "Già usato" of the row from the archive record of the
    // point named in its first column, against the coordinates of the point list row, and
    // adds to `unreadable` the files it could not read.
    void Controlla_pf(PfGridRow &row, const PointList &points, std::size_t pointRow,
                      Unreadable &unreadable) const;

private:
    // A municipality's file as the points of its code find it, with its snapshots.
    struct CodeFiles {
        PfFile file;
        const ArchiveSnapshot *own = nullptr;
        const ArchiveSnapshot *headerProvince = nullptr;
    };

    ArchiveSnapshot::Answer lookup(std::string_view nomePf, std::uint64_t &length,
                                   Unreadable &unreadable) const;
    const ArchiveSnapshot *snapshotOf(const std::filesystem::path &file);

    ProvinceArchive archive_;
    char decimalSeparator_;
    const WantedKeys &wanted_;
    // Neither the code table nor the archive changes while the grid loads: each
    // municipality's file is found once and read once.
    std::map<std::string, CodeFiles, std::less<>> filesByCode_;
    // By the file's path as the system spells it, since two codes may share a file.
    std::unordered_map<std::filesystem::path::string_type, std::unique_ptr<ArchiveSnapshot>>
        snapshots_;
};

// Adds the files of `more` that `unreadable` does not hold yet, in their order.
void mergeUnreadable(PfComparison::Unreadable &unreadable, const PfComparison::Unreadable &more);

} // namespace ferolan
