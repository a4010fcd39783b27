#include "batch/command_line.h"

#include "batch/dati_file.h"
#include "core/cp1252.h"
#include "core/text.h"
#include "job/master_station.h"

#include <algorithm>
#include <array>

namespace ferolan::batch {
namespace {

constexpr std::string_view kHelp = "--help";
constexpr std::string_view kConfronto = "--confronto";
constexpr std::string_view kAggiungi = "--aggiungi";
constexpr std::string_view kSevero = "--severo";
constexpr std::string_view kVerifica = "--verifica";
constexpr std::string_view kCartella = "--cartella";

// The options that take one value and may be given once.
struct SingleOption {
    std::string_view name;
    bool required = false;
    std::optional<std::string> value = {};
};

using SingleOptions = std::array<SingleOption, 10>;

SingleOption *findOption(SingleOptions &options, std::string_view name) {
    auto option = std::find_if(options.begin(), options.end(),
                               [name](const SingleOption &o) { return o.name == name; });
    return option == options.end() ? nullptr : &*option;
}

CommandLine wrong(std::string problem) {
    return {CommandLine::Wrong, {}, {}, std::move(problem)};
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::optional<ArchiveChoice> archiveChoiceOf(std::string_view word) {
    if (word == "proposti")
        return ArchiveChoice::Proposti;
    if (word == "nessuno")
        return ArchiveChoice::Nessuno;
    if (word == "tutti")
        return ArchiveChoice::Tutti;
    return std::nullopt;
}

// PFnn/ffff/cccc: fourteen characters of the archive's code page, "PF" and "/" in place.
std::optional<std::string> archivedPointName(std::string_view utf8) {
    std::optional<std::string> name = cp1252FromUtf8(utf8);
    if (!name || name->size() != 14 || !name->starts_with("PF") || columns(*name, 5, 1) != "/" ||
        columns(*name, 10, 1) != "/")
        return std::nullopt;
    return name;
}

// --verifica BOOKLET [--cartella DIR], in either order.
CommandLine parseVerify(std::span<const std::string_view> arguments) {
    VerifyRequest verify;
    std::optional<std::string> booklet;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        std::string_view argument = arguments[i];
        if (argument != kVerifica && argument != kCartella)
            return wrong(argument.starts_with("--")
                             ? "L'opzione " + std::string(argument) +
                                   " non si usa con --verifica, che ammette solo --cartella."
                             : "Argomento inatteso: " + inQuotes(argument) + ".");
        if (i + 1 == arguments.size())
            return wrong("Manca il valore dell'opzione " + std::string(argument) + ".");
        std::optional<std::string> &value = argument == kVerifica ? booklet : verify.cartella;
        if (value)
            return wrong("L'opzione " + std::string(argument) + " è ripetuta.");
        if (arguments[i + 1].empty())
            return wrong("Il valore dell'opzione " + std::string(argument) + " è vuoto.");
        value = arguments[i + 1];
    }
    verify.libretto = *booklet;
    return {CommandLine::Verify, {}, std::move(verify), {}};
}

} // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
    if (arguments.size() == 1 && arguments.front() == kHelp)
        return {CommandLine::Help, {}, {}, {}};
    if (std::find(arguments.begin(), arguments.end(), kVerifica) != arguments.end())
        return parseVerify(arguments);

    SingleOptions options = {{{"--lavoro", true},
                              {"--master", true},
                              {"--dati", true},
                              {"--libretto", true},
                              {"--archivia"},
                              {"--cartella"},
                              {"--schema"},
                              {"--zona"},
                              {"--distanze"},
                              {"--formato"}}};
    BatchRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == kHelp)
            return wrong("L'opzione --help va data da sola.");
        if (argument == kConfronto || argument == kSevero) {
            bool &flag = argument == kConfronto ? request.confronto : request.severo;
            if (flag)
                return wrong("L'opzione " + std::string(argument) + " è ripetuta.");
            flag = true;
            continue;
        }
        SingleOption *option = findOption(options, argument);
        if (option == nullptr && argument != kAggiungi)
            return wrong(argument.starts_with("--")
                             ? "Opzione sconosciuta: " + std::string(argument) + "."
                             : "Argomento inatteso: " + inQuotes(argument) + ".");
        if (i + 1 == arguments.size())
            return wrong("Manca il valore dell'opzione " + std::string(argument) + ".");
        std::string_view value = arguments[++i];

        if (argument == kAggiungi) {
            std::optional<std::string> name = archivedPointName(value);
            if (!name)
                return wrong("Il valore " + inQuotes(value) +
                             " dell'opzione --aggiungi non ha la forma PFnn/ffff/cccc.");
            request.aggiungi.push_back(std::move(*name));
            continue;
        }
        if (option->value)
            return wrong("L'opzione " + std::string(argument) + " è ripetuta.");
        // A point may be named by nothing (and is then refused as the window refuses it);
        // a file or folder may not.
        if (value.empty() && argument != "--master")
            return wrong("Il valore dell'opzione " + std::string(argument) + " è vuoto.");
        option->value = value;
    }

    for (const SingleOption &option : options)
        if (option.required && !option.value)
            return wrong("Manca l'opzione obbligatoria " + std::string(option.name) + ".");
    auto valueOf = [&options](std::string_view name) { return findOption(options, name)->value; };
    request.lavoro = *valueOf("--lavoro");
    request.formato = valueOf("--formato");
    request.master = *valueOf("--master");
    request.dati = *valueOf("--dati");
    request.libretto = withDatExtension(*valueOf("--libretto"));
    if (const std::optional<std::string> &word = valueOf("--archivia")) {
        std::optional<ArchiveChoice> choice = archiveChoiceOf(*word);
        if (!choice)
            return wrong("Il valore " + inQuotes(*word) +
                         " dell'opzione --archivia non è ammesso: si può scegliere proposti, "
                         "nessuno o tutti.");
        request.archivia = *choice;
    }
    request.cartella = valueOf("--cartella");
    request.schema = valueOf("--schema");
    if (const std::optional<std::string> &word = valueOf("--zona")) {
        std::optional<DistanceZone> zone = zoneOfWord(*word);
        if (!zone)
            return wrong("Il valore " + inQuotes(*word) +
                         " dell'opzione --zona non è ammesso: si può scegliere urbana, "
                         "pianeggiante o sfavorevole.");
        request.zona = *zone;
    }
    request.distanze = valueOf("--distanze");
    return {CommandLine::Run, std::move(request), {}, {}};
}

