#include "booklet/logic/controllo_libretto.h"

#include "booklet/logic/name_lines.h"
#include "booklet/logic/trasforma_libretto.h"
#include "core/byte_words.h"
#include "core/cp1252.h"
#include "core/gauss_boaga.h"
#include "core/geodesy.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/worker_thread.h"
#include "header/logic/tabella_comuni.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <utility>

namespace ferolan {
namespace {

constexpr std::size_t kParcelsLength = 39;
constexpr std::size_t kMinimumFiducialPoints = 3;
constexpr std::size_t kNamesShown = 5;
constexpr std::size_t kRowsAtOnce = 16;
constexpr double kLongestVector = 50000.0;
constexpr double kEastTolerance = 20000.0;
// Every point of Italy lies this far from the Earth's centre.
constexpr double kNearestRadius = 6350000.0, kFarthestRadius = 6390000.0;
// Around the 12° E seam surveys are framed in either zone.
constexpr double kSeamWest = 11.5, kSeamEast = 12.5;

struct RowRule {
    char type;
    std::size_t fields;
};
constexpr std::array<RowRule, 5> kFieldsNeeded = {
    {{'0', 8}, {'9', 7}, {'1', 3}, {'6', 5}, {'2', 6}}};

std::string inQuotes(std::string_view cp1252) {
    return "\"" + utf8FromCp1252(cp1252) + "\"";
}

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

// A number as Pregeo reads it: optional sign, digits with at most one point.
std::optional<double> plainNumber(std::string_view text) {
    return exactNumericValue(text, false);
}

// The numbers of a field of comma-separated numbers, when there are exactly `count`.
template <std::size_t count>
std::optional<std::array<double, count>> numberList(std::string_view field) {
    std::array<double, count> values;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t length = 0;
        std::optional<double> value = leadingPlainNumber(field, length);
        if (!value)
            return std::nullopt;
        values[i] = *value;
        field.remove_prefix(length);
        const bool last = i + 1 == count;
        if (last != field.empty() || (!last && field.front() != ','))
            return std::nullopt;
        field.remove_prefix(last ? 0 : 1);
    }
    return values;
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

bool isAccentedLetter(unsigned char c) {
    return (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x8A || c == 0x8C || c == 0x8E ||
           c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

bool isPlainNameCharacter(char c) {
    return isCapital(c) || isDigit(c) || c == '/' || c == '-' || c == '_' || c == '.';
}

// PFnn/ffff/cccc: point number, sheet, municipality code.
bool isFiducialPointName(std::string_view name) {
    return name.size() == 14 && name.starts_with("PF") && isDigit(name[2]) && isDigit(name[3]) &&
           name[4] == '/' && name[9] == '/' && isCapital(name[10]) &&
           std::all_of(name.begin() + 5, name.begin() + 9,
                       [](char c) { return isDigit(c) || isCapital(c); }) &&
           std::all_of(name.begin() + 11, name.end(), isDigit);
}

// Variances of X, Y, Z, then covariances XY, YZ, ZX (Sylvester's criterion).
bool isPositiveDefinite(const std::array<double, 6> &t) {
    const double xx = t[0], yy = t[1], zz = t[2], xy = t[3], yz = t[4], zx = t[5];
    const double minor2 = xx * yy - xy * xy;
    const double det =
        xx * (yy * zz - yz * yz) - xy * (xy * zz - yz * zx) + zx * (xy * yz - yy * zx);
    return xx > 0 && minor2 > 0 && det > 0;
}

std::string kilometres(double metres) {
    return decimalText(metres / 1000.0, 1, ',') + " km";
}

std::string wholeText(double value) {
    return wholeNumberText(std::round(value));
}

struct Line {
    std::size_t number = 0;
    std::string_view text; // the whole row
    std::string_view type;
    std::vector<std::string_view> fields;
    bool closed = false;
    bool has(std::size_t n) const { return n <= fields.size(); }
    bool is(char rowType) const { return type.size() == 1 && type[0] == rowType; }
    // The given field (1-based), empty when the row has fewer.
    std::string_view field(std::size_t n) const {
        return n >= 1 && n <= fields.size() ? fields[n - 1] : std::string_view();
    }
};

// Reads the row that starts at `start` into `line`, reusing its list of fields, and tells
// whether it is printable ASCII only: the row ends at CR LF, CR or LF, as the program reads
// lines; a "|" at its end closes it rather than starting an empty field. One pass over the
// bytes, eight at a time while none of them is a bar, a line end or outside printable ASCII:
// fields are short, and a search started for each would cost more. Where the next row starts.
std::size_t readLine(std::string_view text, std::size_t start, Line &line, bool &printable) {
    const char *const data = text.data();
    const std::size_t size = text.size();
    line.fields.clear();
    printable = true;
    bool typeCut = false;
    std::size_t from = start;
    auto cutAt = [&](std::size_t bar) {
        if (typeCut)
            line.fields.emplace_back(data + from, bar - from);
        else
            line.type = std::string_view(data + start, bar - start);
        typeCut = true;
        from = bar + 1;
    };
    auto isSpecial = [](char c) {
        return c == '|' || static_cast<unsigned char>(c - 0x20) >= 0x5F;
    };
    std::size_t at = start, end = size, next = size;
    while (true) {
        for (; at + 8 <= size; at += 8) {
            const std::uint64_t word = words::load(data + at);
            // From the lowest byte flagged on, the bytes are looked at one by one.
            const std::uint64_t special =
                words::bytesEqualTo(word, '|') | words::outsidePrintableAscii(word);
            if (special != 0) {
                at += words::firstByte(special);
                break;
            }
        }
        while (at < size && !isSpecial(data[at]))
            ++at;
        if (at == size)
            break;
        const char c = data[at];
        if (c == '|') {
            cutAt(at++);
        } else if (c == '\r' || c == '\n') {
            end = at;
            next = c == '\r' && at + 1 < size && data[at + 1] == '\n' ? at + 2 : at + 1;
            break;
        } else {
            printable = false;
            ++at;
        }
    }
    line.text = std::string_view(data + start, end - start);
    line.closed = line.text.ends_with('|');
    // The bar that closes the row has cut its last field already.
    if (!line.closed) {
        if (typeCut)
            line.fields.emplace_back(data + from, end - from);
        else
            line.type = line.text;
    }
    return next;
}

// Where the last line certain to be whole ends: a CR at the very end may still be followed
// by the LF of its CR LF.
std::size_t wholeLinesEnd(std::string_view text) {
    std::size_t end = text.find_last_of("\r\n");
    if (end != std::string_view::npos && text[end] == '\r' && end + 1 == text.size())
        end = end == 0 ? std::string_view::npos : text.find_last_of("\r\n", end - 1);
    return end == std::string_view::npos ? 0 : end + 1;
}

// What the variance-covariance field of a row 2 holds.
enum class Terms { Absent, Zero, PositiveDefinite, Other };

// What a row tells by itself, read apart from the checks that follow the rows before it, so
// that a large booklet's rows are read on one thread while another checks those before.
struct ReadRow {
    Line line;
    bool printable = true; // printable ASCII only
    // Field 2 holds a list, as the three coordinates of a GNSS row 1 or 2 are written.
    bool gnss = false;
    // Field 2 of a row 1 or 2 with three coordinates, when it is three numbers.
    std::optional<Xyz> xyz;
    Terms terms = Terms::Absent;
    // What the point's name in a row 1 or 2 is like: its hash, for the check of repeated
    // names, and its characters.
    std::uint64_t nameHash = 0;
    bool pfName = false;       // starts with "PF"
    bool fiducialName = false; // laid out as PFnn/ffff/cccc
    bool plainName = true;     // A-Z, 0-9 and /-_. only
};

Terms termsOf(std::string_view field) {
    // The booklet's own way of writing a vector without its matrix, read at a glance.
    if (field == "0,0,0,0,0,0")
        return Terms::Zero;
    std::optional<std::array<double, 6>> terms = numberList<6>(field);
    if (terms && std::all_of(terms->begin(), terms->end(), [](double t) { return t == 0; }))
        return Terms::Zero;
    return terms && isPositiveDefinite(*terms) ? Terms::PositiveDefinite : Terms::Other;
}

// Reads the lines of the text into `rows` (grown as needed, their room kept for the next
// text) and tells how many there were. Lines are not numbered yet.
std::size_t readRows(std::string_view text, std::vector<ReadRow> &rows) {
    std::size_t count = 0;
    for (std::size_t start = 0; start < text.size(); ++count) {
        if (count == rows.size())
            rows.emplace_back();
        ReadRow &row = rows[count];
        start = readLine(text, start, row.line, row.printable);
        const Line &line = row.line;
        // Searched by a plain loop: the field is short.
        row.gnss =
            line.fields.size() >= 2 &&
            std::find(line.fields[1].begin(), line.fields[1].end(), ',') != line.fields[1].end();
        row.xyz.reset();
        row.terms = Terms::Absent;
        if (!line.is('1') && !line.is('2'))
            continue;
        const std::string_view name = line.field(1);
        row.nameHash = NameLines::hash(name);
        row.pfName = name.size() >= 2 && name[0] == 'P' && name[1] == 'F';
        row.fiducialName = row.pfName && isFiducialPointName(name);
        row.plainName =
            std::all_of(name.begin(), name.end(), [](char c) { return isPlainNameCharacter(c); });
        if (row.gnss)
            if (std::optional<std::array<double, 3>> values = numberList<3>(line.fields[1]))
                row.xyz = Xyz{(*values)[0], (*values)[1], (*values)[2]};
        if (line.is('2') && line.fields.size() >= 3)
            row.terms = termsOf(line.fields[2]);
    }
    return count;
}

} // namespace

class BookletCheck::Checker {
public:
    Checker(Tabella_comuni &table, std::chrono::year_month_day today, bool wholeBooklet)
        : table_(table), today_(today), wholeBooklet_(wholeBooklet) {}

    // Room for this many names, so that a large booklet's are not rehashed as they come.
    void expectLines(std::size_t lines) { names_.reserve(lines); }

    // Checks the lines of the text, which follow those checked before.
    void checkLines(std::string_view text) {
        std::vector<ReadRow> rows;
        checkRead(std::span(rows.data(), readRows(text, rows)));
    }

    // Checks rows read, which follow those checked before.
    void checkRead(std::span<ReadRow> rows) {
        const std::size_t count = rows.size();
        // The places of a few rows' names are looked up before any is checked: in a large
        // booklet each look would otherwise wait for memory in turn.
        for (std::size_t from = 0; from < count; from += kRowsAtOnce) {
            const std::size_t to = std::min(count, from + kRowsAtOnce);
            for (std::size_t i = from; i < to; ++i) {
                rows[i].line.number = ++lineCount_;
                if (rows[i].line.is('1') || rows[i].line.is('2'))
                    names_.prepare(rows[i].nameHash);
            }
            for (std::size_t i = from; i < to; ++i)
                checkLine(rows[i]);
        }
    }

    std::vector<Finding> finish(std::optional<Xyz> base) {
        if (!base)
            base = firstBase_;
        if (meanEast_ && base)
            checkMeanEast(*meanEast_, *base);
        if (wholeBooklet_)
            checkWholeBooklet();
        if (!accentedLines_.empty())
            avviso(0, {}, 0,
                   std::to_string(accentedLines_.size()) +
                       (accentedLines_.size() == 1 ? " riga contiene" : " righe contengono") +
                       " lettere accentate (linea " + std::to_string(accentedLines_.front()) +
                       (accentedLines_.size() > 1 ? " e seguenti" : "") +
                       "), che hanno dato problemi dopo la presentazione: scriverle senza "
                       "accento (A' per À).");
        if (!oddNames_.empty()) {
            std::string shown;
            for (std::size_t i = 0; i < std::min(oddNames_.size(), kNamesShown); ++i)
                shown += (i == 0 ? "" : ", ") + inQuotes(oddNames_[i]);
            if (oddNames_.size() > kNamesShown)
                shown += " e altri " + std::to_string(oddNames_.size() - kNamesShown);
            avviso(0, {}, 0,
                   "nomi di punti con caratteri diversi da A-Z, 0-9 e /-_. (" + shown +
                       "): usare solo questi caratteri.");
        }
        for (const auto &[type, unchecked] : uncheckedTypes_)
            avviso(unchecked.first, type, 0,
                   unchecked.description + " non controllate (" + std::to_string(unchecked.count) +
                       " in tutto, la prima qui).");
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding &a, const Finding &b) {
                             return a.line != b.line ? a.line < b.line : a.field < b.field;
                         });
        return std::move(findings_);
    }

private:
    struct Unchecked {
        std::size_t first = 0; // the line of the first such row
        std::string description;
        std::size_t count = 0;
    };
    struct MeanEast {
        std::size_t line;
        double east;
    };
    struct Base {
        std::string name;
    };

