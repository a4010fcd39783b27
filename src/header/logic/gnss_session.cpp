#include "header/logic/gnss_session.h"

#include "core/text.h"

namespace ferolan {

std::string sessionMethod(std::string_view typed) {
    return toUpperCp1252(typed);
}

bool isNrtk(std::string_view typed) {
    return sessionMethod(typed) == "NRTK";
}

std::string baseAfterMethod(std::string_view base, std::string_view before, std::string_view after,
                            std::string_view Punto_master) {
    if (isNrtk(after) && !isNrtk(before) && base == Punto_master)
        return std::string(kNrtkBase);
    if (isNrtk(before) && !isNrtk(after) && base == kNrtkBase)
        return std::string(Punto_master);
    return std::string(base);
}

bool isVrsCandidate(const PointList &points, std::size_t row, std::string_view Punto_master) {
    return points.field(row, PointList::Name) != Punto_master &&
           points.usableCoordinates(row).has_value();
}

std::vector<std::string_view> vrsCandidates(const PointList &points,
                                            std::string_view Punto_master) {
    std::vector<std::string_view> names;
    for (std::size_t row = 1; row <= points.rowCount(); ++row)
        if (isVrsCandidate(points, row, Punto_master))
            names.push_back(points.field(row, PointList::Name));
    return names;
}

std::string_view firstVrsCandidate(const PointList &points, std::string_view Punto_master) {
    for (std::size_t row = 1; row <= points.rowCount(); ++row)
        if (isVrsCandidate(points, row, Punto_master))
            return points.field(row, PointList::Name);
    return {};
}

void proposeSessionFromJob(HeaderData &header, const PointList &points,
                           std::string_view Punto_master) {
    header.Txt_base = std::string(Punto_master);
    header.Cmb_vrs = std::string(firstVrsCandidate(points, Punto_master));
}

bool isClockTime(std::string_view text) {
    auto digit = [&text](std::size_t at) { return text[at] >= '0' && text[at] <= '9'; };
    if (text.size() != 5 || text[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4))
        return false;
    return text.substr(0, 2) <= "23" && text[3] <= '5';
}

} // namespace ferolan
