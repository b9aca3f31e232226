#include "platform/windows/WindowsFolder.h"

#include <windows.h>
// after windows.h, which it needs
#include <aclapi.h>

#include "platform/windows/HandleFile.h"
#include "platform/windows/RecycleBin.h"
#include "platform/windows/RelativeOpen.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

constexpr std::size_t kListingBytes = 64 * 1024;

// The folder's path in the machine's own form, without the long-path prefix the shell refuses.
std::wstring pathOf(HANDLE folder) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(folder, path.data(), static_cast<DWORD>(path.size()),
                                               VOLUME_NAME_DOS);
    if (length >= path.size()) {
        path.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(folder, path.data(), static_cast<DWORD>(path.size()),
                                             VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (path.starts_with(L"\\\\?\\")) return path.substr(4);
    return path;
}

// True for one name of a folder's entry: not empty, not "." nor "..", no separator.
bool plainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/") == std::string_view::npos;
}

}  // namespace

FolderError folderError(unsigned long code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BAD_PATHNAME:
        case ERROR_NOT_SAME_DEVICE:
        case ERROR_CANT_ACCESS_FILE:
            return {true, {}};
        default:
            return {false, systemMessage(code)};
    }
}

bool WindowsFolder::fill() {
    if (buffer_.empty()) buffer_.resize(kListingBytes / sizeof(std::uint64_t));
    const auto kind = started_ ? FileIdBothDirectoryInfo : FileIdBothDirectoryRestartInfo;
    started_ = true;
    offset_ = 0;
    filled_ = ::GetFileInformationByHandleEx(handle_.get(), kind, buffer_.data(),
                                             static_cast<DWORD>(kListingBytes)) != 0;
    return filled_;
}

bool WindowsFolder::next(FolderEntry& entry) {
    for (;;) {
        if (!filled_ && !fill()) return false;
        const auto* bytes = reinterpret_cast<const std::byte*>(buffer_.data()) + offset_;
        const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
        if (info->NextEntryOffset == 0)
            filled_ = false;
        else
            offset_ += info->NextEntryOffset;
        const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (name == L"." || name == L"..") continue;
        const bool folder = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                            !(info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        entry.name = narrow(name);
        entry.kind = folder ? EntryKind::Folder : EntryKind::File;
        return true;
    }
}

std::unique_ptr<WindowsFolder> WindowsFolder::open(std::string_view name, FolderError& error) {
    DWORD code = 0;
    Handle folder = openRelative(handle_.get(), widen(name), kFolderAccess, OpenKind::Folder, code);
    if (!folder) {
        error = folderError(code);
        return nullptr;
    }
    HandleFacts facts;
    if (!factsOf(folder.get(), facts) || (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        facts.volume != volume_) {
        error = {true, {}};
        return nullptr;
    }
    return std::make_unique<WindowsFolder>(std::move(folder), volume_, recycleBin_);
}

std::unique_ptr<Folder> WindowsFolder::openFolder(std::string_view name, FolderError& error) {
    return open(name, error);
}

std::optional<std::uint64_t> WindowsFolder::fileSize(std::string_view name) {
    DWORD code = 0;
    const Handle file =
        openRelative(handle_.get(), widen(name), FILE_READ_ATTRIBUTES, OpenKind::File, code);
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::unique_ptr<ReadableFile> WindowsFolder::openFile(std::string_view name) {
    return HandleFile::open(handle_.get(), name);
}

bool WindowsFolder::setNormal(std::string_view name) {
    DWORD code = 0;
    const Handle file =
        openRelative(handle_.get(), widen(name), FILE_WRITE_ATTRIBUTES, OpenKind::Either, code);
    if (!file) return false;
    FILE_BASIC_INFO basic{};  // times at zero are left as they are
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic) != 0;
}

unsigned long WindowsFolder::remove(std::string_view name, std::uint64_t* size) {
    DWORD code = 0;
    const Handle file = openRelative(handle_.get(), widen(name), DELETE | FILE_READ_ATTRIBUTES,
                                     OpenKind::Either, code);
    if (!file) return code;
    // A folder's link (symbolic link, junction) is a file to the program; a real folder is not.
    HandleFacts facts;
    if (!factsOf(file.get(), facts)) return ::GetLastError();
    if ((facts.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return ERROR_ACCESS_DENIED;
    }
    LARGE_INTEGER bytes;
    if (size && ::GetFileSizeEx(file.get(), &bytes))
        *size = static_cast<std::uint64_t>(bytes.QuadPart);
    return deleteByHandle(file.get());
}

Removal WindowsFolder::deleteFile(std::string_view name) {
    std::uint64_t size = 0;
    const DWORD code = remove(name, &size);
    if (code != 0) return Removal::failed(systemMessage(code));
    return {true, {}, {}, size};
}

Removal WindowsFolder::moveToTrash(std::string_view name) {
    if (!recycleBin_) return Removal::failed("pas de corbeille sur ce lecteur");
    // The shell takes a path, which it tidies: ".." would lead it out of this folder.
    if (!plainName(name)) return Removal::failed(systemMessage(ERROR_INVALID_NAME));
    const std::wstring folder = pathOf(handle_.get());
    if (folder.empty()) return Removal::failed(systemMessage(::GetLastError()));
    const std::wstring separator = folder.ends_with(L'\\') ? L"" : L"\\";
    const auto size = fileSize(name);
    Removal removal = moveToRecycleBin(folder + separator + widen(name));
    if (removal) removal.size = size;
    return removal;
}

bool WindowsFolder::removeFolder(std::string_view name) {
    DWORD code = 0;
    const Handle folder = openRelative(handle_.get(), widen(name), DELETE, OpenKind::Folder, code);
    return folder && deleteByHandle(folder.get()) == 0;
}

bool WindowsFolder::createFolderLike(std::string_view name, Folder& model) {
    auto* source = dynamic_cast<WindowsFolder*>(&model);
    if (!source) return false;
    PSECURITY_DESCRIPTOR security = nullptr;
    if (::GetSecurityInfo(source->handle(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                          nullptr, nullptr, nullptr, &security) != ERROR_SUCCESS) {
        security = nullptr;
    }
    DWORD code = 0;
    Handle made = openRelative(handle_.get(), widen(name), kFolderAccess, OpenKind::Folder, code,
                               true, security);
    if (!made && source != this) {
        // A folder removed while open keeps its name until its last handle closes; Wine does not
        // tell that the model is such a folder, so it lets go whenever the first try fails.
        source->handle_.reset();
        made = openRelative(handle_.get(), widen(name), kFolderAccess, OpenKind::Folder, code, true,
                            security);
    }
    if (security) ::LocalFree(security);
    return static_cast<bool>(made);
}

}  // namespace vidor::platform::windows
