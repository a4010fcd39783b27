#pragma once

#include "booklet/logic/booklet_rows.h"
#include "header/logic/header_data.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The check of a booklet against what Pregeo accepts and what a survey plausibly is. It
// refuses nothing: it tells the user what Pregeo will refuse (errore) and what is probably a
// mistake (avviso), and the user decides.
namespace ferolan {

class Tabella_comuni;

enum class Severity { Errore, Avviso };

struct Finding {
    Severity severity = Severity::Avviso;
    // The 1-based line of the booklet, 0 for a finding about the whole booklet.
    std::size_t line = 0;
    // The row type of that line (Windows-1252), as the line begins.
    std::string rowType;
    // The 1-based field after the row type, 0 for the whole line.
    std::size_t field = 0;
    // What is wrong and what to do (UTF-8).
    std::string message;
};

// "errore: linea 3 (riga 1), campo 2: ...", "avviso: libretto: ..." (UTF-8).
std::string findingText(const Finding &finding);

// One finding a line, at most `limit` of them, then "e altri N" (UTF-8, lines joined by LF).
std::string findingLines(const std::vector<Finding> &findings, std::size_t limit = 20);

bool hasErrore(const std::vector<Finding> &findings);

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

    // The check itself, which the functions above run on whole texts.
    class Checker;

private:
    class Reading;
    // Checks the rows of the oldest piece read; false, when not `wait`, if they are not read
    // yet.
    bool checkOldest(bool wait);
    // Queues the first `wholeLines` bytes of pending_ for reading, once there is room.
    void queuePending(std::size_t wholeLines);
    std::unique_ptr<Checker> checker_;
    std::unique_ptr<Reading> reading_;
    // The start of a line whose end has not come yet.
    std::string pending_;
};

// Checks rows 0 and 9 as the booklet will carry them from these header data (lines 1 and
// 2), with the master station as base for the mean east.
std::vector<Finding> Controlla_righe_0_9(const HeaderData &header, const Xyz &master,
                                         Tabella_comuni &table, std::chrono::year_month_day today);

// The header control a field of row 0 or 9 comes from; empty for constants and other rows.
std::string_view headerControlOfField(std::string_view rowType, std::size_t field);

} // namespace ferolan
