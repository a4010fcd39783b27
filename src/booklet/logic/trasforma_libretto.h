#pragma once

#include "core/check_findings.h"

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The finishing pass: the temporary file becomes the booklet that Pregeo reads.
namespace ferolan {

struct FinishingResult {
    enum class Outcome {
        Created,
        // The temporary file is missing or cannot be read; nothing was written.
        TemporaryUnreadable,
        // The booklet cannot be written; an earlier booklet of that name is untouched.
        BookletUnwritable,
    };
    Outcome outcome = Outcome::Created;
    // The file named in the failure message; empty when the booklet was created.
    std::filesystem::path failedFile;
    // Set when the booklet was created but the temporary file could not be deleted.
    std::filesystem::path leftoverTemporary;

    bool created() const { return outcome == Outcome::Created; }
};

// Writes `File_libretto` from the temporary file and deletes the temporary file. The
// booklet is written beside its target and renamed over it, so a failure never leaves a
// half-written booklet nor destroys an earlier one; on failure the temporary file is kept.
// `written`, when given, sees the booklet's bytes in order as they are written.
FinishingResult Trasforma_libretto(const std::filesystem::path &File_libretto,
                                   const std::function<void(std::string_view)> &written = {});

// "il file <path> è stato regolarmente creato", in UTF-8; with an errore among the findings
// "il file <path> è stato creato, ma il controllo ha trovato errori che Pregeo rifiuterà",
// for the caller to end with ":" and the findings, or ".".
std::string bookletCreatedMessage(const std::filesystem::path &File_libretto,
                                  const std::vector<Finding> &findings = {});

} // namespace ferolan
