#pragma once

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

// True when the text is empty or its last line is closed by CR LF, CR or LF.
bool endsWithLineEnd(std::string_view text);

// The text with every control character (line feed, NUL, tab...) turned into a blank, for
// a field written inside one line of a file, where such a byte would break or shift it.
std::string withControlsBlanked(std::string_view text);

inline constexpr std::string_view kCrLf = "\r\n";

} // namespace ferolan