    void add(Severity severity, std::size_t line, std::string_view type, std::size_t field,
             std::string message) {
        findings_.push_back({severity, line, std::string(type), field, std::move(message)});
    }
    void errore(const Line &line, std::size_t field, std::string message) {
        add(Severity::Errore, line.number, line.type, field, std::move(message));
    }
    void avviso(const Line &line, std::size_t field, std::string message) {
        add(Severity::Avviso, line.number, line.type, field, std::move(message));
    }
    void avviso(std::size_t line, std::string_view type, std::size_t field, std::string message) {
        add(Severity::Avviso, line, type, field, std::move(message));
    }
    void bookletErrore(std::string message) { add(Severity::Errore, 0, {}, 0, std::move(message)); }

    void noteUnchecked(const Line &line, std::string description) {
        auto [entry, added] = uncheckedTypes_.try_emplace(std::string(line.type));
        if (added) {
            entry->second.first = line.number;
            entry->second.description = std::move(description);
        }
        ++entry->second.count;
    }

    void checkLine(const ReadRow &row) {
        const Line &line = row.line;
        if (!line.closed)
            errore(line, 0, "la riga non termina con \"|\": aggiungere il separatore finale.");
        if (!row.printable)
            checkCharacters(line);
        checkPlace(line);

        if ((line.is('1') || line.is('2')) && !row.gnss) {
            noteUnchecked(line, "righe " + std::string(line.type) +
                                    " senza tre coordinate (stazione totale)");
            return;
        }
        auto rule = std::find_if(kFieldsNeeded.begin(), kFieldsNeeded.end(),
                                 [&line](const RowRule &r) { return line.is(r.type); });
        if (rule == kFieldsNeeded.end()) {
            noteUnchecked(line, "righe di tipo " + inQuotes(line.type));
            return;
        }
        if (line.fields.size() < rule->fields)
            errore(line, 0,
                   "la riga ha " + std::to_string(line.fields.size()) + " campi, ne servono " +
                       std::to_string(rule->fields) + ": completarla.");
        if (line.is('0'))
            checkRow0(line);
        else if (line.is('9'))
            checkRow9(line);
        else if (line.is('1'))
            checkRow1(row);
        else if (line.is('2'))
            checkRow2(row);
    }

