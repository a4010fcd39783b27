#pragma once

#include "job/point_list.h"

#include <chrono>
#include <optional>
#include <string>

// What the header window proposes from the job and the calendar.
namespace ferolan {

// The cadastral code of the job's municipality: the last four characters of the first point
// named like a fiducial point (exactly 14 characters, beginning with "PF"), otherwise those
// of the last point's name (fewer when that name is shorter).
std::string jobMunicipalityCode(const PointList &points);

// The code every fiducial point of the job carries (named as jobMunicipalityCode takes
// them); nothing when the job has none or they differ.
std::optional<std::string> commonFiducialCode(const PointList &points);

// Whether the job has a point named like a fiducial point.
bool hasFiducialName(const PointList &points);

// The date as the header's date field holds it: DDMMYYYY.
std::string dateText(std::chrono::year_month_day date);

} // namespace ferolan
