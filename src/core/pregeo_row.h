#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// A row of a Pregeo booklet: its type, then fields, each closed by "|" (Windows-1252 bytes).
namespace ferolan {

struct PregeoRow {
    std::size_t number = 0; // the 1-based line, once the reader of the booklet counts it
    std::string_view text;  // the whole row, without its line end
    std::string_view type;
    std::vector<std::string_view> fields;
    bool closed = false;   // ends with "|"
    bool printable = true; // printable ASCII only

    bool has(std::size_t n) const { return n <= fields.size(); }
    bool is(char rowType) const { return type.size() == 1 && type[0] == rowType; }
    // The given field (1-based), empty when the row has fewer.
    std::string_view field(std::size_t n) const {
        return n >= 1 && n <= fields.size() ? fields[n - 1] : std::string_view();
    }
    // Blank or empty: no type, nothing to check.
    bool blank() const { return text.find_first_not_of(" \t") == std::string_view::npos; }
};

// Reads the row that starts at `start` into `row`, reusing its list of fields: the row ends
// at CR LF, CR or LF, as the program reads lines; a "|" at its end closes it rather than
// starting an empty field. Returns where the next row starts.
std::size_t readPregeoRow(std::string_view text, std::size_t start, PregeoRow &row);

// Where the last line certain to be whole ends, in a text that may go on: a CR at the very
// end may still be followed by the LF of its CR LF.
std::size_t wholeLinesEnd(std::string_view text);

// "type|field|field|" and CR LF.
std::string pregeoRow(std::string_view type, std::initializer_list<std::string_view> fields);

} // namespace ferolan
