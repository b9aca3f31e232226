#include "selection/ExtensionList.h"

#include "korlib/ListeCherche.h"
#include "korlib/Texte.h"

namespace vidor::selection {

std::string forbiddenList(const korlib::Registre& registre) {
    std::string forbidden = registre.ParametreLit("Extensions interdites");
    if (forbidden.empty()) {
        registre.ParametreEcrit("Extensions interdites", kDefaultForbidden);
        return std::string(",") + kDefaultForbidden;
    }
    if (forbidden.back() != ',') forbidden += ',';
    if (forbidden.front() != ',') forbidden.insert(0, ",");
    return forbidden;
}

void fillExtensions(platform::ListBox& lExt, const korlib::Registre& registre,
                    const std::string& forbidden) {
    std::string rest = registre.ParametreLit("Extensions");
    if (rest.empty()) rest = kDefaultExtensions;
    while (!rest.empty()) {
        const std::string extension = korlib::trimSpaces(korlib::ElementExtrait(rest));
        if (extension.empty()) continue;
        if (forbidden.find("," + korlib::upperCase(extension) + ",") != std::string::npos) continue;
        lExt.addItem(extension);
    }
}

void restoreSelectedExtensions(platform::ListBox& lExt, const korlib::Registre& registre) {
    std::string rest = registre.ParametreLit("Extensions sélectionnées");
    if (rest.empty()) rest = kDefaultSelected;
    while (!rest.empty()) {
        const int found = korlib::ListeCherche(lExt, korlib::ElementExtrait(rest));
        if (found >= 0) lExt.setSelected(found, true);
    }
}

}  // namespace vidor::selection
