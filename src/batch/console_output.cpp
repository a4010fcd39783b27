#include "batch/console_output.h"

namespace ferolan::batch {

ConsoleOutput::ConsoleOutput(std::ostream &stream, platform::StandardStream which)
    : stream_(stream), which_(which) {
    if (platform::isConsole(which))
        previous_ = stream_.rdbuf(this);
}

ConsoleOutput::~ConsoleOutput() {
    if (previous_) {
        platform::writeConsole(which_, pending_);
        stream_.rdbuf(previous_);
    }
}

int ConsoleOutput::overflow(int character) {
    if (character != traits_type::eof())
        pending_.push_back(static_cast<char>(character));
    if (character == '\n')
        sync();
    return traits_type::not_eof(character);
}

std::streamsize ConsoleOutput::xsputn(const char *text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.find('\n') != std::string::npos)
        sync();
    return count;
}

// Whole lines only, so that a character split across two writes is never cut in two.
int ConsoleOutput::sync() {
    const std::size_t end = pending_.rfind('\n');
    const std::size_t count = end == std::string::npos ? pending_.size() : end + 1;
    platform::writeConsole(which_, std::string_view(pending_).substr(0, count));
    pending_.erase(0, count);
    return 0;
}

} // namespace ferolan::batch
