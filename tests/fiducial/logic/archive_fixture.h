#pragma once

#include "core/files.h"
#include "fiducial/logic/fiducial_archive.h"
#include "header/logic/tabella_comuni.h"

#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

namespace fiducial_test {
namespace fs = std::filesystem;

inline void writeBytes(const fs::path &path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string bytesOf(const fs::path &path) {
    return ferolan::readFile(path).bytes;
}

inline std::string dataFile(std::string_view name) {
    return bytesOf(fs::path(FEROLAN_TEST_DATA) / name);
}

inline QStringList textsOf(std::initializer_list<std::string_view> texts) {
    QStringList list;
    for (std::string_view text : texts)
        list << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return list;
}

// A job file line in its fixed columns: name 1-16, description 17-52, X 69-80, Y 81-92,
// Z 93-104.
inline std::string jobLine(std::string_view name, std::string_view description, std::string_view x,
                           std::string_view y, std::string_view z) {
    std::string line;
    for (auto [text, width] : {std::pair{name, 16},
                               {description, 36},
                               {std::string_view(), 16},
                               {x, 12},
                               {y, 12},
                               {z, 12}}) {
        line += text;
        line.resize(line.size() + static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return line + "\r\n";
}

// An archive under a temporary Path_pf with the folder of province "PROVA", and a code
// table that knows A123 and B456. The province is given with blanks, which the path drops.
class ArchiveFixture {
public:
    ArchiveFixture() {
        fs::create_directories(provinceFolder());
        writeBytes(table(), "*PROVA\r\nA123 - ALFA\r\nB456 - BETA\r\n");
    }

    fs::path root() const { return dir.path().toStdString(); }
    fs::path provinceFolder() const { return root() / "punti_fiduciali" / "PROVA"; }
    fs::path table() const { return root() / "cod_comuni_2.cod"; }
    fs::path alfa() const { return provinceFolder() / "A123 - ALFA.pf"; }
    fs::path beta() const { return provinceFolder() / "B456 - BETA.pf"; }

    const std::string &pathPf() const { return pathPf_; }
    ferolan::Tabella_comuni &tabella() { return tabella_; }
    ferolan::ProvinceArchive archive() { return {pathPf_, " PROVA ", tabella_}; }

private:
    QTemporaryDir dir;
    std::string pathPf_ = root().string(); // an ASCII temporary folder: the same bytes
    ferolan::Tabella_comuni tabella_{table()};
};

} // namespace fiducial_test
