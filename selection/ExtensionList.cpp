#include "selection/ExtensionList.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "korlib/ListeCherche.h"
#include "korlib/Texte.h"

namespace vidor::selection {

namespace {

// The entries of the forbidden list, looked up at once however long the list is. An extension
// that holds a comma is looked for in the text itself, as it may span entries.
class Forbidden {
  public:
    explicit Forbidden(const std::string& list) : list_(list) {
        for (std::size_t start = 0; start < list.size();) {
            const std::size_t comma = std::min(list.find(',', start), list.size());
            entries_.insert(list.substr(start, comma - start));
            start = comma + 1;
        }
    }

    bool contains(const std::string& extension) const {
        const std::string upper = korlib::upperCase(extension);
        if (upper.find(',') == std::string::npos) return entries_.contains(upper);
        return list_.find("," + upper + ",") != std::string::npos;
    }

  private:
    const std::string& list_;
    std::unordered_set<std::string> entries_;
};

// The first line of a list holding each text, letter case ignored: a saved selection of many
// extensions is looked up at once in a list of many.
class FirstLines {
  public:
    explicit FirstLines(const platform::ListBox& list) : list_(list) {
        for (int i = 0; i < list.count(); ++i) first_.emplace(korlib::upperCase(list.item(i)), i);
    }

    // As korlib::ListeCherche, which alone knows the texts that end in "*".
    int find(const std::string& text) const {
        if (text.empty() || text.back() == '*') return korlib::ListeCherche(list_, text);
        const auto found = first_.find(korlib::upperCase(text));
        return found == first_.end() ? -1 : found->second;
    }

  private:
    const platform::ListBox& list_;
    std::unordered_map<std::string, int> first_;
};

}  // namespace

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
    std::string saved = registre.ParametreLit("Extensions");
    if (saved.empty()) saved = kDefaultExtensions;
    const Forbidden forbiddenOnes(forbidden);
    for (std::string_view rest = saved; !rest.empty();) {
        const std::string extension = korlib::trimSpaces(korlib::ElementExtrait(rest));
        if (extension.empty() || forbiddenOnes.contains(extension)) continue;
        lExt.addItem(extension);
    }
}

void restoreSelectedExtensions(platform::ListBox& lExt, const korlib::Registre& registre) {
    std::string saved = registre.ParametreLit("Extensions sélectionnées");
    if (saved.empty()) saved = kDefaultSelected;
    const FirstLines lines(lExt);
    for (std::string_view rest = saved; !rest.empty();) {
        const int found = lines.find(korlib::ElementExtrait(rest));
        if (found >= 0) lExt.setSelected(found, true);
    }
}

}  // namespace vidor::selection
