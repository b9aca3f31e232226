#pragma once

#include "census/CensusWindow.h"
#include "platform/Services.h"

namespace vidor::census {

// "Effacer" or "Corbeille": removes every listed file in list order, deleting it or sending it
// to the recycle bin. Lines whose file is gone leave the list; the others stay, shown as the files
// that could not be removed. When nothing is left, or in an unattended run, the program ends.
class Deletion {
  public:
    Deletion(platform::Services& sys, CensusWindow& window);

    void bEffacer_Click();

  private:
    bool remove(const std::string& path);

    platform::Services& sys_;
    CensusWindow& window_;
};

}  // namespace vidor::census
