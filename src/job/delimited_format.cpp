#include "job/delimited_format.h"

#include "core/cp1252.h"
#include "core/text.h"

#include <algorithm>
#include <charconv>

namespace ferolan {
namespace {

struct RoleText {
    std::string_view word;
    std::string_view name;
};
constexpr std::array<RoleText, kColumnRoles> kRoles = {{
    {"ignora", "(ignora)"},
    {"nome", "Nome"},
    {"descrizione", "Descrizione"},
    {"codice", "Codice"},
    {"x", "X"},
    {"y", "Y"},
    {"z", "Z"},
    {"latitudine", "Latitudine"},
    {"longitudine", "Longitudine"},
    {"quota_ellissoidica", "Quota ellissoidica"},
    {"est", "Est"},
    {"quota", "Quota"},
    {"var_x", "var X"},
    {"var_y", "var Y"},
    {"var_z", "var Z"},
    {"cov_xy", "cov XY"},
    {"cov_yz", "cov YZ"},
    {"cov_zx", "cov ZX"},
}};

constexpr std::array<std::string_view, 4> kSeparatorWords = {";", ",", "tab", "spazi"};

bool mapped(const DelimitedFormat &format, ColumnRole role) {
    return std::ranges::find(format.columns, role) != format.columns.end();
}

// The first role of the group the map lacks; nothing when it has them all.
template <std::size_t N>
std::optional<ColumnRole> firstMissing(const DelimitedFormat &format,
                                       const std::array<ColumnRole, N> &group) {
    for (ColumnRole role : group)
        if (!mapped(format, role))
            return role;
    return std::nullopt;
}

template <std::size_t N>
bool anyOf(const DelimitedFormat &format, const std::array<ColumnRole, N> &group) {
    return std::ranges::any_of(group, [&](ColumnRole role) { return mapped(format, role); });
}

std::optional<ColumnRole> roleOfWord(std::string_view word) {
    for (std::size_t i = 0; i < kRoles.size(); ++i)
        if (kRoles[i].word == word)
            return static_cast<ColumnRole>(i);
    return std::nullopt;
}

std::string inQuotes(std::string_view text) {
    return "\"" + utf8FromCp1252(text) + "\"";
}

// One key's value into the format; the reason when it is not one of the key's values.
std::optional<std::string> setValue(DelimitedFormat &format, std::string_view key,
                                    std::string_view value) {
    if (key == "separatore") {
        const auto word = std::ranges::find(kSeparatorWords, value);
        if (word == kSeparatorWords.end())
            return "separatore " + inQuotes(value) + " non ammesso (; , tab o spazi)";
        format.separator = static_cast<FieldSeparator>(word - kSeparatorWords.begin());
    } else if (key == "decimale") {
        if (value != "." && value != ",")
            return "decimale " + inQuotes(value) + " non ammesso (. o ,)";
        format.decimal = value.front();
    } else if (key == "righe_da_saltare") {
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), format.linesToSkip);
        if (value.empty() || error != std::errc() || end != value.data() + value.size())
            return "righe_da_saltare " + inQuotes(value) + " non è un numero intero";
    } else if (key == "colonne") {
        format.columns.clear();
        for (std::size_t from = 0; from <= value.size();) {
            const std::size_t comma = std::min(value.find(',', from), value.size());
            const std::string_view word = trimBlanks(value.substr(from, comma - from));
            const std::optional<ColumnRole> role = roleOfWord(word);
            if (!role)
                return "colonna " + inQuotes(word) + " sconosciuta";
            format.columns.push_back(*role);
            from = comma + 1;
        }
    } else if (key == "termini") {
        if (value != "varianze" && value != "deviazioni")
            return "termini " + inQuotes(value) + " non ammesso (varianze o deviazioni)";
        format.deviations = value == "deviazioni";
    } else {
        return "chiave " + inQuotes(key) + " sconosciuta";
    }
    return std::nullopt;
}

} // namespace

