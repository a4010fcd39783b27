#include "booklet/logic/controllo_libretto.h"

#include "booklet/logic/booklet_rules.h"
#include "booklet/logic/name_lines.h"
#include "core/cp1252.h"
#include "core/geodesy.h"
#include "core/numbers.h"
#include "core/pregeo_row.h"
#include "core/text.h"
#include "core/tuning.h"
#include "header/logic/header_rules.h"
#include "job/point_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <set>

namespace ferolan {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMinimumFiducialPoints = 3;
constexpr std::size_t kNamesShown = 5;
constexpr std::size_t kBaseFields = 3, kSessionFields = 5, kVectorFields = 5;
constexpr double kLongestVector = 50000.0;
// Pregeo refuses a longer vector without its variance-covariance matrix.
constexpr double kLongestVectorWithoutMatrix = 5000.0;
// A base farther than this from every point is a permanent station, not a master of the
// survey's own.
constexpr double kFarthestRtkBase = 10000.0;
// Every point of Italy lies this far from the Earth's centre, and within these bounds.
constexpr double kNearestRadius = 6350000.0, kFarthestRadius = 6390000.0;
constexpr double kSouthernmost = 35, kNorthernmost = 48, kWesternmost = 6, kEasternmost = 19;
constexpr std::string_view kNetworkStation = "10000", kVrsMark = "[VRS]";
constexpr std::array<std::string_view, 5> kMethods = {"RTK", "NRTK", "REALVRS", "STATICO",
                                                      "STATICO/BASELINE"};

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
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

std::optional<Xyz> xyzOf(std::string_view field) {
    if (std::optional<std::array<double, 3>> values = numberList<3>(field))
        return Xyz{(*values)[0], (*values)[1], (*values)[2]};
    return std::nullopt;
}

double lengthOf(const Xyz &v) {
    return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
}

// Variances of X, Y, Z, then covariances XY, YZ, ZX (Sylvester's criterion).
bool isPositiveDefinite(const std::array<double, 6> &t) {
    const double xx = t[0], yy = t[1], zz = t[2], xy = t[3], yz = t[4], zx = t[5];
    const double minor2 = xx * yy - xy * xy;
    const double det =
        xx * (yy * zz - yz * yz) - xy * (xy * zz - yz * zx) + zx * (xy * yz - yy * zx);
    return xx > 0 && minor2 > 0 && det > 0;
}

// What the variance-covariance field of a row 2 holds.
enum class Terms { Absent, Zero, PositiveDefinite, Other };

Terms termsOf(const PregeoRow &row) {
    if (!row.has(3))
        return Terms::Absent;
    // The booklet's own way of writing a vector without its matrix, told at a glance.
    if (row.field(3) == "0,0,0,0,0,0")
        return Terms::Zero;
    std::optional<std::array<double, 6>> terms = numberList<6>(row.field(3));
    if (terms && std::all_of(terms->begin(), terms->end(), [](double t) { return t == 0; }))
        return Terms::Zero;
    return terms && isPositiveDefinite(*terms) ? Terms::PositiveDefinite : Terms::Other;
}

// A session's start or end, DDMMYYYY-hh:mm, as minutes that order them; nothing when the
// text is not a real day and time.
std::optional<long long> sessionMinutes(std::string_view text) {
    if (text.size() != 14 || text[8] != '-' || text[11] != ':')
        return std::nullopt;
    auto number = [text](std::size_t from, std::size_t count) -> std::optional<unsigned> {
        unsigned value = 0;
        const char *first = text.data() + from, *last = first + count;
        if (!std::all_of(first, last, isDigit))
            return std::nullopt;
        std::from_chars(first, last, value);
        return value;
    };
    const auto dd = number(0, 2), mm = number(2, 2), yyyy = number(4, 4), hh = number(9, 2),
               mi = number(12, 2);
    if (!dd || !mm || !yyyy || !hh || !mi || *hh > 23 || *mi > 59)
        return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year{static_cast<int>(*yyyy)},
                                          std::chrono::month{*mm}, std::chrono::day{*dd}};
    if (!day.ok())
        return std::nullopt;
    const long long days = std::chrono::sys_days(day).time_since_epoch().count();
    return days * 24 * 60 + *hh * 60 + *mi;
}

} // namespace

