#include "korlib/ListeCherche.h"

#include "korlib/Texte.h"

namespace vidor::korlib {

int ListeCherche(const platform::ListBox& list, std::string_view text) {
    if (text.empty()) return -1;
    const std::string wanted = upperCase(text);
    for (int i = 0; i < list.count(); ++i) {
        if (upperCase(list.item(i)) == wanted) return i;
    }
    return -1;
}

}  // namespace vidor::korlib
