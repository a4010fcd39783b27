#pragma once

#include "core/check_findings.h"

#include <vector>

// The booklet check's own rules, beside those of rows 0 and 9 that the header's logic holds.
namespace ferolan {
namespace rule {
using enum Severity;
// The booklet as a whole and the place of its rows.
inline constexpr CheckRule kByteOrderMark{
    "BOM", Errore, "", "il file comincia con un BOM UTF-8: salvarlo in Windows-1252 (ANSI)"};
inline constexpr CheckRule kBlankLine{"RIGA-VUOTA", Avviso, "", "riga vuota"};
inline constexpr CheckRule kNotClosed{
    "RIGA-NON-CHIUSA", Errore, "",
    "la riga non termina con \"|\": aggiungere il separatore finale."};
inline constexpr CheckRule kNoRow0{"R0-MANCA", Errore, "0",
                                   "manca la riga 0: il libretto deve cominciare con la riga 0."};
inline constexpr CheckRule kRow0NotFirst{"R0-POSIZIONE", Errore, "0",
                                         "la riga 0 deve essere la prima del libretto."};
inline constexpr CheckRule kRow0Twice{"R0-RIPETUTA", Errore, "0",
                                      "il libretto ha più di una riga 0: tenere solo la prima."};
inline constexpr CheckRule kNoRow9{"R9-MANCA", Errore, "9",
                                   "manca la riga 9: deve essere la seconda riga del libretto."};
inline constexpr CheckRule kRow9NotSecond{"R9-POSIZIONE", Errore, "9",
                                          "la seconda riga del libretto deve essere la riga 9."};
inline constexpr CheckRule kUnchecked{"NON-CONTROLLATE", Avviso, "",
                                      "{} non controllate ({} in tutto, la prima qui)."};
// GNSS bases.
inline constexpr CheckRule kRow1Fields{"R1-CAMPI", Errore, "1",
                                       "la riga ha {} campi, ne servono 3: completarla."};
inline constexpr CheckRule kBaseCoordinates{
    "R1-COORDINATE", Errore, "1",
    "le coordinate {} non sono tre numeri separati da virgole: correggerle."};
inline constexpr CheckRule kBaseRadius{
    "R1-RAGGIO", Avviso, "1",
    "la base dista {} dal centro della Terra, mentre ogni punto d'Italia ne dista tra 6350 e "
    "6390 km: controllare le coordinate."};
inline constexpr CheckRule kBaseOutsideItaly{
    "R1-FUORI-ITALIA", Avviso, "1",
    "la base cade a latitudine {}° N, longitudine {}° E, fuori dall'Italia (35°-48° N, "
    "6°-19° E): controllare segni e ordine delle coordinate."};
inline constexpr CheckRule kNoSession{
    "R1-SENZA-SESSIONE", Errore, "1",
    "la base non è seguita dalla sua riga 6 (strumento, inizio e fine della sessione, metodo): "
    "aggiungerla subito dopo la riga 1."};
// The session row of a GNSS base.
inline constexpr CheckRule kRow6Fields{"R6-CAMPI", Errore, "6",
                                       "la riga ha {} campi, ne servono 5: completarla."};
inline constexpr CheckRule kSessionTime{
    "R6-ORARIO", Errore, "6",
    "{} non è un giorno e un'ora scritti GGMMAAAA-hh:mm (ore da 00:00 a 23:59): correggerlo."};
inline constexpr CheckRule kSessionOrder{"R6-FINE-PRIMA", Avviso, "6",
                                         "la sessione finisce ({}) prima di cominciare ({}): "
                                         "controllare le ore."};
inline constexpr CheckRule kSessionMethod{
    "R6-METODO", Avviso, "6",
    "il metodo {} non è uno di RTK, NRTK, REALVRS, STATICO: controllarlo."};
inline constexpr CheckRule kRtkFromNetwork{
    "R6-NRTK", Avviso, "6",
    "la base dista {} dal punto più vicino: un rilievo appoggiato a una rete di stazioni "
    "permanenti va codificato NRTK (Ris. 20/E 2024)."};
inline constexpr CheckRule kNrtkBase{
    "NRTK-BASE", Avviso, "1",
    "con il metodo NRTK la base è la stazione permanente e si chiama 10000, non {}: "
    "rinominarla (Ris. 20/E 2024)."};
inline constexpr CheckRule kNrtkVrs{
    "NRTK-VRS", Avviso, "2",
    "{}: con il metodo NRTK il primo vettore della base, e solo quello, è il punto virtuale "
    "segnato [VRS] alla fine del suo ultimo campo (Ris. 20/E 2024)."};
// Vectors.
inline constexpr CheckRule kRow2Fields{"R2-CAMPI", Errore, "2",
                                       "la riga ha {} campi, ne servono 5: completarla."};
inline constexpr CheckRule kVectorNotNumbers{
    "R2-VETTORE", Errore, "2",
    "le componenti del vettore {} non sono tre numeri separati da virgole: correggerle."};
inline constexpr CheckRule kVectorBeforeBase{
    "R2-SENZA-BASE", Errore, "2",
    "riga 2 prima di ogni riga 1: ogni vettore deve seguire la riga 1 della sua base."};
inline constexpr CheckRule kLongVector{
    "R2-LUNGO", Avviso, "2",
    "il vettore è lungo {}, più di 50 km: controllare la base e il punto."};
inline constexpr CheckRule kNoMatrixBeyond5km{
    "R2-MATRICE-5KM", Errore, "2",
    "il vettore è lungo {} e i sei termini sono a zero: Pregeo richiede la matrice di "
    "varianza-covarianza per i vettori oltre 5 km."};
inline constexpr CheckRule kZeroMatrices{
    "R2-MATRICE-ZERO", Avviso, "2",
    "{} i sei termini di varianza-covarianza tutti a zero: alcuni uffici li rifiutano come "
    "matrice \"non definita positiva\" (Pregeo 10.6.4 e successivi); esportare i vettori con "
    "la loro matrice."};
inline constexpr CheckRule kMatrixNotPositive{
    "R2-MATRICE", Avviso, "2",
    "i sei termini di varianza-covarianza non formano una matrice definita positiva: "
    "controllare l'esportazione del vettore."};
// Points and their names.
inline constexpr CheckRule kEmptyName{"NOME-VUOTO", Errore, "",
                                      "il nome del punto è vuoto: dargli un nome."};
inline constexpr CheckRule kRepeatedName{
    "NOME-RIPETUTO", Avviso, "",
    "il nome {} compare già alla linea {}: i nomi devono essere unici."};
inline constexpr CheckRule kBaseName{"NOME-BASE", Avviso, "2",
                                     "il punto ha lo stesso nome della sua base {}: rinominarlo."};
inline constexpr CheckRule kMalformedPf{
    "NOME-PF", Avviso, "",
    "il nome {} comincia con PF ma non ha la forma PFnn/ffff/cccc dei punti fiduciali."};
inline constexpr CheckRule kOddNames{
    "NOME-CARATTERI", Avviso, "",
    "nomi di punti con caratteri diversi da A-Z, 0-9 e /-_. ({}): usare solo questi caratteri."};
inline constexpr CheckRule kFewFiducialPoints{
    "PF-MENO-DI-3", Avviso, "",
    "il rilievo è collegato a {} punti fiduciali: ne servono almeno tre."};
} // namespace rule

// Every rule of the check, those of rows 0 and 9 first, as the help page lists them.
std::vector<const CheckRule *> bookletCheckRules();

} // namespace ferolan
