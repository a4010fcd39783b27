#include "header/logic/header_rules.h"

#include "core/cp1252.h"
#include "core/gauss_boaga.h"
#include "core/geodesy.h"
#include "core/numbers.h"
#include "core/text.h"
#include "header/logic/header_rows.h"
#include "header/logic/tabella_comuni.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace ferolan {
namespace {

constexpr std::size_t kRow0Fields = 8, kRow9Fields = 7;
constexpr std::size_t kParcelsLength = 39;
constexpr double kEastTolerance = 20000.0;
// A Gauss-Boaga east carries its zone's false east: 1,500,000 m (Ovest) or 2,520,000 m (Est).
constexpr double kLowestGaussBoagaEast = 1000000.0, kHighestGaussBoagaEast = 3000000.0;
// Around the 12° E seam surveys are framed in either zone.
constexpr double kSeamWest = 11.5, kSeamEast = 12.5;
// Pregeo 10 writes the type of document as a code from 1 to 34.
constexpr int kHighestTypeNumber = 34;

constexpr auto kRules = std::to_array<const CheckRule *>({&rule::kControlCharacter,
                                                          &rule::kAccents,
                                                          &rule::kUtf8,
                                                          &rule::kRow0Fields,
                                                          &rule::kDate,
                                                          &rule::kFutureDate,
                                                          &rule::kMunicipalityForm,
                                                          &rule::kMunicipalityUnknown,
                                                          &rule::kSheet,
                                                          &rule::kParcelsLength,
                                                          &rule::kParcelsPoint,
                                                          &rule::kTitle,
                                                          &rule::kProvince,
                                                          &rule::kProvinceAbbreviation,
                                                          &rule::kRow9Fields,
                                                          &rule::kNotANumber,
                                                          &rule::kTypeCode,
                                                          &rule::kEastZero,
                                                          &rule::kEastNotGaussBoaga,
                                                          &rule::kEastZone,
                                                          &rule::kEastFar});

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isAccentedLetter(unsigned char c) {
    return (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x8A || c == 0x8C || c == 0x8E ||
           c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

// The two bytes UTF-8 gives an accented Latin letter (À to ÿ), as Windows-1252 shows them.
bool isUtf8Letter(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) == 0xC3 && at + 1 < text.size() &&
           (static_cast<unsigned char>(text[at + 1]) & 0xC0) == 0x80;
}

bool isCalendarDay(std::string_view date, std::chrono::year_month_day &day) {
    if (date.size() != 8 || !std::all_of(date.begin(), date.end(), isDigit))
        return false;
    auto number = [date](std::size_t from, std::size_t count) {
        unsigned value = 0;
        std::from_chars(date.data() + from, date.data() + from + count, value);
        return value;
    };
    day = std::chrono::year_month_day{std::chrono::year{static_cast<int>(number(4, 4))},
                                      std::chrono::month{number(2, 2)},
                                      std::chrono::day{number(0, 2)}};
    return day.ok();
}

std::string wholeText(double value) {
    return wholeNumberText(std::round(value));
}

std::string fieldsCount(const PregeoRow &row) {
    return std::to_string(row.fields.size());
}

void add(std::vector<Finding> &findings, const CheckRule &rule, const PregeoRow &row,
         std::size_t field, std::initializer_list<std::string_view> arguments = {}) {
    findings.push_back(findingOf(rule, row.number, row.type, field, arguments));
}

// A province as the code table and a user may both write it: capitals without accents, and
// without the apostrophes, hyphens, slashes and blanks that differ from one writer to another.
std::string provinceKey(std::string_view name) {
    // The base letters of the Windows-1252 capitals À to Ý, × kept apart.
    constexpr std::string_view kBaseLetters = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUY";
    std::string key;
    for (char c : toUpperCp1252(name)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xC0 && byte <= 0xDD)
            key += kBaseLetters[byte - 0xC0];
        else if (std::string_view(" '-/`\x92\xB4").find(c) == std::string_view::npos)
            key += c;
    }
    return key;
}

// The table's name, or either half of a two-part name such as "BOLZANO-BOZEN".
bool isProvince(std::string_view typed, Tabella_comuni &table) {
    const std::string key = provinceKey(typed);
    for (const std::string &province : table.Elenco_province()) {
        if (provinceKey(province) == key)
            return true;
        const std::size_t cut = province.find_first_of("-/");
        const std::string_view name = province;
        if (cut != std::string::npos && name.find_first_of("-/", cut + 1) == std::string::npos &&
            (provinceKey(name.substr(0, cut)) == key || provinceKey(name.substr(cut + 1)) == key))
            return true;
    }
    return false;
}

void checkDate(const PregeoRow &row, std::chrono::year_month_day today,
               std::vector<Finding> &findings) {
    std::chrono::year_month_day day;
    const std::string quoted = inQuotes(row.field(1));
    if (!isCalendarDay(row.field(1), day))
        add(findings, rule::kDate, row, 1, {quoted});
    else if (day > today)
        add(findings, rule::kFutureDate, row, 1, {quoted});
}

void checkMunicipality(const PregeoRow &row, Tabella_comuni &table,
                       std::vector<Finding> &findings) {
    const std::string_view code = row.field(3);
    if (code.size() != 4 || !isCapital(code[0]) ||
        !std::all_of(code.begin() + 1, code.end(), isDigit))
        add(findings, rule::kMunicipalityForm, row, 3, {inQuotes(code)});
    else if (!table.Riga_del_comune(code))
        add(findings, rule::kMunicipalityUnknown, row, 3, {inQuotes(code)});
}

bool isTypeCode(std::string_view code) {
    if (std::any_of(kTipiElaborato.begin(), kTipiElaborato.end(),
                    [code](std::string_view entry) { return lastChars(entry, 2) == code; }))
        return true;
    int number = 0;
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), number);
    return error == std::errc() && end == code.data() + code.size() && code.front() != '0' &&
           number >= 1 && number <= kHighestTypeNumber;
}

} // namespace

