#include "header/logic/header_for_master.h"

#include "header/logic/gnss_session.h"

#include <algorithm>

namespace ferolan {

HeaderData headerForMaster(HeaderData typed, const MasterProposal &before,
                           const MasterProposal &after, const PointList &points) {
    if (typed.Txt_quota == before.Txt_quota)
        typed.Txt_quota = after.Txt_quota;
    if (typed.Txt_base == before.Punto_master)
        typed.Txt_base = after.Punto_master;
    const std::vector<std::string_view> candidates = vrsCandidates(points, after.Punto_master);
    if (std::ranges::find(candidates, typed.Cmb_vrs) == candidates.end())
        typed.Cmb_vrs = firstVrsCandidate(points, after.Punto_master);
    return typed;
}

} // namespace ferolan
