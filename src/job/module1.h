#pragma once

#include <filesystem>
#include <string>

namespace ferolan {

// The values handed from window to window, alive for the whole run. Texts are
// Windows-1252 bytes; the two folders keep the exact bytes of the settings file so that
// rewriting it gives them back unchanged.
struct Module1 {
    std::string Path_pf;
    std::string Path_tgo;
    std::filesystem::path File_lavoro;
    std::string Punto_master;
    std::size_t Riga_master = 0;
    double Quota_master = 0;
    double Est_media = 0;
    std::filesystem::path File_libretto;
};

} // namespace ferolan
