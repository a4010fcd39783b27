#pragma once

#include <string>

namespace ferolan {

// The texts of the header window's controls (Windows-1252 bytes), named after them; the
// booklet's rows 0 and 9 are made of these.
struct HeaderData {
    std::string Txt_data;
    std::string Txt_pg;
    std::string Cmb_prov;
    std::string Cmb_comune;
    std::string Txt_foglio;
    std::string Txt_mappali;
    std::string Txt_tecnico;
    std::string Cmb_albo;
    std::string Cmb_prov_albo;
    std::string Txt_quota;
    std::string Txt_estmedia;
    std::string Cmb_prec1;
    std::string Cmb_prec2;
    std::string Cmb_tipo;
    std::string Txt_note;
};

} // namespace ferolan
