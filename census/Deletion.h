#pragma once

#include "census/CensusWindow.h"
#include "census/RunReport.h"
#include "platform/Services.h"

namespace vidor::census {

// "Effacer" or "Corbeille": removes every listed file in list order, deleting it or sending it
// to the recycle bin. Lines whose file is gone leave the list; the others stay, shown as the files
// that could not be removed. When nothing is left, or in an unattended run, the program ends.
class Deletion {
  public:
    Deletion(platform::Services& sys, CensusWindow& window, RunReport& report);

    void bEffacer_Click();

  private:
    platform::Removal remove(const std::string& path, bool versCorbeille);

    platform::Services& sys_;
    CensusWindow& window_;
    RunReport& report_;
};

}  // namespace vidor::census
