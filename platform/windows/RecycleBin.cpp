#include "platform/windows/RecycleBin.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/Drives.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

Removal moveToRecycleBin(const std::wstring& path) {
    if (path.empty() || path.size() >= MAX_PATH) {
        return Removal::failed("chemin trop long pour la corbeille");
    }
    std::wstring from = path;
    from.push_back(L'\0');  // the list of files ends with two zeros
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int result = ::SHFileOperationW(&operation);
    if (result != 0) return Removal::failed(systemMessage(static_cast<unsigned long>(result)));
    if (operation.fAnyOperationsAborted) return Removal::failed("opération interrompue");
    return {true};
}

bool hasRecycleBin(int type) {
    return type == kDriveFixed;
}

}  // namespace vidor::platform::windows
