#pragma once

#include "fiducial/logic/pf_distances.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan::batch {

// Which fiducial points of the comparison grid are archived.
enum class ArchiveChoice {
    Proposti, // the rows proposed "V"
    Nessuno,  // none
    Tutti,    // every row
};

// What one run is asked to do. Texts are the arguments as given (UTF-8), except the names of
// the archived points to add, which are Windows-1252 like the archive they are looked up in.
struct BatchRequest {
    std::string lavoro;
    // The format file of a receiver's delimited export; without it --lavoro is a TGO job.
    std::optional<std::string> formato;
    std::string master;
    std::string dati;
    // After the ".dat" rule.
    std::string libretto;
    ArchiveChoice archivia = ArchiveChoice::Proposti;
    // Each laid out PFnn/ffff/cccc, in the order given.
    std::vector<std::string> aggiungi;
    std::optional<std::string> cartella;
    bool confronto = false;
    // Where the survey sketch is drawn, once the booklet is written.
    std::optional<std::string> schema;
    // Exit status 4 when the written booklet's check finds an errore.
    bool severo = false;
    // The tolerances of the distances between fiducial points, in the file and the sketch.
    DistanceZone zona = DistanceZone::Urbana;
    // Where the distances between fiducial points are written, once the booklet is.
    std::optional<std::string> distanze;
};

// Checking a booklet, whoever made it.
struct VerifyRequest {
    std::string libretto;
    std::optional<std::string> cartella;
};

struct CommandLine {
    enum Kind { Run, Verify, Help, Wrong };
    Kind kind = Wrong;
    BatchRequest request;
    VerifyRequest verify;
    // Why the command line is wrong (UTF-8).
    std::string problem;
};

// The arguments after the program's name.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

// The usage text, in lines ended by LF.
std::string usageText();

} // namespace ferolan::batch
