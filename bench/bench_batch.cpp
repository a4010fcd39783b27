// Times ferolan-batch on generated jobs of 1,000, 100,000 and 1,000,000 points, one in ten
// a fiducial point, against an archive of 100,000 records that holds half of them, next to
// `cp` of the same job file, alone and followed by `sync` of the copy (Ferolan flushes the
// booklet it writes). Nothing is archived, so the times compare the conversion alone. Each
// figure is the median of five runs; the peak memory is the largest of them.
//
// With `--contro OTHER` another build of ferolan-batch runs too, in turn with this one on the
// same jobs (other, this, other, this, ...), so that a change of the machine's load falls on
// both alike; its median, the ratio this/other, its peak, and whether the two booklets are the
// same bytes are printed beside.
#include "generated_job.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char **environ;

namespace {

constexpr int kMunicipalities = 8000;
constexpr long kArchiveRecords = 100000;
constexpr long kFiducialEvery = 10;
constexpr int kRuns = 5;

struct Measure {
    int status = -1;
    double seconds = 0;
    long peakKiB = 0;
};

// Runs the program with its arguments and waits for it.
Measure measure(const std::vector<std::string> &command) {
    std::vector<char *> argv;
    for (const std::string &argument : command)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    Measure result;
    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakKiB = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

using Command = std::vector<std::string>;

// Several rounds in which each program (commands run one after the other) runs once in turn:
// for each, the median of its summed times and its largest peak memory; status -1 when any
// run failed.
std::vector<Measure> medians(const std::vector<std::vector<Command>> &programs) {
    std::vector<Measure> results(programs.size());
    std::vector<std::vector<double>> seconds(programs.size());
    for (int run = 0; run < kRuns; ++run) {
        for (std::size_t program = 0; program < programs.size(); ++program) {
            double total = 0;
            for (const Command &command : programs[program]) {
                Measure one = measure(command);
                if (one.status != 0)
                    return {programs.size(), one};
                total += one.seconds;
                results[program].peakKiB = std::max(results[program].peakKiB, one.peakKiB);
            }
            seconds[program].push_back(total);
        }
    }
    for (std::size_t program = 0; program < programs.size(); ++program) {
        std::sort(seconds[program].begin(), seconds[program].end());
        results[program].status = 0;
        results[program].seconds = seconds[program][seconds[program].size() / 2];
    }
    return results;
}

Measure median(const std::vector<Command> &commands) {
    return medians({commands}).front();
}

void write(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string contents(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string digits(long value, std::size_t width) {
    std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

// The program folder: settings, a code table of Italian size with the job's municipality
// last, and the header data.
void prepareProgramFolder(const fs::path &root) {
    fs::create_directories(root / "archivio" / "punti_fiduciali" / "PROVA");
    write(root / "ferolan.ini", "PATH_PF=" + (root / "archivio").string() +
                                    "\r\nPATH_TGO=" + root.string() + "\r\ncheck=1\r\n");
    std::string table = "*PROVA\r\n";
    for (int i = 0; i < kMunicipalities; ++i)
        table += "B" + digits(i, 3) + " - COMUNE NUMERO " + std::to_string(i) + "\r\n";
    table += "A123 - ALFA\r\n";
    write(root / "cod_comuni_2.cod", table);
    write(root / "dati.txt", "Txt_data=05032027\nTxt_pg=123456\nCmb_comune=A123 - ALFA\n"
                             "Txt_foglio=0012\nTxt_mappali=100\nTxt_tecnico=ROSSI\n"
                             "Cmb_albo=GEOMETRA\nCmb_prov_albo=PROVA\nCmb_prec1=10\n"
                             "Cmb_prec2=20\nCmb_tipo=Frazionamento -FR\n");
}

// The fiducial points the generated jobs name by even numbers k (PFnn/ffff/A123 with nn the
// last two digits of k and ffff the hundreds), so half of every job's points are found.
std::string archiveOfEvenPoints() {
    std::string archive;
    for (long k = 0; k < 2 * kArchiveRecords; k += 2)
        archive += digits(k % 100, 2) + " " + digits((k / 100) % 10000, 4) +
                   " A123 PUNTO ARCHIVIATO                  4512345.123  987654.321 " +
                   "4456789.000\r\n";
    return archive;
}

} // namespace

int main(int argc, char **argv) {
    const char *other = argc == 3 && std::strcmp(argv[1], "--contro") == 0 ? argv[2] : nullptr;
    if (argc != 1 && other == nullptr) {
        std::fprintf(stderr, "usage: bench_batch [--contro OTHER_FEROLAN_BATCH]\n");
        return 2;
    }
    const fs::path root = fs::temp_directory_path() / ("bench_batch_" + std::to_string(getpid()));
    fs::remove_all(root);
    prepareProgramFolder(root);
    write(root / "archivio" / "punti_fiduciali" / "PROVA" / "A123 - ALFA.pf",
          archiveOfEvenPoints());
    const fs::path job = root / "lavoro.txt";
    const fs::path copy = root / "copia.txt";
    auto batch = [&](const std::string &program, const std::string &booklet) {
        return Command{program,
                       "--cartella",
                       root.string(),
                       "--lavoro",
                       job.string(),
                       "--master",
                       "MASTER",
                       "--dati",
                       (root / "dati.txt").string(),
                       "--libretto",
                       (root / booklet).string(),
                       "--archivia",
                       "nessuno"};
    };

    std::printf("median of %d runs, --archivia nessuno%s%s\n", kRuns,
                other != nullptr ? ", other: " : "", other != nullptr ? other : "");
    std::printf("%10s %7s %8s %10s %9s %6s %11s %8s %9s", "points", "job MB", "cp s", "cp+sync s",
                "batch s", "ratio", "ratio sync", "peak MB", "limit MB");
    if (other != nullptr)
        std::printf(" %8s %9s %13s %5s", "other s", "new/other", "other peak MB", "same");
    std::printf("\n");
    int status = 0;
    for (long points : {1000L, 100000L, 1000000L}) {
        const std::string bytes = ferolan::bench::generatedJob(points, kFiducialEvery);
        write(job, bytes);

        Measure copied = median({{"cp", job.string(), copy.string()}});
        Measure synced = median({{"cp", job.string(), copy.string()}, {"sync", copy.string()}});
        std::vector<Measure> batches = other != nullptr
                                           ? medians({{batch(other, "libretto-other.dat")},
                                                      {batch(FEROLAN_BATCH, "libretto.dat")}})
                                           : medians({{batch(FEROLAN_BATCH, "libretto.dat")}});
        const Measure &mine = batches.back();
        if (copied.status != 0 || synced.status != 0 || mine.status != 0) {
            std::fprintf(stderr, "failed: cp %d, cp + sync %d, ferolan-batch %d\n", copied.status,
                         synced.status, mine.status);
            status = 1;
            break;
        }
        const double jobMB = static_cast<double>(bytes.size()) / 1e6;
        std::printf("%10ld %7.1f %8.3f %10.3f %9.3f %6.1f %11.1f %8.1f %9.1f", points, jobMB,
                    copied.seconds, synced.seconds, mine.seconds, mine.seconds / copied.seconds,
                    mine.seconds / synced.seconds, static_cast<double>(mine.peakKiB) * 1024 / 1e6,
                    2 * jobMB + 50);
        if (other != nullptr)
            std::printf(" %8.3f %9.2f %13.1f %5s", batches.front().seconds,
                        mine.seconds / batches.front().seconds,
                        static_cast<double>(batches.front().peakKiB) * 1024 / 1e6,
                        contents(root / "libretto.dat") == contents(root / "libretto-other.dat")
                            ? "yes"
                            : "no");
        std::printf("\n");
        std::fflush(stdout);
    }
    fs::remove_all(root);
    return status;
}