std::span<const CheckRule *const> headerCheckRules() {
    return kRules;
}

void CharacterCheck::check(const PregeoRow &row, std::vector<Finding> &findings) {
    if (row.printable)
        return;
    bool accented = false, utf8 = false;
    for (std::size_t n = 0; n <= row.fields.size(); ++n) {
        const std::string_view text = n == 0 ? row.type : row.fields[n - 1];
        std::optional<unsigned char> control;
        for (std::size_t at = 0; at < text.size(); ++at) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte < 0x20 || byte == 0x7F) {
                control = control.value_or(byte);
            } else if (isUtf8Letter(text, at)) {
                utf8 = true;
                ++at;
            } else {
                accented = accented || isAccentedLetter(byte);
            }
        }
        if (control)
            add(findings, rule::kControlCharacter, row, n, {std::to_string(*control)});
    }
    if (accented)
        accentedLines_.push_back(row.number);
    if (utf8)
        utf8Lines_.push_back(row.number);
}

void CharacterCheck::finish(std::vector<Finding> &findings) const {
    auto where = [](const std::vector<std::size_t> &lines) {
        return "linea " + std::to_string(lines.front()) + (lines.size() > 1 ? " e seguenti" : "");
    };
    if (!accentedLines_.empty()) {
        const std::size_t count = accentedLines_.size();
        findings.push_back(findingOf(rule::kAccents, 0, {}, 0,
                                     {std::to_string(count) +
                                          (count == 1 ? " riga contiene" : " righe contengono") +
                                          " lettere accentate",
                                      where(accentedLines_)}));
    }
    if (!utf8Lines_.empty())
        findings.push_back(findingOf(rule::kUtf8, 0, {}, 0, {where(utf8Lines_)}));
}

void checkRow0(const PregeoRow &row, Tabella_comuni &table, std::chrono::year_month_day today,
               std::vector<Finding> &findings) {
    if (row.fields.size() < kRow0Fields)
        add(findings, rule::kRow0Fields, row, 0, {fieldsCount(row)});
    if (row.has(1))
        checkDate(row, today, findings);
    if (row.has(3))
        checkMunicipality(row, table, findings);
    const std::string_view sheet = row.field(4);
    auto sheetEnd = [](char c) { return isDigit(c) || isCapital(c); };
    if (row.has(4) && (sheet.size() != 4 || !sheetEnd(sheet[0]) || !isDigit(sheet[1]) ||
                       !isDigit(sheet[2]) || !sheetEnd(sheet[3])))
        add(findings, rule::kSheet, row, 4, {inQuotes(sheet)});

    const std::string_view parcels = row.field(5);
    if (parcels.size() > kParcelsLength)
        add(findings, rule::kParcelsLength, row, 5, {std::to_string(parcels.size())});
    if (parcels.find('.') != std::string_view::npos)
        add(findings, rule::kParcelsPoint, row, 5);

    const std::string_view title = row.field(7);
    if (row.has(7) && std::find(kTitoliProfessionali.begin(), kTitoliProfessionali.end(), title) ==
                          kTitoliProfessionali.end())
        add(findings, rule::kTitle, row, 7, {inQuotes(title)});
    const std::string_view province = row.field(8);
    const std::string capitals = toUpperCp1252(province);
    if (capitals.size() == 2 && isCapital(capitals[0]) && isCapital(capitals[1]))
        add(findings, rule::kProvinceAbbreviation, row, 8, {inQuotes(province)});
    else if (row.has(8) && !isProvince(province, table))
        add(findings, rule::kProvince, row, 8, {inQuotes(province)});
}

