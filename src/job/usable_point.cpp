#include "job/usable_point.h"

#include "core/cp1252.h"
#include "core/numbers.h"
#include "core/text.h"

#include <cmath>
#include <utility>

namespace ferolan {
namespace {

constexpr double kInnerRadius = 6'000'000.0;
constexpr double kOuterRadius = 6'800'000.0;

} // namespace

bool beginsWithNumber(std::string_view cell) {
    if (!cell.empty() && (cell.front() == '+' || cell.front() == '-'))
        cell.remove_prefix(1);
    if (!cell.empty() && cell.front() == '.')
        cell.remove_prefix(1);
    return !cell.empty() && isDigit(cell.front());
}

Xyz pointXyz(const PointList &points, std::size_t row) {
    return {numericValue(points.field(row, PointList::X)),
            numericValue(points.field(row, PointList::Y)),
            numericValue(points.field(row, PointList::Z))};
}

bool hasUsableCoordinates(const PointList &points, std::size_t row) {
    return points.usableCoordinates(row).has_value();
}

std::optional<Xyz> usableXyzOf(std::string_view x, std::string_view y, std::string_view z) {
    Xyz xyz;
    for (auto [cell, value] : {std::pair{x, &xyz.X}, std::pair{y, &xyz.Y}, std::pair{z, &xyz.Z}}) {
        if (!beginsWithNumber(cell))
            return std::nullopt;
        *value = numericValue(cell);
    }
    if (liesAtTheEarthsSurface(xyz))
        return xyz;
    return std::nullopt;
}

bool liesAtTheEarthsSurface(const Xyz &xyz) {
    double squares = xyz.X * xyz.X;
    squares += xyz.Y * xyz.Y;
    squares += xyz.Z * xyz.Z;
    const double distance = std::sqrt(squares);
    return distance >= kInnerRadius && distance <= kOuterRadius;
}

std::vector<std::string_view> pointsWithoutCoordinates(const PointList &points,
                                                       std::string_view Punto_master) {
    std::vector<std::string_view> names;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        if (hasUsableCoordinates(points, row))
            continue;
        std::string_view name = points.field(row, PointList::Name);
        if (name != Punto_master)
            names.push_back(name);
    }
    return names;
}

std::optional<Xyz> surveyedCentroid(const PointList &points, std::string_view Punto_master) {
    Xyz sum, master;
    std::size_t count = 0, masters = 0;
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        const std::optional<Xyz> xyz = points.usableCoordinates(row);
        if (!xyz)
            continue;
        const bool isMaster = points.field(row, PointList::Name) == Punto_master;
        Xyz &into = isMaster ? master : sum;
        into = {into.X + xyz->X, into.Y + xyz->Y, into.Z + xyz->Z};
        ++(isMaster ? masters : count);
    }
    if (count == 0 && masters == 0)
        return std::nullopt;
    const auto [total, n] = count > 0 ? std::pair(sum, count) : std::pair(master, masters);
    const double d = static_cast<double>(n);
    return Xyz{total.X / d, total.Y / d, total.Z / d};
}

std::string unusableMasterMessage(std::string_view Punto_master) {
    return "Il punto " + utf8FromCp1252(Punto_master) +
           " non ha coordinate utilizzabili: non può essere la stazione master.";
}

std::string truncatedRowMessage(std::string_view job, const PointList &points) {
    return "L'ultima riga del lavoro " + std::string(job) + " sembra troncata: il punto " +
           utf8FromCp1252(points.field(points.truncatedRow(), PointList::Name)) +
           " non è stato usato.";
}

std::optional<std::string> jobRefusal(PointList::FileLoad outcome, std::string_view job,
                                      std::string_view withoutPoints, std::string_view unreadable) {
    switch (outcome) {
    case PointList::FileLoad::Loaded:
        return std::nullopt;
    case PointList::FileLoad::ChangedWhileRead:
        return "Il file del lavoro " + std::string(job) +
               " è cambiato mentre veniva letto: riprovare.";
    case PointList::FileLoad::Empty:
        return "Il file " + std::string(job) + " è vuoto.";
    case PointList::FileLoad::WithoutUsablePoints:
        return std::string(withoutPoints);
    case PointList::FileLoad::Unreadable:
        return std::string(unreadable);
    }
    return std::nullopt;
}

std::string notAJobMessage(std::string_view job) {
    return "Il file " + std::string(job) +
           " non contiene punti con coordinate utilizzabili: non sembra un lavoro esportato da "
           "TGO.";
}

} // namespace ferolan
