#include "core/pregeo_row.h"

#include "core/text.h"

namespace ferolan {

std::size_t readPregeoRow(std::string_view text, std::size_t start, PregeoRow &row) {
    // One look at each byte: where the row ends, and whether all of it is printable ASCII.
    std::size_t end = start;
    bool printable = true;
    for (; end < text.size(); ++end) {
        const auto c = static_cast<unsigned char>(text[end]);
        if (c - 0x20u >= 0x5Fu) {
            if (c == '\r' || c == '\n')
                break;
            printable = false;
        }
    }
    std::size_t next = end;
    if (next < text.size())
        next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;

    row.text = text.substr(start, end - start);
    row.closed = row.text.ends_with('|');
    row.printable = printable;
    row.fields.clear();
    // The bar that closes the row ends its last field rather than starting an empty one.
    std::string_view rest = row.closed ? row.text.substr(0, row.text.size() - 1) : row.text;
    std::size_t bar = rest.find('|');
    row.type = rest.substr(0, bar);
    while (bar != std::string_view::npos) {
        rest.remove_prefix(bar + 1);
        bar = rest.find('|');
        row.fields.push_back(rest.substr(0, bar));
    }
    return next;
}

std::size_t wholeLinesEnd(std::string_view text) {
    std::size_t end = text.find_last_of("\r\n");
    if (end != std::string_view::npos && text[end] == '\r' && end + 1 == text.size())
        end = end == 0 ? std::string_view::npos : text.find_last_of("\r\n", end - 1);
    return end == std::string_view::npos ? 0 : end + 1;
}

std::string pregeoRow(std::string_view type, std::initializer_list<std::string_view> fields) {
    std::string row(type);
    row += '|';
    for (std::string_view field : fields)
        row.append(field).append(1, '|');
    return row.append(kCrLf);
}

} // namespace ferolan
