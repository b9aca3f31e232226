#include "selection/SelectionMark.h"

namespace vidor::selection {

void updateMark(platform::ListBox& list, const platform::ListBox& drives,
                const platform::ListBox& extensions, platform::Button& bGo) {
    list.tag = list.firstSelected() >= 0 ? kMarkSelected : "";
    bGo.setEnabled(drives.tag + extensions.tag == "OKOK");
}

std::string savedText(const platform::ListBox& list, bool selectedOnly) {
    std::string text;
    for (int i = 0; i < list.count(); ++i) {
        if (!selectedOnly || list.selected(i)) text += list.item(i) + '\t';
    }
    return text;
}

}  // namespace vidor::selection
