#include "ui/model/grid_format.h"

namespace ferolan {

QString formatSection(const QString &format, int column) {
    return format.section(QLatin1Char('|'), column, column);
}

int formatColumnCount(const QString &format) {
    return static_cast<int>(format.count(QLatin1Char('|'))) + 1;
}

} // namespace ferolan
