#include "fiducial/logic/punto_fiduciale.h"

#include "core/numbers.h"
#include "core/text.h"

namespace ferolan {
namespace {

constexpr std::size_t kDescriptionColumn = 14;
constexpr std::size_t kDescriptionWidth = 30;
constexpr std::size_t kXColumn = 45;
constexpr std::size_t kYColumn = 57;
constexpr std::size_t kZColumn = 69;
// Readers take 11 of the 12 characters of a coordinate slot.
constexpr std::size_t kCoordinateReadWidth = 11;

// Starts `text` at the 1-based `column`, padding with blanks up to there. A field that ran
// past the column is cut there, so every field stays in its place.
void placeAt(std::string &line, std::size_t column, std::string_view text) {
    line.resize(column - 1, ' ');
    line += text;
}

double coordinateAt(std::string_view line, std::size_t column) {
    return numericValue(columns(line, column, kCoordinateReadWidth));
}

} // namespace

PfKey Scomponi_nome_pf(std::string_view nomePf) {
    return {columns(nomePf, 3, 2), columns(nomePf, 6, 4), lastChars(nomePf, 4)};
}

PfKey recordKey(std::string_view line) {
    return {columns(line, 1, 2), columns(line, 4, 4), columns(line, 9, 4)};
}

Punto_fiduciale readRecord(std::string_view line) {
    PfKey key = recordKey(line);
    std::string_view description = columns(line, kDescriptionColumn, kDescriptionWidth);
    description = description.substr(0, description.find_last_not_of(' ') + 1);
    const auto [x, y, z] = recordCoordinates(line);
    return {std::string(key.numero),
            std::string(key.foglio),
            std::string(key.codice_comune),
            std::string(description),
            x,
            y,
            z};
}

std::array<double, 3> recordCoordinates(std::string_view line) {
    return {coordinateAt(line, kXColumn), coordinateAt(line, kYColumn),
            coordinateAt(line, kZColumn)};
}

std::string recordLine(std::string_view nomePf, std::string_view descrizione, std::string_view x,
                       std::string_view y, std::string_view z) {
    PfKey key = Scomponi_nome_pf(nomePf);
    std::string line;
    placeAt(line, 1, key.numero);
    placeAt(line, 4, key.foglio);
    placeAt(line, 9, key.codice_comune);
    placeAt(line, kDescriptionColumn, descrizione.substr(0, kDescriptionWidth));
    placeAt(line, kXColumn, x);
    placeAt(line, kYColumn, y);
    placeAt(line, kZColumn, z);
    // A line feed in a description would split the record into two broken ones.
    return withControlsBlanked(line);
}

} // namespace ferolan
