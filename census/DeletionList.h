#pragma once

#include "census/CensusWindow.h"
#include "census/TailleTotale.h"
#include "platform/FileSystem.h"

namespace vidor::census {

// The review of the files to delete: the user keeps a file back with "Conserver" or a
// double-click on its line, and the total follows.
class DeletionList {
  public:
    DeletionList(platform::FileSystem& files, CensusWindow& window, TailleTotale& total);

    void lDel_Click();
    void lDel_DblClick();
    void bConserver_Click();

  private:
    platform::FileSystem& files_;
    CensusWindow& window_;
    TailleTotale& total_;
};

}  // namespace vidor::census
