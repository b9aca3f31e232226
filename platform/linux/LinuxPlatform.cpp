#include "platform/linux/LinuxPlatform.h"

#include <utility>

namespace vidor::platform::linux_ {

LinuxPlatform::LinuxPlatform(std::string programPath, std::vector<std::string> arguments)
    : driveMap_(DriveMap::fromSystem()),
      drives_(driveMap_),
      files_(driveMap_),
      process_(std::move(programPath), std::move(arguments)) {}

Services LinuxPlatform::services(WindowSystem& windows) {
    return {settings_, drives_, files_, webCache_, process_, windows};
}

}  // namespace vidor::platform::linux_
