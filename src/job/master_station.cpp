#include "job/master_station.h"

#include "core/numbers.h"

#include <cmath>

namespace ferolan {

MasterStation masterStationAt(const PointList &points, std::size_t row) {
    MasterStation master;
    master.Punto_master = points.field(row, PointList::Name);
    master.Riga_master = row;
    master.Quota_master = roundDown(numericValue(points.field(row, PointList::Height)));
    master.Est_media = roundDown(points.meanEast());
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