    // For a row that is not printable ASCII only.
    void checkCharacters(const Line &line) {
        bool accented = false;
        for (std::size_t n = 0; n <= line.fields.size(); ++n) {
            std::string_view text = n == 0 ? line.type : line.fields[n - 1];
            std::optional<unsigned char> control;
            for (char c : text) {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7F) {
                    if (!control)
                        control = byte;
                } else if (byte >= 0x80) {
                    accented = accented || isAccentedLetter(byte);
                }
            }
            if (control)
                errore(line, n,
                       "il campo contiene un carattere di controllo (codice " +
                           std::to_string(*control) + "), che Pregeo non legge: toglierlo.");
        }
        if (accented)
            accentedLines_.push_back(line.number);
    }

    // Rows 0 and 9 open the booklet; a vector needs a base before it.
    void checkPlace(const Line &line) {
        if (line.is('0')) {
            if (seenRow0_)
                errore(line, 0, "il libretto ha più di una riga 0: tenere solo la prima.");
            else if (line.number != 1)
                errore(line, 0, "la riga 0 deve essere la prima del libretto.");
            seenRow0_ = true;
        }
        if (line.number == 2 && !line.is('9'))
            errore(line, 0, "la seconda riga del libretto deve essere la riga 9.");
        if (line.is('6'))
            seenRow6_ = true;
        if (line.is('2') && !base_)
            errore(line, 0,
                   "riga 2 prima di ogni riga 1: ogni vettore deve seguire la riga 1 della sua "
                   "base.");
    }

