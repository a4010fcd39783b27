#include "core/platform.h"

#include <utility>

// What the POSIX and the Windows side of the platform layer share: owning a file.
namespace ferolan::platform {

File::File(File &&other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

File &File::operator=(File &&other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

File::~File() {
    close();
}

bool File::isOpen() const {
    return handle_ != -1;
}

} // namespace ferolan::platform
