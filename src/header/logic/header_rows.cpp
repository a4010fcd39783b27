#include "header/logic/header_rows.h"

#include "core/pregeo_row.h"
#include "core/text.h"

#include <algorithm>

namespace ferolan {

std::string row0(const HeaderData &header) {
    // Pregeo separates parcels by commas: a typed comma is written as ";", which the
    // finishing pass turns back into ",", instead of becoming a point ("101. 102").
    std::string parcels = header.Txt_mappali;
    std::replace(parcels.begin(), parcels.end(), ',', ';');
    return pregeoRow("0", {header.Txt_data, header.Txt_pg, columns(header.Cmb_comune, 1, 4),
                           header.Txt_foglio, parcels, header.Txt_tecnico, header.Cmb_albo,
                           toUpperCp1252(header.Cmb_prov_albo)});
}

std::string row9(const HeaderData &header) {
    return pregeoRow("9",
                     {header.Txt_quota, header.Cmb_prec1, header.Cmb_prec2, header.Txt_estmedia,
                      "8.00-G,Stda 3.11", lastChars(header.Cmb_tipo, 2), header.Txt_note});
}

} // namespace ferolan
