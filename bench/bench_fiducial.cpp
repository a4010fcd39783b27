// Times the loading of the comparison grid: fiducial points of one municipality (1,000 unless
// a count is given) against an archive file of 100,000 records, with a code table of Italian
// size.
#include "fiducial/logic/fiducial_archive.h"
#include "fiducial/logic/pf_grid_loading.h"
#include "header/logic/tabella_comuni.h"
#include "job/point_list.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace ferolan;
namespace fs = std::filesystem;

namespace {

constexpr int kMunicipalities = 8000;
constexpr int kRecords = 100000;

// The value's last `width` digits, with leading zeros.
std::string digits(int value, std::size_t width) {
    std::string text = std::to_string(value);
    text.insert(0, width, '0');
    return text.substr(text.size() - width);
}

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

void write(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char **argv) {
    const int jobPoints = argc > 1 ? std::atoi(argv[1]) : 1000;
    fs::path root = fs::temp_directory_path() /
                    ("bench_fiducial_" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(root / "punti_fiduciali" / "PROVA");

    // The municipality of the job stands last in the table, the worst place for a scan.
    std::string table = "*PROVA\r\n";
    for (int i = 0; i < kMunicipalities; ++i)
        table += std::string(1, static_cast<char>('B' + i / 1000)) + digits(i, 3) +
                 " - COMUNE NUMERO " + std::to_string(i) + "\r\n";
    table += "A123 - ALFA\r\n";
    write(root / "cod_comuni_2.cod", table);

    // 100 numbers on each of 1,000 sheets; the job's points are found on half of them.
    std::string archive;
    for (int i = 0; i < kRecords; ++i)
        archive += digits(i, 2) + " " + digits(i / 100, 4) + " A123 " +
                   padded("DESCRIZIONE " + std::to_string(i), 30) + " 4321098.765 1234567.890 " +
                   "4567890.123\r\n";
    write(root / "punti_fiduciali" / "PROVA" / "A123 - ALFA.pf", archive);

    std::string job;
    for (int i = 0; i < jobPoints; ++i) {
        int sheet = i % 2 == 0 ? i * 97 % 1000 : 5000 + i;
        job += padded("PF" + digits(i, 2) + "/" + digits(sheet, 4) + "/A123", 16) +
               padded("SPIGOLO", 36) + padded("", 16) + padded("4321098.752", 12) +
               padded("1234567.880", 12) + padded("4567890.200", 12) + padded("", 20) + "\r\n";
    }
    PointList points;
    if (!points.load(job))
        return 1;

    Tabella_comuni tabella(root / "cod_comuni_2.cod");
    std::string pathPf = root.string();
    ProvinceArchive provinceArchive{pathPf, "PROVA", tabella};
    PfGridLoadingCallbacks callbacks{[](std::string_view) { return MalformedNameAnswer::Continue; },
                                     [](std::size_t) {}};

    auto start = std::chrono::steady_clock::now();
    PfGridLoading loading = loadPfGrid(points, provinceArchive, ',', callbacks);
    double loadingMs = millisecondsSince(start);

    std::size_t found = 0;
    for (const PfGridRow &row : loading.grid)
        found += row.cell(PfGridRow::Used) == "SI";

    start = std::chrono::steady_clock::now();
    PfLookup single = Cerca_punto_fiduciale(root / "punti_fiduciali" / "PROVA" / "A123 - ALFA.pf",
                                            Scomponi_nome_pf("PF99/0999/A123"));
    double singleMs = millisecondsSince(start);

    std::printf("comparison grid: %zu fiducial points (%zu found) against %d records: %.1f ms\n",
                loading.grid.size(), found, kRecords, loadingMs);
    std::printf("one Cerca_punto_fiduciale in the same file (%s): %.1f ms\n",
                single.outcome == LookupOutcome::Found ? "found" : "not found", singleMs);

    fs::remove_all(root);
    return 0;
}
