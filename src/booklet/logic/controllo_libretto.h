#pragma once

#include "core/check_findings.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The check of a booklet against what Pregeo accepts and what a survey plausibly is. Its
// rules are the catalogue of booklet_rules.h and header_rules.h.
namespace ferolan {

class Tabella_comuni;

// Checks a whole booklet (Windows-1252, lines as the program reads them). The municipality
// codes and the provinces of registration are looked up in `table`; `today` decides which
// dates lie in the future. Findings come ordered by line, then field; those about the whole
// booklet first.
std::vector<Finding> Controlla_libretto(std::string_view booklet, Tabella_comuni &table,
                                        std::chrono::year_month_day today);

// The same check of a booklet handed over piece by piece as it is written, so that a large
// booklet is checked without being read back whole.
class BookletCheck {
public:
    // `expectedLines` makes room ahead for the booklet's names; it limits nothing.
    BookletCheck(Tabella_comuni &table, std::chrono::year_month_day today,
                 std::size_t expectedLines = 0);
    ~BookletCheck();
    BookletCheck(const BookletCheck &) = delete;
    BookletCheck &operator=(const BookletCheck &) = delete;

    // The booklet's next bytes, cut anywhere.
    void add(std::string_view piece);
    // The findings, as Controlla_libretto gives them, once every piece has been added.
    std::vector<Finding> findings();

private:
    class Checker;
    std::unique_ptr<Checker> checker_;
    // The start of a line whose end has not come yet; at the start of the booklet, the first
    // bytes until they tell whether the file begins with a byte order mark.
    std::string pending_;
    bool started_ = false;
};

} // namespace ferolan
