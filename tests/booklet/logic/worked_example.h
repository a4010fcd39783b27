#pragma once

#include "core/files.h"
#include "header/logic/header_data.h"

#include <QtTest>

#include <filesystem>
#include <fstream>
#include <string>

// The worked example shared by the booklet tests: the header below with the job in
// data/worked_example.job, whose master station M1 stands on row 2, whose row 5 bears the
// master's name again and whose row 6 is a malformed fiducial point the user left out.
namespace booklet_test {

inline std::string dataFile(const char *name) {
    auto content = ferolan::readFile(std::filesystem::path(FEROLAN_TEST_DATA) / name);
    if (!content.ok())
        qFatal("missing test data file %s", name);
    return content.bytes;
}

inline void writeBytes(const std::filesystem::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline QByteArray fileBytes(const std::filesystem::path &path) {
    return QByteArray::fromStdString(ferolan::readFile(path).bytes);
}

inline ferolan::HeaderData workedExampleHeader() {
    ferolan::HeaderData header;
    header.Txt_data = "05032027";
    header.Txt_pg = "123456";
    header.Cmb_prov = "ROMA";
    header.Cmb_comune = "A123 PROVA";
    header.Txt_foglio = "12";
    header.Txt_mappali = "100,101;102";
    header.Txt_tecnico = "MARIO ROSSI";
    header.Cmb_albo = "GEOMETRA";
    header.Cmb_prov_albo = "roma";
    header.Txt_quota = "123";
    header.Txt_estmedia = "2312345";
    header.Cmb_prec1 = "10";
    header.Cmb_prec2 = "20";
    header.Cmb_tipo = "Frazionamento -FR";
    header.Txt_note = "NOTE; PROVA, UNO";
    return header;
}

constexpr std::size_t kMasterRow = 2;
constexpr std::size_t kMalformedRow = 6;

} // namespace booklet_test
