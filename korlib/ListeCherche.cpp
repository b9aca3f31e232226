#include "korlib/ListeCherche.h"

#include "korlib/Texte.h"

namespace vidor::korlib {

int ListeCherche(const std::vector<std::string>& items, std::string_view text) {
    if (text.empty()) return -1;
    bool prefix = text.back() == '*';
    if (prefix) text.remove_suffix(1);
    const std::string wanted = upperCase(text);
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::string item = upperCase(items[i]);
        if (prefix) item = item.substr(0, wanted.size());
        if (item == wanted) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vidor::korlib
