#include "batch/dati_file.h"

#include "core/cp1252.h"
#include "core/text.h"
#include "header/logic/gnss_session.h"

#include <algorithm>
#include <array>

namespace ferolan::batch {
namespace {

constexpr std::array<std::string_view, kHeaderControls.size()> kControlNames = [] {
    std::array<std::string_view, kHeaderControls.size()> names;
    for (std::size_t i = 0; i < kHeaderControls.size(); ++i)
        names[i] = kHeaderControls[i].name;
    return names;
}();

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isControlName(std::string_view name) {
    return std::find(kControlNames.begin(), kControlNames.end(), name) != kControlNames.end();
}

std::string inQuotes(std::string_view utf8) {
    return "\"" + std::string(utf8) + "\"";
}

} // namespace

DatiParsing parseDati(std::string_view bytes, std::string_view fileName) {
    const bool utf8 = isValidUtf8(bytes);
    if (utf8 && bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    auto shown = [utf8](std::string_view text) {
        return utf8 ? std::string(text) : utf8FromCp1252(text);
    };

    DatiParsing parsing;
    std::size_t lineNumber = 0;
    for (std::string_view line : splitLines(bytes)) {
        ++lineNumber;
        if (line.empty())
            continue;

        const std::string where =
            "alla riga " + std::to_string(lineNumber) + " del file " + inQuotes(fileName);
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return {DatiParsing::Malformed,
                    {},
                    "Manca il segno \"=\" " + where + ": ogni riga deve avere la forma " +
                        "Controllo=valore."};
        std::string_view name = line.substr(0, equals);
        if (!isControlName(name))
            return {DatiParsing::Malformed,
                    {},
                    "Il controllo " + inQuotes(shown(name)) + " " + where + " non esiste."};
        std::optional<std::string> value(line.substr(equals + 1));
        if (utf8)
            value = cp1252FromUtf8(*value);
        if (!value)
            return {DatiParsing::ValueRefused,
                    {},
                    "Il valore di " + std::string(name) + " " + where +
                        " contiene caratteri che il libretto (Windows-1252) non può contenere."};
        parsing.values.insert_or_assign(std::string(name), std::move(*value));
    }
    return parsing;
}

HeaderData headerDataFrom(const HeaderValues &values, const HeaderData &defaults) {
    HeaderData header = defaults;
    for (const HeaderControl &control : kHeaderControls) {
        auto given = values.find(control.name);
        if (given != values.end())
            header.*control.text = control.upperCase ? toUpperCp1252(given->second) : given->second;
    }
    // As the window proposes it when the method is chosen; a base given stays as given.
    if (!values.contains("Txt_base"))
        header.Txt_base = baseAfterMethod(defaults.Txt_base, defaults.Cmb_metodo, header.Cmb_metodo,
                                          defaults.Txt_base);
    return header;
}

std::span<const std::string_view> headerControlNames() {
    return kControlNames;
}

} // namespace ferolan::batch
