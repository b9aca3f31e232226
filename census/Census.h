#pragma once

#include "census/CensusWindow.h"
#include "census/FolderWalk.h"
#include "census/RunReport.h"
#include "census/TailleTotale.h"
#include "platform/Services.h"

namespace vidor::census {

// "Recenser": switches to the execution panel, clears the web cache when asked, walks every
// selected drive, then ends cancelled (back to the selection panel), with nothing found (the
// window closes), unattended (the deletion starts at once) or in the review of the files found.
class Census {
  public:
    Census(platform::Services& sys, CensusWindow& window, TailleTotale& total, RunReport& report);

    void bGo_Click();

    // Only lists the files a census would: the walk, with no web cache step and no ending.
    void walkOnly();

  private:
    void showExecutionPanel();
    void walkDrives();
    void cancelled();
    void review();

    platform::Services& sys_;
    CensusWindow& window_;
    TailleTotale& total_;
    RunReport& report_;
    FolderWalk walk_;
};

}  // namespace vidor::census
