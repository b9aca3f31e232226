#include "platform/linux/LinuxPlatform.h"

#include <utility>

namespace vidor::platform::linux_ {

LinuxPlatform::LinuxPlatform(std::string programPath, std::vector<std::string> arguments)
    : driveMap_(DriveMap::fromSystem()),
      drives_(driveMap_),
      files_(driveMap_),
      process_(programPath, std::move(arguments)),
      trashed_(files_),
      notifier_(std::move(programPath)) {}

Services LinuxPlatform::services(WindowSystem& windows) {
    return {settings_, drives_,  files_,   webCache_, process_,
            windows,   journal_, trashed_, notifier_};
}

}  // namespace vidor::platform::linux_
