// The small handlers of the main window: selections, options, help, cancel and pointer hints.

#include "app/F_Main.h"
#include "census/RecycleChoice.h"
#include "help/F_Help.h"
#include "selection/DriveList.h"
#include "selection/SelectionMark.h"

namespace vidor::app {

void F_Main::bLocal_Click() {
    selection::selectLocalDisks(lUnites, sys_.drives);
}

void F_Main::lUnites_Click() {
    selection::updateMark(lUnites, lUnites, lExt, bGo);
}

void F_Main::lExt_Click() {
    selection::updateMark(lExt, lUnites, lExt, bGo);
}

void F_Main::bSos_Click() {
    // A fresh help window each time: nothing typed into it survives its closing.
    help::F_Help help(sys_);
    help.Form_Load();
    sys_.windows.showModal(help);
}

void F_Main::VidorIE_Click() {
    flags.tousIE = VidorIE.value() == 1;
    lblinfo.setCaption(flags.tousIE ? "Attention, cela efface tout le contenu Temporary Internet "
                                      "Files de tous les utilisateurs"
                                    : "");
}

void F_Main::VidorTP_Click() {
    flags.tousTP = VidorTP.value() == 1;
    lblinfo.setCaption(flags.tousTP ? "Attention, cela efface tout le contenu de tous les "
                                      "répertoires TEMP de tous les utilisateurs"
                                    : "");
}

void F_Main::poubel_Click() {
    census::applyRecycleChoice(poubel, Poubel2, bEffacer, flags);
}

void F_Main::Poubel2_Click() {
    census::applyRecycleChoice(Poubel2, poubel, bEffacer, flags);
}

void F_Main::bAnn_Click() {
    if (flags.enCours) {
        // The census sees the request at its next check and brings the selection panel back.
        flags.arretDemande = true;
        return;
    }
    lDel.clear();
    pExec.setVisible(false);
    pSaisie.setVisible(true);
    setDefaultButton(&bGo);
}

void F_Main::bAnn_MouseMove() {
    setMousePointer(platform::kPointerDefault);
}

void F_Main::pExec_MouseMove() {
    if (flags.enCours) setMousePointer(platform::kPointerHourglass);
}

}  // namespace vidor::app
