#pragma once

#include "core/platform.h"

#include <ostream>
#include <streambuf>
#include <string>

namespace ferolan::batch {

// While alive, sends what is written to the stream through the system's console call, when
// the stream is a console that needs one (Windows); otherwise leaves the stream alone.
class ConsoleOutput : private std::streambuf {
public:
    ConsoleOutput(std::ostream &stream, platform::StandardStream which);
    ~ConsoleOutput() override;
    ConsoleOutput(const ConsoleOutput &) = delete;
    ConsoleOutput &operator=(const ConsoleOutput &) = delete;

private:
    int overflow(int character) override;
    std::streamsize xsputn(const char *text, std::streamsize count) override;
    int sync() override;

    std::ostream &stream_;
    platform::StandardStream which_;
    std::streambuf *previous_ = nullptr;
    std::string pending_;
};

} // namespace ferolan::batch
