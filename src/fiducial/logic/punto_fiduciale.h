#pragma once

#include <array>
#include <string>
#include <string_view>

// One line of a municipality's fiducial point archive file, in fixed columns:
//   1-2 numero, 4-7 foglio, 9-12 codice_comune, 14-43 descrizione,
//   45-56 x, 57-68 y, 69- z (single blanks and padding in between).
// Texts are Windows-1252 bytes.
namespace ferolan {

// The key of a fiducial point, compared as exact, case-sensitive text. The parts are views
// into the name or line they were taken from.
struct PfKey {
    std::string_view numero;
    std::string_view foglio;
    std::string_view codice_comune;
    bool operator==(const PfKey &) const = default;
};

// The parts of a name laid out as PFnn/ffff/cccc, by position: characters 3-4, 6-9 and the
// last four. Nothing is checked.
PfKey Scomponi_nome_pf(std::string_view nomePf);

// The key a record line carries: characters 1-2, 4-7 and 9-12, shorter or empty where
// the line ends early.
PfKey recordKey(std::string_view line);

// A record as read back. Coordinates come from the first 11 characters of their slots.
struct Punto_fiduciale {
    std::string numero;
    std::string foglio;
    std::string codice_comune;
    std::string descrizione; // trailing blanks removed
    double x = 0;
    double y = 0;
    double z = 0;
};

Punto_fiduciale readRecord(std::string_view line);
// The record's X, Y and Z alone, read as readRecord reads them.
std::array<double, 3> recordCoordinates(std::string_view line);

// The record line, without its line end, for a point named PFnn/ffff/cccc. The description
// is cut to 30 characters; the coordinate texts are stored as given, never reformatted
// (the point list holds at most 12 characters each, which fill a slot exactly).
std::string recordLine(std::string_view nomePf, std::string_view descrizione, std::string_view x,
                       std::string_view y, std::string_view z);

} // namespace ferolan
