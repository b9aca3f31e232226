#pragma once

#include "platform/Drives.h"
#include "platform/windows/DriveTable.h"

namespace vidor::platform::windows {

// Drive letters and types as GetLogicalDrives and GetDriveTypeW give them.
class WindowsDrives : public Drives {
  public:
    explicit WindowsDrives(const DriveTable& table) : table_(table) {}

    int type(char letter) override;
    bool rootListable(char letter) override;
    std::string location(char letter) override;

  private:
    const DriveTable& table_;
};

}  // namespace vidor::platform::windows
