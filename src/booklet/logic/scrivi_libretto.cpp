#include "booklet/logic/scrivi_libretto.h"

#include "booklet/logic/temporary_booklet.h"
#include "booklet/logic/vrs_mark.h"
#include "core/files.h"
#include "core/parallel.h"
#include "header/logic/header_rows.h"
#include "job/usable_point.h"

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace ferolan {
namespace {

// The point rows are made a stretch at a time and handed on in order: what waits in memory
// stays small whatever the job, and still in the processor's cache when it is written.
constexpr std::size_t kRowsPerStretch = 5000;

// Who makes which stretch, and which stretches wait to be handed on. Each thread takes the
// next stretch to make and leaves it when made; the thread that leaves the next one to hand
// on, while no other is handing any, hands on every stretch that is ready in order. A thread
// thus goes on making while another writes, and a thread left alone makes and writes every
// stretch in order.
class Stretches {
public:
    explicit Stretches(std::size_t count) : count_(count) {}

    std::optional<std::size_t> take() {
        const std::lock_guard lock(mutex_);
        if (stopped_ || nextToMake_ == count_)
            return std::nullopt;
        return nextToMake_++;
    }

    // Leaves the stretch made in `text`, which gets an empty text with room back, and hands
    // on what is ready when it is this thread's to do. False once stopped.
    bool made(std::size_t stretch, std::string &text,
              const std::function<bool(std::string_view)> &sink) {
        std::unique_lock lock(mutex_);
        // Few stretches wait at once, so that what is made ahead of the writing stays small;
        // the next one to hand on never waits, or none would be handed on.
        handedOn_.wait(lock, [&] {
            return stopped_ || ready_.size() < kMostWaiting || stretch == nextToHand_;
        });
        if (stopped_)
            return false;
        ready_[stretch].swap(text);
        text = takeSpare();
        if (handing_)
            return true;
        handing_ = true;
        for (auto next = ready_.find(nextToHand_); next != ready_.end() && !stopped_;
             next = ready_.find(nextToHand_)) {
            std::string piece = std::move(next->second);
            ready_.erase(next);
            lock.unlock();
            const bool handed = piece.empty() || sink(piece);
            lock.lock();
            piece.clear();
            spares_.push_back(std::move(piece));
            stopped_ = stopped_ || !handed;
            ++nextToHand_;
            handedOn_.notify_all();
        }
        handing_ = false;
        return !stopped_;
    }

    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        handedOn_.notify_all();
    }
    bool stopped() {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

private:
    static constexpr std::size_t kMostWaiting = 4;

    std::string takeSpare() {
        if (spares_.empty())
            return {};
        std::string spare = std::move(spares_.back());
        spares_.pop_back();
        return spare;
    }

    const std::size_t count_;
    std::mutex mutex_;
    std::condition_variable handedOn_;
    std::size_t nextToMake_ = 0, nextToHand_ = 0;
    std::map<std::size_t, std::string> ready_;
    // Texts handed on, kept for their room.
    std::vector<std::string> spares_;
    bool handing_ = false, stopped_ = false;
};

} // namespace

bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink) {
    const PointList &points = source.points;
    const Xyz Coord_master = pointXyz(points, source.Riga_master);
    auto appendRow = [&](std::string &out, std::size_t row, const Xyz &point,
                         std::string_view description) {
        appendRow2(out, points.field(row, PointList::Name), Calcola_vettore(point, Coord_master),
                   description, source.decimalSeparator,
                   varianceTerms(points.varianceColumns(row)));
    };
    std::string opening =
        row0(source.header) + row9(source.header) +
        row1(source.header.Txt_base, Coord_master,
             points.field(source.Riga_master, PointList::Description), source.decimalSeparator) +
        row6(source.header);
    const std::optional<VrsMark> vrs = vrsMark(source);
    if (vrs)
        appendRow(opening, vrs->row, *row2Point(source, vrs->row),
                  std::string(points.field(vrs->row, PointList::Description)) +
                      std::string(kVrsMark));
    if (!sink(opening))
        return false;
    auto appendRows = [&](std::string &out, std::size_t from, std::size_t to) {
        for (std::size_t row = from; row < to; ++row) {
            const std::optional<Xyz> point = row2Point(source, row);
            if (point && (!vrs || row != vrs->row))
                appendRow(out, row, *point, points.field(row, PointList::Description));
        }
    };
    const std::size_t rows = points.rowCount();
    Stretches stretches((rows + kRowsPerStretch - 1) / kRowsPerStretch);
    // A small job's rows are all made on the calling thread.
    runParts(rows < kLeastRowsPerPart ? 1 : partCount(), [&](std::size_t) {
        std::string out;
        try {
            while (const std::optional<std::size_t> stretch = stretches.take()) {
                const std::size_t from = 1 + *stretch * kRowsPerStretch;
                appendRows(out, from, std::min(rows + 1, from + kRowsPerStretch));
                if (!stretches.made(*stretch, out, sink))
                    return;
            }
        } catch (...) {
            stretches.stop();
            throw;
        }
    });
    return !stretches.stopped();
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
