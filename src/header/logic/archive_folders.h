#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ferolan {

// The archive's root folder inside Path_pf; one folder per province lives in it.
inline constexpr std::string_view kArchiveFolderName = "punti_fiduciali";

// Creates Path_pf/punti_fiduciali and its folder for the province, each only when missing.
// Path_pf (Windows-1252 bytes from the settings file) must already be a folder: it is never
// created, so a mistyped setting cannot scatter an archive across the disk. The province,
// trimmed of blanks, must be a plain file name. Nothing when both folders exist afterwards,
// otherwise a UTF-8 message that names the setting, the province or the folder at fault;
// `settingsFile` is named in the message about Path_pf.
std::optional<std::string> prepareArchiveFolders(std::string_view pathPf,
                                                 std::string_view provincia,
                                                 const std::filesystem::path &settingsFile);

} // namespace ferolan
