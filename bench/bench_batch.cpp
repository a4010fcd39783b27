// Times ferolan-batch on generated jobs of 1,000, 100,000 and 1,000,000 points, one in ten
// a fiducial point, against an archive of 100,000 records that holds half of them, next to
// `cp` of the same job file, alone and followed by `sync` of the copy (Ferolan flushes the
// booklet it writes). Nothing is archived, so the times compare the conversion alone. Each
// figure is the median of five runs; the peak memory is the largest of them.
#include "generated_job.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// Several runs of the same commands, one after the other: the median of their summed times
// and the largest peak memory; status -1 when any run failed.
Measure median(const std::vector<std::vector<std::string>> &commands) {
    std::vector<double> seconds;
    Measure result;
    for (int run = 0; run < kRuns; ++run) {
        double total = 0;
        for (const std::vector<std::string> &command : commands) {
            Measure one = measure(command);
            if (one.status != 0)
                return one;
            total += one.seconds;
            result.peakKiB = std::max(result.peakKiB, one.peakKiB);
        }
        seconds.push_back(total);
    }
    std::sort(seconds.begin(), seconds.end());
    result.status = 0;
    result.seconds = seconds[seconds.size() / 2];
    return result;
}

void write(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
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

int main() {
    const fs::path root = fs::temp_directory_path() / ("bench_batch_" + std::to_string(getpid()));
    fs::remove_all(root);
    prepareProgramFolder(root);
    write(root / "archivio" / "punti_fiduciali" / "PROVA" / "A123 - ALFA.pf",
          archiveOfEvenPoints());
    const fs::path job = root / "lavoro.txt";
    const fs::path copy = root / "copia.txt";

    std::printf("median of %d runs, --archivia nessuno\n", kRuns);
    std::printf("%10s %7s %8s %10s %9s %6s %11s %8s %9s\n", "points", "job MB", "cp s", "cp+sync s",
                "batch s", "ratio", "ratio sync", "peak MB", "limit MB");
    int status = 0;
    for (long points : {1000L, 100000L, 1000000L}) {
        const std::string bytes = ferolan::bench::generatedJob(points, kFiducialEvery);
        write(job, bytes);

        Measure copied = median({{"cp", job.string(), copy.string()}});
        Measure synced = median({{"cp", job.string(), copy.string()}, {"sync", copy.string()}});
        Measure batch =
            median({{FEROLAN_BATCH, "--cartella", root.string(), "--lavoro", job.string(),
                     "--master", "MASTER", "--dati", (root / "dati.txt").string(), "--libretto",
                     (root / "libretto.dat").string(), "--archivia", "nessuno"}});
        if (copied.status != 0 || synced.status != 0 || batch.status != 0) {
            std::fprintf(stderr, "failed: cp %d, cp + sync %d, ferolan-batch %d\n", copied.status,
                         synced.status, batch.status);
            status = 1;
            break;
        }
        const double jobMB = static_cast<double>(bytes.size()) / 1e6;
        std::printf("%10ld %7.1f %8.3f %10.3f %9.3f %6.1f %11.1f %8.1f %9.1f\n", points, jobMB,
                    copied.seconds, synced.seconds, batch.seconds, batch.seconds / copied.seconds,
                    batch.seconds / synced.seconds, static_cast<double>(batch.peakKiB) * 1024 / 1e6,
                    2 * jobMB + 50);
    }
    fs::remove_all(root);
    return status;
}
