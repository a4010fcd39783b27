#include "fiducial/logic/archive_snapshot.h"

#include "core/text.h"
#include "core/text_hash.h"

namespace ferolan {

std::size_t ArchiveSnapshot::KeyHash::operator()(const PfKey &key) const {
    return textHash(key.codice_comune, textHash(key.foglio, textHash(key.numero)));
}

ArchiveSnapshot::ArchiveSnapshot(const std::filesystem::path &file) {
    FileContent content = readFile(file);
    outcome_ = content.outcome;
    bytes_ = std::move(content.bytes);
    firstRecords_.reserve(lineCount(bytes_));
    LineReader lines(bytes_);
    // try_emplace keeps the earlier line of a repeated key: the first record wins.
    for (std::string_view line; lines.next(line);)
        firstRecords_.try_emplace(recordKey(line), line);
}

PfLookup ArchiveSnapshot::lookup(const PfKey &key) const {
    switch (outcome_) {
    case ReadOutcome::Missing:
        return {LookupOutcome::NoFile, {}};
    case ReadOutcome::Unreadable:
        return {LookupOutcome::Unreadable, {}};
    case ReadOutcome::Ok:
        break;
    }
    auto found = firstRecords_.find(key);
    if (found == firstRecords_.end())
        return {LookupOutcome::NoMatch, {}};
    return {LookupOutcome::Found, std::string(found->second)};
}

} // namespace ferolan
