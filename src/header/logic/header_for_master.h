#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"

#include <string>

namespace ferolan {

// What the header window proposes from the master station.
struct MasterProposal {
    std::string Punto_master;
    std::string Txt_quota;
};

// The header typed for one master station of a job, carried to another master station of the
// same job. Only what follows the master is proposed afresh: the height and the base of row 1
// where they still hold the earlier proposal, and the VRS point once it is no longer one the
// new master allows. Everything typed stays; the mean east, made over the whole job, too.
HeaderData headerForMaster(HeaderData typed, const MasterProposal &before,
                           const MasterProposal &after, const PointList &points);

} // namespace ferolan
