#include "core/line_feeder.h"

#include <utility>

namespace ferolan {

void LineFeeder::offer(std::string_view text) {
    if (thread_.busy())
        return;
    // Cut after a line feed, so that a CR LF is never split between two runs.
    const std::size_t lastLf = text.rfind('\n');
    if (lastLf != std::string_view::npos)
        hand(text, lastLf + 1);
}

void LineFeeder::finish(std::string_view text) {
    hand(text, text.size());
    thread_.wait();
}

void LineFeeder::hand(std::string_view text, std::size_t end) {
    thread_.wait();
    if (end <= handed_)
        return;
    const std::size_t from = std::exchange(handed_, end);
    thread_.start([this, lines = text.substr(0, end), from] { take_(lines, from); });
}

} // namespace ferolan
