#include "booklet/logic/booklet_rows.h"

#include "app/logic/numbers.h"
#include "app/logic/text.h"

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

std::string xyzText(const Xyz &value, char decimalSeparator) {
    char separator = decimalSeparator == '.' ? '.' : ',';
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
    return rowOf("0", {header.Txt_data, header.Txt_pg, columns(header.Cmb_comune, 1, 4),
                       header.Txt_foglio, header.Txt_mappali, header.Txt_tecnico, header.Cmb_albo,
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

std::string row2(std::string_view name, const Xyz &vector, std::string_view description,
                 char decimalSeparator) {
    return rowOf("2", {bookletField(name), xyzText(vector, decimalSeparator), "0;0;0;0;0;0",
                       "PDOP=1", "0", bookletField(description)});
}

} // namespace ferolan
