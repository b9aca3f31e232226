#include "census/Deletion.h"

#include "korlib/Fichiers.h"

namespace vidor::census {

Deletion::Deletion(platform::Services& sys, CensusWindow& window) : sys_(sys), window_(window) {}

bool Deletion::remove(const std::string& path) {
    if (window_.flags.versCorbeille) return korlib::FichierCorbeille(sys_.files, path);
    return sys_.files.deleteFile(path);
}

void Deletion::bEffacer_Click() {
    platform::ListBox& lDel = window_.lDel;
    window_.eExec.setForeColor(platform::kBlack);
    // The count is read again at each turn: "Conserver" and "Annuler" may shorten the list.
    for (int line = 0; line < lDel.count();) {
        lDel.setListIndex(line);
        if (remove(lDel.item(line))) {
            lDel.removeItem(line);
        } else {
            ++line;
        }
        sys_.windows.doEvents();
    }
    if (lDel.count() == 0) sys_.windows.endProgram(platform::kExitNormal);
    if (window_.flags.modeAuto) {
        // Nobody watches an unattended run: whoever started it learns what is left.
        for (const std::string& path : lDel.items()) sys_.process.writeError(path);
        sys_.windows.endProgram(platform::kExitUndeleted);
    }
    sys_.windows.beep();
    window_.eExec.setCaption("Impossible de supprimer ces fichiers :");
    window_.bEffacer.setVisible(false);
}

}  // namespace vidor::census
