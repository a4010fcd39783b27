#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// What the booklet check reports, and how a report reads. The check refuses nothing: it tells
// the user what Pregeo will refuse (errore) and what is probably a mistake (avviso).
namespace ferolan {

enum class Severity { Errore, Avviso };

// One entry of the check's catalogue: a short id that stays the same from release to
// release (users and the help page quote it), the severity, the row type the rule is about
// (empty for the booklet as a whole or for a line of any type) and the message, in which each
// "{}" takes the next argument (UTF-8).
struct CheckRule {
    std::string_view id;
    Severity severity;
    std::string_view rowType;
    std::string_view message;
};

struct Finding {
    Severity severity = Severity::Avviso;
    // The 1-based line of the booklet, 0 for a finding about the whole booklet.
    std::size_t line = 0;
    // The row type of that line (Windows-1252), as the line begins; empty for a line that
    // has none, such as a blank one.
    std::string rowType;
    // The 1-based field after the row type, 0 for the whole line.
    std::size_t field = 0;
    // What is wrong and what to do (UTF-8).
    std::string message;
    // The id of the rule in the catalogue.
    std::string_view id;
};

// A finding of `rule` at that place, its message filled with `arguments` (UTF-8).
Finding findingOf(const CheckRule &rule, std::size_t line, std::string_view rowType,
                  std::size_t field, std::initializer_list<std::string_view> arguments = {});

// "errore: linea 3 (riga 1), campo 2: ... [R1-COORDINATE]", "avviso: libretto: ... [id]",
// "avviso: linea 7: riga vuota [id]" (UTF-8).
std::string findingText(const Finding &finding);

// One finding a line, at most `limit` of them, then "e altri N" (UTF-8, lines joined by LF).
std::string findingLines(const std::vector<Finding> &findings, std::size_t limit = 20);

bool hasErrore(const std::vector<Finding> &findings);

// Ordered by line, then field; those about the whole booklet first; otherwise as found.
void sortFindings(std::vector<Finding> &findings);

// A quoted text of the checked file, for messages: "\"ZZZZ\"" (Windows-1252 in, UTF-8 out).
std::string inQuotes(std::string_view cp1252);

// Metres as kilometres with one decimal and a decimal comma: "31,7 km".
std::string kilometres(double metres);

} // namespace ferolan
