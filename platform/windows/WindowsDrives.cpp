#include "platform/windows/WindowsDrives.h"

#include <windows.h>

#include <cctype>

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

std::string WindowsDrives::location(char letter) {
    const std::string root = driveRoot(table_, letter);
    if (root.empty()) return {};
    if (table_.standIns) return root.substr(0, root.size() - 1);
    const std::wstring device = widen(root.substr(0, 2));
    wchar_t buffer[MAX_PATH];
    DWORD size = MAX_PATH;
    if (::GetDriveTypeW(widen(root).c_str()) == DRIVE_REMOTE &&
        ::WNetGetConnectionW(device.c_str(), buffer, &size) == NO_ERROR) {
        return narrow(buffer);
    }
    if (::QueryDosDeviceW(device.c_str(), buffer, MAX_PATH) == 0) return {};
    return narrow(buffer);
}

}  // namespace vidor::platform::windows
