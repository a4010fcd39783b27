#pragma once

#include "batch/command_line.h"

#include <chrono>
#include <filesystem>
#include <ostream>

namespace ferolan::batch {

struct BatchContext {
    // Where ferolan.ini and the code table are read.
    std::filesystem::path programFolder;
    // The header's default date.
    std::chrono::year_month_day today;
    // UTF-8 lines ended by LF: the comparison grid and the final line on `out`, every other
    // message (and the findings of the booklet check) on `err`.
    std::ostream &out;
    std::ostream &err;
};

// The whole conversion, in the windows' order: settings, job, master station, header data
// and checks, archive folders, fiducial point comparison, archiving, booklet rows, archived
// points, finishing. Returns the exit status; on a failure nothing already in the archive or
// in an earlier booklet is lost, and the temporary booklet file is not left behind.
int runBatch(const BatchRequest &request, const BatchContext &context);

// Checks a booklet: its findings on `out`, one a line. Returns 0 without an errore, 4 with
// one, 3 when the booklet or the code table cannot be read.
int runVerify(const VerifyRequest &request, const BatchContext &context);

} // namespace ferolan::batch
