#include "core/text.h"

#include <algorithm>

namespace ferolan {

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view columns(std::string_view text, std::size_t from, std::size_t count) {
    if (from == 0 || from > text.size())
        return {};
    return text.substr(from - 1, count);
}

std::string_view columnsFrom(std::string_view text, std::size_t from) {
    return columns(text, from, std::string_view::npos);
}

std::string_view lastChars(std::string_view text, std::size_t count) {
    return count >= text.size() ? text : text.substr(text.size() - count);
}

std::string toUpperCp1252(std::string_view text) {
    std::string out(text);
    for (char &c : out) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
            byte -= 0x20;
        else if (byte == 0x9A || byte == 0x9C || byte == 0x9E) // š œ ž
            byte -= 0x10;
        else if (byte == 0xFF) // ÿ
            byte = 0x9F;
        c = static_cast<char>(byte);
    }
    return out;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    for (std::string_view line; reader.next(line);)
        lines.push_back(line);
    return lines;
}

std::size_t lineCount(std::string_view text) {
    std::size_t count = 0;
    LineReader lines(text);
    for (std::string_view line; lines.next(line);)
        ++count;
    return count;
}

LineReader::LineReader(std::string_view text)
    : text_(text), nextCr_(text.find('\r')), nextLf_(text.find('\n')) {}

bool LineReader::next(std::string_view &line) {
    if (start_ >= text_.size())
        return false;
    if (nextCr_ < start_)
        nextCr_ = text_.find('\r', start_);
    if (nextLf_ < start_)
        nextLf_ = text_.find('\n', start_);
    const std::size_t end = std::min({nextCr_, nextLf_, text_.size()});
    line = text_.substr(start_, end - start_);
    start_ = end + 1;
    if (end == nextCr_ && nextLf_ == start_)
        ++start_;
    return true;
}

bool endsWithLineEnd(std::string_view text) {
    return text.empty() || text.back() == '\r' || text.back() == '\n';
}

std::string withControlsBlanked(std::string_view text) {
    std::string out(text);
    blankControls(out);
    return out;
}

std::string withControlsShown(std::string_view message) {
    std::string out(message);
    for (char &c : out)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == '\x7F')
            c = '?';
    return out;
}

void blankControls(std::span<char> text, char alsoBlanked) {
    // Every byte written, blank or not: the compiler then maps many at a time.
    for (char &c : text) {
        const bool blanked =
            static_cast<unsigned char>(c) < 0x20 || c == '\x7F' || c == alsoBlanked;
        c = blanked ? ' ' : c;
    }
}

void toBookletCharacters(std::span<char> bytes) {
    // Written as choices rather than a table, the compiler maps many bytes at a time.
    for (char &c : bytes)
        c = c == ',' ? '.' : c == ';' ? ',' : c;
}

} // namespace ferolan
