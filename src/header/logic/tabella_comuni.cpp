#include "header/logic/tabella_comuni.h"

#include "core/text.h"

#include <fstream>
#include <unordered_map>

namespace ferolan {
namespace {

constexpr std::size_t kCodeLength = 4;

// The first four characters, as the table compares them with a code; a shorter line
// compares as it is.
std::string_view codeOf(std::string_view line) {
    return line.substr(0, kCodeLength);
}

bool isHeader(std::string_view line) {
    return line.starts_with('*');
}
bool isIgnored(std::string_view line) {
    return line.starts_with('-');
}

// True when the file holds exactly these bytes. It reads piece by piece into one buffer, so
// finding the table unchanged, the common case, allocates nothing.
bool holdsExactly(const std::filesystem::path &file, std::string_view bytes) {
    if (!isExistingFile(file))
        return false;
    std::ifstream in(file, std::ios::binary);
    char buffer[16384];
    std::size_t offset = 0;
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        auto count = static_cast<std::size_t>(in.gcount());
        if (bytes.substr(offset, count) != std::string_view(buffer, count))
            return false;
        offset += count;
    }
    return in.eof() && !in.bad() && offset == bytes.size();
}

} // namespace

// One reading of the table, with the answers of the four operations laid out for lookup.
// Every view points into `bytes`, so a snapshot is never copied or moved.
struct Tabella_comuni::Snapshot {
    explicit Snapshot(std::string fileBytes);
    Snapshot(const Snapshot &) = delete;
    Snapshot &operator=(const Snapshot &) = delete;

    std::string bytes;
    std::vector<std::string_view> provinces;
    std::unordered_map<std::string_view, std::vector<std::string_view>> municipalitiesOf;
    std::unordered_map<std::string_view, std::string_view> firstLineWithCode;
    // For each code, the untrimmed header above its first municipality line; empty when
    // that line stands before every header.
    std::unordered_map<std::string_view, std::string_view> provinceOfCode;
    std::string_view lastHeader; // untrimmed, as a code no line carries answers
};

Tabella_comuni::Snapshot::Snapshot(std::string fileBytes) : bytes(std::move(fileBytes)) {
    std::vector<std::string_view> *group = nullptr;
    for (std::string_view line : splitLines(bytes)) {
        firstLineWithCode.try_emplace(codeOf(line), line);
        if (isHeader(line)) {
            lastHeader = line.substr(1);
            std::string_view name = trimBlanks(lastHeader);
            provinces.push_back(name);
            group = &municipalitiesOf[name];
        } else if (!isIgnored(line)) {
            provinceOfCode.try_emplace(codeOf(line), lastHeader);
            if (group != nullptr)
                group->push_back(trimBlanks(line));
        }
    }
}

Tabella_comuni::Tabella_comuni(std::filesystem::path file) : file_(std::move(file)) {}

const Tabella_comuni::Snapshot &Tabella_comuni::current() {
    if (snapshot_ && holdsExactly(file_, snapshot_->bytes)) {
        lastOutcome_ = ReadOutcome::Ok;
        return *snapshot_;
    }
    FileContent content = readFile(file_);
    lastOutcome_ = content.outcome;
    if (!content.ok()) {
        static const Snapshot empty{std::string()};
        return empty;
    }
    snapshot_ = std::make_shared<const Snapshot>(std::move(content.bytes));
    return *snapshot_;
}

std::vector<std::string> Tabella_comuni::Elenco_province() {
    const Snapshot &table = current();
    return {table.provinces.begin(), table.provinces.end()};
}

std::vector<std::string> Tabella_comuni::Comuni_della_provincia(std::string_view provincia) {
    const Snapshot &table = current();
    auto group = table.municipalitiesOf.find(trimBlanks(provincia));
    if (group == table.municipalitiesOf.end())
        return {};
    return {group->second.begin(), group->second.end()};
}

std::string Tabella_comuni::Provincia_del_comune(std::string_view codice) {
    const Snapshot &table = current();
    auto match = table.provinceOfCode.find(codice);
    if (match == table.provinceOfCode.end())
        return std::string(table.lastHeader);
    return std::string(match->second);
}

std::optional<std::string> Tabella_comuni::knownProvinceOf(std::string_view codice) {
    const Snapshot &table = current();
    auto match = table.provinceOfCode.find(codice);
    if (match == table.provinceOfCode.end() || trimBlanks(match->second).empty())
        return std::nullopt;
    return std::string(trimBlanks(match->second));
}

std::optional<std::string> Tabella_comuni::Riga_del_comune(std::string_view codice) {
    const Snapshot &table = current();
    auto match = table.firstLineWithCode.find(codice);
    if (match == table.firstLineWithCode.end())
        return std::nullopt;
    return std::string(match->second);
}

} // namespace ferolan
