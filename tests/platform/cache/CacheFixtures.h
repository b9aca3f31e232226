#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace vidor::test {

// A Firefox cache2 entry file: `dataSize` bytes of data, then the metadata of format `version`
// holding `key`, then the metadata's offset. The other fields damage it on purpose: `keySize`
// and `offset` are written instead of the true values when set.
struct FirefoxEntry {
    std::string key;
    std::size_t dataSize = 100;
    std::uint32_t version = 3;
    std::optional<std::uint32_t> keySize = std::nullopt;
    std::optional<std::uint32_t> offset = std::nullopt;

    std::string bytes() const;
};

// A Chromium simple cache key file (<hash>_0): the 24-byte header, `key`, data and the end
// record. `keyLength`, when set, damages it on purpose: it is written instead of the true length.
struct ChromiumEntry {
    std::string key;
    std::optional<std::uint32_t> keyLength = std::nullopt;

    std::string bytes() const;
};

// Where `browser` (its folder on Linux: "mozilla/firefox", "google-chrome"...) keeps its
// profiles below the cache folder: on Windows, %LOCALAPPDATA%.
std::filesystem::path browserProfiles(const std::string& browser);
// The entries folders of a profile under the cache folder `cache`.
std::filesystem::path firefoxEntries(const std::filesystem::path& cache,
                                     const std::string& profile);
std::filesystem::path chromiumEntries(const std::filesystem::path& cache,
                                      const std::string& browser, const std::string& profile);

// Entry file names made from `n`, so that a test chooses the order of the files: 40 hex digits
// for Firefox, "<16 hex digits>_<stream>" for Chromium.
std::string firefoxName(unsigned n);
std::string chromiumName(unsigned n, char stream = '0');

// Writes `bytes` to `file` (making its folders), which it returns.
std::filesystem::path put(const std::filesystem::path& file, const std::string& bytes);

// Every file below `root` with its contents (a link with its target), to see what changed.
using Files = std::map<std::string, std::string>;
Files snapshot(const std::filesystem::path& root);

}  // namespace vidor::test