std::string_view roleWord(ColumnRole role) {
    return kRoles[static_cast<std::size_t>(role)].word;
}

std::string_view roleName(ColumnRole role) {
    return kRoles[static_cast<std::size_t>(role)].name;
}

std::optional<FormatProblem> formatProblem(const DelimitedFormat &format) {
    for (std::size_t i = 0; i < format.columns.size(); ++i)
        if (format.columns[i] != ColumnRole::Ignora &&
            std::count(format.columns.begin() + static_cast<std::ptrdiff_t>(i),
                       format.columns.end(), format.columns[i]) > 1)
            return FormatProblem{false,
                                 std::string(roleName(format.columns[i])) + " compare due volte"};
    constexpr std::array kGeocentric = {ColumnRole::X, ColumnRole::Y, ColumnRole::Z};
    constexpr std::array kGeographic = {ColumnRole::Latitudine, ColumnRole::Longitudine,
                                        ColumnRole::QuotaEllissoidica};
    std::optional<ColumnRole> missing;
    if (!mapped(format, ColumnRole::Nome))
        missing = ColumnRole::Nome;
    else if (!anyOf(format, kGeocentric) && anyOf(format, kGeographic))
        missing = firstMissing(format, kGeographic);
    else
        missing = firstMissing(format, kGeocentric);
    if (!missing && anyOf(format, kVarianceRoles))
        missing = firstMissing(format, kVarianceRoles);
    if (missing)
        return FormatProblem{true, "manca " + std::string(roleName(*missing))};
    if (format.separator == FieldSeparator::Comma && format.decimal == ',')
        return FormatProblem{false, "il separatore decimale è uguale al separatore"};
    return std::nullopt;
}

std::string formatProblemMessage(const FormatProblem &problem) {
    return (problem.incomplete ? "Il formato non è completo: " : "Il formato non è valido: ") +
           problem.reason + ".";
}

FormatParsing parseFormat(std::string_view text) {
    DelimitedFormat format;
    std::vector<std::string_view> seen;
    std::size_t number = 0;
    for (std::string_view line : splitLines(text)) {
        ++number;
        if (trimBlanks(line).empty())
            continue;
        const std::size_t equals = line.find('=');
        const std::string_view key = trimBlanks(line.substr(0, equals));
        const std::string where = "riga " + std::to_string(number) + ": ";
        if (equals == std::string_view::npos)
            return {std::nullopt, where + "manca \"=\""};
        if (std::ranges::find(seen, key) != seen.end())
            return {std::nullopt, where + "chiave " + inQuotes(key) + " ripetuta"};
        seen.push_back(key);
        // A tab or a blank is no separator word: only the value's own blanks are cut.
        if (std::optional<std::string> problem =
                setValue(format, key, trimBlanks(line.substr(equals + 1))))
            return {std::nullopt, where + *problem};
    }
    for (std::string_view key : {"separatore", "colonne"})
        if (std::ranges::find(seen, key) == seen.end())
            return {std::nullopt, "manca la chiave " + std::string(key)};
    if (std::optional<FormatProblem> problem = formatProblem(format))
        return {std::nullopt, problem->reason};
    return {std::move(format), {}};
}

std::string formatFileText(const DelimitedFormat &format) {
    std::string columns;
    for (ColumnRole role : format.columns)
        columns += (columns.empty() ? "" : ",") + std::string(roleWord(role));
    return "separatore=" +
           std::string(kSeparatorWords[static_cast<std::size_t>(format.separator)]) +
           "\r\ndecimale=" + std::string(1, format.decimal) +
           "\r\nrighe_da_saltare=" + std::to_string(format.linesToSkip) + "\r\ncolonne=" + columns +
           "\r\ntermini=" + (format.deviations ? "deviazioni" : "varianze") + "\r\n";
}

} // namespace ferolan
