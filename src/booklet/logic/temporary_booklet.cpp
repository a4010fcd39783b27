#include "booklet/logic/temporary_booklet.h"

#include <fstream>

namespace ferolan {

std::filesystem::path temporaryBookletPath(const std::filesystem::path &File_libretto) {
    std::filesystem::path temporary = File_libretto;
    temporary += ".tmp";
    return temporary;
}

bool createTemporaryBooklet(const std::filesystem::path &File_libretto) {
    std::ofstream file(temporaryBookletPath(File_libretto), std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return false;
    file.close();
    return !file.fail();
}

} // namespace ferolan
