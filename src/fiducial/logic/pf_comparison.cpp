#include "fiducial/logic/pf_comparison.h"

#include "core/numbers.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <algorithm>

namespace ferolan {

PfComparison::PfComparison(const ProvinceArchive &archive, char decimalSeparator)
    : archive_(archive), decimalSeparator_(decimalSeparator) {}

void PfComparison::Controlla_pf(PfGridRow &row, const PointList &points, std::size_t pointRow) {
    PfLookup found = lookup(row.cell(PfGridRow::Name), row.archiveLengthCompared);
    switch (found.outcome) {
    case LookupOutcome::Found: {
        Punto_fiduciale archived = found.record();
        // Read when the job was loaded, for the points with usable coordinates.
        const std::optional<Xyz> usable = points.usableCoordinates(pointRow);
        const Xyz surveyed = usable ? *usable : pointXyz(points, pointRow);
        auto difference = [this](double archivedValue, double surveyedValue) {
            return threeDecimalText(archivedValue - surveyedValue, decimalSeparator_);
        };
        row.cell(PfGridRow::Used) = kUsed;
        row.cell(PfGridRow::DiffX) = difference(archived.x, surveyed.X);
        row.cell(PfGridRow::DiffY) = difference(archived.y, surveyed.Y);
        row.cell(PfGridRow::DiffZ) = difference(archived.z, surveyed.Z);
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

PfLookup PfComparison::lookup(std::string_view nomePf, std::uint64_t &length) {
    auto [known, isNew] =
        filesByCode_.try_emplace(std::string(Scomponi_nome_pf(nomePf).codice_comune));
    if (isNew)
        known->second = pfFileOf(archive_, nomePf);
    const PfFile &file = known->second;
    if (file.status != PfFile::Ok) {
        noteUnreadable(file.path);
        return {LookupOutcome::Unreadable, {}};
    }
    const PfKey key = Scomponi_nome_pf(nomePf);
    PfLookup found = lookupIn(file.path, key, &length);
    // Where the point's own province differs from the header's, an archive may already hold
    // it under the header's province: found there, it is no new point either.
    if ((found.outcome == LookupOutcome::NoMatch || found.outcome == LookupOutcome::NoFile) &&
        file.headerProvinceFile) {
        PfLookup elsewhere = lookupIn(*file.headerProvinceFile, key);
        if (elsewhere.outcome == LookupOutcome::Found ||
            elsewhere.outcome == LookupOutcome::Unreadable)
            return elsewhere;
    }
    return found;
}

PfLookup PfComparison::lookupIn(const std::filesystem::path &file, const PfKey &key,
                                std::uint64_t *length) {
    const ArchiveSnapshot &snapshot = snapshots_.try_emplace(file.native(), file).first->second;
    if (length)
        *length = snapshot.length();
    PfLookup found = snapshot.lookup(key);
    if (found.outcome == LookupOutcome::Unreadable)
        noteUnreadable(file);
    return found;
}

void PfComparison::noteUnreadable(const std::filesystem::path &file) {
    if (std::find(unreadable_.begin(), unreadable_.end(), file) == unreadable_.end())
        unreadable_.push_back(file);
}

} // namespace ferolan
