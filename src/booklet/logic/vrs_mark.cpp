#include "booklet/logic/vrs_mark.h"

#include "core/cp1252.h"
#include "header/logic/gnss_session.h"

namespace ferolan {

std::optional<VrsMark> vrsMark(const BookletSource &source) {
    if (!isNrtk(source.header.Cmb_metodo))
        return std::nullopt;
    std::optional<std::size_t> first;
    for (std::size_t row = 1; row <= source.points.rowCount(); ++row) {
        if (!row2Point(source, row))
            continue;
        if (source.points.field(row, PointList::Name) == source.header.Cmb_vrs)
            return VrsMark{row, true};
        if (!first)
            first = row;
    }
    if (!first)
        return std::nullopt;
    return VrsMark{*first, false};
}

std::optional<std::string> vrsMarkNote(const BookletSource &source,
                                       const std::optional<VrsMark> &mark) {
    if (!isNrtk(source.header.Cmb_metodo) || (mark && mark->chosen))
        return std::nullopt;
    const std::string chosen =
        "Il punto VRS " + utf8FromCp1252(source.header.Cmb_vrs) + " non è nel libretto: ";
    if (!mark)
        return chosen + "nessuna riga 2 porta il segno [VRS].";
    return chosen + "il segno [VRS] è sulla prima riga 2, il punto " +
           utf8FromCp1252(source.points.field(mark->row, PointList::Name)) + ".";
}

} // namespace ferolan
