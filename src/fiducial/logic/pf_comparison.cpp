#include "fiducial/logic/pf_comparison.h"

#include "core/numbers.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <algorithm>

namespace ferolan {

PfComparison::PfComparison(const ProvinceArchive &archive, char decimalSeparator)
    : archive_(archive), decimalSeparator_(decimalSeparator) {}

void PfComparison::Controlla_pf(PfGridRow &row, const PointList &points, std::size_t pointRow) {
    const ArchiveSnapshot::Answer found =
        lookup(row.cell(PfGridRow::Name), row.archiveLengthCompared);
    switch (found.outcome) {
    case LookupOutcome::Found: {
        const auto [x, y, z] = recordCoordinates(found.line);
        // Read when the job was loaded, for the points with usable coordinates.
        const std::optional<Xyz> usable = points.usableCoordinates(pointRow);
        const Xyz surveyed = usable ? *usable : pointXyz(points, pointRow);
        auto difference = [this](double archivedValue, double surveyedValue) {
            return threeDecimalText(archivedValue - surveyedValue, decimalSeparator_);
        };
        row.cell(PfGridRow::Used) = kUsed;
        row.cell(PfGridRow::DiffX) = difference(x, surveyed.X);
        row.cell(PfGridRow::DiffY) = difference(y, surveyed.Y);
        row.cell(PfGridRow::DiffZ) = difference(z, surveyed.Z);
        break;
    }
    case LookupOutcome::NoMatch:
    case LookupOutcome::NoFile:
        row.cell(PfGridRow::Used) = kNotUsed;
        break;
    case LookupOutcome::Unreadable:
        // Left empty: neither used nor new can be told.
        break;
    }
}

ArchiveSnapshot::Answer PfComparison::lookup(std::string_view nomePf, std::uint64_t &length) {
    const PfKey key = Scomponi_nome_pf(nomePf);
    CodeFiles &files = filesOf(nomePf, key.codice_comune);
    if (files.file.status != PfFile::Ok) {
        noteUnreadable(files.file.path);
        return {LookupOutcome::Unreadable, {}};
    }
    ArchiveSnapshot::Answer found = lookupIn(files.file.path, files.own, key);
    length = files.own->length();
    // Where the point's own province differs from the header's, an archive may already hold
    // it under the header's province: found there, it is no new point either.
    if ((found.outcome == LookupOutcome::NoMatch || found.outcome == LookupOutcome::NoFile) &&
        files.file.headerProvinceFile) {
        ArchiveSnapshot::Answer elsewhere =
            lookupIn(*files.file.headerProvinceFile, files.headerProvince, key);
        if (elsewhere.outcome == LookupOutcome::Found ||
            elsewhere.outcome == LookupOutcome::Unreadable)
            return elsewhere;
    }
    return found;
}

PfComparison::CodeFiles &PfComparison::filesOf(std::string_view nomePf, std::string_view code) {
    if (lastFiles_ && code == lastCode_)
        return *lastFiles_;
    auto known = filesByCode_.find(code);
    if (known == filesByCode_.end())
        known = filesByCode_.emplace(code, CodeFiles{pfFileOf(archive_, nomePf)}).first;
    lastCode_ = code;
    lastFiles_ = &known->second;
    return known->second;
}

ArchiveSnapshot::Answer PfComparison::lookupIn(const std::filesystem::path &file,
                                               const ArchiveSnapshot *&snapshot, const PfKey &key) {
    if (!snapshot)
        snapshot = &snapshots_.try_emplace(file.native(), file).first->second;
    ArchiveSnapshot::Answer found = snapshot->find(key);
    if (found.outcome == LookupOutcome::Unreadable)
        noteUnreadable(file);
    return found;
}

void PfComparison::noteUnreadable(const std::filesystem::path &file) {
    if (std::find(unreadable_.begin(), unreadable_.end(), file) == unreadable_.end())
        unreadable_.push_back(file);
}

} // namespace ferolan
