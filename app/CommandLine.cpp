// The command line and the unattended run: "/U:" and "/E:" choose drives and extensions, or
// "/AUTO" takes those of the last manual run; the census and the deletion then run by themselves.

#include "app/CommandLine.h"

#include "app/F_Main.h"
#include "korlib/Fenetre.h"
#include "korlib/ListeCherche.h"
#include "korlib/Texte.h"
#include "platform/Version.h"

namespace vidor::app {

namespace {

constexpr int kManualHeight = 3720;

void deselectAll(platform::ListBox& list) {
    for (int i = 0; i < list.count(); ++i) list.setSelected(i, false);
}

constexpr const char* kUsage =
    "Utilisation : vidor [/U:[<unité>[,<unité>[,...]]]] [/E:[<extension>[,<extension>[,...]]]]\n"
    "              vidor /AUTO\n"
    "              vidor /PLANIFIER[:QUOTIDIEN | :HEBDOMADAIRE | :NON]\n"
    "              vidor /LISTE [/U:... /E:... | /AUTO]\n"
    "              vidor /RESTAURER\n"
    "              vidor --help | --version\n"
    "\n"
    "Recherche et supprime les fichiers temporaires. Sans paramètre, Vidor ouvre sa fenêtre ;\n"
    "avec des paramètres, il recense et supprime les fichiers seul, puis se termine.\n"
    "\n"
    "  /U:<unités>      lettres des unités à traiter, séparées par des virgules (/U:c,d) ;\n"
    "                   /U: seul traite tous les disques durs locaux\n"
    "  /E:<extensions>  extensions des fichiers temporaires, sans le point (/E:tmp,log) ;\n"
    "                   /E: seul traite toutes les extensions de la liste ; * ? / et \\\n"
    "                   n'y ont pas leur place\n"
    "  /AUTO            reprend les unités et les extensions de la dernière utilisation\n"
    "                   normale (en tête de la ligne, seul)\n"
    "  /LISTE           n'efface rien : affiche les fichiers que le nettoyage supprimerait\n"
    "                   (taille en octets, tabulation, chemin), puis leur nombre et leur total\n"
    "  /RESTAURER       remet en place les fichiers que le dernier nettoyage a mis à la\n"
    "                   corbeille (le journal des suppressions dit lesquels)\n"
    "  /PLANIFIER:QUOTIDIEN, /PLANIFIER:HEBDOMADAIRE\n"
    "                   planifie /AUTO chaque nuit, ou chaque lundi, à 3 h 15 pour\n"
    "                   l'utilisateur (minuteur systemd ou crontab ; sous Windows, le\n"
    "                   planificateur de tâches) ; /PLANIFIER:NON le retire,\n"
    "                   /PLANIFIER seul dit ce qui est planifié\n"
    "  --help           affiche cette aide et se termine\n"
    "  --version        affiche la version et se termine\n"
    "\n"
    "Codes de sortie : 0 fin normale, 1 des fichiers n'ont pas pu être supprimés (ou remis\n"
    "en place), 2 paramètre incompris, 3 lancement sans paramètre et sans écran,\n"
    "4 une autre copie de Vidor fonctionne déjà : rien n'a été fait.\n"
    "Avec /PLANIFIER : 0 fait, 1 rien n'a été planifié (aucun choix enregistré, ou refus\n"
    "du système), 2 paramètre incompris.\n"
    "\n"
    "Pour en savoir plus : man vidor\n";

// True when an extension of `list` holds a character that names files by a pattern or a path:
// the census compares file names with the extension as written, and "*" would not mean "any".
bool holdsPattern(const std::string& list) {
    return list.find_first_of("*?/\\") != std::string::npos;
}

}  // namespace

std::optional<std::string> informationAsked(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::nullopt;
    if (arguments.front() == "--help") return kUsage;
    if (arguments.front() == "--version")
        return std::string("Vidor ") + platform::kVersionText + "\n";
    return std::nullopt;
}

std::string parameterError(const std::string& parameter) {
    return "Je ne comprend pas le paramètre \"" + parameter + "\" !" + korlib::SautsLigne(2) +
           "Arrêt du programme." + korlib::SautsLigne(2) +
           "Relancez le programme sans paramètre et cliquez sur le bouton AIDE.";
}

void F_Main::runCommandLine(std::string line) {
    chooseFromCommandLine(std::move(line));
    startUnattended();
}

void F_Main::chooseFromCommandLine(std::string line) {
    const std::string upper = korlib::upperCase(line);
    if (upper.starts_with("/AUTO")) {
        if (upper != "/AUTO") {
            sys_.windows.messageBox(
                "La présence du paramètre /AUTO fait ignorer les autres paramètres.",
                platform::Buttons::Ok, platform::Icon::Exclamation,
                korlib::TitreVersion(sys_.process) + " Avertissement !");
        }
        if (!savedDrives_) bLocal.press();
    } else {
        // Parameters from left to right; a later one of the same kind overrides an earlier one.
        while (!line.empty()) readParameter(korlib::ElementExtrait(line, {" "}));
    }
}

void F_Main::readParameter(const std::string& parameter) {
    const std::string kind = korlib::upperCase(parameter.substr(0, 3));
    const std::string list = parameter.size() > 3 ? parameter.substr(3) : std::string();
    if (kind == "/U:") {
        chooseDrives(list);
    } else if (kind == "/E:" && !holdsPattern(list)) {
        chooseExtensions(list);
    } else {
        sys_.windows.messageBox(parameterError(parameter), platform::Buttons::Ok,
                                platform::Icon::Exclamation,
                                korlib::TitreVersion(sys_.process) + " Erreur !");
        sys_.windows.endProgram(platform::kExitBadParameter);
    }
}

void F_Main::chooseDrives(std::string list) {
    if (list.empty()) {
        bLocal.press();
        return;
    }
    deselectAll(lUnites);
    while (!list.empty()) {
        const std::string drive =
            korlib::upperCase(korlib::trimSpaces(korlib::ElementExtrait(list, {","}))) + ":";
        const int found = korlib::ListeCherche(lUnites, drive);
        if (found >= 0) lUnites.setSelected(found, true);
    }
}

void F_Main::chooseExtensions(std::string list) {
    if (list.empty()) {
        for (int i = 0; i < lExt.count(); ++i) lExt.setSelected(i, true);
        return;
    }
    deselectAll(lExt);
    while (!list.empty()) {
        const std::string extension = korlib::trimSpaces(korlib::ElementExtrait(list, {","}));
        if (extension.empty()) continue;
        // An extension the list lacks is added as given, forbidden or not.
        int found = korlib::ListeCherche(lExt, extension);
        if (found < 0) found = lExt.addItem(extension);
        lExt.setSelected(found, true);
    }
}

void F_Main::reduceWindow() {
    setHeight(height() - innerHeight() + lDel.place().top);
}

void F_Main::startUnattended() {
    setModeAuto(true);
    sys_.windows.show(*this);
    // Even with no drive or no extension selected: the census then finds nothing and ends.
    bGo.press();
}

void F_Main::bAuto_Click() {
    setModeAuto(!flags.modeAuto);
}

void F_Main::setModeAuto(bool on) {
    // The button offers the other mode.
    bAuto.setCaption(on ? "Manuel" : "Auto");
    if (on) {
        reduceWindow();
    } else {
        setHeight(kManualHeight);
    }
    flags.modeAuto = on;
}

void F_Main::bAuto_MouseMove() {
    setMousePointer(platform::kPointerDefault);
}

}  // namespace vidor::app
