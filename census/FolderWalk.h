#pragma once

#include <memory>
#include <string>
#include <vector>

#include "census/CensusWindow.h"
#include "census/ExtensionMatch.h"
#include "census/RunReport.h"
#include "census/TailleTotale.h"
#include "platform/Services.h"

namespace vidor::census {

// The walk of a drive: every folder, its files before its sub-folders, sub-folders depth first in
// listing order. A file with a selected extension is added to the list of files to delete with
// its size counted; a TEMP or Temporary Internet Files folder is purged and re-created empty
// when its option is on. The walk never enters a link or another mounted volume, keeps its
// call stack flat however deep the tree, and yields to the window system after every entry.
class FolderWalk {
  public:
    FolderWalk(platform::Services& sys, CensusWindow& window, TailleTotale& total,
               RunReport& report);

    // Walks the folder `rep` (a drive's root, such as C:\) and everything below it.
    void Nettoyer(std::string rep);

  private:
    // One folder of the walk. Its path is the first `length` characters of rep_, so that a deep
    // tree costs memory in proportion to its depth, not to its depth squared.
    struct Level {
        std::size_t length = 0;
        std::unique_ptr<platform::Folder> folder;
        std::vector<std::string> subFolders;
        std::size_t next = 0;
    };

    // Shows the folder rep_, opens and lists it; nullopt when it could not be listed or was
    // purged.
    std::optional<Level> visit(platform::Folder* parent, const std::string& name);
    std::unique_ptr<platform::Folder> open(platform::Folder* parent, const std::string& name);
    // Tells the user and the report of a folder (walked or purged) that could not be opened,
    // unless its failure is of the silent kind.
    void folderFailed(const std::string& path, const platform::FolderError& error);
    // Whether a folder's own name is one of those purged (TEMP, Temporary Internet Files), in any
    // letter case.
    struct PurgeName {
        bool temp = false;
        bool internetFiles = false;
    };
    static PurgeName purgeNameOf(const std::string& name);
    bool purgeable(PurgeName name) const;
    void purge(platform::Folder& parent, const std::string& name, platform::Folder& folder);
    void list(platform::Folder& folder, const std::string& name);

    platform::Services& sys_;
    CensusWindow& window_;
    TailleTotale& total_;
    RunReport& report_;
    std::shared_ptr<const ExtensionMatch> extensions_;
    std::shared_ptr<const platform::ListingUse> use_;  // the read-ahead's copy of the rules
    std::string rep_;                                  // the folder being visited
};

}  // namespace vidor::census
