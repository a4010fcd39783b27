#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"

#include <string>
#include <string_view>
#include <vector>

// The survey session of rows 1 and 6: how it was measured, when, from which base, and for a
// survey in a network of permanent stations (NRTK) which point is the virtual reference.
namespace ferolan {

// The name offices want row 1 to give the permanent station of an NRTK survey.
inline constexpr std::string_view kNrtkBase = "10000";

// Shown when NRTK is chosen for a job whose vectors carry no variance-covariance terms (UTF-8).
inline constexpr std::string_view kNrtkWithoutTerms =
    "Con il metodo NRTK ogni vettore richiede la matrice di varianza-covarianza: il lavoro non "
    "la contiene.";

// The method as row 6 carries it: in capitals, however it was typed.
std::string sessionMethod(std::string_view typed);
bool isNrtk(std::string_view typed);

// The base once the method has changed from `before` to `after`. Choosing NRTK while the
// base still holds the master station's name proposes 10000; leaving NRTK while it still
// holds that 10000 puts the master station's name back. A base the user typed stays.
std::string baseAfterMethod(std::string_view base, std::string_view before, std::string_view after,
                            std::string_view Punto_master);

// A point that may be the virtual reference: one the booklet carries as a row 2, with usable
// coordinates and not named as the master station.
bool isVrsCandidate(const PointList &points, std::size_t row, std::string_view Punto_master);
// Their names in job order.
std::vector<std::string_view> vrsCandidates(const PointList &points, std::string_view Punto_master);
// The first of them, empty when there is none.
std::string_view firstVrsCandidate(const PointList &points, std::string_view Punto_master);

// What the session group proposes from the job: row 1 named as the master station, the
// first point that may be the VRS point.
void proposeSessionFromJob(HeaderData &header, const PointList &points,
                           std::string_view Punto_master);

// "hh:mm", from 00:00 to 23:59.
bool isClockTime(std::string_view text);

} // namespace ferolan
