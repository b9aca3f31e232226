#pragma once

#include "platform/cache/CacheFormat.h"

namespace vidor::platform::cache {

// Firefox's disk cache ("cache2"): <profile>/cache2/entries holds one file per entry, named by
// the SHA-1 of its key in 40 hex digits. The file holds the entry's data, then its metadata
// (which holds the key), then the metadata's offset.
class FirefoxCache final : public CacheFormat {
  public:
    std::string_view entriesFolder() const override { return "cache2/entries"; }
    bool isEntryFile(std::string_view name) const override { return isHex(name, 40); }
    std::optional<std::string> entryUrl(const ReadableFile& file) const override;
    std::vector<std::string> companions(std::string_view) const override { return {}; }
};

// The URL of a Firefox cache key: tags, each ended by a comma ("a" anonymous, "p" private,
// "O" and "~" with a value where a doubled comma stands for a comma, the legacy "b" and "i"
// with digits), then ":" and the URL. nullopt when a tag is malformed or no URL follows.
std::optional<std::string> firefoxKeyUrl(std::string_view key);

}  // namespace vidor::platform::cache
