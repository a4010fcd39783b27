// The fork-join helper and the work it runs, in plain C++ so that the thread sanitizer's own
// build checks them: a job read and its booklet rows made on one part and on many give the
// same, and no two parts ever touch the same memory.
#include "booklet/logic/scrivi_libretto.h"
#include "core/parallel.h"
#include "header/logic/header_data.h"
#include "job/point_list.h"

#include "plain_check.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

using namespace ferolan;
using plain_check::check;
using plain_check::failures;

namespace {

std::string generatedJob(std::size_t points) {
    std::string job;
    for (std::size_t i = 0; i < points; ++i) {
        std::string line = i == 0 ? "M" : "P" + std::to_string(i);
        line.resize(68, ' ');
        const std::string x = std::to_string(4448000 + i % 1000) + ".125";
        line += std::string(12 - x.size(), ' ') + x + "  606794.230 4516065.343";
        job += line + (i % 2 == 0 ? "\r\n" : "\n");
    }
    return job;
}

// The booklet text of the job, and how many parts the helper split each round into.
std::string bookletOf(const std::string &job) {
    PointList points;
    check(points.load(job), "the job loads");
    const HeaderData header;
    const std::set<std::size_t> none;
    std::string text;
    check(produceBookletRows({header, points, "M", 1, ',', none},
                             [&text](std::string_view piece) {
                                 text += piece;
                                 return true;
                             }),
          "the rows are made");
    return text;
}

} // namespace

int main() {
    const std::string job = generatedJob(20000);
    setPartsForTesting(0, 1);
    const std::string onePart = bookletOf(job);
    setPartsForTesting(1000, 8);
    const std::string manyParts = bookletOf(job);
    check(onePart == manyParts, "one part and many make the same booklet");
    check(partsFor(20000) == 8, "the hook sets the parts");

    const std::vector<std::size_t> sums = inRanges(0, 100000, [](std::size_t from, std::size_t to) {
        std::size_t sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += i;
        return sum;
    });
    std::size_t total = 0;
    for (std::size_t sum : sums)
        total += sum;
    check(sums.size() == 8 && total == 4999950000u, "ranges cover the items once, in order");
    setPartsForTesting(0, 0);
    std::printf("%s\n", failures == 0 ? "ok" : "failed");
    return failures == 0 ? 0 : 1;
}
