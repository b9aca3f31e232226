#pragma once

#include "platform/Notifier.h"
#include "platform/TrashedFiles.h"

namespace vidor::platform::windows {

// The recycle bin does not tell under which name it keeps a file (SHFileOperationW returns none),
// so the program finds none of its files there again: Windows empties the bin by its own rules,
// and the user puts files back with the bin's own "Restaurer".
class RecycleBinItems : public TrashedFiles {
  public:
    std::string folderRights(const std::string&) override { return {}; }
    std::optional<TrashedItem> find(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    Removal empty(const std::string&) override { return Removal::failed(kUnknown); }
    Restoral putBack(const std::string&, const std::string&, const std::string&) override {
        return {false, false, kUnknown};
    }

  private:
    static constexpr const char* kUnknown = "la corbeille de Windows ne dit pas où elle le garde";
};

// Windows says nothing after a job: the window shows it all, and a scheduled run has its status.
class SilentNotifier : public Notifier {
  public:
    void notify(const std::string&, const std::string&) override {}
};

}  // namespace vidor::platform::windows
