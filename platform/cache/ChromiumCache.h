#pragma once

#include "platform/cache/CacheFormat.h"

namespace vidor::platform::cache {

// The "simple cache" of Chromium and the browsers built on it (Google Chrome, Brave, Edge,
// Vivaldi): <profile>/Cache/Cache_Data holds, per entry, the file <16 hex digits>_0 that starts
// with a 24-byte header and the key, and, when the entry needs them, <same digits>_1 and
// <same digits>_s.
class ChromiumCache final : public CacheFormat {
  public:
    std::string_view entriesFolder() const override { return "Cache/Cache_Data"; }
    bool isEntryFile(std::string_view name) const override;
    std::optional<std::string> entryUrl(const ReadableFile& file) const override;
    std::vector<std::string> companions(std::string_view name) const override;
};

// The URL of a simple cache key: "<digits>/" prefixes aside, either the bare URL, or a key
// partitioned by site ("_dk_<site> <site> <URL>") whose URL follows the last space. nullopt
// when no URL is found.
std::optional<std::string> chromiumKeyUrl(std::string_view key);

}  // namespace vidor::platform::cache
