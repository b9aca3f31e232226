#include "help/F_Help.h"

#include "korlib/Fenetre.h"
#include "korlib/Texte.h"

namespace vidor::help {

namespace {

// The caption the window was designed with: Form_Load puts its title in its place before the
// window is shown.
constexpr const char* kDesignCaption = "Form2";

struct HelpLine {
    const char* text;
    int breaks;
};

constexpr HelpLine kHelp[] = {
    {"Programme conçu par l'équipe Vidor ; version finale réalisée par Brenlo.", 2},
    {"Ce programme a été créé spécialement pour la suite Ostra 98", 1},
    {"Il peut néanmoins être utilisé sans l'interface Ostra 98", 2},
    {"Ce programme peut être librement distribué et utilisé. Il reste la propriété "
     "intellectuelle de son auteur. Il ne doit en aucun cas être vendu.",
     2},
    {"L'auteur décline toute responsabilité pour les dommages qui résulteraient de "
     "l'utilisation, correcte ou non, de ce programme.",
     2},
    {"UTILISATION NORMALE :", 2},
    {"- sélectionner les unités à traiter", 1},
    {"   (un clic suffit pour sélectionner/désélectionner)", 2},
    {"- sélectionner les extensions de fichiers temporaires", 2},
    {"- cliquer sur le bouton RECENSER", 1},
    {"   (le programme constitue une liste des fichiers correspondants)", 2},
    {"- sélectionner éventuellement les fichiers à conserver et cliquer sur CONSERVER", 1},
    {"   (les fichiers à conserver sont ainsi ôtés de la liste)", 2},
    {"- cliquer ensuite EFFACER pour détruire les fichiers encore listés.", 3},
    {"UTILISATION AVANCÉE :", 2},
    {"Il est possible d'utiliser ce programme sans intervention de l'utilisateur. Il faut "
     "pour cela lui transmettre des paramètres sur la ligne de commande. Ces paramètres "
     "peuvent être :",
     2},
    {"  /U:[<unité>[,<unité>[,...]]]", 1},
    {"            Indication des unités à traiter, <unité> représente une lettre de lecteur", 1},
    {"            Si aucune unité n'est spécifiée, tous les disques durs locaux seront traités", 2},
    {"  /E:[<extension>[,<extension>[,...]]]", 1},
    {"            Indication des extensions des fichiers temporaires", 1},
    {"            Si aucune extension n'est indiquée, toutes les extensions par défaut seront "
     "traitées",
     2},
    {"  /AUTO", 1},
    {"            Lancement automatique avec les derniers paramètres utilisés", 2},
    {"La présence de paramètres sur la ligne de commande empêche la mise à jour des derniers "
     "paramètres utilisés qui sont ainsi conservés tels que définis lors de la dernière "
     "utilisation \"normale\".",
     0},
};

}  // namespace

std::string helpText() {
    std::string text;
    for (const HelpLine& line : kHelp) {
        text += line.text;
        if (line.breaks > 0) text += korlib::SautsLigne(line.breaks);
    }
    return text;
}

F_Help::F_Help(platform::Services& sys)
    : Window("F_Help", 7965, 6060, kDesignCaption),
      t("t", {0, 0, 7935, 5535}, 0),
      BOk("BOk", {3360, 5640, 1215, 375}, 1, "Ok"),
      sys_(sys) {
    hold(t);
    hold(BOk);
    BOk.onClick = [this] { setVisible(false); };
    setCancelButton(&BOk);  // Escape closes the window too
}

void F_Help::Form_Load() {
    korlib::FenetreCentre(sys_.windows, *this);
    setCaption(korlib::TitreVersion(sys_.process) +
               " Suppression des fichiers temporaires et autres fichiers inutiles !");
    t.setText(helpText());
}

}  // namespace vidor::help
