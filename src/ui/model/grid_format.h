#pragma once

#include <QString>

namespace ferolan {

// A grid's format text: sections separated by "|", section k the heading of column k,
// its blanks setting the column's width.
QString formatSection(const QString &format, int column);
int formatColumnCount(const QString &format);

} // namespace ferolan
