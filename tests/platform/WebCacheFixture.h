#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/cache/CacheFixtures.h"
#include "tests/support/Sandbox.h"
#include "tests/support/TestMachine.h"

namespace vidor::test {

// A sandbox whose browsers' caches the test fills, read by the web cache of the machine.
class WebCacheFixture : public ::testing::Test {
  protected:
    // The URLs listed from the browsers' caches, in order.
    std::vector<std::string> listed() {
        std::vector<std::string> urls;
        TestWebCache().enumerate([&urls](const platform::CacheEntry& entry) {
            // Windows' own cache, which other tests fill at the same time, holds http ones only.
            if (!entry.url.starts_with("https://")) return;
            urls.push_back(entry.url);
        });
        return urls;
    }
    // The n-th entry file of a profile, holding `key`.
    std::filesystem::path firefox(const std::string& profile, unsigned n, const std::string& key) {
        return put(firefoxEntries(cache, profile) / firefoxName(n), FirefoxEntry{key}.bytes());
    }
    std::filesystem::path chromium(const std::string& browser, const std::string& profile,
                                   unsigned n, const std::string& key) {
        return put(chromiumEntries(cache, browser, profile) / chromiumName(n),
                   ChromiumEntry{key}.bytes());
    }
    // `files` (a snapshot of the cache) without `gone`.
    Files without(Files files, const std::vector<std::filesystem::path>& gone) const {
        for (const auto& file : gone) files.erase(relative(file, cache).generic_string());
        return files;
    }

    Sandbox sandbox;
    const std::filesystem::path cache = sandbox / "CACHE_HOME";
};

}  // namespace vidor::test