class BookletCheck::Checker {
public:
    Checker(Tabella_comuni &table, std::chrono::year_month_day today)
        : table_(table), today_(today) {}

    void expectLines(std::size_t lines) { names_.reserve(lines); }

    void byteOrderMark() { findings_.push_back(findingOf(rule::kByteOrderMark, 1, {}, 0)); }

    // Checks the lines of the text, which follow those checked before.
    void checkLines(std::string_view text) {
        // A few rows are read and the places of their names asked for before any is checked:
        // in a large booklet each look for a name would otherwise wait for memory in turn.
        for (std::size_t start = 0; start < text.size();) {
            std::size_t count = 0;
            for (; count < rows_.size() && start < text.size(); ++count) {
                start = readPregeoRow(text, start, rows_[count]);
                names_.prepare(rows_[count].field(1));
            }
            for (std::size_t i = 0; i < count; ++i) {
                rows_[i].number = ++lineCount_;
                checkRow(rows_[i]);
            }
        }
    }

    std::vector<Finding> finish() {
        if (expectingSession_)
            add(rule::kNoSession, base_->line, "1", 0);
        closeBase();
        if (meanEast_)
            checkMeanEast(meanEast_->first, meanEast_->second, centroid(), findings_);
        if (!seenRow0_)
            add(rule::kNoRow0, 0, {}, 0);
        if (lineCount_ < 2)
            add(rule::kNoRow9, 0, {}, 0);
        if (zeroMatrices_ > 0)
            add(rule::kZeroMatrices, 0, {}, 0,
                {std::to_string(zeroMatrices_) +
                 (zeroMatrices_ == 1 ? " riga 2 ha" : " righe 2 hanno")});
        if (fiducialPoints_.size() < kMinimumFiducialPoints)
            add(rule::kFewFiducialPoints, 0, {}, 0, {std::to_string(fiducialPoints_.size())});
        characters_.finish(findings_);
        if (!oddNames_.empty()) {
            std::string shown;
            for (std::size_t i = 0; i < std::min(oddNames_.size(), kNamesShown); ++i)
                shown += (i == 0 ? "" : ", ") + inQuotes(oddNames_[i]);
            if (oddNames_.size() > kNamesShown)
                shown += " e altri " + std::to_string(oddNames_.size() - kNamesShown);
            add(rule::kOddNames, 0, {}, 0, {shown});
        }
        for (const auto &[type, unchecked] : uncheckedTypes_)
            add(rule::kUnchecked, unchecked.first, type, 0,
                {unchecked.description, std::to_string(unchecked.count)});
        sortFindings(findings_);
        return std::move(findings_);
    }

private:
    struct Unchecked {
        std::size_t first = 0; // the line of the first such row
        std::string description;
        std::size_t count = 0;
    };
    // A row 1 and what the rows after it tell about it, until the next row 1.
    struct Base {
        std::size_t line = 0;
        std::string name;
        bool gnss = false;
        std::optional<Xyz> xyz;
        std::size_t sessionLine = 0; // 0 while it has no session row
        std::string method;          // the session's, in capitals
        double nearestPoint = std::numeric_limits<double>::infinity();
        std::size_t firstVector = 0;
        std::vector<std::size_t> vrsLines;
    };

    void add(const CheckRule &rule, std::size_t line, std::string_view type, std::size_t field,
             std::initializer_list<std::string_view> arguments = {}) {
        findings_.push_back(findingOf(rule, line, type, field, arguments));
    }
    void add(const CheckRule &rule, const PregeoRow &row, std::size_t field,
             std::initializer_list<std::string_view> arguments = {}) {
        add(rule, row.number, row.type, field, arguments);
    }

    void noteUnchecked(const PregeoRow &row, std::string description) {
        auto [entry, added] = uncheckedTypes_.try_emplace(std::string(row.type));
        if (added) {
            entry->second.first = row.number;
            entry->second.description = std::move(description);
        }
        ++entry->second.count;
    }

