#pragma once

#include "core/files.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// Reader of the municipality code table "cod_comuni_2.cod": province headers ("*" and the
// name), ignored lines ("-") and municipality lines (four-character code, then free text).
// Every answer is what a fresh read of the file from its first line gives; the parsed file
// is reused only while the file is unchanged. Texts are Windows-1252 bytes.
class Tabella_comuni {
public:
    explicit Tabella_comuni(std::filesystem::path file);

    const std::filesystem::path &file() const { return file_; }

    // Province names in file order, trimmed, duplicates kept.
    std::vector<std::string> Elenco_province();
    // The trimmed municipality lines of every group headed by that (trimmed) province name.
    std::vector<std::string> Comuni_della_provincia(std::string_view provincia);
    // The header text (after "*", untrimmed) of the municipality with that code; the last
    // header when no municipality has it; empty when the file has no header.
    std::string Provincia_del_comune(std::string_view codice);
    // The trimmed province of the municipality with that code; nothing when no municipality
    // line under a province header carries it, rather than a guess.
    std::optional<std::string> knownProvinceOf(std::string_view codice);
    // The first line, exactly as read, whose first four characters equal the code.
    std::optional<std::string> Riga_del_comune(std::string_view codice);

    // How the file read for the last answer went: a missing or unreadable table answers as
    // an empty one, and this tells the caller so that it can say which file failed.
    ReadOutcome lastOutcome() const { return lastOutcome_; }

private:
    struct Snapshot;
    const Snapshot &current();

    std::filesystem::path file_;
    ReadOutcome lastOutcome_ = ReadOutcome::Ok;
    std::shared_ptr<const Snapshot> snapshot_;
};

} // namespace ferolan
