#include "selection/DriveList.h"

#include "korlib/ListeCherche.h"
#include "korlib/Texte.h"
#include "korlib/Unites.h"

namespace vidor::selection {

namespace {

// The type of the drive whose letter begins `item`.
int typeOf(platform::Drives& drives, const std::string& item) {
    return drives.type(item.empty() ? '\0' : item.front());
}

// The drives the list offers: removable, hard and network drives; never a CD-ROM, a RAM disk
// or a drive of a type unknown to the program.
bool offered(int type) {
    return type == platform::kDriveRemovable || type == platform::kDriveFixed ||
           type == platform::kDriveRemote;
}

}  // namespace

void fillDrives(platform::ListBox& lUnites, platform::Drives& drives) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string drive{letter};
        if (!korlib::UniteExiste(drives, drive)) continue;
        if (offered(typeOf(drives, drive))) lUnites.addItem(drive + ":");
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
        lUnites.setSelected(i, typeOf(drives, lUnites.item(i)) == platform::kDriveFixed);
    }
}

}  // namespace vidor::selection
