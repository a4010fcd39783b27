#include "job/master_station.h"

#include "core/numbers.h"

namespace ferolan {

MasterStation masterStationAt(const PointList &points, std::size_t row) {
    MasterStation master;
    master.Punto_master = points.field(row, PointList::Name);
    master.Riga_master = row;
    master.Quota_master = roundDown(numericValue(points.field(row, PointList::Height)));
    double sum = 0;
    for (std::size_t r = 1; r <= points.rowCount(); ++r)
        sum += numericValue(points.field(r, PointList::East));
    master.Est_media = roundDown(sum / static_cast<double>(points.rowCount()));
    return master;
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
