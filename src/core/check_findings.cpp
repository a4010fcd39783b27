#include "core/check_findings.h"

#include "core/cp1252.h"
#include "core/numbers.h"

#include <algorithm>

namespace ferolan {

Finding findingOf(const CheckRule &rule, std::size_t line, std::string_view rowType,
                  std::size_t field, std::initializer_list<std::string_view> arguments) {
    std::string message;
    std::string_view rest = rule.message;
    for (std::string_view argument : arguments) {
        const std::size_t gap = rest.find("{}");
        if (gap == std::string_view::npos)
            break;
        message.append(rest.substr(0, gap)).append(argument);
        rest.remove_prefix(gap + 2);
    }
    message += rest;
    return {rule.severity, line, std::string(rowType), field, std::move(message), rule.id};
}

std::string findingText(const Finding &finding) {
    std::string text = finding.severity == Severity::Errore ? "errore: " : "avviso: ";
    if (finding.line == 0)
        text += "libretto";
    else
        text += "linea " + std::to_string(finding.line);
    if (finding.line != 0 && !finding.rowType.empty())
        text += " (riga " + utf8FromCp1252(finding.rowType) + ")";
    if (finding.field != 0)
        text += ", campo " + std::to_string(finding.field);
    text += ": " + finding.message;
    if (!finding.id.empty())
        text += " [" + std::string(finding.id) + "]";
    return text;
}

std::string findingLines(const std::vector<Finding> &findings, std::size_t limit) {
    std::string lines;
    for (std::size_t i = 0; i < std::min(findings.size(), limit); ++i) {
        if (i > 0)
            lines += '\n';
        lines += findingText(findings[i]);
    }
    if (findings.size() > limit)
        lines += "\ne altri " + std::to_string(findings.size() - limit);
    return lines;
}

bool hasErrore(const std::vector<Finding> &findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding &f) { return f.severity == Severity::Errore; });
}

void sortFindings(std::vector<Finding> &findings) {
    std::stable_sort(findings.begin(), findings.end(), [](const Finding &a, const Finding &b) {
        return a.line != b.line ? a.line < b.line : a.field < b.field;
    });
}

std::string inQuotes(std::string_view cp1252) {
    return "\"" + utf8FromCp1252(cp1252) + "\"";
}

std::string kilometres(double metres) {
    return decimalText(metres / 1000.0, 1, ',') + " km";
}

} // namespace ferolan
