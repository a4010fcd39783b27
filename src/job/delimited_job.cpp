#include "job/delimited_job.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "core/geodesy.h"
#include "core/numbers.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace ferolan {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct TextCell {
    ColumnRole role;
    std::size_t width;
    std::size_t DelimitedReading::*cut;
};
constexpr std::array<TextCell, 3> kTextCells = {{
    {ColumnRole::Nome, 16, &DelimitedReading::namesCut},
    {ColumnRole::Descrizione, 36, &DelimitedReading::descriptionsCut},
    {ColumnRole::Codice, 16, &DelimitedReading::codesCut},
}};
constexpr std::size_t kNumberWidth = 12, kHeightWidth = 8;
// As many as a 12-character cell can hold for a term below one square metre.
constexpr int kMostCellDecimals = 10;

bool isBlankChar(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    const std::size_t from = text.find_first_not_of(" \t");
    if (from == std::string_view::npos)
        return {};
    return text.substr(from, text.find_last_not_of(" \t") - from + 1);
}

bool hasNonAscii(std::string_view bytes) {
    return std::ranges::any_of(bytes, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The text of a number cell: the number as written when it fits, otherwise rounded to as
// many decimals as fit; nothing when even its whole part does not. A computed number has no
// written text.
std::optional<std::string> cellText(std::string_view written, double value, std::size_t width) {
    if (!written.empty() && written.size() <= width &&
        written.find_first_of("eEdD") == std::string_view::npos)
        return std::string(written);
    for (int decimals = kMostCellDecimals; decimals >= 0; --decimals)
        if (std::string text = decimalText(value, decimals, '.'); text.size() <= width)
            return text;
    return std::nullopt;
}

std::string rightAligned(std::string_view text, std::size_t width) {
    return std::string(width - std::min(width, text.size()), ' ') + std::string(text);
}

// Why a line gives no point, thrown from wherever its conversion finds it out.
struct LeftOut {
    std::string reason;
};

// One line of the file made into a job line, or why it cannot be.
class LineConversion {
public:
    LineConversion(const DelimitedFormat &format, bool utf8, DelimitedReading &reading)
        : format_(format), utf8_(utf8), reading_(reading) {}

    // The job line; empty, with `reason` set, when the line gives no point.
    std::string convert(const std::vector<std::string> &fields, std::string &reason) {
        fields_.clear();
        for (std::size_t i = 0; i < format_.columns.size() && i < fields.size(); ++i)
            if (format_.columns[i] != ColumnRole::Ignora)
                fields_[format_.columns[i]] = fields[i];
        try {
            return line();
        } catch (const LeftOut &leftOut) {
            reason = leftOut.reason;
            return {};
        }
    }

private:
    bool mapped(ColumnRole role) const {
        return std::ranges::find(format_.columns, role) != format_.columns.end();
    }

    // The cell's text, blanks around it removed; nothing when the line has no such cell.
    std::optional<std::string_view> cell(ColumnRole role) const {
        const auto found = fields_.find(role);
        if (found == fields_.end())
            return std::nullopt;
        return trimmed(found->second);
    }

    static std::string named(ColumnRole role) {
        return "la colonna " + std::string(roleName(role));
    }

    std::string_view needed(ColumnRole role) const {
        const std::optional<std::string_view> text = cell(role);
        if (!text)
            throw LeftOut{named(role) + " manca"};
        if (text->empty())
            throw LeftOut{named(role) + " è vuota"};
        return *text;
    }

    // The number in the cell with "." for decimals, and its value.
    std::pair<std::string, double> number(ColumnRole role, std::string_view text) const {
        std::string written(text);
        if (format_.decimal == ',') {
            if (written.find('.') != std::string::npos)
                throw LeftOut{named(role) + " non è un numero"};
            std::ranges::replace(written, ',', '.');
        }
        const std::optional<double> value = exactNumericValue(written, true);
        if (!value || !std::isfinite(*value))
            throw LeftOut{named(role) + " non è un numero"};
        return {written, *value};
    }

    // With `squared`, the cell holds the square of the number: a variance given as a
    // standard deviation.
    std::string numberCell(ColumnRole role, std::size_t width, bool squared = false) const {
        auto [written, value] = number(role, needed(role));
        std::optional<std::string> text =
            squared ? cellText({}, value * value, width) : cellText(written, value, width);
        if (!text)
            throw LeftOut{named(role) + " ha un valore troppo grande"};
        return rightAligned(*text, width);
    }

    // An optional cell: blank when the column or its text is missing.
    std::string optionalNumberCell(ColumnRole role, std::size_t width) const {
        const std::optional<std::string_view> text = cell(role);
        return text && !text->empty() ? numberCell(role, width) : std::string(width, ' ');
    }

    std::string textCell(const TextCell &text) {
        std::string value(cell(text.role).value_or(std::string_view()));
        if (utf8_)
            value = cp1252FromUtf8Replacing(value, reading_.replacedCharacters);
        value = std::string(trimBlanks(withControlsBlanked(value)));
        if (value.size() > text.width) {
            ++(reading_.*text.cut);
            value.resize(text.width);
        }
        return value + std::string(text.width - value.size(), ' ');
    }

    std::string geocentricCells() const {
        std::string cells;
        // In order, so that the first faulty column is the one reported.
        if (mapped(ColumnRole::X)) {
            for (ColumnRole role : {ColumnRole::X, ColumnRole::Y, ColumnRole::Z})
                cells += numberCell(role, kNumberWidth);
            return cells;
        }
        const double latitude =
            number(ColumnRole::Latitudine, needed(ColumnRole::Latitudine)).second;
        const double longitude =
            number(ColumnRole::Longitudine, needed(ColumnRole::Longitudine)).second;
        const double height =
            number(ColumnRole::QuotaEllissoidica, needed(ColumnRole::QuotaEllissoidica)).second;
        if (std::abs(latitude) > 90)
            throw LeftOut{named(ColumnRole::Latitudine) + " è fuori dall'intervallo -90..90"};
        if (std::abs(longitude) > 180)
            throw LeftOut{named(ColumnRole::Longitudine) + " è fuori dall'intervallo -180..180"};
        const Geocentric xyz = geocentricFromGeodetic({latitude, longitude, height});
        for (double value : {xyz.x, xyz.y, xyz.z}) {
            const std::optional<std::string> text = cellText({}, value, kNumberWidth);
            if (!text)
                throw LeftOut{named(ColumnRole::QuotaEllissoidica) + " ha un valore troppo grande"};
            cells += rightAligned(*text, kNumberWidth);
        }
        return cells;
    }

    // The six terms, or nothing when the map has none or the line leaves them all empty.
    std::string varianceCells() const {
        if (!mapped(ColumnRole::VarX) || std::ranges::all_of(kVarianceRoles, [&](ColumnRole role) {
                return cell(role).value_or("").empty();
            }))
            return {};
        std::string cells;
        for (std::size_t i = 0; i < kVarianceRoles.size(); ++i)
            cells += numberCell(kVarianceRoles[i], kNumberWidth, format_.deviations && i < 3);
        return cells;
    }

    std::string line() {
        needed(ColumnRole::Nome);
        std::string coordinates = geocentricCells();
        std::string line;
        for (const TextCell &text : kTextCells)
            line += textCell(text);
        line += coordinates;
        line += optionalNumberCell(ColumnRole::Est, kNumberWidth);
        line += optionalNumberCell(ColumnRole::Quota, kHeightWidth);
        line += varianceCells();
        return line;
    }

    const DelimitedFormat &format_;
    bool utf8_;
    DelimitedReading &reading_;
    std::map<ColumnRole, std::string> fields_;
};

} // namespace

std::optional<std::vector<std::string>> splitFields(std::string_view line,
                                                    FieldSeparator separator) {
    constexpr std::array<char, 3> kSeparators = {';', ',', '\t'};
    const bool blanks = separator == FieldSeparator::Blanks;
    const char sep = blanks ? ' ' : kSeparators[static_cast<std::size_t>(separator)];
    auto separates = [&](char c) { return blanks ? isBlankChar(c) : c == sep; };
    std::vector<std::string> fields;
    std::size_t at = 0;
    if (blanks)
        line = trimmed(line);
    while (true) {
        std::string field;
        while (at < line.size() && isBlankChar(line[at]) && !separates(line[at]))
            field += line[at++];
        if (at < line.size() && line[at] == '"') {
            field.clear();
            for (++at;; ++at) {
                if (at >= line.size())
                    return std::nullopt;
                if (line[at] == '"' && (at + 1 == line.size() || line[at + 1] != '"'))
                    break;
                if (line[at] == '"')
                    ++at;
                field += line[at];
            }
            ++at;
        }
        while (at < line.size() && !separates(line[at]))
            field += line[at++];
        fields.push_back(std::move(field));
        if (at >= line.size())
            return fields;
        ++at;
        while (blanks && at < line.size() && isBlankChar(line[at]))
            ++at;
    }
}

DelimitedReading readDelimited(std::string_view bytes, const DelimitedFormat &format) {
    DelimitedReading reading;
    const bool bom = bytes.starts_with(kUtf8Bom);
    if (bom)
        bytes.remove_prefix(kUtf8Bom.size());
    const bool utf8 = bom || (hasNonAscii(bytes) && isValidUtf8(bytes));
    LineConversion conversion(format, utf8, reading);
    LineReader reader(bytes);
    std::size_t number = 0;
    bool anyText = false;
    for (std::string_view line; reader.next(line);) {
        ++number;
        anyText = anyText || !trimmed(line).empty();
        if (number <= format.linesToSkip || trimmed(line).empty())
            continue;
        const bool last = line.data() + line.size() == bytes.data() + bytes.size();
        std::optional<std::vector<std::string>> fields = splitFields(line, format.separator);
        std::string reason;
        if (!fields)
            reason = "le virgolette non sono chiuse (un a capo tra virgolette non è ammesso)";
        else if (last && !endsWithLineEnd(bytes) && fields->size() < format.columns.size())
            reason = "la riga sembra troncata";
        else if (std::string job = conversion.convert(*fields, reason); !job.empty()) {
            reading.jobText += job + "\r\n";
            ++reading.points;
            continue;
        }
        reading.leftOut.push_back({number, std::move(reason)});
    }
    if (!anyText)
        reading.outcome = PointList::FileLoad::Empty;
    else if (reading.points == 0)
        reading.outcome = PointList::FileLoad::WithoutUsablePoints;
    return reading;
}

DelimitedReading readDelimitedFile(const std::filesystem::path &file,
                                   const DelimitedFormat &format) {
    FileContent content = readFile(file);
    DelimitedReading reading;
    if (!content.ok())
        reading.outcome = PointList::FileLoad::Unreadable;
    else if (content.changedWhileRead)
        reading.outcome = PointList::FileLoad::ChangedWhileRead;
    else
        reading = readDelimited(content.bytes, format);
    return reading;
}

std::vector<std::string> leftOutMessages(std::string_view file, const DelimitedReading &reading) {
    std::vector<std::string> messages;
    for (const LeftOutLine &line : reading.leftOut)
        messages.push_back(std::string(file) + ": riga " + std::to_string(line.number) + ": " +
                           line.reason);
    return messages;
}

std::vector<std::string> conversionMessages(const DelimitedReading &reading) {
    std::vector<std::string> messages;
    auto tell = [&](std::size_t count, std::string_view what) {
        if (count > 0)
            messages.push_back(std::to_string(count) + std::string(what));
    };
    tell(reading.replacedCharacters, " caratteri non rappresentabili sostituiti con ?");
    tell(reading.namesCut, " nomi tagliati a 16 caratteri");
    tell(reading.descriptionsCut, " descrizioni tagliate a 36 caratteri");
    tell(reading.codesCut, " codici tagliati a 16 caratteri");
    return messages;
}

std::string noDelimitedPointsMessage(std::string_view file) {
    return "Il file " + std::string(file) +
           " non contiene punti con coordinate utilizzabili con questo formato: controllare "
           "separatore, decimali e colonne.";
}

FieldSeparator proposedSeparator(std::string_view firstLines) {
    FieldSeparator best = FieldSeparator::Blanks;
    std::size_t bestFields = 1;
    for (FieldSeparator separator :
         {FieldSeparator::Tab, FieldSeparator::Semicolon, FieldSeparator::Comma}) {
        std::size_t fewest = SIZE_MAX;
        for (std::string_view line : splitLines(firstLines))
            if (!trimmed(line).empty())
                fewest = std::min(
                    fewest,
                    splitFields(line, separator).value_or(std::vector<std::string>(1)).size());
        if (fewest != SIZE_MAX && fewest > bestFields) {
            best = separator;
            bestFields = fewest;
        }
    }
    return best;
}

} // namespace ferolan
