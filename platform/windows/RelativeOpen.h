#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/windows/Handle.h"

namespace vidor::platform::windows {

// What to open below an open folder.
enum class OpenKind { Folder, File, Either };

// Opens `name` (one name, no separator) of the open folder `parent` with `access`, never
// through a reparse point: a link or junction is opened itself. `create` makes a new folder
// with the security of `security` (or the inherited one when null). On failure the handle is
// empty and `error` holds a Win32 error code.
Handle openRelative(HANDLE parent, std::wstring_view name, ACCESS_MASK access, OpenKind kind,
                    DWORD& error, bool create = false, void* security = nullptr);

// Opens a folder of the machine's own form (a drive root, a temp folder) for listing and for
// opening what it holds.
Handle openFolderPath(const std::wstring& path, DWORD& error);

// The access a held folder is opened with.
inline constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE;

// Attributes and volume of an open file or folder; false when they cannot be read.
struct HandleFacts {
    DWORD attributes = 0;
    DWORD volume = 0;
};
bool factsOf(HANDLE handle, HandleFacts& facts);

// Marks the open file or folder for deletion; 0 when done, else a Win32 error code.
DWORD deleteByHandle(HANDLE handle);

}  // namespace vidor::platform::windows
