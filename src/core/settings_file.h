#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ferolan {

inline constexpr std::string_view kSettingsFileName = "ferolan.ini";

// The settings file, three lines read by character position: line 1 from its 9th
// character is the archive folder, line 2 from its 10th the folder of TGO's export
// definition; of line 3 only the last character counts ("0": the export definition still
// has to be checked). The keys themselves are not looked at.
struct Settings {
    std::string Path_pf;
    std::string Path_tgo;
    bool exportCheckDone = true;
};

// Empty when the text has fewer than three lines.
std::optional<Settings> parseSettings(std::string_view bytes);

// The file as the program writes it once the export definition is in place.
std::string settingsTextWithCheckDone(const Settings &settings);

// The message shown when the settings file is missing, unreadable or too short (UTF-8).
std::string settingsProblemMessage(const std::filesystem::path &file);

} // namespace ferolan