std::string usageText() {
    constexpr std::string_view kIndent = "                         ";
    std::string controls(kIndent);
    std::size_t lineLength = 0;
    for (std::string_view name : headerControlNames()) {
        if (lineLength > 0 && lineLength + 1 + name.size() > 55) {
            controls += '\n';
            controls += kIndent;
            lineLength = 0;
        } else if (lineLength > 0) {
            controls += ' ';
            ++lineLength;
        }
        controls += name;
        lineLength += name.size();
    }
    return "Uso:\n"
           "  ferolan-batch --lavoro LAVORO --master NOME --dati FILE --libretto LIBRETTO\n"
           "                [--archivia proposti|nessuno|tutti] [--aggiungi PFnn/ffff/cccc]...\n"
           "                [--cartella CARTELLA] [--confronto] [--severo]\n"
           "                [--schema SCHEMA.svg] [--zona urbana|pianeggiante|sfavorevole]\n"
           "                [--distanze FILE] [--formato FORMATO]\n"
           "  ferolan-batch --verifica LIBRETTO [--cartella CARTELLA]\n"
           "  ferolan-batch --help\n"
           "\n"
           "Crea il libretto Pregeo da un lavoro esportato da TGO, come le finestre di Ferolan.\n"
           "  --lavoro LAVORO        il file del lavoro esportato da TGO (o, con --formato,\n"
           "                         il file di punti di un altro strumento)\n"
           "  --master NOME          il punto da usare come stazione master\n"
           "  --dati FILE            i dati delle righe 0, 9, 1 e 6, una riga\n"
           "                         Controllo=valore per campo; i controlli sono:\n" +
           controls +
           "\n"
           "                         (un controllo non indicato prende il valore proposto\n"
           "                         dalla finestra)\n"
           "  --libretto LIBRETTO    il libretto da creare (\".dat\" è aggiunto se manca)\n"
           "  --archivia SCELTA      i punti fiduciali da archiviare: proposti (predefinito),\n"
           "                         nessuno o tutti (anche quelli già in archivio, che\n"
           "                         sono archiviati di nuovo; un punto ripetuto nel lavoro\n"
           "                         una volta sola); più programmi che archiviano i punti\n"
           "                         proposti insieme non archiviano mai due volte lo\n"
           "                         stesso punto, con tutti sì\n"
           "  --aggiungi PF          aggiunge al libretto un punto fiduciale dell'archivio;\n"
           "                         si può ripetere\n"
           "  --cartella CARTELLA    la cartella di ferolan.ini e cod_comuni_2.cod\n"
           "                         (predefinita: quella del programma)\n"
           "  --confronto            stampa il confronto dei punti fiduciali con l'archivio\n"
           "  --severo               stato di uscita 4 quando il controllo del libretto trova\n"
           "                         un errore (il libretto resta scritto)\n"
           "  --verifica LIBRETTO    controlla un libretto qualsiasi, anche fatto da un altro\n"
           "                         programma, e ne stampa i problemi\n"
           "  --schema SCHEMA.svg    disegna lo schema del rilievo in SVG, dopo il libretto\n"
           "  --zona ZONA            le tolleranze delle distanze tra punti fiduciali: urbana\n"
           "                         (predefinita), pianeggiante o sfavorevole\n"
           "  --distanze FILE        scrive le distanze tra i punti fiduciali trovati in\n"
           "                         archivio, oggi e in archivio, con la tolleranza della\n"
           "                         zona (dopo il libretto); ogni coppia fuori tolleranza è\n"
           "                         anche un avviso sullo standard error\n"
           "  --formato FORMATO      il file .formato (separatore, decimali, colonne) con cui\n"
           "                         leggere --lavoro; le righe non importate vanno sullo\n"
           "                         standard error\n"
           "  --help                 mostra questo aiuto\n"
           "\n"
           "Dopo la scrittura il libretto è controllato: ogni problema va sullo standard error\n"
           "in una riga \"errore: ...\" (Pregeo lo rifiuterà) o \"avviso: ...\" (probabile\n"
           "svista).\n"
           "\n"
           "Stato di uscita: 0 libretto creato; 1 riga di comando o file dei dati errati;\n"
           "2 stazione master o dati dell'intestazione rifiutati; 3 file o cartella che non si\n"
           "può leggere, creare o scrivere; 4 con --severo, libretto creato ma con un errore.\n"
           "Con --verifica: 0 nessun errore (possono esserci avvisi); 4 almeno un errore;\n"
           "3 libretto o tabella dei comuni illeggibile.\n";
}

} // namespace ferolan::batch
