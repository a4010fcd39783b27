#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a receiver's delimited export is read: the separator, the decimal separator, the lines
// to skip and what each column holds, as the surveyor maps them and saves them by name.
namespace ferolan {

enum class ColumnRole {
    Ignora,
    Nome,
    Descrizione,
    Codice,
    X,
    Y,
    Z,
    Latitudine,
    Longitudine,
    QuotaEllissoidica,
    Est,
    Quota,
    VarX,
    VarY,
    VarZ,
    CovXY,
    CovYZ,
    CovZX,
};
inline constexpr std::size_t kColumnRoles = 18;

// The role's word in a format file ("quota_ellissoidica") and its name as shown ("Quota
// ellissoidica").
std::string_view roleWord(ColumnRole role);
std::string_view roleName(ColumnRole role);

// The six variance-covariance roles, in the order the job's cells carry them.
inline constexpr std::array<ColumnRole, 6> kVarianceRoles = {ColumnRole::VarX,  ColumnRole::VarY,
                                                             ColumnRole::VarZ,  ColumnRole::CovXY,
                                                             ColumnRole::CovYZ, ColumnRole::CovZX};

enum class FieldSeparator { Semicolon, Comma, Tab, Blanks };

struct DelimitedFormat {
    FieldSeparator separator = FieldSeparator::Semicolon;
    char decimal = '.';
    std::size_t linesToSkip = 0;
    std::vector<ColumnRole> columns;
    // The first three terms are standard deviations in metres, squared on reading.
    bool deviations = false;
};

// Why a column map cannot be read, worded for both the window and ferolan-batch: "manca X",
// "X compare due volte" or the separators' clash; nothing when it can be.
struct FormatProblem {
    bool incomplete = false;
    std::string reason;
};
std::optional<FormatProblem> formatProblem(const DelimitedFormat &format);

// "Il formato non è completo: manca <ruolo>." or "Il formato non è valido: <motivo>."
std::string formatProblemMessage(const FormatProblem &problem);

// A format file's text (any line end) read, or why it cannot be.
struct FormatParsing {
    std::optional<DelimitedFormat> format;
    std::string problem;
};
FormatParsing parseFormat(std::string_view text);

// The format file's text, CR LF.
std::string formatFileText(const DelimitedFormat &format);

} // namespace ferolan
