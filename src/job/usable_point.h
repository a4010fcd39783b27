#pragma once

#include "job/point_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// The numeric values of columns X, Y and Z of a point-list row (an empty cell reads as 0).
Xyz pointXyz(const PointList &points, std::size_t row);

// True when the cell begins with a number: an optional sign, then a digit or a point and a
// digit. An empty cell, which reads as 0, does not.
bool beginsWithNumber(std::string_view cell);

// A point can stand in the booklet only when each of X, Y and Z begins with a number and it
// lies between 6,000 and 6,800 km from the Earth's centre: a missing coordinate would make
// a vector to the centre of the Earth, and a point far outside that shell comes from shifted
// or overflowing columns, not from a measurement.
bool hasUsableCoordinates(const PointList &points, std::size_t row);

// The rule on the three cells of a row, each read once: their X, Y and Z when usable.
std::optional<Xyz> usableXyzOf(std::string_view x, std::string_view y, std::string_view z);

// The shell of that rule: between 6,000 and 6,800 km from the Earth's centre.
bool liesAtTheEarthsSurface(const Xyz &xyz);

// The names of the points, in list order, that the booklet leaves out for want of usable
// coordinates; points named as the master station are not among them.
std::vector<std::string_view> pointsWithoutCoordinates(const PointList &points,
                                                       std::string_view Punto_master);

// Where the survey is: the mean of the points with usable coordinates but the master station
// (the master alone when it is the only one); nothing without any. A permanent station used as
// master may stand tens of kilometres from the points it measured.
std::optional<Xyz> surveyedCentroid(const PointList &points, std::string_view Punto_master);

// "Il punto <name> non ha coordinate utilizzabili: non può essere la stazione master." (UTF-8)
std::string unusableMasterMessage(std::string_view Punto_master);

// What is said of the job's truncated last row (PointList::truncatedRow), the job's path
// given as it is to be shown (UTF-8): "L'ultima riga del lavoro <path> sembra troncata: il
// punto <name> non è stato usato."
std::string truncatedRowMessage(std::string_view job, const PointList &points);

// Why a job file that did not load is refused, its path given as it is to be shown (UTF-8):
// "Il file del lavoro <path> è cambiato mentre veniva letto: riprovare.", "Il file <path> è
// vuoto.", or the caller's own words for a file without usable points and for one that
// cannot be read. Nothing when it loaded.
std::optional<std::string> jobRefusal(PointList::FileLoad outcome, std::string_view job,
                                      std::string_view withoutPoints, std::string_view unreadable);

// "Il file <path> non contiene punti con coordinate utilizzabili: non sembra un lavoro
// esportato da TGO." (UTF-8)
std::string notAJobMessage(std::string_view job);

} // namespace ferolan
