#pragma once

#include "platform/Drives.h"
#include "platform/linux/DriveMap.h"

namespace vidor::platform::linux_ {

// Drive letters stand for the folders of a DriveMap.
class LinuxDrives : public Drives {
  public:
    explicit LinuxDrives(const DriveMap& map) : map_(map) {}

    int type(char letter) override;
    bool rootListable(char letter) override;
    std::string location(char letter) override;

  private:
    const DriveMap& map_;
};

}  // namespace vidor::platform::linux_
