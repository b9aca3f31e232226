#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/linux/DesktopNotifier.h"
#include "platform/linux/DriveMap.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxJournal.h"
#include "platform/linux/LinuxProcess.h"
#include "platform/linux/LinuxSettings.h"
#include "platform/linux/LinuxWebCache.h"
#include "platform/linux/TrashedEntries.h"

namespace vidor::platform::linux_ {

// The services of a Linux machine, but for the window system, which the caller brings.
class LinuxPlatform {
  public:
    LinuxPlatform(std::string programPath, std::vector<std::string> arguments);

    Services services(WindowSystem& windows);

    DriveMap& driveMap() { return driveMap_; }
    LinuxFileSystem& files() { return files_; }
    LinuxProcess& process() { return process_; }
    LinuxJournal& journal() { return journal_; }

  private:
    DriveMap driveMap_;
    LinuxSettings settings_;
    LinuxDrives drives_;
    LinuxFileSystem files_;
    LinuxWebCache webCache_;
    LinuxProcess process_;
    LinuxJournal journal_;
    TrashedEntries trashed_;
    DesktopNotifier notifier_;
};

}  // namespace vidor::platform::linux_
