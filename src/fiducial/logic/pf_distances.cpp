#include "fiducial/logic/pf_distances.h"

#include "core/numbers.h"

#include <algorithm>
#include <unordered_set>

namespace ferolan {
namespace {

// The tolerance of each zone: intercept + perMetre * d up to 300 m, a fixed value beyond.
struct ZoneRule {
    std::string_view caption;
    std::string_view word;
    double intercept, perMetre, beyond300;
};

constexpr std::array<ZoneRule, 3> kRules = {{
    {"Urbana", "urbana", 0.05, 0.0013, 0.45},
    {"Extraurbana pianeggiante", "pianeggiante", 0.05, 0.0016, 0.55},
    {"Extraurbana sfavorevole", "sfavorevole", 0.10, 0.0020, 0.70},
}};

const ZoneRule &ruleOf(DistanceZone zone) {
    return kRules[static_cast<std::size_t>(zone)];
}

struct FoundPoint {
    std::string_view name;
    PfGridRow::Positions positions;
};

// The found points in job order, each name at its first row only.
std::vector<FoundPoint> foundPoints(const PfGrid &grid) {
    std::vector<FoundPoint> found;
    std::unordered_set<std::string_view> seen;
    for (const PfGridRow &row : grid) {
        const std::string_view name = row.cell(PfGridRow::Name);
        if (seen.insert(name).second && row.found)
            found.push_back({name, *row.found});
    }
    return found;
}

// "A", "A e B", "A, B e C".
std::string listed(const std::vector<std::string_view> &names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " e " : ", ";
        text += names[i];
    }
    return text;
}

std::string pairSentence(const PfPair &pair, char separator) {
    return "La distanza " + pair.first + " \x96 " + pair.second + " misura " +
           threeDecimalText(pair.today, separator) + " m contro " +
           threeDecimalText(pair.archived, separator) + " m in archivio: differenza " +
           threeDecimalText(pair.difference(), separator) + " m, tolleranza " +
           threeDecimalText(pair.tolerance, separator) + " m (" + std::string(pair.esito()) + ").";
}

} // namespace

std::string_view zoneCaption(DistanceZone zone) {
    return ruleOf(zone).caption;
}

std::string zoneInSentence(DistanceZone zone) {
    std::string text(zoneCaption(zone));
    text.front() = static_cast<char>(text.front() - 'A' + 'a');
    return text;
}

std::optional<DistanceZone> zoneOfWord(std::string_view word) {
    for (DistanceZone zone : kDistanceZones)
        if (ruleOf(zone).word == word)
            return zone;
    return std::nullopt;
}

double distanceTolerance(DistanceZone zone, double d) {
    const ZoneRule &rule = ruleOf(zone);
    return d <= 300 ? rule.intercept + rule.perMetre * d : rule.beyond300;
}

std::size_t foundPfCount(const PfGrid &grid) {
    return foundPoints(grid).size();
}

std::vector<PfPair> pfPairs(const PfGrid &grid, DistanceZone zone) {
    const std::vector<FoundPoint> found = foundPoints(grid);
    std::vector<PfPair> pairs;
    for (std::size_t i = 0; i < found.size(); ++i)
        for (std::size_t j = i + 1; j < found.size(); ++j) {
            const PfGridRow::Positions &a = found[i].positions, &b = found[j].positions;
            const double today = horizontalDistance(a.today, b.today);
            pairs.push_back({std::string(found[i].name), std::string(found[j].name), today,
                             horizontalDistance(a.archived, b.archived),
                             distanceTolerance(zone, today)});
        }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const PfPair &a, const PfPair &b) { return a.ratio() > b.ratio(); });
    return pairs;
}

std::string relazioneText(const PfGrid &grid, const std::vector<PfPair> &pairs, DistanceZone zone,
                          char decimalSeparator) {
    std::vector<std::string_view> surveyed;
    std::unordered_set<std::string_view> seen;
    for (const PfGridRow &row : grid)
        if (seen.insert(row.cell(PfGridRow::Name)).second)
            surveyed.push_back(row.cell(PfGridRow::Name));
    const bool one = pairs.size() == 1;
    std::string text =
        "Sono stati rilevati i punti fiduciali " + listed(surveyed) + ". " +
        (one ? "La distanza tra 1 coppia di punti fiduciali \xE8 stata confrontata con quella "
               "ricavata"
             : "Le distanze tra " + std::to_string(pairs.size()) +
                   " coppie di punti fiduciali sono state confrontate con quelle ricavate") +
        " dalle misure precedenti in archivio, con le tolleranze per la zona " +
        zoneInSentence(zone) + ".";
    std::string remarks;
    for (const PfPair &pair : pairs)
        if (!pair.inTolerance() || pair.overTenCentimetres())
            remarks += " " + pairSentence(pair, decimalSeparator);
    if (remarks.empty())
        remarks = one ? " La distanza risulta in tolleranza."
                      : " Tutte le distanze risultano in tolleranza.";
    return text + remarks;
}

} // namespace ferolan
