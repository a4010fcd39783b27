#include "booklet/logic/scrivi_libretto.h"

#include "booklet/logic/temporary_booklet.h"
#include "core/files.h"
#include "core/parallel.h"
#include "job/usable_point.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

namespace ferolan {
namespace {

// The point rows are made a stretch at a time and handed on in order: what waits in memory
// stays small whatever the job, and still in the processor's cache when it is written.
constexpr std::size_t kRowsPerStretch = 5000;

// Who makes which stretch, and whose turn it is to hand one on. Each thread takes the next
// stretch to make and hands it on once the one before is: one thread's handing on overlaps
// the other's making, and a thread left alone makes every stretch in order.
class StretchTurns {
public:
    explicit StretchTurns(std::size_t stretches) : stretches_(stretches) {}

    std::optional<std::size_t> take() {
        const std::lock_guard lock(mutex_);
        if (stopped_ || nextToMake_ == stretches_)
            return std::nullopt;
        return nextToMake_++;
    }
    // Waits until the stretches before this one are handed on; false once stopped.
    bool waitTurn(std::size_t stretch) {
        std::unique_lock lock(mutex_);
        turn_.wait(lock, [&] { return stopped_ || nextToHand_ == stretch; });
        return !stopped_;
    }
    void handedOn() {
        {
            const std::lock_guard lock(mutex_);
            ++nextToHand_;
        }
        turn_.notify_all();
    }
    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        turn_.notify_all();
    }
    bool stopped() {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

private:
    const std::size_t stretches_;
    std::mutex mutex_;
    std::condition_variable turn_;
    std::size_t nextToMake_ = 0, nextToHand_ = 0;
    bool stopped_ = false;
};

} // namespace

bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink) {
    const PointList &points = source.points;
    const Xyz Coord_master = pointXyz(points, source.Riga_master);
    const std::string opening =
        row0(source.header) + row9(source.header) +
        row1(points.field(source.Riga_master, PointList::Name), Coord_master,
             points.field(source.Riga_master, PointList::Description), source.decimalSeparator) +
        row6(source.header.Txt_data);
    if (!sink(opening))
        return false;
    auto appendRows = [&](std::string &out, std::size_t from, std::size_t to) {
        for (std::size_t row = from; row < to; ++row) {
            std::string_view name = points.field(row, PointList::Name);
            if (name == source.Punto_master || source.leftOutRows.contains(row))
                continue;
            const std::optional<Xyz> point = points.usableCoordinates(row);
            if (!point)
                continue;
            appendRow2(out, name, Calcola_vettore(*point, Coord_master),
                       points.field(row, PointList::Description), source.decimalSeparator,
                       varianceTerms(points.varianceColumns(row)));
        }
    };
    const std::size_t rows = points.rowCount();
    StretchTurns turns((rows + kRowsPerStretch - 1) / kRowsPerStretch);
    // A small job's rows are all made on the calling thread.
    runParts(rows < kLeastRowsPerPart ? 1 : partCount(), [&](std::size_t) {
        std::string out;
        try {
            while (const std::optional<std::size_t> stretch = turns.take()) {
                const std::size_t from = 1 + *stretch * kRowsPerStretch;
                out.clear();
                appendRows(out, from, std::min(rows + 1, from + kRowsPerStretch));
                if (!turns.waitTurn(*stretch))
                    return;
                if (!out.empty() && !sink(out))
                    return turns.stop();
                turns.handedOn();
            }
        } catch (...) {
            turns.stop();
            throw;
        }
    });
    return !turns.stopped();
}

std::optional<Xyz> Scrivi_libretto(const BookletSource &source,
                                   const std::filesystem::path &File_libretto) {
    const std::filesystem::path temporary = temporaryBookletPath(File_libretto);
    platform::File file = createFresh(temporary);
    if (!file.isOpen())
        return std::nullopt;
    bool written =
        produceBookletRows(source, [&file](std::string_view piece) { return file.write(piece); });
    if (!file.close() || !written) {
        // A booklet cut short must not be finished later as if it were whole.
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return std::nullopt;
    }
    return pointXyz(source.points, source.Riga_master);
}

} // namespace ferolan
