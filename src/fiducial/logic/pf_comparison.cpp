#include "fiducial/logic/pf_comparison.h"

#include "core/numbers.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <algorithm>

namespace ferolan {
namespace {

void noteOnce(PfComparison::Unreadable &unreadable, const std::filesystem::path &file) {
    if (std::find(unreadable.begin(), unreadable.end(), file) == unreadable.end())
        unreadable.push_back(file);
}

ArchiveSnapshot::Answer lookupIn(const ArchiveSnapshot &snapshot, const std::filesystem::path &file,
                                 const PfKey &key, PfComparison::Unreadable &unreadable) {
    ArchiveSnapshot::Answer found = snapshot.find(key);
    if (found.outcome == LookupOutcome::Unreadable)
        noteOnce(unreadable, file);
    return found;
}

} // namespace

PfComparison::PfComparison(const ProvinceArchive &archive, char decimalSeparator,
                           const WantedKeys &wanted)
    : archive_(archive), decimalSeparator_(decimalSeparator), wanted_(wanted) {}

void PfComparison::prepare(std::string_view nomePf) {
    const std::string_view code = Scomponi_nome_pf(nomePf).codice_comune;
    if (filesByCode_.contains(code))
        return;
    CodeFiles files{pfFileOf(archive_, nomePf)};
    if (files.file.status == PfFile::Ok) {
        files.own = snapshotOf(files.file.path);
        if (files.file.headerProvinceFile)
            files.headerProvince = snapshotOf(*files.file.headerProvinceFile);
    }
    filesByCode_.emplace(code, std::move(files));
}

const ArchiveSnapshot *PfComparison::snapshotOf(const std::filesystem::path &file) {
    auto [at, added] = snapshots_.try_emplace(file.native());
    if (added)
        at->second = std::make_unique<ArchiveSnapshot>(file, wanted_);
    return at->second.get();
}

void PfComparison::Controlla_pf(PfGridRow &row, const PointList &points, std::size_t pointRow,
                                Unreadable &unreadable) const {
    const ArchiveSnapshot::Answer found =
        lookup(row.cell(PfGridRow::Name), row.archiveLengthCompared, unreadable);
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
        // A record whose coordinates lie nowhere near the ground has no distance to compare.
        if (liesAtTheEarthsSurface({x, y, z}))
            row.found = PfGridRow::Positions{{surveyed.X, surveyed.Y, surveyed.Z}, {x, y, z}};
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

ArchiveSnapshot::Answer PfComparison::lookup(std::string_view nomePf, std::uint64_t &length,
                                             Unreadable &unreadable) const {
    const PfKey key = Scomponi_nome_pf(nomePf);
    const CodeFiles &files = filesByCode_.find(key.codice_comune)->second;
    if (files.file.status != PfFile::Ok) {
        noteOnce(unreadable, files.file.path);
        return {LookupOutcome::Unreadable, {}};
    }
    ArchiveSnapshot::Answer found = lookupIn(*files.own, files.file.path, key, unreadable);
    length = files.own->length();
    // Where the point's own province differs from the header's, an archive may already hold
    // it under the header's province: found there, it is no new point either.
    if ((found.outcome == LookupOutcome::NoMatch || found.outcome == LookupOutcome::NoFile) &&
        files.headerProvince) {
        ArchiveSnapshot::Answer elsewhere =
            lookupIn(*files.headerProvince, *files.file.headerProvinceFile, key, unreadable);
        if (elsewhere.outcome == LookupOutcome::Found ||
            elsewhere.outcome == LookupOutcome::Unreadable)
            return elsewhere;
    }
    return found;
}

void mergeUnreadable(PfComparison::Unreadable &unreadable, const PfComparison::Unreadable &more) {
    for (const std::filesystem::path &file : more)
        noteOnce(unreadable, file);
}

} // namespace ferolan
