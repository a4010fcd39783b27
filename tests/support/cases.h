#pragma once

// Table rows kept in data files, one case a line: "operation | row name | argument... |
// expected answer". Fields are taken exactly as written between the " | " separators; the
// escapes \r \n \t \\ \| and \xHH stand for bytes a text file cannot show. Empty lines and
// lines starting with "#" are skipped.
#include <QtTest>

#include <filesystem>

namespace test_cases {

inline QByteArray unescaped(QByteArrayView field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char c = field[++i];
        if (c == 'x' && i + 2 < field.size()) {
            out += char(field.sliced(i + 1, 2).toByteArray().toInt(nullptr, 16));
            i += 2;
        } else {
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c;
        }
    }
    return out;
}

// Adds a column "fields" (arguments, then the expected answer) and one row per case of the
// file; the operation becomes the first field.
inline void addRows(const std::filesystem::path &file) {
    QTest::addColumn<QByteArrayList>("fields");
    QFile cases(QString::fromStdString(file.string()));
    if (!cases.open(QIODevice::ReadOnly))
        qFatal("missing test data file %s", file.c_str());
    for (const QByteArray &line : cases.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QByteArrayList fields;
        qsizetype start = 0;
        for (qsizetype at = 0; at <= line.size(); ++at) {
            if (at == line.size() ||
                (line.sliced(at).startsWith(" | ") && (at == 0 || line[at - 1] != '\\'))) {
                fields << unescaped(QByteArrayView(line).sliced(start, at - start));
                start = at + 3;
                at += 2;
            }
        }
        if (fields.size() < 3)
            qFatal("bad case line in %s: %s", file.c_str(), line.constData());
        const QByteArray name = fields[0] + ": " + fields.takeAt(1);
        QTest::newRow(name.constData()) << fields;
    }
}

} // namespace test_cases
