#include "census/Census.h"

#include "census/CacheListe.h"
#include "census/RecycleChoice.h"

namespace vidor::census {

Census::Census(platform::Services& sys, CensusWindow& window, TailleTotale& total,
               RunReport& report)
    : sys_(sys),
      window_(window),
      total_(total),
      report_(report),
      walk_(sys, window, total, report) {}

void Census::bGo_Click() {
    CensusWindow& w = window_;
    applyRecycleChoice(w.poubel, w.Poubel2, w.bEffacer, w.flags);
    if (w.flags.tousIE) {
        // Before the hourglass, without yielding: the window waits for the cache to be cleared.
        clearWebCache(sys_.webCache, w.lDel);
        w.eExec.setForeColor(platform::kRed);
    }
    w.form.setMousePointer(platform::kPointerHourglass);
    showExecutionPanel();
    walkDrives();
    if (w.flags.arretDemande) {
        cancelled();
        return;
    }
    if (w.lDel.count() == 0) {
        // What the purge or the walk could not handle is all an unattended run has to tell.
        if (w.flags.modeAuto) report_.endUnattended(sys_.process, sys_.windows);
        report_.finish(false);
        w.form.close();  // ends the program
        return;
    }
    if (w.flags.modeAuto) {
        w.bEffacer.setVisible(true);
        w.bEffacer.press();  // ends the program, unless the user went back to manual meanwhile
        w.bAuto.setVisible(false);
        w.form.setMousePointer(platform::kPointerDefault);
        return;
    }
    review();
}

void Census::walkOnly() {
    showExecutionPanel();
    walkDrives();
}

void Census::showExecutionPanel() {
    CensusWindow& w = window_;
    w.pSaisie.setVisible(false);
    w.lDel.clear();
    w.eTaille.setCaption(TailleTotale::caption(0));
    w.pExec.setVisible(true);
    w.Poubel2.setVisible(false);
    w.flags.enCours = true;
    w.bEffacer.setVisible(false);
    w.bConserver.setVisible(false);
    w.bAuto.setVisible(true);
    w.form.setCancelButton(&w.bAnn);
}

void Census::walkDrives() {
    CensusWindow& w = window_;
    w.flags.arretDemande = false;
    total_.reset();
    report_.startCensus();
    const int drives = w.lUnites.count();
    for (int i = 0; i < drives; ++i) {
        if (w.lUnites.selected(i)) walk_.Nettoyer(w.lUnites.item(i) + "\\");
        if (w.flags.arretDemande) break;
    }
    w.flags.enCours = false;
}

void Census::cancelled() {
    CensusWindow& w = window_;
    w.lDel.clear();
    w.pExec.setVisible(false);
    w.pSaisie.setVisible(true);
    w.form.setDefaultButton(&w.bGo);
    w.flags.arretDemande = false;
    w.bAuto.setVisible(false);
    w.form.setMousePointer(platform::kPointerDefault);
}

void Census::review() {
    CensusWindow& w = window_;
    w.form.setMousePointer(platform::kPointerDefault);
    sys_.windows.beep();
    w.eExec.setCaption("Fichiers à supprimer :");
    w.bConserver.setVisible(true);
    w.bConserver.setEnabled(false);
    w.bEffacer.setVisible(true);
    w.form.setDefaultButton(&w.bEffacer);
    w.Poubel2.setVisible(true);
    w.bAuto.setVisible(false);
}

}  // namespace vidor::census
