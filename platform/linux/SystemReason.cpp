#include "platform/linux/SystemReason.h"

#include <cerrno>
#include <cstring>

#include "platform/linux/FileInUse.h"

namespace vidor::platform::linux_ {

std::string reasonOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "accès refusé";
        case ENOENT:
            return "fichier introuvable";
        case ENOTDIR:
            return "un élément du chemin n'est pas un dossier";
        case ELOOP:
            return "un dossier du chemin est un lien symbolique";
        case EXDEV:
            return "un dossier du chemin est sur un autre volume";
        case EISDIR:
            return "c'est un dossier";
        case EBADF:
            return "dossier inaccessible";
        case ETXTBSY:
            return kFileInUse;
        case EBUSY:
            return "fichier occupé par le système";
        case EROFS:
            return "volume en lecture seule";
        case ENOSPC:
            return "disque plein";
        case EDQUOT:
            return "quota de disque dépassé";
        case EIO:
            return "erreur d'entrée/sortie";
        case EMFILE:
        case ENFILE:
            return "trop de fichiers ouverts";
        case ENOMEM:
            return "mémoire insuffisante";
        case ENAMETOOLONG:
            return "nom trop long";
        case EEXIST:
        case ENOTEMPTY:
            return "nom déjà pris";
        default:
            return std::strerror(error);
    }
}

}  // namespace vidor::platform::linux_
