#include "update/Messages.h"

#include "korlib/Texte.h"

namespace vidor::update {

namespace {

using korlib::SautsLigne;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string updaterMissing(const std::string& updaterName, const std::string& programFolder) {
    return "Je ne trouve pas le programme " + quoted(updaterName) + " dans le répertoire " +
           quoted(programFolder) + " qui me sert à tenir vos programmes à jour !";
}

std::string keepFolderQuestion(const std::string& updaterName, const std::string& programFolder) {
    return updaterMissing(updaterName, programFolder) + SautsLigne(1) +
           "Désirez-vous CONSERVER ce nom de répertoire ?" + SautsLigne(2) +
           "Répondez OUI S'IL EST TEMPORAIREMENT INATTEIGNABLE." + SautsLigne(2) +
           "Répondez NON pour changer de répertoire ou renoncer définitivement à ce service.";
}

std::string folderPrompt(bool folderKnown) {
    std::string prompt =
        "Ce programme est équipé du système de mise à jour automatique. Ceci lui permet de se "
        "mettre automatiquement à jour dès qu'une nouvelle version est disponible dans le "
        "répertoire de mise à jour." +
        SautsLigne(2) + "Répertoire de mise à jour :" + SautsLigne(2) +
        "(Typer un signe moins (-) si votre ordinateur n'est pas en réseau ou si vous ne désirez "
        "pas bénéficier de la mise à jour automatique";
    if (!folderKnown) return prompt + ")";
    return prompt + ", ou cliquez sur " + quoted("Annuler") +
           " pour conserver le répertoire actuel et renoncer temporairement à la mise à jour "
           "automatique jusqu'à que ce répertoire soit à nouveau accessible)";
}

std::string fromUpdateFolder() {
    return "Il n'est pas permis d'exécuter ce programme depuis son répertoire de mise à jour !" +
           SautsLigne(2) +
           "Vous pouvez cependant en faire une copie sur votre disque dur et exécuter cette "
           "dernière !";
}

std::string noDate(const std::string& programFile) {
    return "Je ne peux pas obtenir la date du fichier " + quoted(programFile) + " !";
}

std::string cannotDelete(const std::string& baseName, const std::string& updateFolder,
                         const std::string& error) {
    return "Je ne parviens pas à détruire l'ancienne version du programme " + quoted(baseName) +
           " dans le répertoire réseau " + quoted(updateFolder) + " pour la mettre à jour !" +
           SautsLigne(2) + "(" + error + ")";
}

std::string cannotCopy(const std::string& baseName, const std::string& updateFolder,
                       const std::string& programFolder, const std::string& error) {
    return "Je ne parviens pas à copier la nouvelle version du programme " + quoted(baseName) +
           " dans le répertoire réseau " + quoted(updateFolder) +
           " à partir de celle se trouvant dans le répertoire " + quoted(programFolder) + " !" +
           SautsLigne(2) + "CE PROGRAMME N'EXISTE DONC PLUS SUR LE RÉSEAU !" + SautsLigne(2) + "(" +
           error + ")";
}

std::string cannotStartUpdater(const std::string& baseName, const std::string& updaterName) {
    return "Le programme " + quoted(baseName) +
           " doit être mis à jour mais je ne peux pas lancer le programme de mise à jour (" +
           updaterName + ") !" + SautsLigne(2);
}

}  // namespace vidor::update
