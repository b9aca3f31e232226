#include "platform/windows/WindowsFileSystem.h"

#include <windows.h>

#include "platform/Drives.h"
#include "platform/ProgramPath.h"
#include "platform/windows/RecycleBin.h"
#include "platform/windows/RelativeOpen.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

std::int64_t unixSeconds(std::int64_t fileTime) {
    constexpr std::int64_t k1970 = 116444736000000000;  // 100 ns steps from 1601 to 1970
    return (fileTime - k1970) / 10000000;
}

}  // namespace

std::wstring WindowsFileSystem::machinePath(const std::string& path) {
    if (!isProgramPath(path)) return longPath(path);
    const std::string root = driveRoot(table_, path[0]);
    if (root.empty()) return {};
    std::string_view below = std::string_view(path).substr(2);
    if (below.starts_with('\\')) below.remove_prefix(1);
    return longPath(root + std::string(below));
}

std::unique_ptr<WindowsFolder> WindowsFileSystem::walk(char drive,
                                                       const std::vector<std::string>& names,
                                                       FolderError& error) {
    error = {true, {}};
    const std::string root = driveRoot(table_, drive);
    if (root.empty()) return nullptr;
    DWORD code = 0;
    Handle handle = openFolderPath(longPath(root), code);
    HandleFacts facts;
    if (!handle) {
        error = folderError(code);
        return nullptr;
    }
    if (!factsOf(handle.get(), facts)) return nullptr;
    auto folder = std::make_unique<WindowsFolder>(std::move(handle), facts.volume,
                                                  hasRecycleBin(driveType(table_, drive)));
    for (auto name = names.begin(); folder && name != names.end(); ++name) {
        folder = folder->open(*name, error);
    }
    return folder;
}

WindowsFileSystem::Located WindowsFileSystem::locate(const std::string& path, FolderError& error) {
    std::vector<std::string> names = programPathNames(path);
    std::string name;
    if (!names.empty()) {
        name = std::move(names.back());
        names.pop_back();
    }
    return {walk(path[0], names, error), std::move(name)};
}

std::unique_ptr<Folder> WindowsFileSystem::openFolder(const std::string& path, FolderError& error) {
    error = {true, {}};
    if (!isProgramPath(path)) return nullptr;
    return walk(path[0], programPathNames(path), error);
}

std::optional<FileInfo> WindowsFileSystem::info(const std::string& path) {
    if (!isProgramPath(path)) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(longPath(path).c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        FileInfo result;
        result.folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        result.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        result.modified = unixSeconds((std::int64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                      data.ftLastWriteTime.dwLowDateTime);
        return result;
    }
    FolderError error;
    const auto [folder, name] = locate(path, error);
    if (!folder) return std::nullopt;
    if (name.empty()) return FileInfo{true, 0, 0};
    DWORD code = 0;
    const Handle entry =
        openRelative(folder->handle(), widen(name), FILE_READ_ATTRIBUTES, OpenKind::Either, code);
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!entry ||
        !::GetFileInformationByHandleEx(entry.get(), FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileInformationByHandleEx(entry.get(), FileStandardInfo, &standard,
                                        sizeof standard)) {
        return std::nullopt;
    }
    FileInfo result;
    result.folder = standard.Directory;
    result.size = result.folder ? 0 : static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    result.modified = unixSeconds(basic.LastWriteTime.QuadPart);
    return result;
}

Removal WindowsFileSystem::deleteFile(const std::string& path) {
    if (!isProgramPath(path)) {
        if (::DeleteFileW(longPath(path).c_str())) return {true};
        return Removal::failed(systemMessage(::GetLastError()));
    }
    FolderError opening;
    const auto [folder, name] = locate(path, opening);
    if (!folder || name.empty()) return Removal::failed(systemMessage(ERROR_PATH_NOT_FOUND));
    return folder->deleteFile(name);
}

Removal WindowsFileSystem::moveToTrash(const std::string& path) {
    if (isProgramPath(path)) {
        // The shell takes a path, which it tidies: ".." must not lead it out of the drive.
        FolderError error;
        const auto [folder, name] = locate(path, error);
        if (!folder) return Removal::failed(systemMessage(ERROR_PATH_NOT_FOUND));
        return folder->moveToTrash(name);
    }
    std::wstring machine = machinePath(path);
    if (machine.starts_with(L"\\\\?\\UNC\\"))
        machine = L"\\\\" + machine.substr(8);
    else if (machine.starts_with(L"\\\\?\\"))
        machine = machine.substr(4);
    return moveToRecycleBin(machine);
}

bool WindowsFileSystem::createFolder(const std::string& path) {
    const std::wstring machine = machinePath(path);
    return !machine.empty() && ::CreateDirectoryW(machine.c_str(), nullptr);
}

bool WindowsFileSystem::copyFile(const std::string& from, const std::string& to,
                                 std::string& error) {
    const std::wstring source = machinePath(from);
    const std::wstring target = machinePath(to);
    if (source.empty() || target.empty()) {
        error = systemMessage(ERROR_PATH_NOT_FOUND);
        return false;
    }
    // The copy is made beside the target, then takes its place in one step.
    const std::wstring temp = target + L".vidor-" + std::to_wstring(::GetCurrentProcessId());
    if (::CopyFileW(source.c_str(), temp.c_str(), FALSE) &&
        ::MoveFileExW(temp.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    error = systemMessage(::GetLastError());
    ::DeleteFileW(temp.c_str());
    return false;
}

}  // namespace vidor::platform::windows
