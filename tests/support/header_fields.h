#pragma once

// Header data written as "Control=value" lines, as ferolan-batch reads its header data file.
#include "header/logic/header_data.h"

#include <QByteArrayList>

#include <algorithm>

namespace test_header {

// The header with the value of each line set into its control; values are taken exactly as
// written, and lines that name no control are skipped.
inline ferolan::HeaderData withFields(ferolan::HeaderData header, const QByteArrayList &lines) {
    for (const QByteArray &line : lines) {
        const QByteArray name = line.left(line.indexOf('='));
        auto control = std::ranges::find(ferolan::kHeaderControls, name.toStdString(),
                                         &ferolan::HeaderControl::name);
        if (control != ferolan::kHeaderControls.end())
            header.*control->text = line.mid(name.size() + 1).toStdString();
    }
    return header;
}

} // namespace test_header
