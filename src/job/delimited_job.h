#pragma once

#include "job/delimited_format.h"
#include "job/point_list.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A receiver's delimited export turned into the lines of the TGO job layout, so that the
// point list, and everything after it, reads it exactly as it reads a TGO job.
namespace ferolan {

// A line of the file that gives no point: its physical number (skipped lines counted) and
// why, in UTF-8 ("la colonna Z non è un numero").
struct LeftOutLine {
    std::size_t number = 0;
    std::string reason;
};

struct DelimitedReading {
    PointList::FileLoad outcome = PointList::FileLoad::Loaded;
    // One fixed-column line for each usable line, CR LF.
    std::string jobText;
    std::size_t points = 0;
    std::vector<LeftOutLine> leftOut;
    std::size_t replacedCharacters = 0, namesCut = 0, descriptionsCut = 0, codesCut = 0;
};

// The file's bytes read with the format (whose map formatProblem accepts): Empty for a file of
// blank lines only, WithoutUsablePoints when no line gives a point.
DelimitedReading readDelimited(std::string_view bytes, const DelimitedFormat &format);

// The same with the file, refused as a TGO job is when it cannot be read or changes meanwhile.
DelimitedReading readDelimitedFile(const std::filesystem::path &file,
                                   const DelimitedFormat &format);

// What is told of the reading (UTF-8): "<file>: riga 12: la colonna Z non è un numero" for
// each line left out, then the characters replaced and the texts cut.
std::vector<std::string> leftOutMessages(std::string_view file, const DelimitedReading &reading);
std::vector<std::string> conversionMessages(const DelimitedReading &reading);

// "Il file <path> non contiene punti con coordinate utilizzabili con questo formato:
// controllare separatore, decimali e colonne." (UTF-8)
std::string noDelimitedPointsMessage(std::string_view file);

// A separator for a file's first lines: the one that splits them most evenly into most fields.
FieldSeparator proposedSeparator(std::string_view firstLines);

// The fields of a line as the separator cuts it, quotes removed; nothing when a quote is left
// open (a line break inside quotes is not read).
std::optional<std::vector<std::string>> splitFields(std::string_view line,
                                                    FieldSeparator separator);

} // namespace ferolan
