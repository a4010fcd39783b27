#pragma once

#include "batch/command_line.h"

#include <chrono>
#include <optional>

namespace ferolan::batch {

// The process tests' seams, named in the environment, since a test cannot reach into the
// process: FEROLAN_BATCH_OGGI=YYYY-MM-DD fixes today's date; FEROLAN_BATCH_GUASTO=lavoro
// cuts the job to half its length once it is opened and before it is read, and
// FEROLAN_BATCH_GUASTO=memoria runs out of memory right after archiving.
void installTestingHooks(const BatchRequest &request);
std::optional<std::chrono::year_month_day> testingToday();

} // namespace ferolan::batch