    void checkRow(const PregeoRow &row) {
        if (row.blank()) {
            add(rule::kBlankLine, row.number, {}, 0);
            return;
        }
        if (!row.closed)
            add(rule::kNotClosed, row, 0);
        characters_.check(row, findings_);
        checkPlace(row);
        if (expectingSession_) {
            expectingSession_ = false;
            if (row.is('6')) {
                checkSession(row);
                return;
            }
            add(rule::kNoSession, base_->line, "1", 0);
        }
        if (row.is('0')) {
            checkRow0(row, table_, today_, findings_);
        } else if (row.is('9')) {
            if (std::optional<double> east = checkRow9(row, findings_))
                meanEast_ = {row.number, *east};
        } else if (row.is('1')) {
            checkBase(row);
        } else if (row.is('2')) {
            checkVector(row);
        } else if (!row.is('6')) {
            // Every row 6 but a base's session row is a note: Pregeo's own, or the relazione.
            noteUnchecked(row, "righe di tipo " + inQuotes(row.type));
        }
    }

    // Rows 0 and 9 open the booklet; a vector needs a base before it.
    void checkPlace(const PregeoRow &row) {
        if (row.is('0')) {
            if (seenRow0_)
                add(rule::kRow0Twice, row, 0);
            else if (row.number != 1)
                add(rule::kRow0NotFirst, row, 0);
            seenRow0_ = true;
        }
        if (row.number == 2 && !row.is('9'))
            add(rule::kRow9NotSecond, row, 0);
        if (row.is('2') && !base_)
            add(rule::kVectorBeforeBase, row, 0);
    }

    static bool holdsList(const PregeoRow &row) {
        return row.field(2).find(',') != std::string_view::npos;
    }

    void checkBase(const PregeoRow &row) {
        closeBase();
        base_.emplace();
        base_->line = row.number;
        base_->name = row.field(1);
        base_->gnss = holdsList(row);
        if (!base_->gnss) {
            noteUnchecked(row, "righe 1 senza tre coordinate (stazione totale)");
            return;
        }
        expectingSession_ = true;
        if (row.fields.size() < kBaseFields)
            add(rule::kRow1Fields, row, 0, {std::to_string(row.fields.size())});
        checkName(row);
        base_->xyz = xyzOf(row.field(2));
        if (!base_->xyz) {
            add(rule::kBaseCoordinates, row, 2, {inQuotes(row.field(2))});
            return;
        }
        const Xyz &xyz = *base_->xyz;
        basesSum_ = {basesSum_.X + xyz.X, basesSum_.Y + xyz.Y, basesSum_.Z + xyz.Z};
        ++bases_;
        const double radius = lengthOf(xyz);
        if (radius < kNearestRadius || radius > kFarthestRadius) {
            add(rule::kBaseRadius, row, 2, {kilometres(radius)});
            return;
        }
        const Geodetic where = geodeticFromGeocentric({xyz.X, xyz.Y, xyz.Z});
        if (where.latitudeDegrees < kSouthernmost || where.latitudeDegrees > kNorthernmost ||
            where.longitudeDegrees < kWesternmost || where.longitudeDegrees > kEasternmost)
            add(rule::kBaseOutsideItaly, row, 2,
                {decimalText(where.latitudeDegrees, 1, ','),
                 decimalText(where.longitudeDegrees, 1, ',')});
    }

    void checkSession(const PregeoRow &row) {
        base_->sessionLine = row.number;
        if (row.fields.size() < kSessionFields)
            add(rule::kRow6Fields, row, 0, {std::to_string(row.fields.size())});
        std::optional<long long> start, end;
        for (std::size_t field : {2, 3}) {
            std::optional<long long> &minutes = field == 2 ? start : end;
            if (row.has(field) && !(minutes = sessionMinutes(row.field(field))))
                add(rule::kSessionTime, row, field, {inQuotes(row.field(field))});
        }
        if (start && end && *end < *start)
            add(rule::kSessionOrder, row, 3, {inQuotes(row.field(3)), inQuotes(row.field(2))});
        base_->method = toUpperCp1252(row.field(4));
        if (row.has(4) &&
            std::find(kMethods.begin(), kMethods.end(), base_->method) == kMethods.end())
            add(rule::kSessionMethod, row, 4, {inQuotes(row.field(4))});
    }

