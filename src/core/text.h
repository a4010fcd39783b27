#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Byte-level text helpers for Windows-1252 files.
namespace ferolan {

// Leading and trailing blanks removed; only the space character counts, tabs stay.
std::string_view trimBlanks(std::string_view text);

// The characters at 1-based positions [from, from + count), cut by the end of the text;
// empty when `from` lies beyond the end.
std::string_view columns(std::string_view text, std::size_t from, std::size_t count);

// The characters from 1-based position `from` to the end of the text.
std::string_view columnsFrom(std::string_view text, std::size_t from);

// The last `count` characters (the whole text when it is shorter).
std::string_view lastChars(std::string_view text, std::size_t count);

// The one upper-casing rule of the program: a-z and the Windows-1252 small letters
// (à to þ except ÷, and š, œ, ž, ÿ) become their capitals; ß and µ stay, so the text
// never grows and never leaves the code page.
std::string toUpperCp1252(std::string_view text);

// Lines as the program reads them: CR LF, a lone CR and a lone LF each end a line, so a
// file that passed through another system reads as it was written; a last line without a
// line end still counts; an empty text has no lines.
std::vector<std::string_view> splitLines(std::string_view text);

// The number of lines splitLines finds, without listing them.
std::size_t lineCount(std::string_view text);

// The same lines one at a time, for texts too large to list every line of.
class LineReader {
public:
    explicit LineReader(std::string_view text);
    // The next line, false after the last one.
    bool next(std::string_view &line);

private:
    std::string_view text_;
    std::size_t start_ = 0;
    // The next CR and LF at or after start_ (npos when none is left), each searched for again
    // only once passed, so every byte is looked at once whatever the line ends.
    std::size_t nextCr_, nextLf_;
};

// True when the text is empty or its last line is closed by CR LF, CR or LF.
bool endsWithLineEnd(std::string_view text);

// The text with every control character (line feed, NUL, tab...) turned into a blank, for
// a field written inside one line of a file, where such a byte would break or shift it.
std::string withControlsBlanked(std::string_view text);

// The same in place; every `alsoBlanked` too, in the same pass (by default DEL, which is a
// control character anyway).
void blankControls(std::span<char> text, char alsoBlanked = '\x7F');

// The booklet's finishing pass, byte for byte: "," becomes "." and ";" becomes ",", each
// character mapped once; nothing is added or removed.
void toBookletCharacters(std::span<char> bytes);

// A message for a terminal, whose lines end in LF: every other control character (ESC, BEL,
// tab...) becomes "?", so a name read from a file can never drive the terminal.
std::string withControlsShown(std::string_view message);

inline constexpr std::string_view kCrLf = "\r\n";

// An ASCII digit, whatever the locale says.
inline constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace ferolan
