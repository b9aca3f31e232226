#include "census/Deletion.h"

#include "korlib/Fichiers.h"

namespace vidor::census {

Deletion::Deletion(platform::Services& sys, CensusWindow& window, RunReport& report)
    : sys_(sys), window_(window), report_(report) {}

platform::Removal Deletion::remove(const std::string& path, bool versCorbeille) {
    if (versCorbeille) return korlib::FichierCorbeille(sys_.files, path);
    return sys_.files.deleteFile(path);
}

void Deletion::bEffacer_Click() {
    platform::ListBox& lDel = window_.lDel;
    window_.eExec.setForeColor(platform::kBlack);
    // The count is read again at each turn: "Conserver" and "Annuler" may shorten the list.
    for (int line = 0; line < lDel.count();) {
        lDel.setListIndex(line);
        const std::string path = lDel.item(line);
        const bool versCorbeille = window_.flags.versCorbeille;
        const platform::Removal removal = remove(path, versCorbeille);
        if (removal) {
            report_.removed(path, removal, versCorbeille, false);
            lDel.removeItem(line);
        } else {
            report_.failed(path, removal.reason);
            ++line;
        }
        sys_.windows.doEvents();
    }
    if (window_.flags.modeAuto) report_.endUnattended(sys_.process, sys_.windows);
    report_.finish(false);
    if (lDel.count() == 0) sys_.windows.endProgram(platform::kExitNormal);
    sys_.windows.beep();
    window_.eExec.setCaption("Impossible de supprimer ces fichiers :");
    window_.bEffacer.setVisible(false);
}

}  // namespace vidor::census
