#include "job/master_station.h"

#include "core/numbers.h"
#include "core/parallel.h"
#include "job/usable_point.h"

#include <cmath>
#include <optional>
#include <vector>

namespace ferolan {

MasterStation masterStationAt(const PointList &points, std::size_t row) {
    MasterStation master;
    master.Punto_master = points.field(row, PointList::Name);
    master.Riga_master = row;
    master.Quota_master = roundDown(numericValue(points.field(row, PointList::Height)));
    // Read in parts at once, summed in order: the mean is the same whatever the parts.
    std::vector<std::optional<double>> easts(points.rowCount());
    runInRanges(1, points.rowCount() + 1, kLeastRowsPerPart,
                [&points, &easts](std::size_t, std::size_t from, std::size_t to) {
                    for (std::size_t r = from; r < to; ++r) {
                        std::string_view east = points.field(r, PointList::East);
                        if (beginsWithNumber(east))
                            easts[r - 1] = numericValue(east);
                    }
                });
    // A wide sum, so that absurd values cannot overflow it into infinity.
    long double sum = 0;
    std::size_t count = 0;
    for (const std::optional<double> &east : easts) {
        if (east) {
            sum += *east;
            ++count;
        }
    }
    master.Est_media = count == 0
                           ? std::nan("")
                           : roundDown(static_cast<double>(sum / static_cast<long double>(count)));
    return master;
}

std::string meanEastText(double Est_media) {
    std::string text = wholeNumberText(Est_media);
    if (!std::isfinite(Est_media) || text.size() > kMeanEastWidth)
        return {};
    return text;
}

std::string withDatExtension(std::string name) {
    std::string ending = name.size() >= 4 ? name.substr(name.size() - 4) : name;
    for (char &c : ending)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (ending != ".dat")
        name += ".dat";
    return name;
}

} // namespace ferolan
