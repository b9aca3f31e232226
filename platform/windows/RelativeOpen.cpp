#include "platform/windows/RelativeOpen.h"

#include <winternl.h>

namespace vidor::platform::windows {

Handle openRelative(HANDLE parent, std::wstring_view name, ACCESS_MASK access, OpenKind kind,
                    DWORD& error, bool create, void* security) {
    if (name.empty() || name.size() * sizeof(wchar_t) > 0xFFFE ||
        name.find_first_of(L"\\/") != std::wstring_view::npos || name == L"." || name == L"..") {
        error = ERROR_INVALID_NAME;
        return {};
    }
    UNICODE_STRING text;
    text.Buffer = const_cast<wchar_t*>(name.data());
    text.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, security);
    ULONG options = FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT;
    if (kind == OpenKind::Folder) options |= FILE_DIRECTORY_FILE;
    if (kind == OpenKind::File) options |= FILE_NON_DIRECTORY_FILE;
    IO_STATUS_BLOCK status;
    HANDLE handle = nullptr;
    const NTSTATUS result = ::NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status,
                                           nullptr, FILE_ATTRIBUTE_NORMAL,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           create ? FILE_CREATE : FILE_OPEN, options, nullptr, 0);
    if (result < 0) {
        error = ::RtlNtStatusToDosError(result);
        return {};
    }
    error = 0;
    return Handle(handle);
}

Handle openFolderPath(const std::wstring& path, DWORD& error) {
    Handle folder(::CreateFileW(
        path.c_str(), kFolderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr));
    error = folder ? 0 : ::GetLastError();
    return folder;
}

bool factsOf(HANDLE handle, HandleFacts& facts) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!::GetFileInformationByHandle(handle, &information)) return false;
    facts.attributes = information.dwFileAttributes;
    facts.volume = information.dwVolumeSerialNumber;
    return true;
}

DWORD deleteByHandle(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                     sizeof disposition)) {
        return 0;
    }
    return ::GetLastError();
}

}  // namespace vidor::platform::windows
