#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vidor::platform::cache {

// A key longer than this is taken for damage: browsers key entries by URL, and reading a
// length from a damaged file must not make the program read megabytes.
inline constexpr std::uint32_t kMaxCacheKeySize = 64 * 1024;

// How one family of browsers keeps its HTTP disk cache: in each profile's folder, a folder of
// entry files. Each entry has one file that holds its key, and may own other files beside it.
class CacheFormat {
  public:
    virtual ~CacheFormat() = default;

    // The folder of the entry files, relative to a profile's folder.
    virtual std::string_view entriesFolder() const = 0;

    // Whether `name` is the name of an entry's key file; index, journal and temporary files
    // are not.
    virtual bool isEntryFile(std::string_view name) const = 0;

    // The URL of the entry whose key file is `file`; nullopt for a truncated or damaged file,
    // or a key that holds no URL.
    virtual std::optional<std::string> entryUrl(const ReadableFile& file) const = 0;

    // The other files of the entry whose key file is `name`; any of them may be absent.
    virtual std::vector<std::string> companions(std::string_view name) const = 0;
};

// Whether `text` is a URL as the browsers store them: a scheme (a letter, then letters, digits,
// "+", "-" or "."), a colon, then characters that are neither spaces nor control characters.
bool isUrl(std::string_view text);

// Whether `text` is exactly `digits` hexadecimal digits long.
bool isHex(std::string_view text, std::size_t digits);

// The unsigned integer stored at `at` in `bytes`, most significant byte first; `bytes` must
// hold it.
std::uint32_t bigEndian32(std::string_view bytes, std::size_t at);

// The unsigned integer of `size` bytes (at most 8) stored at `at` in `bytes`, least
// significant byte first; `bytes` must hold it.
std::uint64_t littleEndian(std::string_view bytes, std::size_t at, std::size_t size);

}  // namespace vidor::platform::cache