    void checkRow0(const Line &line) {
        if (line.has(1))
            checkDate(line);
        if (line.has(3))
            checkMunicipality(line);
        const std::string_view sheet = line.field(4);
        auto sheetEnd = [](char c) { return isDigit(c) || isCapital(c); };
        if (line.has(4) && (sheet.size() != 4 || !sheetEnd(sheet[0]) || !isDigit(sheet[1]) ||
                            !isDigit(sheet[2]) || !sheetEnd(sheet[3])))
            avviso(line, 4,
                   "il foglio " + inQuotes(sheet) +
                       " non ha la forma attesa: tre caratteri del foglio e uno dell'allegato "
                       "(come 0012 per il foglio 1, allegato 2).");

        const std::string_view parcels = line.field(5);
        if (parcels.size() > kParcelsLength)
            errore(line, 5,
                   "i mappali occupano " + std::to_string(parcels.size()) +
                       " caratteri, più dei 39 ammessi: abbreviarli.");
        if (parcels.find('.') != std::string_view::npos)
            avviso(line, 5,
                   "i mappali contengono \".\": vanno separati da virgole (101,102), "
                   "controllarli.");

        const std::string_view title = line.field(7);
        if (line.has(7) && std::find(kTitoliProfessionali.begin(), kTitoliProfessionali.end(),
                                     title) == kTitoliProfessionali.end())
            avviso(line, 7,
                   "il titolo " + inQuotes(title) +
                       " non è nell'elenco dei titoli professionali: sceglierlo dall'elenco.");
        const std::string_view province = line.field(8);
        const std::vector<std::string> provinces = table_.Elenco_province();
        if (line.has(8) &&
            std::find(provinces.begin(), provinces.end(), province) == provinces.end())
            avviso(line, 8,
                   "la provincia di iscrizione " + inQuotes(province) +
                       " non è nell'elenco delle province: sceglierla dall'elenco.");
    }

