#include "core/parallel.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <exception>
#include <string>
#include <system_error>
#include <thread>

namespace ferolan {
namespace {

std::size_t leastForTesting = 0, mostForTesting = 0;

bool onePartWanted() {
    const char *parts = std::getenv("FEROLAN_PARTS");
    return parts != nullptr && std::string_view(parts) == "1";
}

} // namespace

std::size_t partsFor(std::size_t items) {
    static const bool onePart = onePartWanted();
    const std::size_t processors =
        mostForTesting != 0
            ? mostForTesting
            : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, tuning::kMostParts);
    const std::size_t least = leastForTesting != 0 ? leastForTesting : tuning::kLeastItemsPerPart;
    if (onePart)
        return 1;
    return std::clamp<std::size_t>(items / least, 1, processors);
}

void setPartsForTesting(std::size_t least, std::size_t most) {
    leastForTesting = least;
    mostForTesting = most;
}

void runParts(std::size_t parts, const std::function<void(std::size_t part)> &work) {
    std::vector<std::exception_ptr> failures(parts);
    auto run = [&work, &failures](std::size_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::vector<std::size_t> leftToCaller;
    for (std::size_t part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(run, part);
        } catch (const std::system_error &) {
            leftToCaller.push_back(part);
        }
    }
    if (parts > 0)
        run(0);
    for (std::size_t part : leftToCaller)
        run(part);
    for (std::thread &thread : threads)
        thread.join();
    for (const std::exception_ptr &failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

std::vector<std::string_view> lineAlignedPieces(std::string_view text, std::size_t parts) {
    // Whether a line ends right before `at`, its LF included after a CR.
    auto lineEndsBefore = [text](std::size_t at) {
        return text[at - 1] == '\n' || (text[at - 1] == '\r' && text[at] != '\n');
    };
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (std::size_t part = 1; part <= parts && from < text.size(); ++part) {
        std::size_t to = std::max(from, text.size() * part / parts);
        while (to < text.size() && (to == 0 || !lineEndsBefore(to)))
            ++to;
        if (to > from) {
            pieces.push_back(text.substr(from, to - from));
            from = to;
        }
    }
    if (pieces.empty())
        pieces.push_back(text);
    assert(pieces.back().data() + pieces.back().size() == text.data() + text.size());
    return pieces;
}

} // namespace ferolan
