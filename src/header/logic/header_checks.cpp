#include "header/logic/header_checks.h"

#include <array>
#include <string_view>

namespace ferolan {
namespace {

struct CheckedField {
    std::string HeaderData::*text;
    std::string_view name;  // as the messages call the field
    std::size_t length = 0; // the required length; 0 when any length will do
    std::string_view lengthMessage = {};
};

constexpr std::array<CheckedField, 13> kRequiredFields = {{
    {&HeaderData::Txt_data, "data", 8, "Il formato della data non è corretto! <XXXXXXXX>"},
    {&HeaderData::Txt_pg, "Protocollo"},
    {&HeaderData::Cmb_comune, "Comune"},
    {&HeaderData::Txt_foglio, "foglio", 4, "Il formato del foglio non è corretto! <XXXX>"},
    {&HeaderData::Txt_mappali, "mappali"},
    {&HeaderData::Txt_tecnico, "tecnico"},
    {&HeaderData::Cmb_albo, "albo di appartenenza"},
    {&HeaderData::Cmb_prov_albo, "provincia di iscrizione"},
    {&HeaderData::Txt_quota, "quota"},
    {&HeaderData::Txt_estmedia, "est media"},
    {&HeaderData::Cmb_prec1, "prec.lineare"},
    {&HeaderData::Cmb_prec2, "prec.angolare"},
    {&HeaderData::Cmb_tipo, "tipo di elaborato"},
}};

constexpr CheckedField kNote = {&HeaderData::Txt_note, "note"};

HeaderProblem emptyMessage(const CheckedField &field) {
    return {"Il campo " + std::string(field.name) + " è vuoto!", field.text};
}

std::optional<HeaderProblem> separatorMessage(const HeaderData &header, const CheckedField &field) {
    if ((header.*field.text).find('|') == std::string::npos)
        return std::nullopt;
    return HeaderProblem{"Il campo " + std::string(field.name) +
                             " contiene il carattere | non ammesso!",
                         field.text};
}

} // namespace

std::optional<HeaderProblem> headerProblem(const HeaderData &header) {
    // Only a job whose municipality the table does not know leaves the province to the user.
    if (header.Cmb_prov.empty())
        return HeaderProblem{"Il campo Provincia è vuoto!", &HeaderData::Cmb_prov};
    for (const CheckedField &field : kRequiredFields) {
        const std::string &text = header.*field.text;
        if (text.empty())
            return emptyMessage(field);
        if (field.length != 0 && text.size() != field.length)
            return HeaderProblem{std::string(field.lengthMessage), field.text};
    }
    for (const CheckedField &field : kRequiredFields)
        if (auto refused = separatorMessage(header, field))
            return refused;
    return separatorMessage(header, kNote);
}

std::optional<std::string> Controlla_intestazione(const HeaderData &header) {
    if (std::optional<HeaderProblem> problem = headerProblem(header))
        return std::move(problem->message);
    return std::nullopt;
}

} // namespace ferolan
