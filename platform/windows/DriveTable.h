#pragma once

#include <map>
#include <string>

namespace vidor::platform::windows {

// A drive that stands for a letter: its type (a kDrive value) and the folder, in the machine's
// own form without a final backslash, that is its root.
struct DriveStandIn {
    int type = 0;
    std::string root;
};

// Where the drive letters lead: the system's own drives ("C:" is "C:\\"), or drives that stand
// for them, each rooted in a folder (the tests give temp folders), and then no other.
struct DriveTable {
    bool standIns = false;
    std::map<char, DriveStandIn> drives;  // upper-case letters
};

// The root of `letter`'s drive with a final backslash, in the machine's own form; empty when the
// table has no such letter or `letter` is no letter.
std::string driveRoot(const DriveTable& table, char letter);

// The type (a kDrive value) of `letter`'s drive; kDriveNoRoot when there is none.
int driveType(const DriveTable& table, char letter);

}  // namespace vidor::platform::windows
