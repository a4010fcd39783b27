#include "fiducial/logic/archivia_pf.h"

namespace ferolan {

ArchivingResult Archivia_pf(PfGrid &grid, const ProvinceArchive &archive) {
    for (PfGridRow &row : grid) {
        if (row.cell(PfGridRow::Mark) == kArchiveMark) {
            // The code table is asked again for every point, as the file may have changed.
            PfFile file = pfFileOf(archive, row.cell(PfGridRow::Name));
            if (file.status == PfFile::TableUnreadable)
                return {ArchivingResult::TableUnreadable, file.path};
            if (file.status != PfFile::Ok ||
                !Aggiungi_punto_fiduciale(file.path, row.cell(PfGridRow::Name),
                                          row.cell(PfGridRow::Description), row.cell(PfGridRow::X),
                                          row.cell(PfGridRow::Y), row.cell(PfGridRow::Z)))
                return {ArchivingResult::AppendFailed, file.path};
        }
        row.passedByArchiving = true;
    }
    return {};
}

} // namespace ferolan