    // What the vectors of a base tell about its session's method.
    void closeBase() {
        if (!base_ || !base_->gnss || base_->sessionLine == 0)
            return;
        const Base &base = *base_;
        if (base.method == "RTK" && std::isfinite(base.nearestPoint) &&
            base.nearestPoint > kFarthestRtkBase)
            add(rule::kRtkFromNetwork, base.sessionLine, "6", 4, {kilometres(base.nearestPoint)});
        if (base.method != "NRTK")
            return;
        if (base.name != kNetworkStation)
            add(rule::kNrtkBase, base.line, "1", 1, {inQuotes(base.name)});
        if (base.vrsLines.empty())
            add(rule::kNrtkVrs, base.sessionLine, "6", 4, {"nessun vettore è segnato [VRS]"});
        else if (base.vrsLines.front() != base.firstVector)
            add(rule::kNrtkVrs, base.firstVector, "2", 0,
                {"il primo vettore della base non è segnato [VRS]"});
        for (std::size_t i = 1; i < base.vrsLines.size(); ++i)
            add(rule::kNrtkVrs, base.vrsLines[i], "2", 0, {"un altro vettore è già segnato [VRS]"});
    }

    void checkVector(const PregeoRow &row) {
        const std::string_view name = row.field(1);
        // A total station observes a fiducial point from several stations: each counts once,
        // and only the first few are kept, which are all the rule needs.
        if (fiducialPoints_.size() < kMinimumFiducialPoints && isFiducialPointName(name))
            fiducialPoints_.emplace(name);
        if (!holdsList(row) && !(base_ && base_->gnss)) {
            noteUnchecked(row, "righe 2 senza tre coordinate (stazione totale)");
            return;
        }
        if (row.fields.size() < kVectorFields)
            add(rule::kRow2Fields, row, 0, {std::to_string(row.fields.size())});
        checkName(row);
        if (base_ && !name.empty() && name == base_->name)
            add(rule::kBaseName, row, 1, {inQuotes(base_->name)});
        if (base_) {
            if (base_->firstVector == 0)
                base_->firstVector = row.number;
            if (!row.fields.empty() && row.fields.back().ends_with(kVrsMark))
                base_->vrsLines.push_back(row.number);
        }
        // A row whose vector is not three numbers is no vector at all: its other fields are
        // not looked at.
        const std::optional<Xyz> vector = xyzOf(row.field(2));
        if (!vector) {
            add(rule::kVectorNotNumbers, row, 2, {inQuotes(row.field(2))});
            return;
        }
        const Terms terms = termsOf(row);
        if (terms == Terms::Zero)
            ++zeroMatrices_;
        else if (terms == Terms::Other)
            add(rule::kMatrixNotPositive, row, 3);
        const double length = lengthOf(*vector);
        if (length > kLongestVector)
            add(rule::kLongVector, row, 2, {kilometres(length)});
        if (terms == Terms::Zero && length > kLongestVectorWithoutMatrix)
            add(rule::kNoMatrixBeyond5km, row, 3, {kilometres(length)});
        if (base_ && base_->xyz) {
            base_->nearestPoint = std::min(base_->nearestPoint, length);
            pointsSum_ = {pointsSum_.X + base_->xyz->X + vector->X,
                          pointsSum_.Y + base_->xyz->Y + vector->Y,
                          pointsSum_.Z + base_->xyz->Z + vector->Z};
            ++points_;
        }
    }

