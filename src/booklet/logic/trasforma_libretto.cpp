#include "booklet/logic/trasforma_libretto.h"

#include "booklet/logic/temporary_booklet.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/text.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace ferolan {
namespace fs = std::filesystem;

namespace {

// Small enough that whoever watches the pieces keeps what it makes of one in the processor's
// cache, large enough that reading and writing them costs few calls to the system.
constexpr std::size_t kPieceSize = 256 * 1024;

enum class CopyOutcome { Copied, ReadFailed, WriteFailed };

// Copies `from` into a new file `to` piece by piece, mapping every piece on the way, so
// that a large booklet is never held in memory whole. On failure `to` is not left behind.
CopyOutcome copyMapped(const fs::path &from, const fs::path &to,
                       const std::function<void(std::string_view)> &written) {
    if (!isExistingFile(from))
        return CopyOutcome::ReadFailed;
    std::ifstream in(from, std::ios::binary);
    if (!in.is_open())
        return CopyOutcome::ReadFailed;
    platform::File out = createFresh(to);
    bool copied = out.isOpen();
    std::vector<char> piece(kPieceSize);
    std::uint64_t copiedBytes = 0;
    try {
        while (copied) {
            in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
            auto count = static_cast<std::size_t>(in.gcount());
            if (count == 0)
                break;
            toBookletCharacters(std::span(piece.data(), count));
            const std::string_view mapped(piece.data(), count);
            copied = out.write(mapped);
            // Each piece on its way to the disk while the next is copied and checked.
            out.startFlushing(copiedBytes, count);
            copiedBytes += count;
            if (copied && written)
                written(mapped);
        }
    } catch (...) {
        // Whoever watches the bytes may run out of memory: no half booklet stays behind.
        std::error_code ignored;
        out.close();
        fs::remove(to, ignored);
        throw;
    }
    bool readWhole = in.eof() && !in.bad();
    // On the disk before the rename, so a power cut never leaves an empty booklet.
    copied = copied && out.flushToDisk();
    copied = out.close() && copied;
    CopyOutcome outcome = !copied     ? CopyOutcome::WriteFailed
                          : readWhole ? CopyOutcome::Copied
                                      : CopyOutcome::ReadFailed;
    if (outcome != CopyOutcome::Copied) {
        std::error_code ignored;
        fs::remove(to, ignored);
    }
    return outcome;
}

} // namespace

FinishingResult Trasforma_libretto(const fs::path &File_libretto,
                                   const std::function<void(std::string_view)> &written) {
    using Outcome = FinishingResult::Outcome;
    const fs::path temporary = temporaryBookletPath(File_libretto);
    fs::path fresh = File_libretto;
    fresh += ".nuovo";

    switch (copyMapped(temporary, fresh, written)) {
    case CopyOutcome::ReadFailed:
        return {Outcome::TemporaryUnreadable, temporary, {}};
    case CopyOutcome::WriteFailed:
        return {Outcome::BookletUnwritable, File_libretto, {}};
    case CopyOutcome::Copied:
        break;
    }
    if (!platform::renameOver(fresh, File_libretto)) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return {Outcome::BookletUnwritable, File_libretto, {}};
    }

    FinishingResult result;
    std::error_code error;
    fs::remove(temporary, error);
    if (error)
        result.leftoverTemporary = temporary;
    return result;
}

std::string bookletCreatedMessage(const fs::path &File_libretto,
                                  const std::vector<Finding> &findings) {
    // A booklet Pregeo will refuse is no success to announce.
    if (hasErrore(findings))
        return "il file " + utf8FromPath(File_libretto) +
               " è stato creato, ma il controllo ha trovato errori che Pregeo rifiuterà";
    return "il file " + utf8FromPath(File_libretto) + " è stato regolarmente creato";
}

} // namespace ferolan
