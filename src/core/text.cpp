#include "core/text.h"

namespace ferolan {

std::string_view trimBlanks(std::string_view text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
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
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

bool endsWithLineEnd(std::string_view text) {
    return text.empty() || text.back() == '\r' || text.back() == '\n';
}

std::string withControlsBlanked(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
    return out;
}

} // namespace ferolan
