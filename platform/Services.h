#pragma once

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/Journal.h"
#include "platform/Notifier.h"
#include "platform/Process.h"
#include "platform/SettingsStore.h"
#include "platform/TrashedFiles.h"
#include "platform/WebCache.h"
#include "platform/WindowSystem.h"

namespace vidor::platform {

// Everything the program needs from the machine, one service each.
struct Services {
    SettingsStore& settings;
    Drives& drives;
    FileSystem& files;
    WebCache& webCache;
    Process& process;
    WindowSystem& windows;
    Journal& journal;
    TrashedFiles& trashed;
    Notifier& notifier;
};

}  // namespace vidor::platform
