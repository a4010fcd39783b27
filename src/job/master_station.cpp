#include "job/master_station.h"

#include "core/numbers.h"
#include "job/usable_point.h"

#include <cmath>

namespace ferolan {

MasterStation masterStationAt(const PointList &points, std::size_t row) {
    MasterStation master;
    master.Punto_master = points.field(row, PointList::Name);
    master.Riga_master = row;
    master.Quota_master = roundDown(numericValue(points.field(row, PointList::Height)));
    // A wide sum, so that absurd values cannot overflow it into infinity.
    long double sum = 0;
    std::size_t count = 0;
    for (std::size_t r = 1; r <= points.rowCount(); ++r) {
        std::string_view east = points.field(r, PointList::East);
        if (beginsWithNumber(east)) {
            sum += numericValue(east);
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