std::optional<double> checkRow9(const PregeoRow &row, std::vector<Finding> &findings) {
    if (row.fields.size() < kRow9Fields)
        add(findings, rule::kRow9Fields, row, 0, {fieldsCount(row)});
    constexpr std::array<std::pair<std::size_t, std::string_view>, 4> kNumbers = {
        {{1, "la quota"},
         {2, "la precisione lineare"},
         {3, "la precisione angolare"},
         {4, "l'est medio"}}};
    for (const auto &[field, name] : kNumbers)
        if (row.has(field) && !exactNumericValue(row.field(field), false))
            add(findings, rule::kNotANumber, row, field, {name, inQuotes(row.field(field))});
    const std::string_view type = row.field(6);
    if (row.has(6) && !isTypeCode(type))
        add(findings, rule::kTypeCode, row, 6, {inQuotes(type)});
    return exactNumericValue(row.field(4), false);
}

void checkMeanEast(std::size_t line, double east, const std::optional<Xyz> &centroid,
                   std::vector<Finding> &findings) {
    PregeoRow row;
    row.number = line;
    row.type = "9";
    if (east == 0) {
        add(findings, rule::kEastZero, row, 4);
        return;
    }
    if (east < kLowestGaussBoagaEast || east >= kHighestGaussBoagaEast) {
        add(findings, rule::kEastNotGaussBoaga, row, 4, {wholeText(east)});
        return;
    }
    if (!centroid)
        return;
    const Geodetic where = geodeticFromGeocentric({centroid->X, centroid->Y, centroid->Z});
    const double longitude = where.longitudeDegrees;
    const GaussBoagaZone eastZone = east < 2000000 ? GaussBoagaZone::Ovest : GaussBoagaZone::Est;
    const bool seam = longitude >= kSeamWest && longitude <= kSeamEast;
    if (!seam && eastZone != gaussBoagaZoneOf(longitude)) {
        const char *zone = gaussBoagaZoneOf(longitude) == GaussBoagaZone::Ovest ? "Ovest" : "Est";
        add(findings, rule::kEastZone, row, 4,
            {wholeText(east), zone, decimalText(longitude, 2, ',')});
        return;
    }
    const double pointsEast =
        gaussBoagaFromGeodetic(where.latitudeDegrees, longitude, eastZone).east;
    if (std::abs(east - pointsEast) > kEastTolerance)
        add(findings, rule::kEastFar, row, 4,
            {wholeText(east), kilometres(std::abs(east - pointsEast)), wholeText(pointsEast)});
}

std::vector<Finding> Controlla_righe_0_9(const HeaderData &header,
                                         const std::optional<Xyz> &centroid, Tabella_comuni &table,
                                         std::chrono::year_month_day today) {
    std::string rows = row0(header) + row9(header);
    toBookletCharacters(rows);
    std::vector<Finding> findings;
    CharacterCheck characters;
    PregeoRow row;
    std::size_t next = readPregeoRow(rows, 0, row);
    row.number = 1;
    characters.check(row, findings);
    checkRow0(row, table, today, findings);
    readPregeoRow(rows, next, row);
    row.number = 2;
    characters.check(row, findings);
    if (std::optional<double> east = checkRow9(row, findings))
        checkMeanEast(2, *east, centroid, findings);
    characters.finish(findings);
    sortFindings(findings);
    return findings;
}

std::string_view headerControlOfField(std::string_view rowType, std::size_t field) {
    constexpr std::array<std::string_view, 8> kRow0 = {"Txt_data",   "Txt_pg",       "Cmb_comune",
                                                       "Txt_foglio", "Txt_mappali",  "Txt_tecnico",
                                                       "Cmb_albo",   "Cmb_prov_albo"};
    constexpr std::array<std::string_view, 7> kRow9 = {
        "Txt_quota", "Cmb_prec1", "Cmb_prec2", "Txt_estmedia", "", "Cmb_tipo", "Txt_note"};
    if (rowType == "0" && field >= 1 && field <= kRow0.size())
        return kRow0[field - 1];
    if (rowType == "9" && field >= 1 && field <= kRow9.size())
        return kRow9[field - 1];
    return {};
}

} // namespace ferolan
