#pragma once

#include <future>
#include <memory>
#include <string>

#include "platform/linux/PathSet.h"

namespace vidor::platform::linux_ {

// The files that installed packages own, from dpkg's file lists (<folder>/*.list). A listed path
// whose folders go through a link (/lib on a merged /usr) also stands for the file where it
// really lies.
//
// The lists are read on a thread of their own, so that the walk goes on meanwhile; a question
// waits until they are read. They are read again when their folder has changed (a package was
// installed or removed) — refresh() looks, once per census. What was read is kept in the user's
// cache file with the identity and times of the folder it came from, and taken from there while
// the folder has not changed, when the file is the user's own and nobody else may write it, and
// when the table is whole (see PackageCache.h); else the lists are read and the cache made anew.
class PackageFiles {
  public:
    // No cache when `cacheFile` is empty.
    explicit PackageFiles(std::string listFolder, std::string cacheFile = {});

    // Looks whether the lists' folder changed since the table was read, and if so starts
    // reading it again.
    void refresh();

    // True when the machine path `path` is a file of an installed package. Reads the table
    // first if it never was.
    bool owns(const std::string& path);

    // How many distinct paths the table holds (reading it if it never was).
    std::size_t size();

    // The cache file under $XDG_CACHE_HOME (or ~/.cache); empty without a home.
    static std::string userCacheFile();

  private:
    const PathSet& table();

    std::string folder_;
    std::string cacheFile_;
    std::string readFrom_;  // the folder as the last reading found it (the cache's header)
    std::shared_future<std::shared_ptr<const PathSet>> table_;
    std::future<void> reading_;  // destroyed first: waits for the reading thread to end
};

}  // namespace vidor::platform::linux_
