#include "core/unexpected_failure.h"

#include <new>

namespace ferolan {

std::string unexpectedFailureText(const std::exception &failure) {
    if (dynamic_cast<const std::bad_alloc *>(&failure))
        return "Memoria insufficiente.";
    return "Errore inatteso: " + std::string(failure.what()) + ".";
}

} // namespace ferolan
