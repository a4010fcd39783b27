#pragma once

#include "core/check_findings.h"
#include "core/pregeo_row.h"
#include "header/logic/header_data.h"
#include "job/point_list.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The booklet check's rules for rows 0 and 9 and for the characters of any row: the header
// window runs them on the rows its data will make, the booklet check on every booklet.
namespace ferolan {

class Tabella_comuni;

namespace rule {
using enum Severity;
// The characters of any row.
inline constexpr CheckRule kControlCharacter{
    "CARATTERE-CONTROLLO", Errore, "",
    "il campo contiene un carattere di controllo (codice {}), che Pregeo non legge: toglierlo."};
inline constexpr CheckRule kAccents{
    "ACCENTI", Avviso, "",
    "{} ({}), che hanno dato problemi dopo la presentazione: scriverle senza accento (A' per "
    "À)."};
inline constexpr CheckRule kUtf8{
    "UTF8", Avviso, "",
    "il file sembra scritto in UTF-8 ({}): salvarlo in Windows-1252 (ANSI) e correggere le "
    "lettere accentate."};
// Row 0.
inline constexpr CheckRule kRow0Fields{"R0-CAMPI", Errore, "0",
                                       "la riga ha {} campi, ne servono 8: completarla."};
inline constexpr CheckRule kDate{
    "R0-DATA", Errore, "0",
    "la data {} non è un giorno del calendario scritto GGMMAAAA: correggerla."};
inline constexpr CheckRule kFutureDate{"R0-DATA-FUTURA", Avviso, "0",
                                       "la data {} è successiva a oggi: controllarla."};
inline constexpr CheckRule kMunicipalityForm{
    "R0-COMUNE", Errore, "0",
    "il codice del comune {} non è una lettera seguita da tre cifre (come A074): sceglierlo "
    "dall'elenco dei comuni."};
inline constexpr CheckRule kMunicipalityUnknown{
    "R0-COMUNE-IGNOTO", Avviso, "0",
    "il codice del comune {} non è nella tabella dei comuni: controllarlo."};
inline constexpr CheckRule kSheet{
    "R0-FOGLIO", Avviso, "0",
    "il foglio {} non ha la forma attesa: tre caratteri del foglio e uno dell'allegato (come "
    "0012 per il foglio 1, allegato 2)."};
inline constexpr CheckRule kParcelsLength{
    "R0-MAPPALI-LUNGHI", Errore, "0",
    "i mappali occupano {} caratteri, più dei 39 ammessi: abbreviarli."};
inline constexpr CheckRule kParcelsPoint{
    "R0-MAPPALI-PUNTO", Avviso, "0",
    "i mappali contengono \".\": vanno separati da virgole (101,102), controllarli."};
inline constexpr CheckRule kTitle{
    "R0-TITOLO", Avviso, "0",
    "il titolo {} non è nell'elenco dei titoli professionali: sceglierlo dall'elenco."};
inline constexpr CheckRule kProvince{
    "R0-PROVINCIA", Avviso, "0",
    "la provincia di iscrizione {} non è nell'elenco delle province: sceglierla dall'elenco."};
inline constexpr CheckRule kProvinceAbbreviation{
    "R0-PROVINCIA-SIGLA", Avviso, "0",
    "la provincia di iscrizione {} è una sigla: scrivere il nome intero della provincia."};
// Row 9.
inline constexpr CheckRule kRow9Fields{"R9-CAMPI", Errore, "9",
                                       "la riga ha {} campi, ne servono 7: completarla."};
inline constexpr CheckRule kNotANumber{"R9-NUMERO", Errore, "9",
                                       "{} {} non è un numero: correggerlo."};
inline constexpr CheckRule kTypeCode{
    "R9-TIPO", Avviso, "9",
    "il tipo di elaborato {} non è uno dei codici di Pregeo (FR, MC, MA, 26, PA o un numero da "
    "1 a 34): sceglierlo dall'elenco."};
inline constexpr CheckRule kEastZero{
    "R9-EST-ZERO", Avviso, "9",
    "l'est medio 0 dice a Pregeo di non applicare la proiezione cartografica: lasciarlo solo se "
    "è voluto."};
inline constexpr CheckRule kEastNotGaussBoaga{
    "R9-EST-NON-GB", Avviso, "9",
    "l'est medio {} non è un est Gauss-Boaga (Cassini-Soldner o sistema locale?): controllare "
    "l'est medio."};
inline constexpr CheckRule kEastZone{
    "R9-EST-ZONA", Avviso, "9",
    "l'est medio {} non è nella zona Gauss-Boaga dei punti rilevati ({}, longitudine {}° E): "
    "controllare l'est medio."};
inline constexpr CheckRule kEastFar{
    "R9-EST-LONTANO", Avviso, "9",
    "l'est medio {} dista {} dall'est dei punti rilevati ({}), più di 20 km: controllare l'est "
    "medio."};
} // namespace rule

// The rules above, in the order the help page lists them.
std::span<const CheckRule *const> headerCheckRules();

// The characters of each row: a control character is an errore at its field; accented
// letters and UTF-8 sequences are told once for all rows, by finish().
class CharacterCheck {
public:
    void check(const PregeoRow &row, std::vector<Finding> &findings);
    void finish(std::vector<Finding> &findings) const;

private:
    std::vector<std::size_t> accentedLines_, utf8Lines_;
};

// The rules of row 0: dates before or on `today` are not in the future; codes and provinces
// are looked up in `table`.
void checkRow0(const PregeoRow &row, Tabella_comuni &table, std::chrono::year_month_day today,
               std::vector<Finding> &findings);

// The rules of row 9 but the mean east's place, which needs the surveyed points: the mean
// east, when its field is a number.
std::optional<double> checkRow9(const PregeoRow &row, std::vector<Finding> &findings);

// The mean east of row 9 (at `line`) against the centroid of the surveyed points, if any.
void checkMeanEast(std::size_t line, double east, const std::optional<Xyz> &centroid,
                   std::vector<Finding> &findings);

// Rows 0 and 9 as the booklet will carry them from these header data (lines 1 and 2), the
// mean east against the centroid of the job's surveyed points. Ordered as the booklet check
// orders its findings.
std::vector<Finding> Controlla_righe_0_9(const HeaderData &header,
                                         const std::optional<Xyz> &centroid, Tabella_comuni &table,
                                         std::chrono::year_month_day today);

// The header control a field of row 0 or 9 comes from; empty for constants and other rows.
std::string_view headerControlOfField(std::string_view rowType, std::size_t field);

} // namespace ferolan
