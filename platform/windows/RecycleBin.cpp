#include "platform/windows/RecycleBin.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/Drives.h"

namespace vidor::platform::windows {

bool moveToRecycleBin(const std::wstring& path) {
    if (path.empty() || path.size() >= MAX_PATH) return false;
    std::wstring from = path;
    from.push_back(L'\0');  // the list of files ends with two zeros
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int result = ::SHFileOperationW(&operation);
    return result == 0 && !operation.fAnyOperationsAborted;
}

bool hasRecycleBin(int type) {
    return type == kDriveFixed;
}

}  // namespace vidor::platform::windows
