#pragma once

#include <memory>

#include "platform/cache/BrowserCaches.h"
#include "platform/linux/FolderNode.h"
#include "platform/linux/Trash.h"

namespace vidor::platform::linux_ {

// The HTTP disk caches of the browsers installed for this user, under $XDG_CACHE_HOME
// (~/.cache by default): Firefox's, then those of Chromium, Google Chrome, Brave, Edge and
// Vivaldi.
class LinuxWebCache final : public cache::BrowserCaches {
  public:
    LinuxWebCache();

  private:
    std::unique_ptr<Folder> openCacheFolder() override;

    std::shared_ptr<OpenFolders> openFolders_;
    Trash trash_;  // the folders' own; nothing of a cache goes to the trash
};

}  // namespace vidor::platform::linux_
