// Writes the booklet of a generated job (100,000 points unless a count is given) through
// the temporary file and the finishing pass, and prints the time taken and the peak memory.

#include "booklet/logic/scrivi_libretto.h"
#include "booklet/logic/trasforma_libretto.h"
#include "generated_job.h"
#include "job/point_list.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

using namespace ferolan;
using ferolan::bench::generatedJob;
using ferolan::bench::peakMemoryKiB;

int main(int argc, char **argv) {
    long points = argc > 1 ? std::atol(argv[1]) : 100000;
    if (points < 1) {
        std::fprintf(stderr, "usage: bench_booklet [points]\n");
        return 2;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("bench_booklet_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path booklet = folder / "lavoro.dat";

    std::string job = generatedJob(points);
    const std::size_t jobBytes = job.size();
    const long memoryBefore = peakMemoryKiB();
    const auto start = std::chrono::steady_clock::now();

    PointList list;
    if (!list.load(std::move(job))) {
        std::fprintf(stderr, "job too large\n");
        return 1;
    }
    const auto loaded = std::chrono::steady_clock::now();

    HeaderData header;
    header.Txt_data = "05032027";
    header.Cmb_comune = "A123 PROVA";
    header.Cmb_prov_albo = "roma";
    header.Cmb_tipo = "Frazionamento -FR";
    header.Txt_base = "MASTER";
    std::set<std::size_t> leftOut;
    bool written = Scrivi_libretto({header, list, "MASTER", 1, ',', leftOut}, booklet).has_value();
    const auto temporaryWritten = std::chrono::steady_clock::now();
    bool finished = written && Trasforma_libretto(booklet).created();
    const auto end = std::chrono::steady_clock::now();

    auto ms = [](auto from, auto to) {
        return std::chrono::duration<double, std::milli>(to - from).count();
    };
    std::error_code ignored;
    const auto bookletBytes = std::filesystem::file_size(booklet, ignored);
    std::printf("points: %ld, job file: %.1f MB, booklet: %.1f MB\n", points, jobBytes / 1e6,
                static_cast<double>(bookletBytes) / 1e6);
    std::printf("load into the point list: %.0f ms\n", ms(start, loaded));
    std::printf("temporary file (Scrivi_libretto): %.0f ms\n", ms(loaded, temporaryWritten));
    std::printf("finishing (Trasforma_libretto): %.0f ms\n", ms(temporaryWritten, end));
    std::printf("booklet total (after load): %.0f ms\n", ms(loaded, end));
    std::printf("peak memory: %.1f MB (%.1f MB before loading, job text included)\n",
                peakMemoryKiB() / 1024.0, memoryBefore / 1024.0);
    std::filesystem::remove_all(folder, ignored);
    if (!finished) {
        std::fprintf(stderr, "booklet not written\n");
        return 1;
    }
    return 0;
}
