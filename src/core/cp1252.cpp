#include "core/cp1252.h"

#include <array>
#include <cstdint>

namespace ferolan {
namespace {

// Code points of bytes 0x80-0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        char32_t cp = kHighControls[byte - 0x80];
        // Undefined bytes pass through as the C1 control of the same value, so nothing is lost.
        return cp != 0 ? cp : byte;
    }
    return byte;
}

std::optional<unsigned char> byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        char32_t mapped = kHighControls[i] != 0 ? kHighControls[i] : char32_t(0x80 + i);
        if (mapped == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

void appendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. Empty on a malformed sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t &pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + extra >= text.size())
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        auto cont = static_cast<unsigned char>(text[pos + i]);
        if ((cont & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (cont & 0x3F);
    }
    constexpr std::array<char32_t, 4> kSmallest = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += extra + 1;
    return cp;
}

} // namespace

std::string utf8FromCp1252(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252)
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        auto cp = nextCodePoint(utf8, pos);
        if (!cp)
            return std::nullopt;
        auto byte = byteOf(*cp);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

std::string cp1252FromUtf8Replacing(std::string_view utf8, std::size_t &replaced) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        auto cp = nextCodePoint(utf8, pos);
        auto byte = cp ? byteOf(*cp) : std::nullopt;
        if (!cp)
            ++pos;
        if (!byte)
            ++replaced;
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();)
        if (!nextCodePoint(text, pos))
            return false;
    return true;
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path pathFromCp1252(std::string_view cp1252) {
    return pathFromUtf8(utf8FromCp1252(cp1252));
}

std::string utf8FromPath(const std::filesystem::path &path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace ferolan
