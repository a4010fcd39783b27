#pragma once

#include "header/logic/header_data.h"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The --dati file: the header window's data as "Control=value" lines, one per control.
namespace ferolan::batch {

// The given values by control name, in Windows-1252.
using HeaderValues = std::map<std::string, std::string, std::less<>>;

struct DatiParsing {
    enum Outcome {
        Ok,
        // A line without "=" or with a name that is no control: the file is not a --dati file.
        Malformed,
        // A value that cannot go into the booklet as it stands.
        ValueRefused,
    };
    Outcome outcome = Ok;
    HeaderValues values;
    // Why the file is refused (UTF-8), naming `fileName` and the line.
    std::string problem;
};

// Read as UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is skipped), as
// Windows-1252 otherwise. Lines end at LF, one CR before it is dropped, empty lines are
// skipped; the key is everything before the first "=" and the value everything after it,
// kept exactly; a key given twice keeps its last value. `fileName` (UTF-8) is for messages.
DatiParsing parseDati(std::string_view bytes, std::string_view fileName);

// The header data as the window would hold them: each given value, the sheet, surveyor and
// notes upper-cased as the window types them; `defaults` for the controls not given, except
// that NRTK without a base given names row 1 10000, as the window proposes.
HeaderData headerDataFrom(const HeaderValues &values, const HeaderData &defaults);

// The names of the controls a --dati file may set, in the window's order.
std::span<const std::string_view> headerControlNames();

} // namespace ferolan::batch