    void checkDate(const Line &line) {
        std::chrono::year_month_day day;
        const std::string_view date = line.field(1);
        if (!isCalendarDay(date, day))
            errore(line, 1,
                   "la data " + inQuotes(date) +
                       " non è un giorno del calendario scritto GGMMAAAA: correggerla.");
        else if (day > today_)
            avviso(line, 1, "la data " + inQuotes(date) + " è successiva a oggi: controllarla.");
    }

    void checkMunicipality(const Line &line) {
        const std::string_view code = line.field(3);
        if (code.size() != 4 || !isCapital(code[0]) ||
            !std::all_of(code.begin() + 1, code.end(), isDigit))
            errore(line, 3,
                   "il codice del comune " + inQuotes(code) +
                       " non è una lettera seguita da tre cifre (come A074): sceglierlo "
                       "dall'elenco dei comuni.");
        else if (!table_.Riga_del_comune(code))
            avviso(line, 3,
                   "il codice del comune " + inQuotes(code) +
                       " non è nella tabella dei comuni: controllarlo.");
    }

    void checkRow9(const Line &line) {
        constexpr std::array<std::pair<std::size_t, std::string_view>, 4> kNumbers = {
            {{1, "la quota"},
             {2, "la precisione lineare"},
             {3, "la precisione angolare"},
             {4, "l'est medio"}}};
        for (const auto &[field, name] : kNumbers)
            if (line.has(field) && !plainNumber(line.field(field)))
                errore(line, field,
                       std::string(name) + " " + inQuotes(line.field(field)) +
                           " non è un numero: correggerlo.");
        if (std::optional<double> east = plainNumber(line.field(4)))
            meanEast_ = MeanEast{line.number, *east};

        const std::string_view type = line.field(6);
        if (line.has(6) &&
            std::none_of(kTipiElaborato.begin(), kTipiElaborato.end(),
                         [type](std::string_view entry) { return lastChars(entry, 2) == type; }))
            avviso(line, 6,
                   "il tipo di elaborato " + inQuotes(type) +
                       " non è uno dei cinque codici (FR, MC, MA, 26, PA): sceglierlo "
                       "dall'elenco.");
    }

    std::optional<Xyz> coordinates(const ReadRow &row, std::string_view what) {
        if (!row.xyz)
            errore(row.line, 2,
                   std::string(what) + " " + inQuotes(row.line.field(2)) +
                       " non sono tre numeri separati da virgole: correggerli.");
        return row.xyz;
    }

