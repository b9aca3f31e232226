#include "selection/DriveList.h"

#include "korlib/ListeCherche.h"
#include "korlib/Texte.h"
#include "korlib/Unites.h"

namespace vidor::selection {

void fillDrives(platform::ListBox& lUnites, platform::Drives& drives) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string drive{letter};
        if (!korlib::UniteExiste(drives, drive)) continue;
        const char type = korlib::UniteType(drives, drive).front();
        if (std::string_view("234").find(type) != std::string_view::npos) {
            lUnites.addItem(drive + ":");
        }
    }
}

bool restoreDrives(platform::ListBox& lUnites, const std::string& saved) {
    if (saved.empty()) {
        for (int i = 0; i < lUnites.count(); ++i) lUnites.setSelected(i, true);
        return false;
    }
    std::string rest = saved;
    while (!rest.empty()) {
        const int found = korlib::ListeCherche(lUnites, korlib::ElementExtrait(rest));
        if (found >= 0) lUnites.setSelected(found, true);
    }
    return true;
}

void selectLocalDisks(platform::ListBox& lUnites, platform::Drives& drives) {
    for (int i = 0; i < lUnites.count(); ++i) {
        lUnites.setSelected(i, korlib::UniteType(drives, lUnites.item(i)).front() == '3');
    }
}

}  // namespace vidor::selection
