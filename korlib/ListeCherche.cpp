#include "korlib/ListeCherche.h"

#include "korlib/Texte.h"

namespace vidor::korlib {

int ListeCherche(const platform::ListBox& list, std::string_view text, Recherche mode) {
    if (text.empty()) return -1;
    const bool prefix = mode == Recherche::Prefixe && text.back() == '*';
    if (prefix) text.remove_suffix(1);
    const std::string wanted = upperCase(text);
    for (int i = 0; i < list.count(); ++i) {
        std::string item = upperCase(list.item(i));
        if (prefix) item = item.substr(0, wanted.size());
        if (item == wanted) return i;
    }
    return -1;
}

}  // namespace vidor::korlib
