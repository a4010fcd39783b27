#include "booklet/logic/booklet_rows.h"

#include "core/numbers.h"
#include "core/text.h"

#include <algorithm>
#include <initializer_list>

namespace ferolan {
namespace {

// The row type and each field closed by "|", then CR LF.
std::string rowOf(std::string_view type, std::initializer_list<std::string_view> fields) {
    std::string row(type);
    row += '|';
    for (std::string_view field : fields) {
        row += field;
        row += '|';
    }
    row += kCrLf;
    return row;
}

std::string bookletField(std::string_view text) {
    std::string field = withControlsBlanked(text);
    std::replace(field.begin(), field.end(), '|', ' ');
    return field;
}

// A decimal separator other than "," or "." would survive the finishing pass.
char writtenSeparator(char decimalSeparator) {
    return decimalSeparator == '.' ? '.' : ',';
}

std::string xyzText(const Xyz &value, char decimalSeparator) {
    const char separator = writtenSeparator(decimalSeparator);
    return threeDecimalText(value.X, separator) + ';' + threeDecimalText(value.Y, separator) + ';' +
           threeDecimalText(value.Z, separator);
}

} // namespace

Xyz pointXyz(const PointList &points, std::size_t row) {
    return {numericValue(points.field(row, PointList::X)),
            numericValue(points.field(row, PointList::Y)),
            numericValue(points.field(row, PointList::Z))};
}

Xyz Calcola_vettore(const Xyz &point, const Xyz &Coord_master) {
    return {point.X - Coord_master.X, point.Y - Coord_master.Y, point.Z - Coord_master.Z};
}

std::string row0(const HeaderData &header) {
    // Pregeo separates parcels by commas: a typed comma is written as ";", which the
    // finishing pass turns back into ",", instead of becoming a point ("101. 102").
    std::string parcels = header.Txt_mappali;
    std::replace(parcels.begin(), parcels.end(), ',', ';');
    return rowOf("0", {header.Txt_data, header.Txt_pg, columns(header.Cmb_comune, 1, 4),
                       header.Txt_foglio, parcels, header.Txt_tecnico, header.Cmb_albo,
                       toUpperCp1252(header.Cmb_prov_albo)});
}

std::string row9(const HeaderData &header) {
    return rowOf("9", {header.Txt_quota, header.Cmb_prec1, header.Cmb_prec2, header.Txt_estmedia,
                       "8.00-G,Stda 3.11", lastChars(header.Cmb_tipo, 2), header.Txt_note});
}

std::string row6(std::string_view date) {
    std::string date9 = std::string(date) + "-09:00";
    std::string date12 = std::string(date) + "-12:00";
    return rowOf("6", {"L2", date9, date12, "RTK", "PDOP=1"});
}

std::string row1(std::string_view name, const Xyz &Coord_master, std::string_view description,
                 char decimalSeparator) {
    return rowOf("1", {bookletField(name), xyzText(Coord_master, decimalSeparator), "0",
                       bookletField(description)});
}

std::optional<VarianceTerms> varianceTerms(std::string_view cells) {
    constexpr std::size_t kCellWidth = 12;
    VarianceTerms terms;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        std::optional<double> term =
            exactNumericValue(trimBlanks(columns(cells, 1 + i * kCellWidth, kCellWidth)), true);
        if (!term)
            return std::nullopt;
        terms[i] = *term;
    }
    return terms;
}

std::string row2(std::string_view name, const Xyz &vector, std::string_view description,
                 char decimalSeparator, const std::optional<VarianceTerms> &terms) {
    std::string termsText = "0;0;0;0;0;0";
    if (terms) {
        termsText.clear();
        for (double term : *terms)
            termsText += (termsText.empty() ? "" : ";") +
                         decimalText(term, 9, writtenSeparator(decimalSeparator));
    }
    return rowOf("2", {bookletField(name), xyzText(vector, decimalSeparator), termsText, "PDOP=1",
                       "0", bookletField(description)});
}

} // namespace ferolan
