#include "app/RunRequests.h"

#include <vector>

#include "korlib/Texte.h"

namespace vidor::app {

std::optional<std::string> previewLine(const std::string& commandLine) {
    // Parameters are separated by single spaces; the others keep their places, two spaces in a
    // row (an empty parameter) included.
    std::vector<std::string> kept;
    bool found = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = commandLine.find(' ', start);
        std::string parameter = commandLine.substr(start, space - start);
        const std::string upper = korlib::upperCase(parameter);
        if (upper == "/LISTE" || upper == "\"/LISTE\"") {
            found = true;
        } else {
            kept.push_back(std::move(parameter));
        }
        if (space == std::string::npos) break;
        start = space + 1;
    }
    if (!found) return std::nullopt;
    std::string rest;
    for (std::size_t i = 0; i < kept.size(); ++i) rest += (i > 0 ? " " : "") + kept[i];
    return rest;
}

bool restoreAsked(const std::string& commandLine) {
    return korlib::upperCase(commandLine) == "/RESTAURER";
}

}  // namespace vidor::app
