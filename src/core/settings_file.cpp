#include "core/settings_file.h"

#include "core/cp1252.h"
#include "core/text.h"

namespace ferolan {

std::optional<Settings> parseSettings(std::string_view bytes) {
    std::vector<std::string_view> lines = splitLines(bytes);
    if (lines.size() < 3)
        return std::nullopt;
    Settings settings;
    settings.Path_pf = columnsFrom(lines[0], 9);
    settings.Path_tgo = columnsFrom(lines[1], 10);
    settings.exportCheckDone = lines[2].empty() || lines[2].back() != '0';
    return settings;
}

std::string settingsTextWithCheckDone(const Settings &settings) {
    std::string text = "PATH_PF=" + settings.Path_pf;
    text += kCrLf;
    text += "PATH_TGO=" + settings.Path_tgo;
    text += kCrLf;
    text += "check=1";
    text += kCrLf;
    return text;
}

std::string settingsProblemMessage(const std::filesystem::path &file) {
    return "Il file delle impostazioni " + utf8FromPath(file) +
           " manca, non si può leggere o ha meno di tre righe.\n"
           "Deve contenere le tre righe:\n"
           "PATH_PF=cartella dell'archivio dei punti fiduciali\n"
           "PATH_TGO=cartella del file asciiexp.dat di TGO\n"
           "check=0 (il file di export di TGO va ancora aggiornato) oppure check=1";
}

} // namespace ferolan
