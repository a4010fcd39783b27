// Loads a generated job (100,000 points unless a count is given) from its file into the point
// list and its table model, as the window does, reads every cell once as the view would, and
// prints time and memory.

#include "app/model/point_list_model.h"
#include "generated_job.h"
#include "job/point_list.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace ferolan;

int main(int argc, char **argv) {
    long points = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::filesystem::path jobFile =
        std::filesystem::temp_directory_path() / "ferolan-bench-point-list.txt";
    const std::size_t jobBytes = [&] {
        std::string job = bench::generatedJob(points);
        std::ofstream(jobFile, std::ios::binary) << job;
        return job.size();
    }();
    const long memoryBefore = bench::peakMemoryKiB();
    const auto start = std::chrono::steady_clock::now();

    PointList list;
    PointListModel model(list);
    const bool loaded = list.loadFile(jobFile) == PointList::FileLoad::Loaded;
    std::filesystem::remove(jobFile);
    if (!loaded)
        return 1;
    model.reload();
    const auto shown = std::chrono::steady_clock::now();

    qsizetype characters = 0;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            characters += model.index(row, column).data().toString().size();
    const auto end = std::chrono::steady_clock::now();

    auto ms = [](auto from, auto to) {
        return std::chrono::duration<double, std::milli>(to - from).count();
    };
    std::printf("points: %ld, job file: %.1f MB\n", points, static_cast<double>(jobBytes) / 1e6);
    std::printf("load into the point list model: %.1f ms\n", ms(start, shown));
    std::printf("every cell read once through the model (%lld characters): %.1f ms\n",
                static_cast<long long>(characters), ms(shown, end));
    std::printf("peak memory: %.1f MB (%.1f MB before loading, job text included)\n",
                static_cast<double>(bench::peakMemoryKiB()) / 1024.0,
                static_cast<double>(memoryBefore) / 1024.0);
    return 0;
}
