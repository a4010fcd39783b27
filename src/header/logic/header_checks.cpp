#include "header/logic/header_checks.h"

#include "core/cp1252.h"
#include "core/text.h"
#include "header/logic/gnss_session.h"

#include <algorithm>
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

bool namesAnotherPoint(const HeaderJob &job, std::string_view name) {
    if (name == job.Punto_master)
        return false;
    for (std::size_t row = 1; row <= job.points.rowCount(); ++row)
        if (job.points.field(row, PointList::Name) == name)
            return true;
    return false;
}

bool isListedVrs(const HeaderJob &job, std::string_view name) {
    for (std::size_t row = 1; row <= job.points.rowCount(); ++row)
        if (job.points.field(row, PointList::Name) == name &&
            isVrsCandidate(job.points, row, job.Punto_master))
            return true;
    return false;
}

std::optional<HeaderProblem> sessionProblem(const HeaderData &header, const HeaderJob &job) {
    auto problem = [](std::string message, std::string HeaderData::*field) {
        return std::optional<HeaderProblem>(HeaderProblem{std::move(message), field});
    };
    const std::string method = sessionMethod(header.Cmb_metodo);
    if (std::find(kMetodiRilievo.begin(), kMetodiRilievo.end(), method) == kMetodiRilievo.end())
        return problem("Il metodo " + utf8FromCp1252(header.Cmb_metodo) +
                           " non è tra quelli ammessi!",
                       &HeaderData::Cmb_metodo);
    if (!isClockTime(header.Txt_ora_inizio))
        return problem("Il campo ora di inizio non è un orario hh:mm!",
                       &HeaderData::Txt_ora_inizio);
    if (!isClockTime(header.Txt_ora_fine))
        return problem("Il campo ora di fine non è un orario hh:mm!", &HeaderData::Txt_ora_fine);
    if (header.Txt_ora_fine <= header.Txt_ora_inizio)
        return problem("L'ora di fine non segue l'ora di inizio!", &HeaderData::Txt_ora_fine);
    if (trimBlanks(header.Txt_base).empty())
        return problem("Il campo base è vuoto!", &HeaderData::Txt_base);
    if (header.Txt_base.find('|') != std::string::npos)
        return problem("Il campo base contiene il carattere | non ammesso!", &HeaderData::Txt_base);
    if (namesAnotherPoint(job, header.Txt_base))
        return problem("Il nome " + utf8FromCp1252(header.Txt_base) +
                           " è già di un punto del lavoro!",
                       &HeaderData::Txt_base);
    if (isNrtk(method) && !isListedVrs(job, header.Cmb_vrs))
        return problem("Il punto VRS " + utf8FromCp1252(header.Cmb_vrs) +
                           " non è tra i punti del libretto!",
                       &HeaderData::Cmb_vrs);
    return std::nullopt;
}

} // namespace

std::optional<HeaderProblem> headerProblem(const HeaderData &header, const HeaderJob &job) {
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
    if (auto refused = separatorMessage(header, kNote))
        return refused;
    return sessionProblem(header, job);
}

std::optional<std::string> Controlla_intestazione(const HeaderData &header, const HeaderJob &job) {
    if (std::optional<HeaderProblem> problem = headerProblem(header, job))
        return std::move(problem->message);
    return std::nullopt;
}

} // namespace ferolan
