#include "platform/windows/HandleFile.h"

#include "platform/windows/RelativeOpen.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

std::unique_ptr<HandleFile> HandleFile::open(HANDLE folder, std::string_view name) {
    DWORD code = 0;
    Handle file = openRelative(folder, widen(name), FILE_READ_DATA | FILE_READ_ATTRIBUTES,
                               OpenKind::File, code);
    HandleFacts facts;
    LARGE_INTEGER size;
    if (!file || !factsOf(file.get(), facts) || (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !::GetFileSizeEx(file.get(), &size)) {
        return nullptr;
    }
    return std::unique_ptr<HandleFile>(
        new HandleFile(std::move(file), static_cast<std::uint64_t>(size.QuadPart)));
}

std::optional<std::string> HandleFile::readAt(std::uint64_t offset, std::size_t count) const {
    std::string bytes(count, '\0');
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!::ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(count), &read, &at) ||
        read != count) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace vidor::platform::windows
