#include "booklet/logic/temporary_booklet.h"

#include "core/files.h"

#include <system_error>

namespace ferolan {

std::filesystem::path temporaryBookletPath(const std::filesystem::path &File_libretto) {
    std::filesystem::path temporary = File_libretto;
    temporary += ".tmp";
    return temporary;
}

bool createTemporaryBooklet(const std::filesystem::path &File_libretto) {
    platform::File file = createFresh(temporaryBookletPath(File_libretto));
    return file.isOpen() && file.close();
}

void discardTemporaryBooklet(const std::filesystem::path &File_libretto) {
    std::error_code ignored;
    std::filesystem::remove(temporaryBookletPath(File_libretto), ignored);
}

} // namespace ferolan
