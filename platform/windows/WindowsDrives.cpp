#include "platform/windows/WindowsDrives.h"

#include <windows.h>

#include <cctype>

#include "platform/windows/DriveDescription.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

std::string driveRoot(const DriveTable& table, char letter) {
    if (!std::isalpha(static_cast<unsigned char>(letter))) return {};
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (!table.standIns) return std::string(1, upper) + ":\\";
    const auto found = table.drives.find(upper);
    return found == table.drives.end() ? std::string() : found->second.root + "\\";
}

int driveType(const DriveTable& table, char letter) {
    const std::string root = driveRoot(table, letter);
    if (root.empty()) return kDriveNoRoot;
    if (table.standIns) return table.drives.at(static_cast<char>(std::toupper(letter))).type;
    const int bit = std::toupper(static_cast<unsigned char>(letter)) - 'A';
    if (!(::GetLogicalDrives() & (1u << bit))) return kDriveNoRoot;
    return static_cast<int>(::GetDriveTypeW(widen(root).c_str()));
}

int WindowsDrives::type(char letter) {
    return driveType(table_, letter);
}

bool WindowsDrives::rootListable(char letter) {
    const std::string root = driveRoot(table_, letter);
    if (root.empty()) return false;
    WIN32_FIND_DATAW data;
    const HANDLE find =
        ::FindFirstFileExW(longPath(root + "*").c_str(), FindExInfoBasic, &data,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return false;
    ::FindClose(find);
    return true;
}

namespace {

// The share a network drive leads to, "\\serveur\partage"; empty when the system cannot say.
std::string shareOf(const std::string& root) {
    wchar_t share[MAX_PATH];
    DWORD size = MAX_PATH;
    if (::WNetGetConnectionW(widen(root.substr(0, 2)).c_str(), share, &size) != NO_ERROR) return {};
    return narrow(share);
}

// The volume's label; empty for a volume without one, or a drive without a medium.
std::string labelOf(const std::string& root) {
    wchar_t label[MAX_PATH + 1];
    if (!::GetVolumeInformationW(widen(root).c_str(), label, MAX_PATH + 1, nullptr, nullptr,
                                 nullptr, nullptr, 0)) {
        return {};
    }
    return narrow(label);
}

}  // namespace

std::string WindowsDrives::location(char letter) {
    const std::string root = driveRoot(table_, letter);
    if (root.empty()) return {};
    if (table_.standIns) return root.substr(0, root.size() - 1);
    // The device behind the letter ("\Device\HarddiskVolume2") means nothing to a user: the
    // name and kind Explorer shows do.
    const int type = driveType(table_, letter);
    return driveDescription(type == kDriveRemote ? shareOf(root) : labelOf(root), type);
}

}  // namespace vidor::platform::windows