    void checkRow1(const ReadRow &row) {
        const Line &line = row.line;
        checkName(row);
        base_ = Base{std::string(line.field(1))};
        if (std::optional<Xyz> xyz = coordinates(row, "le coordinate")) {
            if (!firstBase_)
                firstBase_ = *xyz;
            const double radius = std::sqrt(xyz->X * xyz->X + xyz->Y * xyz->Y + xyz->Z * xyz->Z);
            if (radius < kNearestRadius || radius > kFarthestRadius)
                avviso(
                    line, 2,
                    "la base dista " + kilometres(radius) +
                        " dal centro della Terra, mentre ogni punto d'Italia ne dista tra 6350 e "
                        "6390 km: "
                        "controllare le coordinate.");
        }
    }

    void checkRow2(const ReadRow &row) {
        const Line &line = row.line;
        checkName(row);
        if (base_ && !line.field(1).empty() && line.field(1) == base_->name)
            avviso(line, 1,
                   "il punto ha lo stesso nome della sua base " + inQuotes(base_->name) +
                       ": rinominarlo.");
        if (row.pfName)
            ++fiducialRows_;
        if (std::optional<Xyz> vector = coordinates(row, "le componenti del vettore")) {
            const double length =
                std::sqrt(vector->X * vector->X + vector->Y * vector->Y + vector->Z * vector->Z);
            if (length > kLongestVector)
                avviso(line, 2,
                       "il vettore è lungo " + kilometres(length) +
                           ", più di 50 km: controllare la base e il punto.");
        }
        if (row.terms == Terms::Zero)
            ++zeroMatrices_;
        else if (row.terms == Terms::Other)
            avviso(line, 3,
                   "i sei termini di varianza-covarianza non formano una matrice definita "
                   "positiva: controllare l'esportazione del vettore.");
    }

    void checkName(const ReadRow &row) {
        const Line &line = row.line;
        const std::string_view name = line.field(1);
        if (name.empty()) {
            errore(line, 1, "il nome del punto è vuoto: dargli un nome.");
            return;
        }
        const NameLines::Seen seen = names_.see(name, row.nameHash, line.number);
        const bool ownBase = line.is('2') && base_ && name == base_->name;
        if (!seen.isFirst && !ownBase)
            avviso(line, 1,
                   "il nome " + inQuotes(name) + " compare già alla linea " +
                       std::to_string(seen.firstLine) + ": i nomi devono essere unici.");
        if (row.pfName && !row.fiducialName)
            avviso(line, 1,
                   "il nome " + inQuotes(name) +
                       " comincia con PF ma non ha la forma PFnn/ffff/cccc dei punti "
                       "fiduciali.");
        if (seen.isFirst && !row.plainName)
            oddNames_.emplace_back(name);
    }

    void checkMeanEast(const MeanEast &mean, const Xyz &base) {
        const Geodetic where = geodeticFromGeocentric({base.X, base.Y, base.Z});
        const double longitude = where.longitudeDegrees;
        std::optional<GaussBoagaZone> eastZone;
        if (mean.east >= 1000000 && mean.east < 2000000)
            eastZone = GaussBoagaZone::Ovest;
        else if (mean.east >= 2000000 && mean.east < 3000000)
            eastZone = GaussBoagaZone::Est;
        const bool seam = longitude >= kSeamWest && longitude <= kSeamEast;
        const Line line{mean.line, {}, "9", {}, true};
        if (!eastZone || (!seam && *eastZone != gaussBoagaZoneOf(longitude))) {
            const char *zone =
                gaussBoagaZoneOf(longitude) == GaussBoagaZone::Ovest ? "Ovest" : "Est";
            avviso(line, 4,
                   "l'est medio " + wholeText(mean.east) +
                       " non è nella zona Gauss-Boaga della base (" + zone + ", longitudine " +
                       decimalText(longitude, 2, ',') + "° E): controllare l'est medio.");
            return;
        }
        const double baseEast =
            gaussBoagaFromGeodetic(where.latitudeDegrees, longitude, *eastZone).east;
        if (std::abs(mean.east - baseEast) > kEastTolerance)
            avviso(line, 4,
                   "l'est medio " + wholeText(mean.east) + " dista " +
                       kilometres(std::abs(mean.east - baseEast)) + " dall'est della base (" +
                       wholeText(baseEast) + "), più di 20 km: controllare l'est medio.");
    }

