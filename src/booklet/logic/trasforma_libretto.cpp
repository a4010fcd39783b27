#include "booklet/logic/trasforma_libretto.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "booklet/logic/temporary_booklet.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace ferolan {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kPieceSize = 64 * 1024;

enum class CopyOutcome { Copied, ReadFailed, WriteFailed };

// Copies `from` into a new file `to` piece by piece, mapping every piece on the way, so
// that a large booklet is never held in memory whole. On failure `to` is not left behind.
CopyOutcome copyMapped(const fs::path &from, const fs::path &to) {
    if (!isExistingFile(from))
        return CopyOutcome::ReadFailed;
    std::ifstream in(from, std::ios::binary);
    if (!in.is_open())
        return CopyOutcome::ReadFailed;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        return CopyOutcome::WriteFailed;
    std::vector<char> piece(kPieceSize);
    while (out.good()) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        auto count = static_cast<std::size_t>(in.gcount());
        if (count == 0)
            break;
        toBookletCharacters(std::span(piece.data(), count));
        out.write(piece.data(), static_cast<std::streamsize>(count));
    }
    bool readWhole = in.eof() && !in.bad();
    out.close();
    CopyOutcome outcome = out.fail()  ? CopyOutcome::WriteFailed
                          : readWhole ? CopyOutcome::Copied
                                      : CopyOutcome::ReadFailed;
    if (outcome != CopyOutcome::Copied) {
        std::error_code ignored;
        fs::remove(to, ignored);
    }
    return outcome;
}

} // namespace

void toBookletCharacters(std::span<char> bytes) {
    for (char &c : bytes) {
        if (c == ',')
            c = '.';
        else if (c == ';')
            c = ',';
    }
}

FinishingResult Trasforma_libretto(const fs::path &File_libretto) {
    using Outcome = FinishingResult::Outcome;
    const fs::path temporary = temporaryBookletPath(File_libretto);
    fs::path fresh = File_libretto;
    fresh += ".nuovo";

    switch (copyMapped(temporary, fresh)) {
    case CopyOutcome::ReadFailed:
        return {Outcome::TemporaryUnreadable, temporary, {}};
    case CopyOutcome::WriteFailed:
        return {Outcome::BookletUnwritable, File_libretto, {}};
    case CopyOutcome::Copied:
        break;
    }
    std::error_code error;
    fs::rename(fresh, File_libretto, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return {Outcome::BookletUnwritable, File_libretto, {}};
    }

    FinishingResult result;
    fs::remove(temporary, error);
    if (error)
        result.leftoverTemporary = temporary;
    return result;
}

std::string bookletCreatedMessage(const fs::path &File_libretto) {
    return "il file " + utf8FromPath(File_libretto) + " è stato regolarmente creato";
}

} // namespace ferolan
