#pragma once

#include "platform/Services.h"
#include "platform/windows/DriveTable.h"
#include "platform/windows/RecycleBinItems.h"
#include "platform/windows/RegistrySettings.h"
#include "platform/windows/WindowsDrives.h"
#include "platform/windows/WindowsFileSystem.h"
#include "platform/windows/WindowsJournal.h"
#include "platform/windows/WindowsProcess.h"
#include "platform/windows/WindowsWebCache.h"

namespace vidor::platform::windows {

// The services of a Windows machine, but for the window system, which the caller brings.
class WindowsPlatform {
  public:
    // The system's drives and the running program.
    WindowsPlatform() : drives_(table_), files_(table_) {}
    // Drives that stand for the system's, and a program of the given file and command line.
    WindowsPlatform(DriveTable table, WindowsProcess process)
        : table_(std::move(table)), drives_(table_), files_(table_), process_(std::move(process)) {}
    WindowsPlatform(const WindowsPlatform&) = delete;
    WindowsPlatform& operator=(const WindowsPlatform&) = delete;

    Services services(WindowSystem& windows) {
        return {settings_, drives_,  files_,   webCache_, process_,
                windows,   journal_, trashed_, notifier_};
    }

    WindowsFileSystem& files() { return files_; }
    WindowsProcess& process() { return process_; }

  private:
    DriveTable table_;
    RegistrySettings settings_;
    WindowsDrives drives_;
    WindowsFileSystem files_;
    WindowsWebCache webCache_;
    WindowsProcess process_;
    WindowsJournal journal_;
    RecycleBinItems trashed_;
    SilentNotifier notifier_;
};

}  // namespace vidor::platform::windows
