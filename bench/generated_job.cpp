#include "generated_job.h"

#include <sys/resource.h>

#include <cstdio>

namespace ferolan::bench {
namespace {

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string rightAligned(const std::string &text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string coordinate(double base, long i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", base + static_cast<double>(i % 100000) * 0.0137);
    return rightAligned(buffer, 12);
}

std::string fiducialName(long i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "PF%02ld/%04ld/A123", i % 100, (i / 100) % 10000);
    return buffer;
}

} // namespace

std::string generatedJob(long points, long fiducialEvery) {
    std::string job;
    job.reserve(static_cast<std::size_t>(points) * 126);
    for (long i = 0; i < points; ++i) {
        std::string name = i == 0                   ? "MASTER"
                           : i % fiducialEvery == 0 ? fiducialName(i / fiducialEvery)
                                                    : "P" + std::to_string(i);
        job += padded(name, 16) + padded("PICCHETTO " + std::to_string(i), 36) + padded("GPS", 16);
        job += coordinate(4512345.1234, i) + coordinate(987654.3216, i) +
               coordinate(4456789.0006, i) + coordinate(2312345.0, i) + rightAligned("123.456", 8);
        job += "\r\n";
    }
    return job;
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace ferolan::bench
