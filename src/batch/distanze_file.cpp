#include "batch/distanze_file.h"

#include "core/cp1252.h"
#include "core/numbers.h"

namespace ferolan::batch {
namespace {

constexpr char kComma = ',';

std::string metres(double value) {
    return threeDecimalText(value, kComma);
}

// A name holding the separator or a quote is quoted, so that no column shifts.
std::string cell(std::string_view text) {
    if (text.find_first_of(";\"") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

std::string distanzeFile(const std::vector<PfPair> &pairs) {
    std::string file = "PF 1;PF 2;d oggi (m);D archivio (m);differenza (m);tolleranza (m);"
                       "rapporto;esito;oltre 10 cm\r\n";
    for (const PfPair &pair : pairs)
        file += cell(pair.first) + ";" + cell(pair.second) + ";" + metres(pair.today) + ";" +
                metres(pair.archived) + ";" + metres(pair.difference()) + ";" +
                metres(pair.tolerance) + ";" + decimalText(pair.ratio(), 2, kComma) + ";" +
                std::string(pair.esito()) + ";" +
                std::string(pair.overTenCentimetres() ? kOltre10Cm : "") + "\r\n";
    return file;
}

std::string outOfToleranceWarning(const PfPair &pair, DistanceZone zone) {
    return "avviso: distanza " + utf8FromCp1252(pair.first + " \x96 " + pair.second) + ": " +
           metres(pair.today) + " m oggi, " + metres(pair.archived) +
           " m in archivio, differenza " + metres(pair.difference()) + " m oltre la tolleranza " +
           metres(pair.tolerance) + " m (zona " + zoneInSentence(zone) + ")";
}

} // namespace ferolan::batch
