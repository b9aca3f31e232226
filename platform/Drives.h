#pragma once

#include <string>

namespace vidor::platform {

// Drive types, as the system reports them for the root of a drive letter.
inline constexpr int kDriveUnknown = 0;
inline constexpr int kDriveNoRoot = 1;
inline constexpr int kDriveRemovable = 2;
inline constexpr int kDriveFixed = 3;
inline constexpr int kDriveRemote = 4;
inline constexpr int kDriveCdRom = 5;
inline constexpr int kDriveRamDisk = 6;

// The machine's drives, by letter.
class Drives {
  public:
    virtual ~Drives() = default;

    // Type of the drive whose root is `letter`, colon, backslash: one of the kDrive values;
    // kDriveNoRoot for a letter without a drive, or a character that is no letter.
    virtual int type(char letter) = 0;

    // True when the root folder of `letter` can be listed without error.
    virtual bool rootListable(char letter) = 0;

    // Where the drive lives, in terms its user knows it by (the folder on Linux, the volume's
    // label and kind on Windows), to show the user; empty when unknown.
    virtual std::string location(char letter) = 0;
};

}  // namespace vidor::platform
