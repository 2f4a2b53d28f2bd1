#include "document/file_failure.h"

#include <cerrno>

namespace MyApp {

// The reasons a user can act on get a sentence of their own; the rest are named by their
// number, which is what a support page asks for.
std::string ErrnoReason(int error) {
    switch (error) {
    case ENOENT:
        return "Il file o la cartella non esiste.";
    case EACCES:
    case EPERM:
        return "Accesso negato: il file o la cartella \xC3\xA8 di sola lettura, oppure mancano i "
               "permessi.";
#ifdef EROFS
    case EROFS:
        return "Il disco \xC3\xA8 di sola lettura.";
#endif
    case ENOSPC:
        return "Il disco \xC3\xA8 pieno.";
#ifdef EDQUOT
    case EDQUOT:
        return "Lo spazio concesso all'utente sul disco \xC3\xA8 esaurito.";
#endif
    case EFBIG:
        return "Il file supera la dimensione che il disco consente.";
    case EISDIR:
        return "Con quel nome c'\xC3\xA8 una cartella.";
    case ENOTDIR:
        return "Una parte del percorso non \xC3\xA8 una cartella.";
    case ENAMETOOLONG:
        return "Il nome del file \xC3\xA8 troppo lungo.";
    case EINVAL:
        return "Il nome del file non \xC3\xA8 valido.";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return "Il file \xC3\xA8 in uso da un altro programma.";
    case EMFILE:
    case ENFILE:
        return "Ci sono troppi file aperti.";
    case ENOMEM:
        return "La memoria non basta.";
    case EIO:
        return "Errore del dispositivo durante la lettura o la scrittura.";
    case 0:
        return "Il sistema non ha indicato il motivo.";
    default:
        return "Errore di sistema " + std::to_string(error) + ".";
    }
}

std::string FileAndReason(const std::string& path, const std::string& reason) {
    return path + ": " + reason;
}

} // namespace MyApp
