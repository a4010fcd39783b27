#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ferolan {

// The texts of the header window's controls (Windows-1252 bytes), named after them; the
// booklet's rows 0 and 9 are made of these, and the survey session's name of row 1 and the
// times and method of row 6.
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
    // The survey session, proposed as every booklet had it before it could be stated: RTK
    // from 09:00 to 12:00. The base row 1 names and the VRS point depend on the job
    // (gnss_session.h).
    std::string Cmb_metodo = "RTK";
    std::string Txt_ora_inizio = "09:00";
    std::string Txt_ora_fine = "12:00";
    std::string Txt_base;
    std::string Cmb_vrs;
};

// The header window's controls in their focus order: the name each has in the window (and
// in a --dati file of ferolan-batch), the text it holds, and whether it keeps that text in
// capitals as it is typed.
struct HeaderControl {
    std::string_view name;
    std::string HeaderData::*text;
    bool upperCase = false;
};

inline constexpr std::array<HeaderControl, 20> kHeaderControls = {{
    {"Txt_data", &HeaderData::Txt_data},
    {"Txt_pg", &HeaderData::Txt_pg},
    {"Cmb_prov", &HeaderData::Cmb_prov},
    {"Cmb_comune", &HeaderData::Cmb_comune},
    {"Txt_foglio", &HeaderData::Txt_foglio, true},
    {"Txt_mappali", &HeaderData::Txt_mappali},
    {"Txt_tecnico", &HeaderData::Txt_tecnico, true},
    {"Cmb_albo", &HeaderData::Cmb_albo},
    {"Cmb_prov_albo", &HeaderData::Cmb_prov_albo},
    {"Txt_quota", &HeaderData::Txt_quota},
    {"Txt_estmedia", &HeaderData::Txt_estmedia},
    {"Cmb_prec1", &HeaderData::Cmb_prec1},
    {"Cmb_prec2", &HeaderData::Cmb_prec2},
    {"Cmb_tipo", &HeaderData::Cmb_tipo},
    {"Txt_note", &HeaderData::Txt_note, true},
    {"Cmb_metodo", &HeaderData::Cmb_metodo},
    {"Txt_ora_inizio", &HeaderData::Txt_ora_inizio},
    {"Txt_ora_fine", &HeaderData::Txt_ora_fine},
    {"Txt_base", &HeaderData::Txt_base},
    {"Cmb_vrs", &HeaderData::Cmb_vrs},
}};

// The fixed lists of the header window's combo boxes. The booklet check compares the typed
// texts with these same lists, so that a list changed here changes both.
inline constexpr std::array<std::string_view, 7> kTitoliProfessionali = {
    "AGROTECNICO", "ARCHITETTO",     "DOTTORE IN AGRARIA", "GEOMETRA",
    "INGEGNERE",   "PERITO AGRARIO", "PERITO EDILE"};
// Row 9 carries the last two characters of the chosen entry as the type code.
inline constexpr std::array<std::string_view, 5> kTipiElaborato = {
    "Frazionamento -FR", "Mappale per nuova costruzione -MC", "Mappale per ampliamento -MA",
    "Modello 26 per fabbricato rurale -26", "Particellare -PA"};
inline constexpr std::array<std::string_view, 2> kPrecisioniLineari = {"10", "100"};
inline constexpr std::array<std::string_view, 2> kPrecisioniAngolari = {"20", "100"};
// The survey methods row 6 may name.
inline constexpr std::array<std::string_view, 4> kMetodiRilievo = {"RTK", "NRTK", "REALVRS",
                                                                   "STATICO"};

} // namespace ferolan