    void checkWholeBooklet() {
        if (!seenRow0_)
            bookletErrore("manca la riga 0: il libretto deve cominciare con la riga 0.");
        if (lineCount_ < 2)
            bookletErrore("manca la riga 9: deve essere la seconda riga del libretto.");
        if (!seenRow6_)
            bookletErrore("manca la riga 6 (data, ore e metodo del rilievo): aggiungerla.");
        if (zeroMatrices_ > 0)
            avviso(0, {}, 0,
                   std::to_string(zeroMatrices_) +
                       (zeroMatrices_ == 1 ? " riga 2 ha" : " righe 2 hanno") +
                       " i sei termini di varianza-covarianza tutti a zero: alcuni uffici li "
                       "rifiutano come matrice \"non definita positiva\" (Pregeo 10.6.4 e "
                       "successivi); esportare i vettori con la loro matrice.");
        if (fiducialRows_ < kMinimumFiducialPoints)
            avviso(0, {}, 0,
                   "il rilievo è collegato a " + std::to_string(fiducialRows_) +
                       " punti fiduciali: ne servono almeno tre.");
    }

    Tabella_comuni &table_;
    const std::chrono::year_month_day today_;
    const bool wholeBooklet_;
    std::vector<Finding> findings_;
    std::size_t lineCount_ = 0;
    bool seenRow0_ = false, seenRow6_ = false;
    std::optional<Base> base_;
    std::optional<Xyz> firstBase_;
    std::optional<MeanEast> meanEast_;
    NameLines names_;
    std::vector<std::string> oddNames_;
    std::vector<std::size_t> accentedLines_;
    std::size_t zeroMatrices_ = 0, fiducialRows_ = 0;
    std::map<std::string, Unchecked> uncheckedTypes_;
};

// The rows of the booklet's pieces, read on a thread of their own a few pieces ahead of the
// check, so that neither the reading nor the check waits for the other at every piece; when
// the check would wait, its own thread reads the newest piece not begun yet. The thread lasts
// as long as the check: a booklet has hundreds of pieces, and starting a thread for each would
// cost more than its reading.
class BookletCheck::Reading {
public:
    // The checking thread reads every piece itself when no thread could be started.
    Reading() {
        worker_.start([this] { work(); });
    }

    bool full() const { return queued_ - checked_ == pieces_.size(); }
    bool empty() const { return queued_ == checked_; }

    // Queues the whole lines at the front of `text`, which keeps the rest; there must be room.
    void queue(std::string &text, std::size_t wholeLines) {
        Piece &piece = pieces_[queued_ % pieces_.size()];
        // Swapped rather than copied: what is left of the text is short.
        piece.text.swap(text);
        text.assign(piece.text, wholeLines);
        piece.text.resize(wholeLines);
        {
            const std::lock_guard lock(worker_.mutex);
            piece.state = State::Queued;
            ++queued_;
        }
        worker_.changed.notify_all();
    }

    // The rows of the oldest piece not checked yet, once they are read; nothing when they are
    // not read yet and `wait` is false. There must be such a piece. Whatever the reading
    // threw is thrown here.
    std::optional<std::span<ReadRow>> oldest(bool wait) {
        std::unique_lock lock(worker_.mutex);
        Piece &piece = pieces_[checked_ % pieces_.size()];
        while (wait && !failure_ && piece.state != State::Read) {
            if (Piece *unread = newestQueued())
                read(*unread, lock);
            else
                worker_.changed.wait(lock);
        }
        if (std::exception_ptr failure = std::exchange(failure_, nullptr))
            std::rethrow_exception(failure);
        if (piece.state != State::Read)
            return std::nullopt;
        return std::span(piece.rows.data(), piece.count);
    }
    // The oldest piece is checked: its room takes another.
    void checked() {
        const std::lock_guard lock(worker_.mutex);
        ++checked_;
    }

private:
    enum class State { Queued, Reading, Read };
    struct Piece {
        std::string text;
        std::vector<ReadRow> rows;
        std::size_t count = 0;
        State state = State::Read;
    };

