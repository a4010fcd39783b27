#pragma once

#include "fiducial/logic/archive_snapshot.h"
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid.h"

#include <filesystem>
#include <functional>
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
    // A municipality's file as the points of its code find it, with its snapshots once read.
    struct CodeFiles {
        PfFile file;
        const ArchiveSnapshot *own = nullptr;
        const ArchiveSnapshot *headerProvince = nullptr;
    };

    ArchiveSnapshot::Answer lookup(std::string_view nomePf, std::uint64_t &length);
    CodeFiles &filesOf(std::string_view nomePf, std::string_view code);
    ArchiveSnapshot::Answer lookupIn(const std::filesystem::path &file,
                                     const ArchiveSnapshot *&snapshot, const PfKey &key);
    void noteUnreadable(const std::filesystem::path &file);

    ProvinceArchive archive_;
    char decimalSeparator_;
    // Neither the code table nor the archive changes while the grid loads: each
    // municipality's file is found once and read once.
    std::map<std::string, CodeFiles, std::less<>> filesByCode_;
    // The code asked for last: a job's points mostly share one.
    CodeFiles *lastFiles_ = nullptr;
    std::string lastCode_;
    // By the file's path as the system spells it, since two codes may share a file.
    std::unordered_map<std::filesystem::path::string_type, ArchiveSnapshot> snapshots_;
    std::vector<std::filesystem::path> unreadable_;
};

} // namespace ferolan