    void checkName(const PregeoRow &row) {
        const std::string_view name = row.field(1);
        if (name.empty()) {
            add(rule::kEmptyName, row, 1);
            return;
        }
        const NameLines::Seen seen = names_.see(name, row.number);
        const bool ownBase = row.is('2') && base_ && name == base_->name;
        if (!seen.isFirst && !ownBase)
            add(rule::kRepeatedName, row, 1, {inQuotes(name), std::to_string(seen.firstLine)});
        if (name.starts_with("PF") && !isFiducialPointName(name))
            add(rule::kMalformedPf, row, 1, {inQuotes(name)});
        if (seen.isFirst && !std::all_of(name.begin(), name.end(), isPlainNameCharacter))
            oddNames_.emplace_back(name);
    }

    // Where the survey is: the points the vectors reach, or the bases of a booklet without
    // vectors. A permanent station may stand tens of kilometres away.
    std::optional<Xyz> centroid() const {
        const auto [sum, count] =
            points_ > 0 ? std::pair(pointsSum_, points_) : std::pair(basesSum_, bases_);
        if (count == 0)
            return std::nullopt;
        const double n = static_cast<double>(count);
        return Xyz{sum.X / n, sum.Y / n, sum.Z / n};
    }

    Tabella_comuni &table_;
    const std::chrono::year_month_day today_;
    std::vector<Finding> findings_;
    std::array<PregeoRow, tuning::kRowsLookedUpAtOnce> rows_;
    std::size_t lineCount_ = 0;
    bool seenRow0_ = false;
    std::optional<Base> base_;
    bool expectingSession_ = false;
    std::optional<std::pair<std::size_t, double>> meanEast_; // its line and value
    Xyz pointsSum_, basesSum_;
    std::size_t points_ = 0, bases_ = 0;
    CharacterCheck characters_;
    NameLines names_;
    std::vector<std::string> oddNames_;
    std::size_t zeroMatrices_ = 0;
    std::set<std::string, std::less<>> fiducialPoints_;
    std::map<std::string, Unchecked> uncheckedTypes_;
};

BookletCheck::BookletCheck(Tabella_comuni &table, std::chrono::year_month_day today,
                           std::size_t expectedLines)
    : checker_(std::make_unique<Checker>(table, today)) {
    checker_->expectLines(expectedLines);
}

BookletCheck::~BookletCheck() = default;

namespace {
// Where the first line end certain to be whole ends in the piece; npos if there is none.
std::size_t afterFirstLineEnd(std::string_view piece) {
    const std::size_t end = piece.find_first_of("\r\n");
    if (end == std::string_view::npos || piece[end] == '\n')
        return end == std::string_view::npos ? end : end + 1;
    if (end + 1 == piece.size())
        return std::string_view::npos;
    return piece[end + 1] == '\n' ? end + 2 : end + 1;
}
} // namespace

void BookletCheck::add(std::string_view piece) {
    if (!started_) {
        // The first bytes wait until they tell whether the booklet begins with the mark; the
        // rest is checked as if the mark were not there.
        const std::size_t taken = std::min(piece.size(), kByteOrderMark.size() - pending_.size());
        pending_ += piece.substr(0, taken);
        piece.remove_prefix(taken);
        if (pending_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(pending_))
            return;
        started_ = true;
        if (pending_ == kByteOrderMark) {
            checker_->byteOrderMark();
            pending_.clear();
        }
    }
    if (!pending_.empty()) {
        const std::size_t end = afterFirstLineEnd(piece);
        if (end == std::string_view::npos) {
            pending_ += piece;
            return;
        }
        pending_ += piece.substr(0, end);
        checker_->checkLines(pending_);
        pending_.clear();
        piece.remove_prefix(end);
    }
    const std::size_t end = wholeLinesEnd(piece);
    checker_->checkLines(piece.substr(0, end));
    pending_ = piece.substr(end);
}

std::vector<Finding> BookletCheck::findings() {
    checker_->checkLines(pending_);
    pending_.clear();
    return checker_->finish();
}

std::vector<Finding> Controlla_libretto(std::string_view booklet, Tabella_comuni &table,
                                        std::chrono::year_month_day today) {
    BookletCheck check(table, today, lineCount(booklet));
    check.add(booklet);
    return check.findings();
}

} // namespace ferolan
