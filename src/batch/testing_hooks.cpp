#include "batch/testing_hooks.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "fiducial/logic/archivia_pf.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string_view>

namespace ferolan::batch {
namespace fs = std::filesystem;

namespace {

std::string_view environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

} // namespace

void installTestingHooks(const BatchRequest &request) {
    const std::string_view fault = environment("FEROLAN_BATCH_GUASTO");
    if (fault == "lavoro") {
        const fs::path job = pathFromUtf8(request.lavoro);
        onReadOpenedForTesting([job](const fs::path &opened) {
            std::error_code ignored;
            if (opened == job)
                fs::resize_file(job, fs::file_size(job, ignored) / 2, ignored);
        });
    } else if (fault == "memoria") {
        onNextArchivingDoneForTesting([] { throw std::bad_alloc(); });
    }
}

std::optional<std::chrono::year_month_day> testingToday() {
    const std::string_view day = environment("FEROLAN_BATCH_OGGI");
    auto number = [day](std::size_t from, std::size_t count) {
        unsigned value = 0;
        const char *end = day.data() + from + count;
        return std::from_chars(day.data() + from, end, value).ptr == end ? value : 0;
    };
    if (day.size() != 10)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(number(0, 4))),
                                           std::chrono::month(number(5, 2)),
                                           std::chrono::day(number(8, 2))};
    return date.ok() ? std::optional(date) : std::nullopt;
}

} // namespace ferolan::batch
