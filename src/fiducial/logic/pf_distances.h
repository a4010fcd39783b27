#pragma once

#include "fiducial/logic/pf_grid.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The distances between the fiducial points found in the archive, measured today against the
// same distances from their archived coordinates, within the tolerances the cadastre's survey
// instructions (1988) set for points common to surveys made at different times. Texts are
// Windows-1252 bytes.
namespace ferolan {

enum class DistanceZone { Urbana, Pianeggiante, Sfavorevole };

inline constexpr std::array<DistanceZone, 3> kDistanceZones = {
    DistanceZone::Urbana, DistanceZone::Pianeggiante, DistanceZone::Sfavorevole};

// "Urbana", "Extraurbana pianeggiante", "Extraurbana sfavorevole".
std::string_view zoneCaption(DistanceZone zone);
// The caption as it reads inside a sentence: "urbana", "extraurbana pianeggiante"...
std::string zoneInSentence(DistanceZone zone);
// The zone of a one-word name: "urbana", "pianeggiante" or "sfavorevole".
std::optional<DistanceZone> zoneOfWord(std::string_view word);

// The largest difference, in metres, allowed between a distance of `d` metres and its
// earlier measurement.
double distanceTolerance(DistanceZone zone, double d);

inline constexpr std::string_view kInTolleranza = "in tolleranza";
inline constexpr std::string_view kFuoriTolleranza = "fuori tolleranza";
inline constexpr std::string_view kOltre10Cm = "oltre 10 cm";

// Two fiducial points found in the archive and the horizontal distance between them.
struct PfPair {
    std::string first, second; // the first earlier in the job
    double today = 0;          // d, from today's coordinates
    double archived = 0;       // D, from the archived ones
    double tolerance = 0;      // for d in the chosen zone

    double difference() const { return std::abs(today - archived); }
    double ratio() const { return difference() / tolerance; }
    bool inTolerance() const { return difference() <= tolerance; }
    // Offices want such a pair explained in the survey's report, even within tolerance.
    bool overTenCentimetres() const { return difference() > 0.10; }
    std::string_view esito() const { return inTolerance() ? kInTolleranza : kFuoriTolleranza; }
};

// The distinct fiducial points of the grid found in the archive.
std::size_t foundPfCount(const PfGrid &grid);

// Every pair of distinct found points, worst ratio first, equal ratios in job order; a point
// listed twice counts once, at its first row.
std::vector<PfPair> pfPairs(const PfGrid &grid, DistanceZone zone);

// The paragraph for the survey's report: the surveyed points, the pairs compared and the zone,
// then every pair out of tolerance or over 10 cm, or that all are within tolerance.
std::string relazioneText(const PfGrid &grid, const std::vector<PfPair> &pairs, DistanceZone zone,
                          char decimalSeparator);

} // namespace ferolan
