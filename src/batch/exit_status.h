#pragma once

// The exit statuses of ferolan-batch, on which scripts rely.
namespace ferolan::batch {

enum ExitStatus : int {
    kDone = 0,
    // An unknown, repeated or missing option or value, or a --dati line that names no control.
    kWrongCommandLine = 1,
    // The master station or the header data, refused with the windows' own messages.
    kRefused = 2,
    // A file or folder that cannot be read, created or written.
    kFileProblem = 3,
    // The booklet check found an errore: with --severo after writing (the booklet is kept),
    // and always with --verifica.
    kBookletErrore = 4,
};

} // namespace ferolan::batch