    // Reads the piece's rows without the lock; whatever the reading throws is kept for the
    // check.
    void read(Piece &piece, std::unique_lock<std::mutex> &lock) {
        piece.state = State::Reading;
        lock.unlock();
        std::exception_ptr failure;
        try {
            piece.count = readRows(piece.text, piece.rows);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        piece.state = State::Read;
        if (failure)
            failure_ = failure;
        worker_.changed.notify_all();
    }

    // Not begun yet, among the pieces queued and not checked.
    Piece *oldestQueued() {
        for (std::size_t n = checked_; n < queued_; ++n)
            if (pieces_[n % pieces_.size()].state == State::Queued)
                return &pieces_[n % pieces_.size()];
        return nullptr;
    }
    Piece *newestQueued() {
        for (std::size_t n = queued_; n > checked_; --n)
            if (pieces_[(n - 1) % pieces_.size()].state == State::Queued)
                return &pieces_[(n - 1) % pieces_.size()];
        return nullptr;
    }

    void work() {
        std::unique_lock lock(worker_.mutex);
        while (true) {
            Piece *next = nullptr;
            worker_.changed.wait(
                lock, [&] { return worker_.stopping || (next = oldestQueued()) != nullptr; });
            if (worker_.stopping)
                return;
            read(*next, lock);
        }
    }

    // Each piece's room is taken in turn. Only the checking thread changes `queued_` and
    // `checked_`, under the lock as the pieces' states are, and reads them without it.
    std::array<Piece, 4> pieces_;
    std::size_t queued_ = 0, checked_ = 0;
    std::exception_ptr failure_;
    // Last, so that it stops before the pieces go.
    WorkerThread worker_;
};

BookletCheck::BookletCheck(Tabella_comuni &table, std::chrono::year_month_day today,
                           std::size_t expectedLines)
    : checker_(std::make_unique<Checker>(table, today, true)),
      reading_(std::make_unique<Reading>()) {
    checker_->expectLines(expectedLines);
}

BookletCheck::~BookletCheck() = default;

void BookletCheck::add(std::string_view piece) {
    pending_ += piece;
    const std::size_t end = wholeLinesEnd(pending_);
    if (end == 0)
        return;
    queuePending(end);
    // What is read already is checked while the next pieces come.
    while (!reading_->empty() && checkOldest(false)) {
    }
}

std::vector<Finding> BookletCheck::findings() {
    if (!pending_.empty())
        queuePending(pending_.size());
    while (!reading_->empty())
        checkOldest(true);
    return checker_->finish(std::nullopt);
}

void BookletCheck::queuePending(std::size_t wholeLines) {
    while (reading_->full())
        checkOldest(true);
    reading_->queue(pending_, wholeLines);
}

bool BookletCheck::checkOldest(bool wait) {
    const std::optional<std::span<ReadRow>> rows = reading_->oldest(wait);
    if (!rows)
        return false;
    checker_->checkRead(*rows);
    reading_->checked();
    return true;
}

std::string findingText(const Finding &finding) {
    std::string text = finding.severity == Severity::Errore ? "errore: " : "avviso: ";
    if (finding.line == 0)
        text += "libretto";
    else
        text += "linea " + std::to_string(finding.line) + " (riga " +
                utf8FromCp1252(finding.rowType) + ")";
    if (finding.field != 0)
        text += ", campo " + std::to_string(finding.field);
    return text + ": " + finding.message;
}

std::string findingLines(const std::vector<Finding> &findings, std::size_t limit) {
    std::string lines;
    for (std::size_t i = 0; i < std::min(findings.size(), limit); ++i) {
        if (i > 0)
            lines += '\n';
        lines += findingText(findings[i]);
    }
    if (findings.size() > limit)
        lines += "\ne altri " + std::to_string(findings.size() - limit);
    return lines;
}

bool hasErrore(const std::vector<Finding> &findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding &f) { return f.severity == Severity::Errore; });
}

std::vector<Finding> Controlla_libretto(std::string_view booklet, Tabella_comuni &table,
                                        std::chrono::year_month_day today) {
    // In pieces, so that a large booklet's rows are read while those before are checked.
    constexpr std::size_t kPieceSize = 256 * 1024;
    BookletCheck check(table, today, lineCount(booklet));
    for (std::size_t from = 0; from < booklet.size(); from += kPieceSize)
        check.add(booklet.substr(from, kPieceSize));
    return check.findings();
}

std::vector<Finding> Controlla_righe_0_9(const HeaderData &header, const Xyz &master,
                                         Tabella_comuni &table, std::chrono::year_month_day today) {
    std::string rows = row0(header) + row9(header);
    toBookletCharacters(rows);
    BookletCheck::Checker checker(table, today, false);
    checker.checkLines(rows);
    return checker.finish(master);
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
